#include "util/NumberAlphabet.h"

#include <cstdint>

namespace {

constexpr std::string_view kError = "ERROR";

std::string PadLeft(std::string digits, int minimumDigits, char fill)
{
    if (minimumDigits > 0 && digits.size() < static_cast<std::size_t>(minimumDigits))
        digits.insert(0, static_cast<std::size_t>(minimumDigits) - digits.size(), fill);
    return digits;
}

// The value in the given base with the given digits, most significant first; 0 gives no digit.
std::string WriteInBase(uint32_t value, std::string_view digits)
{
    const auto base = static_cast<uint32_t>(digits.size());
    std::string text;
    for (; value != 0; value /= base)
        text.insert(text.begin(), digits[value % base]);
    return text;
}

} // namespace

std::string ConvertFromAlphabet(std::string_view text, std::string_view alphabet, int minimumDigits)
{
    if (alphabet.size() < 2)
        return std::string(kError);
    const auto base = static_cast<uint32_t>(alphabet.size());
    uint32_t value = 0;
    for (const char c : text) {
        const std::size_t digit = alphabet.find(c);
        if (digit == std::string_view::npos)
            return std::string(kError);
        value = value * base + static_cast<uint32_t>(digit);
    }
    return PadLeft(WriteInBase(value, "0123456789"), minimumDigits, '0');
}

std::string ConvertToAlphabet(std::string_view decimalText, std::string_view alphabet, int minimumDigits)
{
    if (alphabet.size() < 2)
        return std::string(kError);
    uint32_t value = 0;
    for (const char c : decimalText)
        value = value * 10u + (static_cast<uint32_t>(static_cast<unsigned char>(c)) - '0');
    return PadLeft(WriteInBase(value, alphabet), minimumDigits, alphabet.front());
}
