#include "util/Wildcard.h"
#include "util/NoCaseSearch.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

struct MatchCase {
    std::string pattern;
    std::string text;
    bool matches;
};

TEST(Wildcard, Table)
{
    const std::vector<MatchCase> cases = {
        { "a*c", "abbbc", true },
        { "a*c", "abbbd", false },
        { "?", "", false },
        { "*", "", true },
        { "", "", true },
        { "", "a", false },
        { "*.*", "readme", true },
        { "*.*", "read.me", true },
        { "name.*", "name", true },
        { "name.*", "name.txt", true },
        { "name.*", "names", false },
        { "*.txt", "a.txt.txt", true },
        { "*.txt", "a.txt.doc", false },
        { "a?c", "abc", true },
        { "a?c", "ac", false },
        { "*a*b", "xaxxb", true },
        { "*a*b", "xaxxbx", false },
        { "**", "abc", true },
        { "a*", "a", true },
        { "a.", "a", false }, // a dot is skipped at the end only before a star
        { "ABC", "abc", false },
        { "a\xE9*", "a\xE9z", true },
    };
    for (const auto& c : cases)
        EXPECT_EQ(WildcardMatch(c.pattern, c.text), c.matches) << c.pattern << " / " << c.text;
}

TEST(Wildcard, NoCaseFoldsAsciiLettersOnly)
{
    EXPECT_TRUE(WildcardMatchNoCase("*.TXT", "notes.txt"));
    EXPECT_TRUE(WildcardMatchNoCase("a?C", "AbC"));
    EXPECT_FALSE(WildcardMatchNoCase("\xC9*", "\xE9t\xE9")) << "accented letters keep their case";
}

// The rules read as a recursive definition, tried on every pattern of up to five characters
// from "ab.*?" and every text of up to four from "ab.".
bool Reference(std::string_view pattern, std::string_view text)
{
    if (text.empty()) {
        while (!pattern.empty()
            && (pattern[0] == '*' || (pattern[0] == '.' && pattern.size() > 1 && pattern[1] == '*')))
            pattern.remove_prefix(1);
        return pattern.empty();
    }
    if (pattern.empty())
        return false;
    if (pattern[0] == '*')
        return Reference(pattern.substr(1), text) || Reference(pattern, text.substr(1));
    return (pattern[0] == '?' || pattern[0] == text[0]) && Reference(pattern.substr(1), text.substr(1));
}

std::vector<std::string> AllStrings(std::string_view alphabet, std::size_t maxLength)
{
    std::vector<std::string> all = { "" };
    for (std::size_t start = 0; start < all.size(); ++start)
        if (all[start].size() < maxLength)
            for (const char c : alphabet)
                all.push_back(all[start] + c);
    return all;
}

TEST(Wildcard, AgreesWithTheRecursiveDefinition)
{
    const std::vector<std::string> patterns = AllStrings("ab.*?", 5);
    const std::vector<std::string> texts = AllStrings("ab.", 4);
    for (const auto& pattern : patterns)
        for (const auto& text : texts)
            ASSERT_EQ(WildcardMatch(pattern, text), Reference(pattern, text)) << pattern << " / " << text;
}

TEST(FindLastNoCase, Table)
{
    EXPECT_EQ(FindLastNoCase("abcABC", "bc"), 4);
    EXPECT_EQ(FindLastNoCase("abcABC", "ABC"), 3);
    EXPECT_EQ(FindLastNoCase("abc", "x"), -1);
    EXPECT_EQ(FindLastNoCase("abc", ""), 3);
    EXPECT_EQ(FindLastNoCase("", "a"), -1);
    EXPECT_EQ(FindLastNoCase("\xE9", "\xC9"), -1);
}

} // namespace
