#include "util/ColumnLetters.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

TEST(ColumnLetters, NumbersToLetters)
{
    const std::vector<std::pair<int, std::string>> cases = {
        { 0, "" },
        { -1, "" },
        { INT_MIN, "" },
        { 1, "A" },
        { 26, "Z" },
        { 27, "AA" },
        { 28, "AB" },
        { 52, "AZ" },
        { 53, "BA" },
        { 702, "ZZ" },
        { 703, "AAA" },
        { 18278, "ZZZ" },
        { 18279, "AAAA" },
        { INT_MAX, "FXSHRXW" },
    };
    for (const auto& [number, letters] : cases)
        EXPECT_EQ(ColumnNumberToLetters(number), letters) << number;
}

TEST(ColumnLetters, LettersToNumbers)
{
    const std::vector<std::pair<std::string, int>> cases = {
        { "ab", 28 },
        { "A", 1 },
        { "A1", 0 },
        { "12", 12 },
        { "", 0 },
        { "a", 1 },
        { "z", 26 },
        { "A B", 1 },
        { "AB C", 28 },
        { "ABC", 731 },
        { "zz", 702 },
        { "AAA", 703 },
        { " A", 0 },
        { "-5", 0 },
        { "12abc", 12 },
        { "99999999999", 0 },
        { "FXSHRXW", INT_MAX },
        { "FXSHRXX", 0 },
        { "ZZZZZZZZZZZZZZZZZZZZ", 0 },
        { "\xC1", 0 },
        { "A\xC1", 0 },
        // After two or more letters the rest is ignored; a single letter counts only alone.
        { "AB1", 28 },
        { "ab-", 28 },
        { "ABC1", 731 },
        { "AB\xC1", 28 },
        { "A-", 0 },
        { "1", 1 },
        { "1A", 1 },
    };
    for (const auto& [letters, number] : cases)
        EXPECT_EQ(ColumnLettersToNumber(letters), number) << letters;
}

TEST(ColumnLetters, TheTwoAreInverse)
{
    for (int number = 1; number <= 20000; ++number)
        ASSERT_EQ(ColumnLettersToNumber(ColumnNumberToLetters(number)), number);
    ASSERT_EQ(ColumnLettersToNumber(ColumnNumberToLetters(INT_MAX)), INT_MAX);
}

} // namespace
