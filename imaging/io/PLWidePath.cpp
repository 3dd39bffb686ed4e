#include "imaging/io/PLWidePath.h"

#include <cstdint>

std::string Utf8Path(const wchar_t* name)
{
    std::string out;
    for (; *name; ++name) {
        auto c = static_cast<uint32_t>(*name);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string ShownPath(const wchar_t* name)
{
    constexpr size_t kMaxShownName = 899;
    std::string shown = name ? Utf8Path(name) : std::string();
    return shown.size() > kMaxShownName ? std::string("{{Filename too long}}") : shown;
}
