// Numbers as text in the classic "C" form, whatever the process locale.
#pragma once

#include <string>

// The unsigned value in decimal; with a width above 0 it is padded on the left with the fill
// character to that width. The precision, for a fixed-point stream, does not show on a whole
// number.
std::string FormatPaddedNumber(unsigned value, int width, int precision, char fill);
// The value with at most precision significant digits, in the shorter of plain and exponent form.
std::string DoubleToText(double value, int precision);
