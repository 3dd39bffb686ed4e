// What the colour and tone filters share: clamping real values, refusing depths they do not serve,
// and a loop over the pixels that copies the alpha byte through.
#pragma once

#include "imaging/bitmap/PLBmp.h"
#include "imaging/io/PLTextException.h"

#include <cmath>
#include <cstdint>

namespace color_filter {

// A real channel value: 255 or above gives 255, below 0 (or not a number) gives 0, else truncated.
inline uint8_t ClampReal(double v)
{
    if (v >= 255.0)
        return 255;
    if (!(v >= 0.0))
        return 0;
    return static_cast<uint8_t>(v);
}

// Raises the unsupported-feature code unless the bitmap has one of the two depths (give the same
// depth twice for one).
inline void RequireDepth(const PLBmp& bmp, int depth, int otherDepth, const char* message)
{
    const int bpp = bmp.GetBitsPerPixel();
    if (bpp != depth && bpp != otherDepth)
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, message);
}

// Calls change(in, out) for every pixel of a 24- or 32-bpp source and its same-sized destination;
// `change` writes blue, green and red (bytes 0 to 2). At 32 bpp the alpha byte is copied, so every
// byte of every pixel of the destination is written.
template <class Change> void ForEachPixel(const PLBmp& src, PLBmp& dst, Change&& change)
{
    PLBmpLock readLock(src, true, false);
    PLBmpLock writeLock(dst, false, true);
    const int step = src.GetBitsPerPixel() / 8;
    for (int y = 0; y < src.GetHeight(); ++y) {
        const uint8_t* in = src.GetRow(y);
        uint8_t* out = dst.GetRow(y);
        for (int x = 0; x < src.GetWidth(); ++x, in += step, out += step) {
            change(in, out);
            if (step == 4)
                out[3] = in[3];
        }
    }
}

} // namespace color_filter
