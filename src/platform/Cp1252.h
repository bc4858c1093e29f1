#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252 ("ANSI") text as the simulators' files store it.
//
// Decoding maps every one of the 256 byte values to one QChar; the five bytes
// the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1
// controls U+0081.. so that any byte sequence decoded and encoded again comes
// back unchanged.
namespace platform::cp1252 {

QString decode(QByteArrayView bytes);
QChar decodeByte(unsigned char byte);

// Encodes text; characters the code page cannot hold become '?' and set
// *lossy (when given) to true.
QByteArray encode(QStringView text, bool* lossy = nullptr);

// True when every character of the text has a Windows-1252 byte.
bool canEncode(QStringView text);

} // namespace platform::cp1252
