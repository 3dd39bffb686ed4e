#include "util/CaseConversion.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CaseConversion, UpperAndLowerTouchAsciiLettersOnly)
{
    std::string text = "abc XYZ 09 \xE9\xC9\xFF!";
    ToUpperCase(text);
    EXPECT_EQ(text, "ABC XYZ 09 \xE9\xC9\xFF!");
    ToLowerCase(text);
    EXPECT_EQ(text, "abc xyz 09 \xE9\xC9\xFF!");
    const std::string original = "MiXeD";
    EXPECT_EQ(ToUpperCase(std::string_view(original)), "MIXED");
    EXPECT_EQ(ToLowerCase(std::string_view(original)), "mixed");
    EXPECT_EQ(original, "MiXeD");
}

TEST(TitleCase, Table)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        { "the lord of the rings", "The Lord of the Rings" }, { "war and peace", "War and Peace" },
        { "from here to there", "From Here to There" }, // the first word is never small
        { "a tale of", "A Tale of" }, // a small word at the end stays, and ends the work
        { "a tale of two", "A Tale of Two" }, { "OLD MCDONALD", "OLD MCDONALD" }, // all capitals stay
        { "USA today", "USA Today" }, { "mcDonald", "McDonald" }, { "HEllo", "Hello" },
        { "tHE eND", "The End" }, { "2nd place", "2nd Place" }, { "3d film", "3d Film" },
        { "3D film", "3D Film" }, { "o'neil", "O'Neil" }, { "john's car", "John's Car" },
        { "john's", "John's" }, { "U.S.A.", "U.s.a." }, { "well-known fact", "Well-Known Fact" },
        { "hello  world", "Hello  World" },
        { "(hello) world", "(hello) World" }, // a punctuation mark ends the start of the word
        { "on the C.E. side", "On the C.E. Side" }, { "x", "X" }, { "", "" }, { " ", " " },
        { "end -", "End -" }, { "The Of the", "The Of the" }, // look-ups count letter case
        { "\xE9t\xE9 \xE0 paris", "\xE9t\xE9 \xE0 Paris" }, // accented letters of the code page stay
    };
    for (const auto& [input, expected] : cases) {
        std::string text = input;
        ToTitleCase(text);
        EXPECT_EQ(text, expected) << input;
        EXPECT_EQ(ToTitleCase(std::string_view(input)), expected) << input;
    }
}

} // namespace
