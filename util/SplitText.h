// Splitting a text into tokens at any of a set of delimiter characters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Appends to tokens each maximal run of characters that are not delimiters, in order; empty
// tokens do not occur. Keeps no state between calls.
void SplitText(std::string_view text, std::vector<std::string>& tokens, std::string_view delimiters);
