#include "SimFiles.h"

#include <QtEndian>

#include <algorithm>

namespace testutil {

QByteArray mdlBytes(const QByteArray& tag, quint8 radius, int size)
{
    QByteArray b = QByteArray("RIFF\x10\0\0\0", 8) + tag.left(4);
    b += QByteArray(28 - b.size(), 'h');
    b += static_cast<char>(radius);
    b += QByteArray(std::max(0, size - static_cast<int>(b.size())), 'z');
    return b.left(size);
}

QByteArray airRecord(qint32 id, const QByteArray& data)
{
    QByteArray header(8, '\0');
    qToLittleEndian<qint32>(id, header.data());
    qToLittleEndian<qint32>(static_cast<qint32>(data.size()), header.data() + 4);
    return header + data;
}

QByteArray airTypeRecord(qint32 type)
{
    QByteArray data(4, '\0');
    qToLittleEndian<qint32>(type, data.data());
    return airRecord(0x105, data);
}

} // namespace testutil
