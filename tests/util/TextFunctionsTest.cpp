// Scrambling, number texts, the e-mail check, tags, splitting, shortening and the path ends.
#include "util/EmailAddress.h"
#include "util/NumberText.h"
#include "util/PathText.h"
#include "util/Scramble.h"
#include "util/SplitText.h"
#include "util/TextShortening.h"

#include <gtest/gtest.h>

#include <locale>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST(ScrambleText, KeyBytesWithTopBitAdvancingEveryThirdCharacter)
{
    std::string text = "abcd";
    ScrambleText(text, "KL");
    // K is 0x4B and L 0x4C; with the top bit 0xCB for a, b, c and 0xCC for d.
    EXPECT_EQ(text,
        std::string({ static_cast<char>(0x61 ^ 0xCB), static_cast<char>(0x62 ^ 0xCB),
            static_cast<char>(0x63 ^ 0xCB), static_cast<char>(0x64 ^ 0xCC) }));
    ScrambleText(text, "KL");
    EXPECT_EQ(text, "abcd");

    const std::string plain = std::string("Proof sheet \xE9\xFF\x00 7", 17);
    for (const std::string& key :
        std::vector<std::string> { "k", "secret", "\xE9\x01", std::string(1, '\0') }) {
        const std::string scrambled = ScrambleText(std::string_view(plain), key);
        EXPECT_NE(scrambled, plain) << key;
        EXPECT_EQ(ScrambleText(std::string_view(scrambled), key), plain) << key;
    }
}

TEST(ScrambleText, EmptyKeyLeavesTheText)
{
    std::string text = "unchanged";
    ScrambleText(text, "");
    EXPECT_EQ(text, "unchanged");
    EXPECT_EQ(ScrambleText(std::string_view("abc"), ""), "abc");
}

class DecimalCommaGrouping : public std::numpunct<char> {
protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(NumberText, PaddedNumbersAndDoublesInTheClassicForm)
{
    const std::locale previous
        = std::locale::global(std::locale(std::locale::classic(), new DecimalCommaGrouping));
    EXPECT_EQ(FormatPaddedNumber(42, 5, 2, '0'), "00042");
    EXPECT_EQ(FormatPaddedNumber(42, 0, 2, '*'), "42");
    EXPECT_EQ(FormatPaddedNumber(42, 1, 2, '*'), "42");
    EXPECT_EQ(FormatPaddedNumber(4000000000u, 12, 0, ' '), "  4000000000");
    EXPECT_EQ(DoubleToText(3.14159, 3), "3.14");
    EXPECT_EQ(DoubleToText(1234567.0, 3), "1.23e+06");
    EXPECT_EQ(DoubleToText(1234567.0, 7), "1234567");
    EXPECT_EQ(DoubleToText(0.5, 6), "0.5");
    EXPECT_EQ(DoubleToText(-2.5, 1), "-2");
    std::locale::global(previous);
}

TEST(EmailAddress, SyntaxRules)
{
    const std::vector<std::pair<std::string, bool>> cases = {
        { "anna@studio.co", true },
        { "anna@studio.com", true },
        { "anna@studio.info", true },
        { "anna@studio.museum", true },
        { "a.b+c-d=e^f_g~h&i@x.y.org", true },
        { "anna@studio.c", false }, // top-level domain of 1
        { "anna@studio.photo", false }, // of 5
        { "anna@studio.Museum", false },
        { "anna@studio.", false },
        { "anna b@studio.com", false },
        { "anna@studio,com", false },
        { "@studio.com", false },
        { "anna@", false },
        { "anna@@studio.com", false },
        { "an@na@studio.com", false },
        { "anna@.studio.com", false },
        { "anna.@studio.com", false },
        { "anna@studio", false },
        { "anna.b@studio", false }, // the dot must come after the at sign
        { "anna@studio..com", true }, // runs of dots are not checked
        { "", false },
        { "anna@st\xFC"
          "dio.com",
            false },
    };
    for (const auto& [text, valid] : cases)
        EXPECT_EQ(IsValidEmailAddress(text), valid) << text;
}

TEST(StripTags, Table)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        { "a<b>c", "ac" },
        { "a<b", "a" },
        { "a>b", "a>b" },
        { "<>", "" },
        { "x<<y>z", "xz" },
        { "<p>one</p><br>two", "onetwo" },
        { "", "" },
    };
    for (const auto& [input, expected] : cases) {
        std::string text = input;
        StripTags(text);
        EXPECT_EQ(text, expected) << input;
    }
}

TEST(SplitText, TokensAppendedInOrder)
{
    std::vector<std::string> tokens = { "kept" };
    SplitText(",,one, two;;three,", tokens, ",;");
    EXPECT_EQ(tokens, (std::vector<std::string> { "kept", "one", " two", "three" }));
    // No state is kept between calls: splitting another text in between changes nothing.
    std::vector<std::string> first, second;
    SplitText("a b", first, " ");
    SplitText("c d", second, " ");
    SplitText("e", first, " ");
    EXPECT_EQ(first, (std::vector<std::string> { "a", "b", "e" }));
    EXPECT_EQ(second, (std::vector<std::string> { "c", "d" }));
    std::vector<std::string> none;
    SplitText(",,,", none, ",");
    SplitText("", none, ",");
    EXPECT_TRUE(none.empty());
    SplitText("whole", none, "");
    EXPECT_EQ(none, (std::vector<std::string> { "whole" }));
}

TEST(AbbreviateMiddle, Table)
{
    const std::string twenty = "abcdefghijklmnopqrst";
    const std::vector<std::tuple<std::string, int, std::string>> cases = {
        { twenty, 10, "abcd...rst" },
        { twenty, 11, "abcd...qrst" },
        { twenty, 5, "a...t" },
        { twenty, 4, "a..." },
        { twenty, 3, "..." },
        { twenty, 2, "..." },
        { twenty, 1, "..." },
        { twenty, 0, "..." },
        { twenty, -7, "..." },
        { twenty, 19, "abcdefgh...mnopqrst" },
        { twenty, 20, twenty },
        { twenty, 100, twenty },
        { "abcde", 2, "abcde" }, // five characters or fewer stay
        { "abcdef", 5, "a...f" },
    };
    for (const auto& [input, width, expected] : cases) {
        std::string text = input;
        AbbreviateMiddle(text, width);
        EXPECT_EQ(text, expected) << input << " " << width;
        if (width >= 3 && width < static_cast<int>(input.size()) && input.size() > 5) {
            EXPECT_EQ(text.size(), static_cast<std::size_t>(width));
        }
    }
}

TEST(PathText, BackslashAndLastCharacter)
{
    std::string path = "C:";
    AppendBackslash(path);
    EXPECT_EQ(path, "C:\\");
    AppendBackslash(path);
    EXPECT_EQ(path, "C:\\");
    std::string empty;
    AppendBackslash(empty);
    EXPECT_EQ(empty, "");
    EXPECT_EQ(LastCharacter("abc"), "c");
    EXPECT_EQ(LastCharacter(""), "");
    for (const auto& [path, without] : std::vector<std::pair<std::string, std::string>> {
             { "/srv/photos//", "/srv/photos" }, { "/srv", "/srv" }, { "///", "/" }, { "", "" } })
        EXPECT_EQ(WithoutTrailingSlashes(path), without) << path;
}

} // namespace
