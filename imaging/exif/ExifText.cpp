#include "imaging/exif/ExifText.h"

#include <algorithm>

char ExifLowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string ExifLowered(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), ExifLowerAscii);
    return out;
}

void ExifAppendHex(std::string& out, uint32_t value, int digits)
{
    static constexpr char hex[] = "0123456789abcdef";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out += hex[(value >> shift) & 15];
}
