// Character classes and letter case of single bytes as the classic "C" locale has them, whatever
// the process locale: only ASCII letters, digits and white space belong to a class, and bytes of
// 0x80 and above (accented letters of the code page, UTF-8 parts) belong to none and never change
// case. Taking a char rather than an int means a high byte can never reach a C library function
// as a negative value.
#pragma once

#include "records/AsciiCase.h"

#include <string>
#include <string_view>

constexpr bool IsCDigit(char c)
{
    return c >= '0' && c <= '9';
}

constexpr bool IsCUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

constexpr bool IsCLower(char c)
{
    return c >= 'a' && c <= 'z';
}

constexpr bool IsCAlpha(char c)
{
    return IsCUpper(c) || IsCLower(c);
}

constexpr bool IsCAlnum(char c)
{
    return IsCAlpha(c) || IsCDigit(c);
}

constexpr char ToLowerAscii(char c)
{
    return IsCUpper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}
