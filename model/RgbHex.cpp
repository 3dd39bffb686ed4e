#include "model/RgbHex.h"

#include <cstdio>

win::COLORREF ParseRgbHex(const std::string& text)
{
    unsigned int red = 0;
    unsigned int green = 0;
    unsigned int blue = 0;
    // Fields are read in order and scanning stops at the first that cannot be read, leaving the
    // rest at 0. Masking keeps a signed field ("-1") within its byte.
    std::sscanf(text.c_str(), "%2x%2x%2x", &red, &green, &blue);
    return win::RGB(static_cast<win::BYTE>(red & 0xFF), static_cast<win::BYTE>(green & 0xFF),
        static_cast<win::BYTE>(blue & 0xFF));
}

std::string FormatRgbHex(win::COLORREF colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", win::GetRValue(colour), win::GetGValue(colour),
        win::GetBValue(colour));
    return text;
}
