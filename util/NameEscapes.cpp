#include "util/NameEscapes.h"

#include <charconv>

namespace {

// Replaces each backslash, followed by the marker and exactly `digits` digits of the base, by the
// byte they give; the byte must be 1 to 255.
std::string Decode(std::string_view text, std::string_view marker, size_t digits, int base)
{
    std::string result;
    result.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const std::string_view rest = text.substr(i);
        const size_t length = 1 + marker.size() + digits;
        unsigned value = 0;
        if (rest.size() >= length && rest.front() == '\\' && rest.substr(1, marker.size()) == marker) {
            const char* first = rest.data() + 1 + marker.size();
            const char* last = rest.data() + length;
            const auto [end, error] = std::from_chars(first, last, value, base);
            if (end == last && error == std::errc() && value >= 1 && value <= 255) {
                result += static_cast<char>(value);
                i += length;
                continue;
            }
        }
        result += text[i];
        ++i;
    }
    return result;
}

} // namespace

std::string DecodeMountTableName(std::string_view text)
{
    return Decode(text, "", 3, 8);
}

std::string DecodeVolumeLabelName(std::string_view text)
{
    return Decode(text, "x", 2, 16);
}
