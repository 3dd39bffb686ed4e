#include "model/Money.h"

#include "platform/win/IntArithmetic.h"
#include "records/CsvNumbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

double RoundToDecimals(double x, unsigned decimals)
{
    double power = 1.0;
    for (unsigned i = 0; i < decimals; ++i)
        power *= 10.0;
    return std::floor(x * power + 0.5) / power;
}

namespace {

// The fixed-notation text of a value, in the classic form whatever the process locale.
std::string FixedText(double value, int precision)
{
    // Up to 309 integer digits, a sign, a point and the decimals.
    std::string text(static_cast<std::size_t>(precision) + 330, '\0');
    const auto result
        = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, precision);
    text.resize(static_cast<std::size_t>(result.ptr - text.data()));
    return text;
}

std::string PadLeft(std::string text, int64_t width, char fill)
{
    if (width > 0 && text.size() < static_cast<uint64_t>(width))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), fill);
    return text;
}

// A whole number of hundredths from a real one: rounded half up, saturated, not a number gives 0.
int32_t WholeHundredths(double hundredths)
{
    return win::SaturateToInt32(RoundToDecimals(hundredths, 0));
}

} // namespace

std::string FormatNumber(double value, int64_t width, int64_t precision, bool parenthesiseNegative, char fill)
{
    const int decimals = static_cast<int>(std::clamp<int64_t>(precision, 0, maxFormatPrecision));
    if (parenthesiseNegative && value < 0)
        // Appended, not inserted before a temporary (which g++ 12 warns about wrongly).
        return std::string(1, '(').append(PadLeft(FixedText(-value, decimals), width, fill)).append(1, ')');
    return PadLeft(FixedText(value, decimals), width, fill);
}

std::string UIntToString(uint32_t value)
{
    return FormatUnsigned(value);
}

Money::Money(double units)
    : amount_(WholeHundredths(units * 100))
{
}

double Money::GetUnits() const
{
    return RoundToDecimals(amount_ / 100.0, 2);
}

Money Money::operator+(const Money& other) const
{
    return Money(win::SaturateToInt32(int64_t { amount_ } + other.amount_));
}

Money Money::operator-(const Money& other) const
{
    return Money(win::SaturateToInt32(int64_t { amount_ } - other.amount_));
}

Money Money::operator-() const
{
    return Money(win::SaturateToInt32(-int64_t { amount_ }));
}

Money& Money::operator+=(const Money& other)
{
    return *this = *this + other;
}

Money Money::operator*(int32_t count) const
{
    return Money(win::SaturateToInt32(int64_t { amount_ } * count));
}

Money Money::operator*(double factor) const
{
    return Money(WholeHundredths(amount_ * factor));
}

Money Money::operator/(double divisor) const
{
    if (divisor == 0.0) {
        constexpr int32_t most = std::numeric_limits<int32_t>::max();
        constexpr int32_t least = std::numeric_limits<int32_t>::min();
        // As the real quotient would be: an infinity of the signs' product, or 0 for 0.
        const bool negative = (amount_ < 0) != std::signbit(divisor);
        return Money(amount_ == 0 ? 0 : negative ? least : most);
    }
    return Money(WholeHundredths(amount_ / divisor));
}

Money& Money::operator*=(double factor)
{
    return *this = *this * factor;
}

std::string Money::ToString(bool parenthesiseNegative) const
{
    return FormatNumber(amount_ / 100.0, 0, 2, parenthesiseNegative, '0');
}

void Money::Store(win::Archive& archive) const
{
    archive << amount_;
}

void Money::Load(win::Archive& archive)
{
    archive >> amount_;
}
