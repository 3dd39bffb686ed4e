// Numbers in CSV fields and other text: parsing with the accounting form for negatives, and
// zero-padded formatting. Always in the classic "C" form (a '.' decimal point, no grouping),
// whatever the process locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Parse text into value; true when a value was produced.
//  - An empty text gives 0.
//  - "(x)" gives the negative of x; "(x" without the closing parenthesis gives x.
//  - Leading white space is skipped, a sign is accepted, and the number ends at the first
//    character that cannot continue it (the rest is ignored: "12abc" gives 12).
//  - Text without a number, or a number out of range, gives false and leaves value unchanged.
//  - An unsigned value wraps on negation ("(1)" and "-1" give 4294967295).
bool StringToInt(std::string_view text, int& value);
bool StringToUnsigned(std::string_view text, unsigned& value);
bool StringToDouble(std::string_view text, double& value);

// The decimal text of value; with a non-zero width it is padded on the left with '0' to that
// width, the fill going before a minus sign (-5 in width 3 gives "0-5").
std::string FormatInt(int value, int width = 0);
std::string FormatUnsigned(unsigned value, int width = 0);
// The text of a double as printf's "%g" gives it: six significant digits.
std::string FormatDouble(double value);
