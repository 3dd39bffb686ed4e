#include "util/Wildcard.h"

#include "records/AsciiCase.h"

#include <string>

bool WildcardMatch(std::string_view pattern, std::string_view text)
{
    constexpr std::size_t kNone = std::string_view::npos;
    std::size_t p = 0;
    std::size_t t = 0;
    // After a "*": the pattern position behind it and the text position it has reached. On a
    // mismatch the star takes one more character and matching resumes from there.
    std::size_t starPattern = kNone;
    std::size_t starText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            if (p + 1 == pattern.size())
                return true;
            starPattern = ++p;
            starText = t;
        } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (starPattern != kNone) {
            p = starPattern;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size()
        && (pattern[p] == '*' || (pattern[p] == '.' && p + 1 < pattern.size() && pattern[p + 1] == '*')))
        ++p;
    return p == pattern.size();
}

bool WildcardMatchNoCase(std::string_view pattern, std::string_view text)
{
    return WildcardMatch(ToUpperAscii(pattern), ToUpperAscii(text));
}
