// Text helpers shared by the EXIF reader: ASCII case (the same in every locale, as the dotted names are
// looked up) and lower-case hexadecimal digits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

char ExifLowerAscii(char c);
// The text with A to Z lowered; every other byte as it is.
std::string ExifLowered(std::string_view text);
// Appends the low digits hexadecimal digits of value, lower case, with leading zeros.
void ExifAppendHex(std::string& out, uint32_t value, int digits);
