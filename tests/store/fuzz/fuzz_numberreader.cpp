// Any text: the integer reading is the rounded number whenever that fits in
// 16 bits and empty otherwise, and plain decimal texts read as strtod reads
// the same characters with the skipped ones taken out.
#include "store/codec.h"
#include "store/numberreader.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The longest prefix of sign, digits, point, digits and exponent: the part
// of a blank-free text that strtod reads the same way, and no more.
std::string decimalPrefix(const std::string &s)
{
    size_t i = 0;
    auto digits = [&] { while (i < s.size() && isDigit(s[i])) ++i; };
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    digits();
    if (i < s.size() && s[i] == '.') {
        ++i;
        digits();
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t e = i + 1;
        if (e < s.size() && (s[e] == '+' || s[e] == '-'))
            ++e;
        if (e < s.size() && isDigit(s[e])) {
            i = e;
            digits();
        }
    }
    return s.substr(0, i);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = Codec::decode(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    const double number = NumberReader::leadingNumber(text);
    const double rounded = std::nearbyint(number);
    const std::optional<qint16> integer = NumberReader::leadingInteger16(text);
    if (rounded >= -32768 && rounded <= 32767)
        check(integer && *integer == rounded);
    else
        check(!integer);

    std::string plain;
    for (size_t i = 0; i < size; ++i)
        if (data[i] != ' ' && data[i] != '\t' && data[i] != '\n')
            plain += char(data[i]);
    if (plain.empty() || plain[0] != '&') {
        const std::string prefix = decimalPrefix(plain);
        check(number == std::strtod(prefix.c_str(), nullptr));
    }
    return 0;
}
