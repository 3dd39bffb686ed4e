#include "records/CsvNumbers.h"

#include "records/AsciiCase.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <type_traits>

namespace {

// The text a number is parsed from: the whole text, or for the accounting form "(x)" the part
// between the parentheses (then negated), or for "(x" the rest without negation.
struct NumberText {
    std::string_view digits;
    bool negate = false;
};

NumberText SplitAccountingForm(std::string_view text)
{
    if (text.empty() || text.front() != '(')
        return { text, false };
    const std::string_view inner = text.substr(1);
    const std::size_t close = inner.find(')');
    if (close == std::string_view::npos)
        return { inner, false };
    return { inner.substr(0, close), true };
}

// A sign and the magnitude's digits, after leading white space.
struct SignedDigits {
    bool negative = false;
    std::string_view rest; // from the first character after the sign
};

SignedDigits SkipBlanksAndSign(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    SignedDigits result;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        result.negative = text[i] == '-';
        ++i;
    }
    result.rest = text.substr(i);
    return result;
}

// The magnitude of a decimal integer at the start of text, when it has digits and fits 64 bits.
std::optional<uint64_t> ParseMagnitude(std::string_view text)
{
    uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (error != std::errc() || end == text.data())
        return std::nullopt;
    return magnitude;
}

std::optional<int> ParseInt(std::string_view text)
{
    const SignedDigits parts = SkipBlanksAndSign(text);
    const auto magnitude = ParseMagnitude(parts.rest);
    if (!magnitude)
        return std::nullopt;
    constexpr uint64_t maxPositive = std::numeric_limits<int>::max();
    if (*magnitude > maxPositive + (parts.negative ? 1 : 0))
        return std::nullopt;
    const int64_t value
        = parts.negative ? -static_cast<int64_t>(*magnitude) : static_cast<int64_t>(*magnitude);
    return static_cast<int>(value);
}

std::optional<unsigned> ParseUnsigned(std::string_view text)
{
    const SignedDigits parts = SkipBlanksAndSign(text);
    const auto magnitude = ParseMagnitude(parts.rest);
    if (!magnitude || *magnitude > std::numeric_limits<unsigned>::max())
        return std::nullopt;
    const unsigned value = static_cast<unsigned>(*magnitude);
    // A minus sign wraps modulo 2^32, as the standard extraction of an unsigned number does.
    return parts.negative ? 0u - value : value;
}

std::optional<double> ParseDouble(std::string_view text)
{
    const SignedDigits parts = SkipBlanksAndSign(text);
    // Decimal digits or a point must follow the sign: no "inf", "nan" or hexadecimal forms.
    if (parts.rest.empty()
        || !(parts.rest.front() == '.' || (parts.rest.front() >= '0' && parts.rest.front() <= '9')))
        return std::nullopt;
    double magnitude = 0;
    const auto [end, error] = std::from_chars(
        parts.rest.data(), parts.rest.data() + parts.rest.size(), magnitude, std::chars_format::general);
    if (error != std::errc() || end == parts.rest.data())
        return std::nullopt;
    return parts.negative ? -magnitude : magnitude;
}

template <typename T, typename Parse> bool ParseNumber(std::string_view text, T& value, Parse parse)
{
    if (text.empty()) {
        value = T {};
        return true;
    }
    const NumberText number = SplitAccountingForm(text);
    const std::optional<T> parsed = parse(number.digits);
    if (!parsed)
        return false;
    if (!number.negate) {
        value = *parsed;
        return true;
    }
    if constexpr (std::is_same_v<T, int>) {
        // The negative of the smallest int does not exist.
        if (*parsed == std::numeric_limits<int>::min())
            return false;
    }
    if constexpr (std::is_unsigned_v<T>)
        value = T {} - *parsed; // wraps modulo 2^32
    else
        value = -*parsed;
    return true;
}

std::string PadLeft(std::string text, int width)
{
    if (width > 0 && text.size() < static_cast<std::size_t>(width))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    return text;
}

template <typename T> std::string DecimalText(T value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

} // namespace

bool StringToInt(std::string_view text, int& value)
{
    return ParseNumber<int>(text, value, ParseInt);
}

bool StringToUnsigned(std::string_view text, unsigned& value)
{
    return ParseNumber<unsigned>(text, value, ParseUnsigned);
}

bool StringToDouble(std::string_view text, double& value)
{
    return ParseNumber<double>(text, value, ParseDouble);
}

std::string FormatInt(int value, int width)
{
    return PadLeft(DecimalText(value), width);
}

std::string FormatUnsigned(unsigned value, int width)
{
    return PadLeft(DecimalText(value), width);
}

std::string FormatDouble(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}
