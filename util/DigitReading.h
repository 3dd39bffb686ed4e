// Reading unsigned decimal numbers from date and time texts. A run of digits is read whole, but
// stops growing the number once another digit would carry it past the largest int: the rest of
// the run is passed over, so no text can make the number overflow.
#pragma once

#include <cstddef>
#include <string_view>

// Reads the digits from position into number (0 when there are none) and returns the position
// of the first character that is not a digit, or the end.
std::size_t ReadDigitRun(std::string_view text, std::size_t position, int& number);

// Reads the digits from position into number and returns the position after the character that
// ends them, that character being taken as a separator; at the end of the text, the end. A text
// that has a non-digit at position yields 0 and skips that one character. No blanks are skipped.
std::size_t ReadLeadingNumber(std::string_view text, std::size_t position, int& number);
