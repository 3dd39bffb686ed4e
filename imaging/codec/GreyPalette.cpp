#include "imaging/codec/GreyPalette.h"

#include <algorithm>

std::vector<PLPixel32> GreyPalette(int bits, bool minIsWhite)
{
    const int count = 1 << std::clamp(bits, 1, 8);
    std::vector<PLPixel32> palette(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto level = static_cast<uint8_t>(i * 255 / (count - 1));
        const auto v = static_cast<uint8_t>(minIsWhite ? 255 - level : level);
        palette[static_cast<size_t>(i)].Set(v, v, v, 255);
    }
    return palette;
}
