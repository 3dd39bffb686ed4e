// Amounts of money: a signed 32-bit count of hundredths of the currency unit (1250 is 12.50), so
// that sums and differences are exact. Every conversion from a real number rounds to the nearest
// hundredth with halves going up. No currency sign is stored or printed.
//
// Arithmetic never overflows: sums, products and conversions are computed in 64 bits or in double
// precision and saturate at the ends of the 32-bit range; a real that is not a number gives 0.
#pragma once

#include "records/Archivable.h"

#include <cstdint>
#include <string>

// floor(x * 10^decimals + 0.5) / 10^decimals, the power formed by multiplying 1.0 by 10.0 decimals
// times: halves go towards plus infinity (2.5 gives 3, -2.5 gives -2, 0.125 at two decimals 0.13).
double RoundToDecimals(double x, unsigned decimals);

// value in fixed notation with exactly precision decimals (0 to maxFormatPrecision). With
// parenthesiseNegative and a value below zero the negated value is written in parentheses. A
// non-zero width pads the number on the left with fill to width characters (the opening
// parenthesis comes before the padding and is not counted).
std::string FormatNumber(
    double value, int64_t width, int64_t precision, bool parenthesiseNegative, char fill);
inline constexpr int64_t maxFormatPrecision = 64;

// The decimal digits of value: no sign, padding or separators.
std::string UIntToString(uint32_t value);

class Money : public Archivable {
public:
    Money() = default;
    // A real number of currency units, rounded to whole hundredths.
    explicit Money(double units);
    // A count of hundredths, unchanged.
    explicit Money(int32_t hundredths)
        : amount_(hundredths)
    {
    }
    Money(const Money&) = default;
    Money& operator=(const Money&) = default;

    int32_t GetAmount() const { return amount_; }
    // The amount in currency units, rounded to two decimals.
    double GetUnits() const;

    Money operator+(const Money& other) const;
    Money operator-(const Money& other) const;
    Money operator-() const;
    Money& operator+=(const Money& other);
    Money operator*(int32_t count) const;
    // The amount times (or divided by) a real, rounded to whole hundredths. A division by zero
    // saturates with the sign of the quotient (an amount of 0 stays 0).
    Money operator*(double factor) const;
    Money operator/(double divisor) const;
    Money& operator*=(double factor);
    bool operator>(const Money& other) const { return amount_ > other.amount_; }
    bool operator==(const Money& other) const { return amount_ == other.amount_; }

    // Two decimals, no padding or separators: 1250 gives 12.50; -305 gives (3.05) with
    // parenthesiseNegative and -3.05 without.
    std::string ToString(bool parenthesiseNegative) const;

    // The amount as a 4-byte little-endian signed integer.
    void Store(win::Archive& archive) const override;
    void Load(win::Archive& archive) override;

private:
    int32_t amount_ = 0;
};
