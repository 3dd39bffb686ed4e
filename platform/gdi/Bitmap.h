// The objects behind the platform's bitmap and palette handles, as the clipboard hands them over,
// and GetDIBits, which copies a bitmap's pixels into a device-independent bitmap block.
#pragma once

#include "platform/gdi/Dib.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gdi {

// A device bitmap (what a bitmap handle names): width x height pixels of 1, 8, 24 or 32 bits, rows
// stored top row first, each padded to a multiple of 4 bytes, with a colour table up to 8 bits.
struct Bitmap {
    int32_t width = 0;
    int32_t height = 0;
    int bitsPerPixel = 0;
    std::vector<RGBQUAD> colours;
    std::vector<uint8_t> bits;

    // The pixels as a top-down DIB view, valid while the bitmap lives and is not changed.
    DibView View() const;
};

// One entry of a logical palette.
struct PALETTEENTRY {
    win::BYTE peRed = 0;
    win::BYTE peGreen = 0;
    win::BYTE peBlue = 0;
    win::BYTE peFlags = 0;
};

// A logical palette (what a palette handle names).
struct Palette {
    std::vector<PALETTEENTRY> entries;
};

// Copies the bitmap's pixels into a bottom-up DIB of bitsPerPixel: the rows into bits (bitsSize
// bytes, each row padded to 4 bytes) and, up to 8 bpp, the colour table into colours (2^bpp
// entries; those the bitmap lacks are black). The bitmap's own depth is copied as it is; 32 bpp is
// made from any depth (blue, green, red, 255). Other conversions are not offered. Returns the
// number of rows copied: 0 when the bitmap is not valid, the conversion is not offered or the rows
// do not fit.
int GetDIBits(const Bitmap& bitmap, int bitsPerPixel, uint8_t* bits, std::size_t bitsSize, RGBQUAD* colours);

} // namespace gdi
