#include "util/CheckDigits.h"

#include <cstdint>

namespace {

std::string CheckDigitsOf(std::string_view text, int count)
{
    int64_t sum = 0;
    for (const char c : text)
        sum += static_cast<unsigned char>(c) - 48;
    std::string digits = std::to_string(sum);
    const auto wanted = static_cast<std::size_t>(count);
    if (digits.size() < wanted)
        digits.insert(0, wanted - digits.size(), '0');
    return digits.substr(digits.size() - wanted);
}

} // namespace

void AppendCheckDigits(std::string& text, int count)
{
    if (count > 0)
        text += CheckDigitsOf(text, count);
}

bool VerifyCheckDigits(const std::string& text, int count)
{
    if (count < 0 || text.size() < static_cast<std::size_t>(count) + 1)
        return false;
    const std::string_view all(text);
    const std::size_t split = text.size() - static_cast<std::size_t>(count);
    return all.substr(split) == CheckDigitsOf(all.substr(0, split), count);
}
