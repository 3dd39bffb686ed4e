#include "model/Money.h"
#include "model/MoneyCsv.h"
#include "records/CsvFields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>

namespace {

constexpr int32_t most = std::numeric_limits<int32_t>::max();
constexpr int32_t least = std::numeric_limits<int32_t>::min();
const double inf = std::numeric_limits<double>::infinity();
const double nan = std::numeric_limits<double>::quiet_NaN();

TEST(RoundToDecimals, HalvesGoTowardsPlusInfinity)
{
    const struct {
        double x;
        unsigned decimals;
        double expected;
    } cases[] = {
        { 2.5, 0, 3.0 },
        { -2.5, 0, -2.0 },
        { 0.125, 2, 0.13 },
        { -0.125, 2, -0.12 },
        { 2.449, 1, 2.4 },
        { 7.0, 0, 7.0 },
        { 2.453, 4, 2.453 },
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(RoundToDecimals(c.x, c.decimals), c.expected) << c.x << " at " << c.decimals;
}

TEST(Money, FromUnitsRoundsAfterScalingToHundredths)
{
    const struct {
        double units;
        int32_t hundredths;
    } cases[] = {
        { 12.5, 1250 },
        { 0.125, 13 },
        { -0.125, -12 },
        { 2.675, 268 },
        { 1.005, 100 }, // 1.005 * 100 is just below 100.5 in double precision
        { 12345.67, 1234567 },
        { -3.05, -305 },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Money(c.units).GetAmount(), c.hundredths) << c.units;
        EXPECT_DOUBLE_EQ(Money(c.hundredths).GetUnits(), c.hundredths / 100.0);
    }
}

TEST(Money, ArithmeticIsExactOrRoundedToHundredths)
{
    EXPECT_EQ((Money(1250) + Money(-305)).GetAmount(), 945);
    EXPECT_EQ((Money(1250) - Money(1300)).GetAmount(), -50);
    EXPECT_EQ((-Money(305)).GetAmount(), -305);
    Money sum(100);
    sum += Money(23);
    EXPECT_EQ(sum.GetAmount(), 123);
    EXPECT_EQ((Money(250) * 3).GetAmount(), 750);
    EXPECT_EQ((Money(3) * 1.5).GetAmount(), 5);
    EXPECT_EQ((Money(100) / 3.0).GetAmount(), 33);
    EXPECT_EQ((Money(50) / 4.0).GetAmount(), 13);
    Money scaled(200);
    scaled *= 0.175;
    EXPECT_EQ(scaled.GetAmount(), 35);
    EXPECT_TRUE(Money(2) > Money(1));
    EXPECT_FALSE(Money(1) > Money(1));
}

// Results beyond the 32-bit range saturate instead of overflowing; a real that is not a number
// gives 0. Taken literally (a 32-bit product, a truncating conversion) each of these is undefined
// behaviour, which the sanitizers of the test build report.
TEST(Money, ResultsBeyondTheRangeSaturate)
{
    const struct {
        const char* what;
        Money result;
        int32_t expected;
    } cases[] = {
        { "units above the range", Money(3e7), most },
        { "units below the range", Money(-3e7), least },
        { "infinite units", Money(inf), most },
        { "minus infinite units", Money(-inf), least },
        { "units not a number", Money(nan), 0 },
        { "sum", Money(most) + Money(1), most },
        { "difference", Money(least) - Money(1), least },
        { "negation of the least", -Money(least), most },
        { "price times quantity", Money(2'000'000'000) * 2, most },
        { "negative price times quantity", Money(-2'000'000'000) * 2, least },
        { "times a large real", Money(5) * 1e300, most },
        { "times not a number", Money(5) * nan, 0 },
        { "divided by zero", Money(5) / 0.0, most },
        { "negative divided by zero", Money(-5) / 0.0, least },
        { "divided by minus zero", Money(5) / -0.0, least },
        { "zero divided by zero", Money(0) / 0.0, 0 },
        { "divided by a tiny real", Money(7) / 1e-300, most },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.result.GetAmount(), c.expected) << c.what;
}

TEST(Money, ToStringShowsExactlyTheHundredths)
{
    const struct {
        int32_t hundredths;
        bool parenthesise;
        const char* expected;
    } cases[] = {
        { 1250, false, "12.50" },
        { -305, true, "(3.05)" },
        { -305, false, "-3.05" },
        { 0, true, "0.00" },
        { 1005, false, "10.05" },
        { -1, false, "-0.01" },
        { -1, true, "(0.01)" },
        { most, false, "21474836.47" },
        { least, true, "(21474836.48)" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Money(c.hundredths).ToString(c.parenthesise), c.expected) << c.hundredths;
}

TEST(FormatNumber, FixedNotationPaddedAndParenthesised)
{
    EXPECT_EQ(FormatNumber(-2.5, 6, 1, true, ' '), "(   2.5)");
    EXPECT_EQ(FormatNumber(-2.5, 6, 1, false, ' '), "  -2.5");
    EXPECT_EQ(FormatNumber(3.14159, 0, 3, false, '*'), "3.142");
    EXPECT_EQ(FormatNumber(42, 5, 0, true, '0'), "00042");
    EXPECT_EQ(FormatNumber(1e20, 0, 2, false, ' '), "100000000000000000000.00");
    EXPECT_EQ(FormatNumber(1.5, 2, 2, false, ' '), "1.50"); // longer than the width: no padding
}

TEST(UIntToString, DecimalDigitsOnly)
{
    EXPECT_EQ(UIntToString(0), "0");
    EXPECT_EQ(UIntToString(4294967295u), "4294967295");
}

TEST(Money, ArchiveFormIsFourLittleEndianBytes)
{
    win::Archive out;
    Money(-2).Store(out);
    EXPECT_EQ(out.Bytes(), std::string("\xFE\xFF\xFF\xFF", 4));
    win::Archive in(out.Bytes());
    Money read(7);
    read.Load(in);
    EXPECT_EQ(read.GetAmount(), -2);
    EXPECT_THROW(Money().Store(in), win::ArchiveException);
    EXPECT_THROW(read.Load(out), win::ArchiveException);
}

TEST(MoneyCsv, ParsesUnitsWithAccountingNegatives)
{
    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {
        { "12.5", 1250 },
        { "(3.05)", -305 },
        { "", 0 },
        { "2.675", 268 },
        { "1e3", 100000 },
        { "word", 777 }, // not a number: unchanged
        { "99999999999", most },
    };
    for (const auto& c : cases) {
        Money money(777);
        std::istringstream in(std::string("\"") + c.text + "\",next");
        ReadCsvMoney(in, money);
        EXPECT_EQ(money.GetAmount(), c.expected) << c.text;
    }
    Money untouched(777);
    std::istringstream empty("");
    ReadCsvMoney(empty, untouched);
    EXPECT_EQ(untouched.GetAmount(), 777) << "no field at the end of the stream";
}

// Written as "%g" reals, amounts of 10000 and more lose their pennies (12345.67 becomes 12345.7).
TEST(MoneyCsv, WrittenAmountsReadBackToTheHundredth)
{
    std::ostringstream literal;
    WriteCsvDouble(literal, Money(1234567).GetUnits(), false);
    ASSERT_EQ(literal.str(), "\"12345.7\"") << "the real-number writer keeps six digits";

    std::ostringstream out;
    WriteCsvMoney(out, Money(1234567), false);
    WriteCsvMoney(out, Money(-5), true);
    EXPECT_EQ(out.str(), "\"12345.67\",\"-0.05\"");

    for (int64_t amount = least; amount <= most; amount += 104'729 * 977) {
        std::ostringstream text;
        WriteCsvMoney(text, Money(static_cast<int32_t>(amount)), false);
        std::istringstream in(text.str());
        Money read;
        ReadCsvMoney(in, read);
        ASSERT_EQ(read.GetAmount(), amount) << text.str();
    }
    for (const int32_t edge : { most, least, 0, 1, -1, 99, 100 }) {
        std::ostringstream text;
        WriteCsvMoney(text, Money(edge), false);
        std::istringstream in(text.str());
        Money read;
        ReadCsvMoney(in, read);
        EXPECT_EQ(read.GetAmount(), edge) << text.str();
    }
}

} // namespace
