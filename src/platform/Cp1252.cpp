#include "platform/Cp1252.h"

#include <array>

namespace platform::cp1252 {

namespace {

// 0x80..0x9F; the undefined positions keep their C1 control code points.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int encodeChar(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i) {
        if (kHigh[static_cast<size_t>(i)] == c)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

QChar decodeByte(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(kHigh[byte - 0x80]);
    return QChar(static_cast<char16_t>(byte));
}

QString decode(QByteArrayView bytes)
{
    // Latin-1 gives every byte but 0x80..0x9F its character, and it is fast
    // on reports of megabytes; those few bytes are put right afterwards.
    QString out = QString::fromLatin1(bytes);
    if (out.isNull())
        out = QString(qsizetype(0), Qt::Uninitialized); // empty text, never a null one
    QChar* dst = nullptr;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x80 && byte < 0xA0) {
            if (!dst)
                dst = out.data();
            dst[i] = decodeByte(byte);
        }
    }
    return out;
}

QByteArray encode(QStringView text, bool* lossy)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char* dst = out.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = encodeChar(text[i].unicode());
        if (b < 0) {
            dst[i] = '?';
            if (lossy)
                *lossy = true;
        } else {
            dst[i] = static_cast<char>(b);
        }
    }
    return out;
}

bool canEncode(QStringView text)
{
    for (QChar c : text) {
        if (encodeChar(c.unicode()) < 0)
            return false;
    }
    return true;
}

} // namespace platform::cp1252
