// The ternary raster operations of blits: how the brush (P), the source picture (S) and the
// picture under the blit (D) combine. An operation's code carries its index in bits 16 to 23; the
// index is its truth table, bit (P << 2 | S << 1 | D) giving the result for those inputs, and it is
// applied bit by bit to each colour.
#pragma once

#include "imaging/metafile/MetafileCanvas.h"

#include <cstdint>
#include <utility>

namespace metafile {

inline uint8_t RopIndex(uint32_t rop)
{
    return static_cast<uint8_t>(rop >> 16);
}

// Whether the result depends on the source, or on the brush.
bool UsesSource(uint8_t index);
bool UsesPattern(uint8_t index);

// The operation on three colours (0x00BBGGRR).
win::COLORREF Rop3(uint8_t index, win::COLORREF pattern, win::COLORREF source, win::COLORREF destination);

// The brush's colour at picture pixel (x, y), its pattern tiled from the picture's origin.
win::COLORREF PatternColourAt(const BrushStyle& brush, int x, int y);

// The first and the end of the pixels (0 to size) whose centres lie between the output positions a
// and b: the pixels a blit or a gradient covers along one axis.
std::pair<int, int> PixelSpan(double a, double b, int size);

} // namespace metafile
