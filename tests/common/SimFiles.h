#pragma once

#include <QByteArray>

// Bytes of the simulator's binary files as the window tests need them.
namespace testutil {

// A model file: 8 filler bytes, the tag, filler up to the radius byte at 28,
// cut or padded to `size`.
QByteArray mdlBytes(const QByteArray& tag, quint8 radius, int size = 64);

// One .air record: id and length as little-endian 32-bit numbers, then the data.
QByteArray airRecord(qint32 id, const QByteArray& data);

// The aircraft-type record (0x105) of an .air file.
QByteArray airTypeRecord(qint32 type);

} // namespace testutil
