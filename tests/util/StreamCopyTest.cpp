#include "util/StreamCopy.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

std::string Rest(std::istream& is)
{
    is.clear();
    return std::string(std::istreambuf_iterator<char>(is), std::istreambuf_iterator<char>());
}

TEST(SkipPastClosingBrackets, CountsClosingBrackets)
{
    std::istringstream twice("<a><b>rest");
    EXPECT_TRUE(SkipPastClosingBrackets(twice, 2));
    EXPECT_EQ(Rest(twice), "rest");
    std::istringstream once("<a>");
    EXPECT_TRUE(SkipPastClosingBrackets(once, 1)) << "the stream has not yet met its end";
    std::istringstream tooFew("<a><b>rest");
    EXPECT_FALSE(SkipPastClosingBrackets(tooFew, 3));
    std::istringstream all("<a><b>rest");
    EXPECT_FALSE(SkipPastClosingBrackets(all, 0));
    EXPECT_EQ(Rest(all), "");
}

struct CopyCase {
    std::string input;
    std::string wanted;
    bool matchCase;
    bool result; // true: ended without the wanted text
    std::string written;
    std::string rest;
};

TEST(CopyUntilText, Table)
{
    const std::vector<CopyCase> cases = {
        { "hello WORLD rest", "world", false, false, "hello ", " rest" },
        { "hello WORLD rest", "world", true, true, "hello WORLD rest", "" },
        { "hello world", "world", true, false, "hello ", "" },
        { "aab", "ab", true, false, "a", "" },
        { "abc", "abc", true, false, "", "" },
        { "ab", "abc", true, false, "", "" }, // shorter than the wanted text: nothing written
        { "abcd", "x", true, true, "abcd", "" },
        { "abc", "", true, false, "", "abc" },
    };
    for (const auto& c : cases) {
        std::istringstream in(c.input);
        std::ostringstream out;
        EXPECT_EQ(CopyUntilText(out, in, c.wanted, c.matchCase), c.result) << c.input << " / " << c.wanted;
        EXPECT_EQ(out.str(), c.written) << c.input << " / " << c.wanted;
        if (!c.result && c.input.size() >= c.wanted.size()) {
            EXPECT_EQ(Rest(in), c.rest) << c.input << " / " << c.wanted;
        }
    }
}

} // namespace
