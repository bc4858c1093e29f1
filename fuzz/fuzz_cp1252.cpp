// Windows-1252 both ways. The input read as bytes decodes to one character
// per byte, each as decodeByte gives it, and encodes back to the same bytes
// without loss. The input read as UTF-16 text encodes with loss exactly when
// canEncode refuses it, one byte per character, and without loss decodes
// back to the same text.
#include "FuzzSupport.h"

#include "platform/Cp1252.h"

namespace cp1252 = platform::cp1252;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes = fuzz::bytesOf(data, size);

    const QString text = cp1252::decode(bytes);
    check(!text.isNull(), "decoding gives a null text");
    check(text.size() == bytes.size(), "decoding does not give one character per byte");
    for (qsizetype i = 0; i < bytes.size(); ++i)
        check(text[i] == cp1252::decodeByte(uchar(bytes[i])), "decode and decodeByte disagree");
    check(cp1252::canEncode(text), "a decoded text cannot be encoded");
    bool lossy = false;
    check(cp1252::encode(text, &lossy) == bytes && !lossy, "bytes do not survive decoding and encoding");

    QString units;
    for (size_t i = 0; i + 1 < size; i += 2)
        units.append(QChar(char16_t(data[i] | (data[i + 1] << 8))));
    lossy = false;
    const QByteArray encoded = cp1252::encode(units, &lossy);
    check(encoded.size() == units.size(), "encoding does not give one byte per character");
    check(lossy == !cp1252::canEncode(units), "encode and canEncode disagree");
    if (!lossy)
        check(cp1252::decode(encoded) == units, "a text does not survive encoding and decoding");
    for (qsizetype i = 0; i < units.size(); ++i) {
        if (!cp1252::canEncode(QStringView(units).mid(i, 1)))
            check(encoded[i] == '?', "a character without a byte is not encoded as '?'");
    }
    return 0;
}
