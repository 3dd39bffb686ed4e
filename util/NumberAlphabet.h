// Whole numbers written in an alphabet of digits of one's own (the alphabet's length is the base,
// its first character the digit zero), and back to decimal. Both wrap in unsigned 32 bits.
#pragma once

#include <string>
#include <string_view>

// The text read with each character's position in the alphabet as a digit, most significant
// first, written in decimal padded with zeros to at least minimumDigits (0 with a minimum of 0
// gives an empty text). "ERROR" for a character outside the alphabet, and for an alphabet of
// fewer than two characters, which has no base to count in.
std::string ConvertFromAlphabet(std::string_view text, std::string_view alphabet, int minimumDigits);
// The decimal text (each byte counted as its code less that of '0', unchecked) written with the
// alphabet's characters as digits, padded on the left with its first character to at least
// minimumDigits. "ERROR" for an alphabet of fewer than two characters.
std::string ConvertToAlphabet(std::string_view decimalText, std::string_view alphabet, int minimumDigits);
