// Settings values as the program's numbered lists and histories store them: a profile string
// read through the application object, and an index written with leading zeros ("00", "01", ...).
#pragma once

#include <string>

// The application's profile string of entry in section, or defaultValue when it is absent.
std::string GetProfileStringValue(
    const std::string& section, const std::string& entry, const std::string& defaultValue);

// The value in decimal, filled with leading zeros to at least width digits: (7, 2) gives "07",
// (123, 2) gives "123". A width below 1 pads nothing.
std::string FormatZeroPadded(unsigned value, int width);
