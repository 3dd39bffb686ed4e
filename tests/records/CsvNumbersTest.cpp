#include "records/CsvNumbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

namespace {

template <typename T> struct ParseCase {
    std::string text;
    bool ok;
    T value; // the result when ok; otherwise the target keeps its sentinel
};

constexpr int intSentinel = 77;

TEST(StringToInt, Table)
{
    const std::vector<ParseCase<int>> cases = {
        { "", true, 0 },
        { "42", true, 42 },
        { "(12)", true, -12 },
        { "(12", true, 12 },
        { "(12)xyz", true, -12 },
        { "()", false, 0 },
        { "(", false, 0 },
        { "  \t\n12", true, 12 },
        { "+7", true, 7 },
        { "-7", true, -7 },
        { "(-7)", true, 7 },
        { "12abc", true, 12 },
        { "1.9", true, 1 },
        { "0x10", true, 0 },
        { "abc", false, 0 },
        { "- 5", false, 0 },
        { "+-5", false, 0 },
        { " (12)", false, 0 },
        { "2147483647", true, INT_MAX },
        { "-2147483648", true, INT_MIN },
        { "2147483648", false, 0 },
        { "-2147483649", false, 0 },
        { "(-2147483648)", false, 0 },
        { "99999999999999999999999", false, 0 },
    };
    for (const auto& c : cases) {
        int value = intSentinel;
        EXPECT_EQ(StringToInt(c.text, value), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(value, c.ok ? c.value : intSentinel) << '"' << c.text << '"';
    }
}

TEST(StringToUnsigned, Table)
{
    const std::vector<ParseCase<unsigned>> cases = {
        { "", true, 0u },
        { "(1)", true, 4294967295u },
        { "-1", true, 4294967295u },
        { "4294967295", true, 4294967295u },
        { "4294967296", false, 0u },
        { "-4294967296", false, 0u },
        { "(5", true, 5u },
        { " 12abc", true, 12u },
        { "x", false, 0u },
    };
    for (const auto& c : cases) {
        unsigned value = 77;
        EXPECT_EQ(StringToUnsigned(c.text, value), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(value, c.ok ? c.value : 77u) << '"' << c.text << '"';
    }
}

TEST(StringToDouble, Table)
{
    const std::vector<ParseCase<double>> cases = {
        { "", true, 0.0 },
        { "(2.5)", true, -2.5 },
        { "2.453", true, 2.453 },
        { "1e3", true, 1000.0 },
        { "-.5", true, -0.5 },
        { "+1.25E-2", true, 0.0125 },
        { "3.5kg", true, 3.5 },
        { "1,5", true, 1.0 },
        { "  7", true, 7.0 },
        { "abc", false, 0 },
        { ".", false, 0 },
        { "inf", false, 0 },
        { "-nan", false, 0 },
        { "0x1p3", true, 0.0 },
        { "1e999", false, 0 },
        { "(", false, 0 },
    };
    for (const auto& c : cases) {
        double value = 77.0;
        EXPECT_EQ(StringToDouble(c.text, value), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(value, c.ok ? c.value : 77.0) << '"' << c.text << '"';
    }
    double zero = 1;
    ASSERT_TRUE(StringToDouble("(0)", zero));
    EXPECT_TRUE(std::signbit(zero)) << "negation flips the sign of zero too";
}

// Every short text over digits, signs, blanks and junk: outside the accounting form the parsers
// agree with the standard extraction of a classic-locale string stream (value and success).
template <typename T, typename Parse>
void AgreesWithStreamExtraction(const std::string& alphabet, Parse parse)
{
    std::vector<std::string> texts = { "" };
    for (int length = 1; length <= 4; ++length) {
        std::vector<std::string> longer;
        for (const auto& text : texts)
            if (text.size() == static_cast<std::size_t>(length - 1))
                for (const char c : alphabet)
                    longer.push_back(text + c);
        texts.insert(texts.end(), longer.begin(), longer.end());
    }
    for (const auto& text : texts) {
        if (text.empty())
            continue;
        std::istringstream in(text);
        in.imbue(std::locale::classic());
        T expected {};
        const bool streamOk = static_cast<bool>(in >> expected);
        T value {};
        const bool ok = parse(text, value);
        ASSERT_EQ(ok, streamOk) << '"' << text << '"';
        if (ok) {
            ASSERT_EQ(value, expected) << '"' << text << '"';
        }
    }
}

TEST(NumberParsers, AgreeWithStandardExtraction)
{
    AgreesWithStreamExtraction<int>(
        "019-+ a.", [](const std::string& t, int& v) { return StringToInt(t, v); });
    AgreesWithStreamExtraction<unsigned>(
        "09-+ x", [](const std::string& t, unsigned& v) { return StringToUnsigned(t, v); });
    AgreesWithStreamExtraction<double>(
        "05-+ .x", [](const std::string& t, double& v) { return StringToDouble(t, v); });
}

struct FormatCase {
    int value;
    int width;
    std::string text;
};

TEST(FormatInt, WidthsZeroToFive)
{
    const std::vector<FormatCase> cases = {
        { 7, 0, "7" },
        { 7, 1, "7" },
        { 7, 2, "07" },
        { 123, 2, "123" },
        { 0, 3, "000" },
        { 42, 4, "0042" },
        { 42, 5, "00042" },
        { -5, 3, "0-5" },
        { -42, 1, "-42" },
        { INT_MIN, 0, "-2147483648" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatInt(c.value, c.width), c.text) << c.value << " in width " << c.width;
    EXPECT_EQ(FormatUnsigned(4294967295u, 12), "004294967295");
    EXPECT_EQ(FormatUnsigned(9, 0), "9");
}

TEST(FormatDouble, MatchesPrintfG)
{
    for (const double value : { 0.0, 2.453, -2.5, 1.0 / 3, 1234567.0, 123456.0, 1e-4, 1e-5, 100000.0, 1e21,
             -0.000123456789, 5e-324, 1.7976931348623157e308 }) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%g", value);
        EXPECT_EQ(FormatDouble(value), expected);
    }
}

} // namespace
