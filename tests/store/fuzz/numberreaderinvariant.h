#pragma once

// Any text: the integer reading is the number rounded (halfway to even) when
// that fits in 16 bits and empty otherwise; a text not starting with & reads
// as strtod reads it without the skipped characters. Run by the fuzz target
// and on test_store's rows.
#include "store/codec.h"
#include "store/numberreader.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdlib>

inline bool readsAsStrtod(QByteArrayView bytes)
{
    const QString text = Codec::decode(bytes);
    const double number = NumberReader::leadingNumber(text);
    const double rounded = std::nearbyint(number);
    const std::optional<qint16> integer = NumberReader::leadingInteger16(text);
    if (rounded >= -32768 && rounded <= 32767 ? integer != rounded : integer.has_value())
        return false;
    const QString plain = QString(text).remove(QRegularExpression("[ \\t\\n]"));
    // Sign, digits, point, digits and exponent: what strtod reads the same way.
    static const QRegularExpression decimal("\\A[+-]?[0-9]*(\\.[0-9]*)?([eE][+-]?[0-9]+)?");
    return plain.startsWith(u'&')
           || number == std::strtod(decimal.match(plain).captured().toLatin1().constData(), nullptr);
}
