#include "imaging/exif/ExifFormatters.h"

#include "imaging/exif/ExifEntry.h"
#include "imaging/exif/ExifText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <sstream>

namespace {

// Largest magnitude that is written as an integer after rounding.
constexpr double integerLimit = 9.0e18;

double quotient(const ExifEntry& entry)
{
    return static_cast<double>(entry.GetNumerator()) / static_cast<double>(entry.GetDenominator());
}

std::string integerText(long long value, int minDigits)
{
    std::array<char, 24> digits {};
    const auto result
        = std::to_chars(digits.data(), digits.data() + digits.size(), value < 0 ? -value : value);
    std::string text(digits.data(), result.ptr);
    if (static_cast<int>(text.size()) < minDigits)
        text.insert(0, static_cast<size_t>(minDigits) - text.size(), '0');
    return value < 0 ? "-" + text : text;
}

// prefix followed by text. Appending to a named string, rather than "f" + a temporary, keeps g++ 12's
// optimiser from warning about an overlapping copy inside the standard library (-Wrestrict).
std::string prefixed(const char* prefix, const std::string& text)
{
    std::string out(prefix);
    out += text;
    return out;
}

std::string fixedOneDecimal(double value)
{
    std::array<char, 400> digits {};
    const auto result
        = std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed, 1);
    return std::string(digits.data(), result.ptr);
}

} // namespace

std::string ExifDoubleText(double value)
{
    std::array<char, 40> digits {};
    const auto result
        = std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::general, 6);
    return std::string(digits.data(), result.ptr);
}

std::string ExifFormatDecimal(const ExifEntry& entry)
{
    if (entry.GetDenominator() == 0)
        return entry.GetValueText();
    return ExifDoubleText(quotient(entry));
}

std::string ExifFormatFNumber(const ExifEntry& entry)
{
    if (entry.GetDenominator() == 0)
        return entry.GetValueText();
    return prefixed("f", ExifDoubleText(std::floor(quotient(entry) * 10 + 0.5) / 10));
}

std::string ExifFormatExposureTime(const ExifEntry& entry)
{
    const int64_t n = entry.GetNumerator();
    const int64_t d = entry.GetDenominator();
    if (d != 0 && n >= d)
        return ExifDoubleText(quotient(entry));
    if (n == 0 || n == 1)
        return entry.GetValueText();
    return "1/" + integerText(d / n, 1);
}

std::string ExifFormatShutterSpeed(const ExifEntry& entry)
{
    if (entry.GetDenominator() == 0)
        return entry.GetValueText();
    const double speed = std::floor(std::pow(2.0, quotient(entry)) + 0.5);
    if (!(std::fabs(speed) < integerLimit))
        return entry.GetValueText();
    return "1/" + integerText(static_cast<long long>(speed), 1) + " s";
}

std::string ExifFormatAperture(const ExifEntry& entry)
{
    if (entry.GetDenominator() == 0)
        return entry.GetValueText();
    const double f = std::floor(std::pow(1.4142, quotient(entry)) * 10 + 0.5) / 10;
    if (!std::isfinite(f))
        return entry.GetValueText();
    return prefixed("f", ExifDoubleText(f));
}

std::string ExifFormatComponents(const ExifEntry& entry)
{
    std::istringstream words(entry.GetValueText());
    std::string word;
    words >> word; // the opening brace
    std::string text;
    for (int i = 0; i < 4 && words >> word; ++i) {
        if (word == "01")
            text += "Y";
        else if (word == "02")
            text += "Cb";
        else if (word == "03")
            text += "Cr";
        else if (word == "04")
            text += "R";
        else if (word == "05")
            text += "G";
        else if (word == "06")
            text += "B";
        else if (word != "00")
            text += " " + word;
    }
    return text;
}

std::string ExifFormatImageNumber(const ExifEntry& entry)
{
    const uint32_t v = entry.GetUIntValue();
    return integerText(v / 10000, 3) + "-" + integerText(v % 10000, 4);
}

std::string ExifFormatSerialNumber(const ExifEntry& entry)
{
    const uint32_t v = entry.GetUIntValue();
    std::string text;
    ExifAppendHex(text, v >> 16, 4);
    return text + integerText(v & 0xFFFF, 5);
}

std::string ExifFormatFlashDetails(const ExifEntry& entry)
{
    const uint32_t v = entry.GetUIntValue();
    std::string text;
    if (v & 0x4000)
        text += "External E-TTL ";
    if (v & 0x2000)
        text += "Internal Flash ";
    if (v & 0x800)
        text += "FP sync used ";
    if (v & 0x10)
        text += "FP sync enabled ";
    return text;
}

std::string ExifFormatRightCentreLeft(const ExifEntry& entry)
{
    const uint32_t v = entry.GetUIntValue();
    if ((v & 0xF000) == 0)
        return "";
    switch (v & 0xFFF) {
    case 0:
        return "Right";
    case 1:
        return "Centre";
    case 2:
        return "Left";
    default:
        return "";
    }
}

void ExifFormatRange(double low, double high, std::string& out)
{
    const auto trimmed = [](double value) {
        std::string text = fixedOneDecimal(value);
        if (text.find('.') != std::string::npos) {
            text.erase(text.find_last_not_of('0') + 1);
            if (text.ends_with('.'))
                text.pop_back();
        }
        return text;
    };
    const std::string lowText = trimmed(low);
    const std::string highText = trimmed(high);
    out = lowText == highText ? lowText : lowText + "-" + highText;
}

double ExifRoundToDigits(double x, int n)
{
    const double scale = std::pow(10.0, n);
    return std::floor(x * scale + 0.5) / scale;
}
