#include "app/view/Code39Barcode.h"

#include "platform/win/IntArithmetic.h"

#include <array>
#include <cstdint>
#include <utility>

namespace {

constexpr std::string_view kStartStop = "bWbwBwBwb";

struct CharacterPattern {
    char character;
    std::string_view elements;
};

// The character set of Code 39 with its bar and space patterns.
// clang-format off
constexpr std::array<CharacterPattern, 44> kPatterns = { {
    { '0', "bwbWBwBwb" }, { '1', "BwbWbwbwB" }, { '2', "bwBWbwbwB" }, { '3', "BwBWbwbwb" },
    { '4', "bwbWBwbwB" }, { '5', "BwbWBwbwb" }, { '6', "bwBWBwbwb" }, { '7', "bwbWbwBwB" },
    { '8', "BwbWbwBwb" }, { '9', "bwBWbwBwb" }, { 'A', "BwbwbWbwB" }, { 'B', "bwBwbWbwB" },
    { 'C', "BwBwbWbwb" }, { 'D', "bwbwBWbwB" }, { 'E', "BwbwBWbwb" }, { 'F', "bwBwBWbwb" },
    { 'G', "bwbwbWBwB" }, { 'H', "BwbwbWBwb" }, { 'I', "bwBwbWBwb" }, { 'J', "bwbwBWBwb" },
    { 'K', "BwbwbwbWB" }, { 'L', "bwBwbwbWB" }, { 'M', "BwBwbwbWb" }, { 'N', "bwbwBwbWB" },
    { 'O', "BwbwBwbWb" }, { 'P', "bwBwBwbWb" }, { 'Q', "bwbwbwBWB" }, { 'R', "BwbwbwBWb" },
    { 'S', "bwBwbwBWb" }, { 'T', "bwbwBwBWb" }, { 'U', "BWbwbwbwB" }, { 'V', "bWBwbwbwB" },
    { 'W', "BWBwbwbwb" }, { 'X', "bWbwBwbwB" }, { 'Y', "BWbwBwbwb" }, { 'Z', "bWBwBwbwb" },
    { '-', "bWbwbwBwB" }, { '.', "BWbwbwBwb" }, { ' ', "bWBwbwBwb" }, { '*', "bWbwBwBwb" },
    { '$', "bWbWbWbwb" }, { '/', "bWbWbwbWb" }, { '+', "bWbwbWbWb" }, { '%', "bwbWbWbWb" },
} };
// clang-format on

// The bar from offset s to s + e (hundredths of a device unit) along the code, for the
// orientation, in device coordinates; every edge in hundredths is divided by 100 with truncation.
win::RECT BarRect(int orientation, const win::RECT& r, int64_t s, int64_t e)
{
    const int64_t L = r.left, T = r.top, B = r.bottom;
    switch (orientation) {
    case 1:
        return { win::SaturateToInt32(L), win::SaturateToInt32((100 * T - s) / 100),
            win::SaturateToInt32(L + (B - T)), win::SaturateToInt32((100 * T - s - e) / 100) };
    case 2:
        return { win::SaturateToInt32((100 * L - s - e) / 100), win::SaturateToInt32(T),
            win::SaturateToInt32((100 * L - s) / 100), win::SaturateToInt32(2 * T - B) };
    case 3:
        return { win::SaturateToInt32(L + (T - B)), win::SaturateToInt32((100 * T + s) / 100),
            win::SaturateToInt32(L), win::SaturateToInt32((100 * T + s + e) / 100) };
    default:
        return { win::SaturateToInt32((100 * L + s) / 100), win::SaturateToInt32(B),
            win::SaturateToInt32((100 * L + s + e) / 100), win::SaturateToInt32(T) };
    }
}

} // namespace

void ReferenceToBarcodeText(std::string& reference)
{
    uint64_t value = 0;
    for (char c : std::string_view(reference).substr(0, 11))
        value = value * 10 + static_cast<uint64_t>(static_cast<int64_t>(static_cast<signed char>(c)) - '0');
    constexpr std::string_view digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string base36;
    for (; value != 0; value /= 36)
        base36.insert(base36.begin(), digits[value % 36]);
    if (base36.size() < 8)
        base36.insert(0, 8 - base36.size(), '0');
    reference = "$" + base36;
}

std::string_view Code39Pattern(char c)
{
    const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    for (const auto& pattern : kPatterns)
        if (pattern.character == upper)
            return pattern.elements;
    return {};
}

std::string Code39Elements(std::string_view text)
{
    std::string elements(kStartStop);
    elements += 'w';
    for (char c : text) {
        elements += Code39Pattern(c);
        elements += 'w';
    }
    elements += kStartStop;
    return elements;
}

int Code39Orientation(int angle)
{
    const int a = angle % 360;
    if (a < -45)
        return 3;
    if (a <= 44)
        return 0;
    if (a <= 134)
        return 1;
    if (a <= 224)
        return 2;
    return 3;
}

void DrawCode39Barcode(
    gdi::DeviceContext& dc, const win::RECT& rect, const std::string& text, int angle, win::COLORREF colour)
{
    const win::COLORREF background = dc.GetBkColor();
    const int orientation = Code39Orientation(angle);
    const int64_t modules = (static_cast<int64_t>(text.size()) + 2) * 16;
    const int64_t narrow = (static_cast<int64_t>(rect.right) - rect.left) * 100 / modules;
    int64_t s = 0;
    for (char element : Code39Elements(text)) {
        const int64_t e = (element == 'B' || element == 'W') ? 3 * narrow : narrow;
        if (element == 'b' || element == 'B')
            dc.FillSolidRect(BarRect(orientation, rect, s, e), colour);
        s += e;
    }
    dc.SetBkColor(background);
}
