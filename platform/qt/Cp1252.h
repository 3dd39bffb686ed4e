// Text crosses into Qt here: the program holds text as bytes of Windows code page 1252,
// Qt wants Unicode.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace fw {

// Every byte maps to one character: 0x80-0x9F by the code page's table (the five bytes the
// code page leaves undefined map to the C1 control of the same value), the rest to U+0000-U+00FF.
QString FromCp1252(std::string_view text);

// The reverse; a character the code page cannot hold becomes '?'.
std::string ToCp1252(const QString& text);

// Whether every character of the text has a byte in the code page, so that ToCp1252 keeps it.
bool FitsCp1252(const QString& text);

} // namespace fw
