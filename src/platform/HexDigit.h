#pragma once

#include <QChar>
#include <QStringView>

#include <optional>

namespace platform {

// The value of a hexadecimal digit (either letter case), or -1 for any other
// character.
inline int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// The number a run of at most eight hexadecimal digits gives (0 for none), or
// nothing when any character is not a digit.
inline std::optional<quint32> hexNumber(QStringView digits)
{
    quint32 n = 0;
    for (const QChar c : digits) {
        const int d = hexDigit(c);
        if (d < 0)
            return std::nullopt;
        n = n * 16 + quint32(d);
    }
    return n;
}

} // namespace platform
