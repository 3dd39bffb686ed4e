#include "util/CheckDigits.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct AppendCase {
    std::string text;
    int count;
    std::string expected;
};

TEST(CheckDigits, AppendTable)
{
    const std::string sum123 = std::string(13, '9') + "6"; // 13 × 9 + 6
    const std::vector<AppendCase> cases = {
        { "1234", 2, "123410" },
        { "1234", 3, "1234010" },
        { "1234", 1, "12340" },
        { "1234", 0, "1234" },
        { "1234", -1, "1234" },
        { sum123, 2, sum123 + "23" },
        { sum123, 3, sum123 + "123" },
        { sum123, 5, sum123 + "00123" },
        { "", 2, "00" },
        { "A", 2, "A17" }, // 65 - 48
        { "\xE9", 2,
            "\xE9"
            "85" }, // a high byte counts unsigned: 233 - 48
        { "/", 2, "/-1" }, // below '0' the sum goes negative and keeps its sign
        { "/", 3, "/0-1" },
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        AppendCheckDigits(text, c.count);
        EXPECT_EQ(text, c.expected) << c.text << " " << c.count;
        if (c.count >= 0 && !c.text.empty()) {
            EXPECT_TRUE(VerifyCheckDigits(text, c.count)) << c.expected << " " << c.count;
        }
    }
}

TEST(CheckDigits, VerifyAcceptsExactlyWhatAppendGives)
{
    const std::string sum123 = std::string(13, '9') + "6";
    EXPECT_TRUE(VerifyCheckDigits("123410", 2));
    EXPECT_FALSE(VerifyCheckDigits("123411", 2));
    EXPECT_FALSE(VerifyCheckDigits("123401", 2));
    EXPECT_FALSE(VerifyCheckDigits("10", 2)) << "no text before the digits";
    EXPECT_FALSE(VerifyCheckDigits("", 0));
    EXPECT_TRUE(VerifyCheckDigits("1", 0));
    EXPECT_FALSE(VerifyCheckDigits("1234", -1));
    // Counts other than 2 compare with the digits they were given, not the sum modulo 100.
    EXPECT_TRUE(VerifyCheckDigits("12340", 1));
    EXPECT_FALSE(VerifyCheckDigits("12341", 1));
    EXPECT_TRUE(VerifyCheckDigits(sum123 + "123", 3));
    EXPECT_FALSE(VerifyCheckDigits(sum123 + "023", 3));
    EXPECT_TRUE(VerifyCheckDigits(sum123 + "3", 1));
    // The digits are compared as written: no blank or sign stands in for a zero.
    EXPECT_FALSE(VerifyCheckDigits("1234 10", 3));
    EXPECT_FALSE(VerifyCheckDigits("1234+10", 3));
}

} // namespace
