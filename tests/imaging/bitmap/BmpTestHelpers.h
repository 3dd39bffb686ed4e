// Small helpers for building and reading test bitmaps.
#pragma once

#include "imaging/bitmap/PLBmp.h"
#include "imaging/io/PLTextException.h"

#include <functional>
#include <gtest/gtest.h>

// Fills a 32-bpp bitmap from a function of (x, y).
inline void Fill32(PLBmp& bmp, int width, int height, const std::function<PLPixel32(int, int)>& colour)
{
    bmp.Create(width, height, 32, false, false);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bmp.GetRow32(y)[x] = colour(x, y);
}

// A distinct colour per position, so that any misplaced pixel shows.
inline PLPixel32 PositionColour(int x, int y)
{
    return PLPixel32(static_cast<uint8_t>(x * 7 + 1), static_cast<uint8_t>(y * 13 + 2),
        static_cast<uint8_t>(x * 3 + y * 5), static_cast<uint8_t>(200 + (x + y) % 50));
}

// The code of the PLTextException a call raises, or -1 when it raises none.
template <typename F> int ErrorCodeOf(F&& call)
{
    try {
        call();
    } catch (const PLTextException& e) {
        return e.GetCode();
    }
    return -1;
}
