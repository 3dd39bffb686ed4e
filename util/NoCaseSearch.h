// Searching a text for another, ignoring the case of ASCII letters.
#pragma once

#include <cstddef>
#include <string_view>

// The position of the last occurrence of wanted in text, or -1. An empty wanted text is found at
// the end of the text.
std::ptrdiff_t FindLastNoCase(std::string_view text, std::string_view wanted);
