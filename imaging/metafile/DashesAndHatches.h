// The looks of dashed pens and hatched brushes: the dash styles' lengths and the hatch styles'
// tiles, each fixed in one table.
#pragma once

#include "imaging/metafile/MetafileCanvas.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace metafile {

// Pen styles (the low four bits of a pen's style).
inline constexpr uint32_t kPenDash = 1;
inline constexpr uint32_t kPenDot = 2;
inline constexpr uint32_t kPenDashDot = 3;
inline constexpr uint32_t kPenDashDotDot = 4;
inline constexpr uint32_t kPenUserStyle = 7;
inline constexpr uint32_t kPenAlternate = 8;

// A cosmetic (one pixel wide) pen's dot is this many pixels long; a geometric pen's is its width.
inline constexpr double kCosmeticDot = 3;

// The on and off lengths of a dash style, a dot being `dot` pixels long; empty for a style that
// is drawn solid.
std::vector<double> DashLengths(uint32_t style, double dot);

// A user style's lengths (on and off by turns, `scale` pixels a unit) as the canvas takes them: an
// odd count goes round twice, so that on and off take turns; empty (solid) when none is above 0.
std::vector<double> UserDashLengths(const std::vector<double>& lengths, double scale);

// The six hatch styles (HS_HORIZONTAL to HS_DIAGCROSS).
inline constexpr uint32_t kHatchStyles = 6;

// The 8 x 8 tile of a hatch style, its lines in the colour, its gaps in the background colour, or
// left unpainted without one; null for an unknown style.
std::shared_ptr<const Pattern> HatchPattern(
    uint32_t hatch, win::COLORREF colour, std::optional<win::COLORREF> background);

// The tile last made, made again only when the style or its colours change: a metafile fills many
// shapes with the brush it selected.
class HatchPatterns {
public:
    std::shared_ptr<const Pattern> Get(
        uint32_t hatch, win::COLORREF colour, std::optional<win::COLORREF> background);

private:
    uint32_t m_hatch = 0;
    win::COLORREF m_colour = 0;
    std::optional<win::COLORREF> m_background;
    std::shared_ptr<const Pattern> m_pattern;
};

} // namespace metafile
