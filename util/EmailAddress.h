// A syntax check of e-mail addresses.
#pragma once

#include <string_view>

// True when every character is an ASCII letter or digit or one of & + - . = @ ^ _ ~; there is
// exactly one at sign, neither first nor last, not preceded by a dot nor followed directly by
// one, with a dot somewhere after it; and the text after its last dot (the top-level domain) has
// 2 to 4 characters or is "museum". Runs of dots and the local part's length are not checked.
bool IsValidEmailAddress(std::string_view text);
