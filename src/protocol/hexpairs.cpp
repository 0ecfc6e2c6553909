#include "protocol/hexpairs.h"

#include "store/digits.h"

HexPairs readHexPairs(QStringView text)
{
    HexPairs result;
    result.bytes.reserve((text.size() + 1) / 2);
    for (qsizetype i = 0; i < text.size(); i += 2) {
        int value = 0;
        for (const QChar c : text.mid(i, 2)) {
            const int digit = hexDigitValue(c.unicode());
            if (digit < 0) {
                result.ok = false;
                return result;
            }
            value = value * 16 + digit;
        }
        result.bytes.append(static_cast<char>(value));
    }
    return result;
}
