// Letter case of texts in the classic "C" locale: only ASCII letters change. Each conversion
// works in place on a string, or returns a converted copy of a view.
#pragma once

#include <string>
#include <string_view>

void ToUpperCase(std::string& text);
void ToLowerCase(std::string& text);
std::string ToUpperCase(std::string_view text);
std::string ToLowerCase(std::string_view text);

// Title case, as in "The Lord of the Rings": the first letter of each word upper-cased and the
// rest lowered, except that small words after the first ("of", "to", "the", "in", "on", "and",
// "for", "with", "a", "an", "by", "from", "C.E", "C.E.") stay as written, words already in mixed
// case (McDonald) and all-capital words keep their capitals, the letter after a run of digits
// stays (2nd, 3D), and an apostrophe starts a new word unless a single letter follows it before
// a blank or the end (O'Neil, John's). White space and the minus sign separate words.
void ToTitleCase(std::string& text);
std::string ToTitleCase(std::string_view text);
