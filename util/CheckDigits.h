// Check digits of reference texts: the sum over every character of its code less 48 (a digit
// counts its value; any other byte, taken unsigned, counts the same way), written in decimal,
// padded on the left with zeros to at least count characters, and its last count characters.
#pragma once

#include <string>

// Appends count check digits to the text (nothing for a count of 0 or below).
void AppendCheckDigits(std::string& text, int count);
// True when the text has more than count characters and its last count characters are exactly
// the check digits that AppendCheckDigits gives the rest, for any count.
bool VerifyCheckDigits(const std::string& text, int count);
