// A device-independent bitmap as the drawing calls take it: a view of pixels that the caller
// owns and keeps alive for the duration of the call. Nothing is copied into the view.
#pragma once

#include "platform/win/Types.h"

#include <cstddef>
#include <cstdint>

namespace gdi {

// One palette entry, in memory order blue, green, red, reserved (the layout of a DIB colour
// table entry). The reserved byte is ignored when drawing.
struct RGBQUAD {
    win::BYTE rgbBlue = 0;
    win::BYTE rgbGreen = 0;
    win::BYTE rgbRed = 0;
    win::BYTE rgbReserved = 0;
};

// The pixels of a DIB:
// - width: pixels per row, > 0.
// - height: number of rows, != 0. Positive: rows stored bottom row first (the usual DIB);
//   negative: rows stored top row first, |height| rows.
// - bitsPerPixel: 1, 4, 8, 16, 24 or 32.
//     1: 8 pixels a byte, first pixel in the most significant bit, value = palette index;
//     4: 2 pixels a byte, first pixel in the high four bits, value = palette index;
//     8: one byte a pixel, value = palette index;
//    16: a little-endian word a pixel, 5 bits each of red, green, blue from bit 14 down to bit 0
//        (the top bit unused); each channel widened to 8 bits with its top bits repeated;
//    24: blue, green, red;
//    32: blue, green, red, alpha (alpha ignored when drawing).
// - palette / paletteEntries: the colour table for 1, 4 and 8 bits per pixel (2^bpp entries
//   normally); an index at or beyond paletteEntries draws black. Unused above 8 bpp.
// - bits: the first byte of the first stored row; every row is RowBytes(width, bpp) long,
//   that is width * bpp bits rounded up to a multiple of 4 bytes.
// - bitsSize: bytes readable from bits; a view whose rows do not fit is not drawn.
struct DibView {
    int32_t width = 0;
    int32_t height = 0;
    int bitsPerPixel = 0;
    const RGBQUAD* palette = nullptr;
    std::size_t paletteEntries = 0;
    const uint8_t* bits = nullptr;
    std::size_t bitsSize = 0;

    // Bytes of one stored row: width * bpp bits padded to a multiple of 4 bytes (64-bit).
    static uint64_t RowBytes(int64_t width, int bitsPerPixel)
    {
        return ((static_cast<uint64_t>(width) * static_cast<uint64_t>(bitsPerPixel) + 31) / 32) * 4;
    }
    uint64_t Rows() const { return height < 0 ? -static_cast<int64_t>(height) : height; }
    bool TopDown() const { return height < 0; }
    // True when the depth is supported and every row lies inside bits/bitsSize.
    bool IsValid() const;
    // Pointer to the row that shows at picture row `row` (0 = top row), valid rows only.
    const uint8_t* PictureRow(uint64_t row) const;
    // Colour of pixel (x, row), row 0 = top, as a COLORREF; coordinates must be valid.
    win::COLORREF PixelColor(uint64_t x, uint64_t row) const;
};

} // namespace gdi
