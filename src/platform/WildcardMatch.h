#pragma once

#include <QStringView>

namespace platform {

// Whether `text` matches `pattern`, in which `many` stands for any run of
// characters (an empty one too) and `one` for any single character; any other
// pattern character matches a text character where `same(patternChar,
// textChar)` holds. When a match fails, the last `many` seen swallows one more
// character and the match goes on from there.
template <class Same>
bool wildcardMatches(QStringView pattern, QStringView text, QChar many, QChar one, Same same)
{
    qsizetype p = 0;
    qsizetype t = 0;
    qsizetype star = -1; // the last `many` seen, and where its run was last assumed to end
    qsizetype resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == many) {
            star = p++;
            resume = t;
        } else if (p < pattern.size() && (pattern[p] == one || same(pattern[p], text[t]))) {
            ++p;
            ++t;
        } else if (star >= 0) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == many)
        ++p;
    return p == pattern.size();
}

} // namespace platform
