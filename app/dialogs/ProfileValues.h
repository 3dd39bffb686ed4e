// Settings values as the program's numbered lists and histories store them: a profile string
// read through the application object (beside the other settings wrappers), and an index written
// with leading zeros ("00", "01", ...).
#pragma once

#include <string>

// The application's profile string of entry in section, or defaultValue when it is absent.
std::string GetProfileStringValue(
    const std::string& section, const std::string& entry, const std::string& defaultValue);

// The other settings wrappers, each passing straight to the application's profile functions:
// a string written, an integer read (defaultValue when absent; section first, unlike the
// record framework's GetProfileIntValue) and written, and a flag read as an
// integer, true when it is not 0. The writers report whether the value was stored.
bool WriteProfileStringValue(const std::string& section, const std::string& entry, const std::string& value);
int GetProfileIntegerValue(const std::string& section, const std::string& entry, int defaultValue);
bool WriteProfileIntegerValue(const std::string& section, const std::string& entry, int value);
bool GetProfileBoolValue(const std::string& section, const std::string& entry, bool defaultValue);

// The value in decimal, filled with leading zeros to at least width digits: (7, 2) gives "07",
// (123, 2) gives "123". A width below 1 pads nothing.
std::string FormatZeroPadded(unsigned value, int width);
