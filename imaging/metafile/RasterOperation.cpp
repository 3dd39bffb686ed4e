#include "imaging/metafile/RasterOperation.h"

#include <algorithm>
#include <cmath>

namespace metafile {

bool UsesSource(uint8_t index)
{
    // The result changes with S where the bits for S = 1 differ from those for S = 0.
    return ((index >> 2) ^ index) & 0x33;
}

bool UsesPattern(uint8_t index)
{
    return ((index >> 4) ^ index) & 0x0F;
}

win::COLORREF Rop3(uint8_t index, win::COLORREF pattern, win::COLORREF source, win::COLORREF destination)
{
    // Each set bit of the truth table adds the colour bits where P, S and D have its inputs.
    uint32_t result = 0;
    for (int inputs = 0; inputs < 8; ++inputs) {
        if (((index >> inputs) & 1) == 0)
            continue;
        const uint32_t p = (inputs & 4) ? pattern : ~pattern;
        const uint32_t s = (inputs & 2) ? source : ~source;
        const uint32_t d = (inputs & 1) ? destination : ~destination;
        result |= p & s & d;
    }
    return result & 0xFFFFFF;
}

win::COLORREF PatternColourAt(const BrushStyle& brush, int x, int y)
{
    const Pattern* pattern = brush.pattern.get();
    if (pattern == nullptr || pattern->width <= 0 || pattern->height <= 0)
        return brush.colour & 0xFFFFFF;
    const auto wrap = [](int v, int size) { return size_t(((v % size) + size) % size); };
    return pattern->pixels[wrap(y, pattern->height) * size_t(pattern->width) + wrap(x, pattern->width)];
}

std::pair<int, int> PixelSpan(double a, double b, int size)
{
    const auto pixel = [size](double v) {
        return static_cast<int>(std::clamp<long>(std::lround(std::clamp(v, -1e9, 1e9)), 0, size));
    };
    return { pixel(std::min(a, b)), pixel(std::max(a, b)) };
}

} // namespace metafile
