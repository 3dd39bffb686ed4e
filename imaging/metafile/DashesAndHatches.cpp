#include "imaging/metafile/DashesAndHatches.h"

#include <algorithm>
#include <array>

namespace metafile {
namespace {

struct DashStyle {
    uint32_t style;
    std::vector<double> dots;
};

// The dash styles in dots, on and off by turns: a dash is three dots long, a gap one (a dot's gap,
// after a dot, one as well).
const std::array<DashStyle, 4> kDashStyles { {
    { kPenDash, { 3, 1 } },
    { kPenDot, { 1, 1 } },
    { kPenDashDot, { 3, 1, 1, 1 } },
    { kPenDashDotDot, { 3, 1, 1, 1, 1, 1 } },
} };

// The hatch tiles, one byte a row from the top, the leftmost pixel in the high bit: horizontal,
// vertical, down from the left (\), up from the left (/), cross and diagonal cross, their lines
// through the tile's top left corner (the picture's origin).
constexpr std::array<std::array<uint8_t, 8>, kHatchStyles> kHatchTiles { {
    { 0xFF, 0, 0, 0, 0, 0, 0, 0 },
    { 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80 },
    { 0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01 },
    { 0x80, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40 },
    { 0xFF, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80 },
    { 0x80, 0x41, 0x22, 0x14, 0x08, 0x14, 0x22, 0x41 },
} };

} // namespace

std::vector<double> DashLengths(uint32_t style, double dot)
{
    if (style == kPenAlternate)
        return { 1, 1 }; // every other pixel
    const auto found = std::find_if(
        kDashStyles.begin(), kDashStyles.end(), [&](const DashStyle& d) { return d.style == style; });
    if (found == kDashStyles.end())
        return {};
    std::vector<double> lengths;
    for (const double dots : found->dots)
        lengths.push_back(dots * dot);
    return lengths;
}

std::vector<double> UserDashLengths(const std::vector<double>& lengths, double scale)
{
    if (std::none_of(lengths.begin(), lengths.end(), [](double v) { return v > 0; }) || !(scale > 0))
        return {};
    std::vector<double> out;
    for (int round = 0; round < (lengths.size() % 2 ? 2 : 1); ++round)
        for (const double v : lengths)
            out.push_back(std::max(v, 0.0) * scale);
    return out;
}

std::shared_ptr<const Pattern> HatchPattern(
    uint32_t hatch, win::COLORREF colour, std::optional<win::COLORREF> background)
{
    if (hatch >= kHatchStyles)
        return nullptr;
    auto pattern = std::make_shared<Pattern>();
    pattern->width = 8;
    pattern->height = 8;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool line = (kHatchTiles[hatch][size_t(y)] >> (7 - x)) & 1;
            pattern->pixels.push_back(line ? colour : background.value_or(colour));
            if (!background)
                pattern->painted.push_back(line);
        }
    return pattern;
}

std::shared_ptr<const Pattern> HatchPatterns::Get(
    uint32_t hatch, win::COLORREF colour, std::optional<win::COLORREF> background)
{
    if (!m_pattern || hatch != m_hatch || colour != m_colour || background != m_background) {
        m_pattern = HatchPattern(hatch, colour, background);
        m_hatch = hatch;
        m_colour = colour;
        m_background = background;
    }
    return m_pattern;
}

} // namespace metafile
