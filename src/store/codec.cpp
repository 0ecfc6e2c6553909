#include "store/codec.h"

#include <algorithm>
#include <array>

namespace {

constexpr char Unrepresentable = '?';

// Bytes 0x80-0x9F; the rest of the set is Latin-1.
constexpr std::array<char16_t, 32> HighBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr std::array<char16_t, 256> makeDecodeTable()
{
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[b] = (b >= 0x80 && b < 0xA0) ? HighBlock[b - 0x80] : char16_t(b);
    return table;
}

struct Pair
{
    char16_t character;
    char byte;
};

// The high block sorted by character, for a binary search when encoding.
constexpr std::array<Pair, 32> makeEncodeTable()
{
    std::array<Pair, 32> table{};
    for (int i = 0; i < 32; ++i) {
        Pair p{HighBlock[i], char(0x80 + i)};
        int j = i;
        for (; j > 0 && table[j - 1].character > p.character; --j)
            table[j] = table[j - 1];
        table[j] = p;
    }
    return table;
}

// Characters below U+0100 to their byte: Latin-1 apart from the high block,
// where only the five C1 controls that keep their byte are in the set.
constexpr std::array<char, 256> makeLatin1Table()
{
    std::array<char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = (c < 0x80 || c >= 0xA0 || HighBlock[c - 0x80] == c) ? char(c) : Unrepresentable;
    return table;
}

constexpr auto DecodeTable = makeDecodeTable();
constexpr auto Latin1Table = makeLatin1Table();
constexpr auto EncodeTable = makeEncodeTable();

char encodeAboveLatin1(char16_t c)
{
    const auto it = std::lower_bound(EncodeTable.begin(), EncodeTable.end(), c,
                                     [](const Pair &p, char16_t v) { return p.character < v; });
    return (it != EncodeTable.end() && it->character == c) ? it->byte : Unrepresentable;
}

} // namespace

namespace Codec {

QByteArray encode(QStringView text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char *dst = out.data();
    const char16_t *src = text.utf16();
    const char16_t *const end = src + text.size();
    while (src != end) {
        const char16_t c = *src++;
        if (c < 0x100) {
            *dst++ = Latin1Table[c];
            continue;
        }
        // A surrogate pair is one character outside the set, hence one '?'.
        if (QChar::isHighSurrogate(c) && src != end && QChar::isLowSurrogate(*src))
            ++src;
        *dst++ = encodeAboveLatin1(c);
    }
    out.truncate(dst - out.constData());
    return out;
}

QString decode(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    for (const char b : bytes)
        *dst++ = DecodeTable[static_cast<unsigned char>(b)];
    return out;
}

} // namespace Codec
