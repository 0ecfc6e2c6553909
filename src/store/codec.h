#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// One byte per character in Windows-1252, as the WHATWG encoding standard
// maps it: every byte 0x00-0xFF has a character (0x81, 0x8D, 0x8F, 0x90 and
// 0x9D map to U+0081 etc.), so any byte sequence decodes and encodes back to
// itself. Used for everything that leaves the program as bytes: the serial
// link and the line file.
namespace Codec {

// A character outside the set becomes '?' (0x3F), one per code point.
QByteArray encode(QStringView text);
QString decode(QByteArrayView bytes);

} // namespace Codec
