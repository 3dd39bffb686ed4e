// The 40-byte header at the start of a device-independent bitmap block.
#pragma once

#include <cstdint>

struct PLBitmapInfoHeader {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0; // positive: rows stored bottom row first
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0; // 0: uncompressed rows
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0; // colour-table entries; 0 means 2^bpp up to 8 bpp
    uint32_t biClrImportant = 0;
};

static_assert(sizeof(PLBitmapInfoHeader) == 40);

inline constexpr uint32_t PL_BI_RGB = 0;
