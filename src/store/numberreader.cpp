#include "store/numberreader.h"

#include "store/digits.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// Walks the text with blanks, tabs and line feeds already out of the way;
// 0 stands for the end, since a NUL cannot continue a number either.
class Cursor
{
public:
    explicit Cursor(QStringView text) : m_text(text) {}

    char16_t peek()
    {
        while (m_pos < m_text.size() && isSkipped(m_text[m_pos].unicode()))
            ++m_pos;
        return m_pos < m_text.size() ? m_text[m_pos].unicode() : 0;
    }
    void next() { ++m_pos; }
    bool take(char16_t lower)
    {
        const char16_t c = peek();
        if (c != lower && c != lower - 0x20)
            return false;
        next();
        return true;
    }

private:
    static bool isSkipped(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n'; }

    QStringView m_text;
    qsizetype m_pos = 0;
};

double readRadix(Cursor &in, int radix)
{
    double value = 0;
    for (int d; (d = hexDigitValue(in.peek())) >= 0 && d < radix; in.next())
        value = value * radix + d; // grows to inf on absurd lengths, which is fine
    return value;
}

// More significant digits than any double needs to round correctly; beyond
// them a single 1 stands for all dropped non-zero digits.
constexpr int KeptDigits = 800;
// Larger than the digit count of any text that fits in memory, so clamping
// an exponent there changes no result, yet exponent * 10 cannot overflow.
constexpr std::int64_t ExponentClamp = 100'000'000'000'000'000;

double readDecimal(Cursor &in)
{
    bool negative = false;
    if (in.peek() == u'-' || in.peek() == u'+') {
        negative = in.peek() == u'-';
        in.next();
    }

    // The value is 0.<digits> times 10 to the power of scale.
    std::array<char, KeptDigits + 40> buffer;
    char *const digits = buffer.data() + 2;
    int kept = 0;
    bool dropped = false;
    std::int64_t scale = 0;
    auto addDigit = [&](char16_t c, bool inFraction) {
        if (kept == 0 && c == u'0') {
            scale -= inFraction ? 1 : 0;
            return;
        }
        if (!inFraction)
            ++scale;
        if (kept < KeptDigits)
            digits[kept++] = char(c);
        else
            dropped = dropped || c != u'0';
    };
    for (; isDecimalDigit(in.peek()); in.next())
        addDigit(in.peek(), false);
    if (in.peek() == u'.') {
        in.next();
        for (; isDecimalDigit(in.peek()); in.next())
            addDigit(in.peek(), true);
    }

    std::int64_t exponent = 0;
    if (in.take(u'e')) {
        bool negativeExponent = false;
        if (in.peek() == u'-' || in.peek() == u'+') {
            negativeExponent = in.peek() == u'-';
            in.next();
        }
        for (; isDecimalDigit(in.peek()); in.next())
            exponent = std::min(exponent * 10 + (in.peek() - u'0'), ExponentClamp);
        if (negativeExponent)
            exponent = -exponent;
    }

    double value = 0;
    const std::int64_t power = scale + exponent;
    if (kept == 0 || power < -400) {
        value = 0;
    } else if (power > 400) {
        value = std::numeric_limits<double>::infinity();
    } else {
        if (dropped)
            digits[kept++] = '1';
        buffer[0] = '0';
        buffer[1] = '.';
        char *end = digits + kept;
        *end++ = 'e';
        end = std::to_chars(end, buffer.data() + buffer.size(), power).ptr;
        if (std::from_chars(buffer.data(), end, value).ec == std::errc::result_out_of_range)
            value = power > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

} // namespace

namespace NumberReader {

double leadingNumber(QStringView text)
{
    Cursor in(text);
    if (in.peek() == u'&') {
        in.next();
        if (in.take(u'h'))
            return readRadix(in, 16);
        if (in.take(u'o'))
            return readRadix(in, 8);
        return 0;
    }
    return readDecimal(in);
}

std::optional<qint16> leadingInteger16(QStringView text)
{
    const double rounded = std::nearbyint(leadingNumber(text));
    // Written so that NaN fails as well.
    if (!(rounded >= std::numeric_limits<qint16>::min() && rounded <= std::numeric_limits<qint16>::max()))
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

} // namespace NumberReader
