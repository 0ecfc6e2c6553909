// Any text: accepted pairs read back as the text (upper case, an odd last
// digit alone without its leading zero); a bad pair keeps exactly the bytes
// of the pairs before it.
#include "protocol/hexpairs.h"

#include <QString>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const HexPairs pairs = readHexPairs(text);
    const qsizetype all = (text.size() + 1) / 2;
    QString readBack = QString::fromLatin1(pairs.bytes.toHex().toUpper());
    if (text.size() % 2 != 0 && pairs.ok)
        readBack.remove(readBack.size() - 2, 1);
    const HexPairs before = readHexPairs(QStringView(text).left(2 * pairs.bytes.size()));
    const bool sound = pairs.ok ? pairs.bytes.size() == all && readBack == text.toUpper()
                                : pairs.bytes.size() < all && before.ok && before.bytes == pairs.bytes;
    if (!sound)
        std::abort();
    return 0;
}
