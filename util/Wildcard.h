// Matching names against wildcard patterns: "?" matches any one character, "*" any run of
// characters (none included), every other character itself. Once the text is used up, the
// pattern's remaining "*" characters and any "." directly followed by "*" are passed over, so
// "*.*" matches a name without a dot and "name.*" the bare name.
#pragma once

#include <string_view>

bool WildcardMatch(std::string_view pattern, std::string_view text);
// The same with ASCII letters compared in upper case.
bool WildcardMatchNoCase(std::string_view pattern, std::string_view text);
