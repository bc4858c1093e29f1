// The program's side of the pipe from fernquill-mdbread: the bytes come from a
// process that read an untrusted file, so every count is checked before use
// and anything but one whole, well-formed table is a failure.
#include "platform/MdbReader.h"
#include "platform/MdbWire.h"

#include <QtEndian>

namespace platform::mdb {

namespace {

// Whether `bytes` are well-formed UTF-8: no stray or missing continuation
// bytes, no overlong forms, no surrogates, nothing above U+10FFFF.
bool isUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char c = *p++;
        if (c < 0x80)
            continue;
        int more = 0;
        unsigned char low = 0x80; // the range of the first continuation byte
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            if (c == 0xE0)
                low = 0xA0;
            else if (c == 0xED)
                high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            if (c == 0xF0)
                low = 0x90;
            else if (c == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (end - p < more || *p < low || *p > high)
            return false;
        ++p;
        for (int i = 1; i < more; ++i, ++p) {
            if (*p < 0x80 || *p > 0xBF)
                return false;
        }
    }
    return true;
}

TableRows malformed(const QString& why)
{
    TableRows r;
    r.error = QStringLiteral("the Access reader's output is malformed: %1").arg(why);
    return r;
}

} // namespace

TableRows decodeRows(QByteArrayView output, qsizetype columns)
{
    if (columns < 1 || columns > mdbwire::kMaxColumns)
        return malformed(QStringLiteral("%1 columns asked for").arg(columns));
    const qsizetype size = output.size();
    qsizetype at = 0;
    const auto count = [&](quint32& n) {
        if (size - at < 4)
            return false;
        n = qFromLittleEndian<quint32>(output.data() + at);
        at += 4;
        return true;
    };

    TableRows result;
    while (at < size) {
        const char tag = output[at++];
        if (tag == mdbwire::kEndTag) {
            quint32 rows = 0;
            if (!count(rows))
                return malformed(QStringLiteral("the row count is cut short"));
            if (at != size)
                return malformed(QStringLiteral("bytes after the end"));
            if (rows != quint64(result.rows.size()))
                return malformed(
                    QStringLiteral("%1 rows announced, %2 given").arg(rows).arg(result.rows.size()));
            result.ok = true;
            return result;
        }
        if (tag != mdbwire::kRowTag)
            return malformed(QStringLiteral("no row at byte %1").arg(at - 1));
        QStringList row;
        row.reserve(columns);
        for (qsizetype c = 0; c < columns; ++c) {
            quint32 length = 0;
            if (!count(length))
                return malformed(QStringLiteral("a value's length is cut short"));
            if (length > mdbwire::kMaxValueBytes || length > quint64(size - at))
                return malformed(QStringLiteral("a value of %1 bytes").arg(length));
            const QByteArrayView value = output.sliced(at, qsizetype(length));
            if (!isUtf8(value))
                return malformed(QStringLiteral("a value is no UTF-8 text"));
            row.append(QString::fromUtf8(value));
            at += qsizetype(length);
        }
        result.rows.append(row);
    }
    return malformed(QStringLiteral("no end"));
}

} // namespace platform::mdb
