// Display formatters of the tag tables and the two text helpers that formatters share. Every number is
// written in the classic notation whatever the process locale.
#pragma once

#include <string>

class ExifEntry;

// n / d as a double (six significant digits); the value text when d is 0.
std::string ExifFormatDecimal(const ExifEntry& entry);
// "f" and n / d rounded to one decimal ("f2.8", "f4"); the value text when d is 0.
std::string ExifFormatFNumber(const ExifEntry& entry);
// n / d when at least 1, else "1/" and d / n ("1/250"); the value text for 0 and 1 over anything.
std::string ExifFormatExposureTime(const ExifEntry& entry);
// APEX shutter speed: "1/" and 2^(n / d) rounded, then " s"; the value text when d is 0 or the speed
// is beyond what a 64-bit integer holds.
std::string ExifFormatShutterSpeed(const ExifEntry& entry);
// APEX aperture: "f" and 1.4142^(n / d) rounded to one decimal; the value text when d is 0 or the result
// is not finite.
std::string ExifFormatAperture(const ExifEntry& entry);
// Component configuration bytes as letters: "YCbCr", "RGB".
std::string ExifFormatComponents(const ExifEntry& entry);
// Canon image number: "100-1234" (at least three digits, a dash, four digits).
std::string ExifFormatImageNumber(const ExifEntry& entry);
// Canon serial number: high 16 bits as 4 hexadecimal digits, low 16 bits as 5 decimal digits.
std::string ExifFormatSerialNumber(const ExifEntry& entry);
// Canon flash details from its bits.
std::string ExifFormatFlashDetails(const ExifEntry& entry);
// "Right", "Centre" or "Left" for the low 12 bits 0, 1 or 2 when any of the bits 0xF000 is set;
// nothing otherwise.
std::string ExifFormatRightCentreLeft(const ExifEntry& entry);

// Writes "low" or "low-high" with at most one decimal and no trailing zeros ("3.5-5.6", "35").
void ExifFormatRange(double low, double high, std::string& out);
// x rounded half up to n decimals.
double ExifRoundToDigits(double x, int n);
// A double as the standard stream writes it by default (six significant digits, general notation).
std::string ExifDoubleText(double value);
