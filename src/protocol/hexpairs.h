#pragma once

#include <QByteArray>
#include <QStringView>

// Raw bytes typed as hexadecimal: characters 1 and 2 are the first byte,
// 3 and 4 the second, and so on; an odd last character is a byte of its own.
// No separators: a blank is a character of its pair, and refuses it.
struct HexPairs
{
    QByteArray bytes; // the bytes of the pairs before the first bad one
    bool ok = true;   // false when a pair is not a hexadecimal number
};

HexPairs readHexPairs(QStringView text);
