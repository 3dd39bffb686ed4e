// A reversible scrambling of text with a key given by the caller: each character is combined by
// exclusive-or with a key character whose top bit is set, the key moving on by one character
// after every third character of the text and starting again after its last. Scrambling the
// result again with the same key restores the text. An empty key leaves the text as it is.
#pragma once

#include <string>
#include <string_view>

void ScrambleText(std::string& text, std::string_view key);
std::string ScrambleText(std::string_view text, std::string_view key);
