#include "protocol/hexpairs.h"

#include <QString>

#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// What the bytes must read back as: each byte two upper-case digits, except
// that an odd last character stood alone and so lost its leading zero.
QString expectedText(const QByteArray &bytes, qsizetype length)
{
    QString text = QString::fromLatin1(bytes.toHex().toUpper());
    if (length % 2 != 0)
        text.remove(text.size() - 2, 1);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype length = text.size();
    const HexPairs pairs = readHexPairs(text);

    check(pairs.bytes.size() <= (length + 1) / 2);
    if (pairs.ok) {
        check(pairs.bytes.size() == (length + 1) / 2);
        check(expectedText(pairs.bytes, length) == text.toUpper());
    } else {
        // The kept bytes are exactly those of the pairs before the bad one.
        const qsizetype kept = pairs.bytes.size();
        check(kept < (length + 1) / 2);
        const HexPairs before = readHexPairs(QStringView(text).left(2 * kept));
        check(before.ok && before.bytes == pairs.bytes);
    }
    return 0;
}
