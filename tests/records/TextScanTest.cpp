#include "records/TextScan.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

struct SkipCase {
    std::string input;
    std::string text;
    bool ignoreCase;
    bool found;
    std::string rest; // what the stream holds afterwards, when found
};

TEST(SkipToText, Table)
{
    const std::vector<SkipCase> cases = {
        { "xx mount type yy", "Mount Type", true, true, " yy" },
        { "xx mount type yy", "Mount Type", false, false, "" },
        { "MMount Type", "Mount Type", true, false, "" }, // the second M is not tried as a new start
        { "Mount Type", "Mount Type", false, true, "" },
        { "abc", "b", false, true, "c" },
        { "ABC", "b", false, false, "" },
        { "", "a", false, false, "" },
        { "caf\xC9", "caf\xE9", true, false, "" }, // only ASCII letters fold
        { "caf\xE9!", "CAF\xE9", true, true, "!" },
        { "anything", "", false, true, "anything" },
    };
    for (const auto& c : cases) {
        std::istringstream in(c.input);
        EXPECT_EQ(SkipToText(in, c.text, c.ignoreCase), c.found) << c.input << " / " << c.text;
        if (c.found) {
            std::string rest((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            EXPECT_EQ(rest, c.rest) << c.input << " / " << c.text;
        }
    }
}

TEST(SkipToText, StreamNotGoodAtTheCall)
{
    std::istringstream in("needle");
    in.setstate(std::ios::eofbit);
    EXPECT_FALSE(SkipToText(in, "needle", false));
}

TEST(ReadUntilText, FoundLimitAndFailure)
{
    {
        std::istringstream in("one<BR>\ntwo<br>three</p>after");
        std::string out;
        EXPECT_EQ(ReadUntilText(in, out, "</P>", 100, false, true, nullptr), ReadUntilResult::found);
        EXPECT_EQ(out, "one\ntwo\nthree");
        EXPECT_EQ(in.get(), 'a');
    }
    {
        std::istringstream in("abcdefgh");
        std::string out, rest;
        EXPECT_EQ(ReadUntilText(in, out, "xyz", 5, false, false, &rest), ReadUntilResult::limitReached);
        EXPECT_EQ(out, "abcde");
        EXPECT_EQ(rest, "CDE");
    }
    {
        std::istringstream in("abc</P>");
        std::string out;
        EXPECT_EQ(ReadUntilText(in, out, "</p>", 100, true, false, nullptr), ReadUntilResult::streamFailed);
        EXPECT_EQ(out, "abc</P>");
    }
    {
        // A partial match that fails is retried from the next character.
        std::istringstream in("aab");
        std::string out;
        EXPECT_EQ(ReadUntilText(in, out, "ab", 10, true, false, nullptr), ReadUntilResult::found);
        EXPECT_EQ(out, "a");
    }
}

TEST(WhiteSpace, TrimAndCollapse)
{
    std::string text = " \t a b \r\n\v\f";
    TrimRight(text);
    EXPECT_EQ(text, " \t a b");
    TrimLeft(text);
    EXPECT_EQ(text, "a b");

    char buffer[] = "x y \t\n";
    TrimRight(buffer);
    EXPECT_STREQ(buffer, "x y");

    struct CollapseCase {
        std::string in;
        char fill;
        std::string out;
    };
    for (const auto& c :
        std::vector<CollapseCase> { { "  a \t b\n", '_', "_a_b_" }, { "  a \t b\n", '\0', "ab" },
            { "abc", ' ', "abc" }, { "", '_', "" }, { "\xA0x", '_', "\xA0x" } }) {
        std::string s = c.in;
        CollapseWhiteSpace(s, c.fill);
        EXPECT_EQ(s, c.out);
        std::vector<char> chars(c.in.begin(), c.in.end());
        chars.push_back('\0');
        CollapseWhiteSpace(chars.data(), c.fill);
        EXPECT_STREQ(chars.data(), c.out.c_str());
    }

    std::istringstream in(" \t\n x");
    SkipWhiteSpace(in);
    EXPECT_EQ(in.get(), 'x');
}

} // namespace
