#pragma once

#include <QStringView>

#include <optional>

// Reads the number a text begins with, the way the line file and the
// transparency field read their values:
//   - blanks, tabs and line feeds are skipped wherever they stand ("1 2" is 12);
//   - an optional sign, decimal digits, an optional point with fraction digits
//     and an optional exponent (E or e, optional sign, digits);
//   - or "&H" followed by hexadecimal digits, "&O" by octal digits (either
//     letter case), read as unsigned values;
//   - reading stops at the first character that cannot continue the number;
//     a text with no number gives 0.
namespace NumberReader {

double leadingNumber(QStringView text);

// leadingNumber rounded to the nearest integer, halfway cases to the even
// neighbour (2.5 gives 2, 3.5 gives 4); empty when the result lies outside
// -32768 .. 32767.
std::optional<qint16> leadingInteger16(QStringView text);

} // namespace NumberReader
