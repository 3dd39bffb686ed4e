// Colours as the six-hexadecimal-digit texts (red, green, blue) that layouts and the editing form
// keep, to and from a colour value with red in the low byte.
#pragma once

#include "platform/win/Types.h"

#include <string>

// Reads up to three two-digit hexadecimal fields; a field that cannot be read is 0.
win::COLORREF ParseRgbHex(const std::string& text);
// Red, green and blue, each as two upper-case hexadecimal digits.
std::string FormatRgbHex(win::COLORREF colour);
