// Moving pixels of any depth between rows: whole bytes for 8 bpp and more, single bits (first
// pixel in the most significant bit) below; and rows of packed red, green, blue bytes into 32-bit
// pixels.
#pragma once

#include "imaging/bitmap/PLBmp.h"

#include <cstdint>
#include <cstring>

namespace PLPixelCopy {

inline void CopyPixel(const uint8_t* srcRow, int64_t sx, uint8_t* dstRow, int64_t dx, int bpp)
{
    if (bpp >= 8) {
        const int bytes = bpp / 8;
        std::memcpy(dstRow + dx * bytes, srcRow + sx * bytes, static_cast<size_t>(bytes));
        return;
    }
    const int64_t perByte = 8 / bpp;
    const int mask = (1 << bpp) - 1;
    const int srcShift = 8 - bpp - static_cast<int>(sx % perByte) * bpp;
    const int dstShift = 8 - bpp - static_cast<int>(dx % perByte) * bpp;
    const int value = (srcRow[sx / perByte] >> srcShift) & mask;
    uint8_t& target = dstRow[dx / perByte];
    target = static_cast<uint8_t>((target & ~(mask << dstShift)) | (value << dstShift));
}

// count pixels from column sx of srcRow to column dx of dstRow.
inline void CopyPixels(const uint8_t* srcRow, int64_t sx, uint8_t* dstRow, int64_t dx, int64_t count, int bpp)
{
    if (count <= 0)
        return;
    if (bpp >= 8) {
        const int bytes = bpp / 8;
        std::memcpy(dstRow + dx * bytes, srcRow + sx * bytes, static_cast<size_t>(count * bytes));
        return;
    }
    for (int64_t i = 0; i < count; ++i)
        CopyPixel(srcRow, sx + i, dstRow, dx + i, bpp);
}

// count pixels of packed red, green, blue bytes (as PPM files and RGB TIFF strips hold them) into
// 32-bit pixels: blue, green, red, alpha 255.
inline void RgbToPixels32(const uint8_t* rgb, uint8_t* out, int64_t count)
{
    for (int64_t x = 0; x < count; ++x, rgb += 3, out += 4) {
        out[0] = rgb[2];
        out[1] = rgb[1];
        out[2] = rgb[0];
        out[3] = 255;
    }
}

} // namespace PLPixelCopy
