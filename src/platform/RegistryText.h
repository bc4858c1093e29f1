#pragma once

// The text of Wine's registry files, line by line: quoted names with their
// escapes and the value lines below a key. Used by WineRegistry only.
#include "platform/HexDigit.h"
#include "platform/WineRegistry.h"

#include <QByteArrayView>
#include <QStringView>

#include <functional>
#include <optional>
#include <string_view>

namespace platform::wine::regtext {

inline constexpr QLatin1StringView kHeader("WINE REGISTRY Version 2");

inline bool isBlankByte(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

// The control character of a one-letter escape (\a \b \e \f \n \r \t \v), else 0.
inline char16_t controlEscape(QChar e)
{
    constexpr std::u16string_view letters = u"abefnrtv";
    constexpr char16_t codes[] = {0x07, 0x08, 0x1B, 0x0C, 0x0A, 0x0D, 0x09, 0x0B};
    const auto at = letters.find(e.unicode());
    return at == std::u16string_view::npos ? 0 : codes[at];
}

inline char16_t unit(QChar c)
{
    return c.unicode();
}

inline char16_t unit(char c)
{
    return char16_t(uchar(c));
}

// Reads a quoted text that starts at line[pos] (just after the opening
// delimiter) and ends at the first unescaped `close`, handing each unit of the
// text to `out`. On success pos is just past the closing delimiter. `Line` is
// decoded text, or bytes that are all ASCII.
template <typename Line, typename Out>
inline bool readQuoted(Line line, qsizetype& pos, char16_t close, Out&& out)
{
    const auto at = [&line](qsizetype i) { return unit(line[i]); };
    const auto hex = [](char16_t u) { return hexDigit(QChar(u)); };
    qsizetype i = pos;
    while (i < qsizetype(line.size())) {
        const char16_t c = at(i);
        if (c == close) {
            pos = i + 1;
            return true;
        }
        if (c != u'\\') {
            out(c);
            ++i;
            continue;
        }
        if (++i >= qsizetype(line.size()))
            return false; // a lone backslash at the end: the text is cut off
        const char16_t e = at(i);
        if (const char16_t control = controlEscape(QChar(e))) {
            out(control);
            ++i;
        } else if (e == u'x') {
            ++i;
            char16_t v = 0;
            int n = 0;
            for (; n < 4 && i < qsizetype(line.size()) && hex(at(i)) >= 0; ++n, ++i)
                v = char16_t(v * 16 + hex(at(i)));
            out(n == 0 ? char16_t(u'x') : v);
        } else if (e >= u'0' && e <= u'7') {
            char16_t v = 0;
            for (int n = 0; n < 3 && i < qsizetype(line.size()) && at(i) >= u'0' && at(i) <= u'7'; ++n, ++i)
                v = char16_t(v * 8 + (at(i) - u'0'));
            out(v);
        } else {
            out(e); // \\ \" \[ \] and any other character stand for themselves
            ++i;
        }
    }
    return false;
}

// A quoted text as readQuoted reads it; nullopt when it is cut off.
std::optional<QString> parseQuoted(QStringView line, qsizetype& pos, QChar close);

// Reads the values of one key from its lines (the text below its header up
// to the next header). `lastLineOpen`: the lines end the file and the file
// has no final line end.
void readValues(QStringView text, bool lastLineOpen, const std::function<void(RegValue)>& keep);

// The key path a header line names (the line starts with its '['), or nullopt
// when the path is damaged.
std::optional<QString> headerPath(QByteArrayView line);

} // namespace platform::wine::regtext
