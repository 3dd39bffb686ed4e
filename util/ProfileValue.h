// Writing an integer setting through the application object.
#pragma once

#include <string>

// Writes the value as the entry of the section; false when the settings store refused it.
bool WriteProfileIntValue(const std::string& entry, int value, const std::string& section);
