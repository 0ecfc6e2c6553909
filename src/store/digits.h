#pragma once

// ASCII digits only, for every reader of numbers in the program: QChar's own
// tests would let other scripts' digits through.

// 0-9 for '0'-'9', 10-15 for 'A'-'F' and 'a'-'f'; -1 for anything else.
constexpr int hexDigitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

constexpr bool isDecimalDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}
