#include "hexpairs.h"

namespace {

// ASCII digits only: QChar::isDigit would let other scripts' digits through.
int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

} // namespace

HexPairs readHexPairs(QStringView text)
{
    HexPairs result;
    result.bytes.reserve((text.size() + 1) / 2);
    for (qsizetype i = 0; i < text.size(); i += 2) {
        int value = 0;
        for (const QChar c : text.mid(i, 2)) {
            const int digit = hexDigit(c);
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
