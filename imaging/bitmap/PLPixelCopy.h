// Moving pixels of any depth between rows: whole bytes for 8 bpp and more, single bits (first
// pixel in the most significant bit) below.
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

} // namespace PLPixelCopy
