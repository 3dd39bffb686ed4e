// Letter case of single bytes: only ASCII letters change; bytes of 0x80 and above (accented
// letters of the code page, UTF-8 parts) stay as they are, whatever the process locale.
#pragma once

#include <string>
#include <string_view>

constexpr char ToUpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string ToUpperAscii(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        c = ToUpperAscii(c);
    return upper;
}

// The classic "C" locale's white space: space, tab, LF, VT, FF, CR.
constexpr bool IsCSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}
