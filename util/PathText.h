// Small functions on the ends of texts and paths.
#pragma once

#include <string>
#include <string_view>

// A backslash appended to a non-empty path that does not end with one.
void AppendBackslash(std::string& path);
// The last character as a text, or an empty text for an empty text.
std::string LastCharacter(std::string_view text);
// The path without the '/' characters that end it; the root folder "/" stays itself.
std::string_view WithoutTrailingSlashes(std::string_view path);
