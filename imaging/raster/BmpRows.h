// The rows of uncompressed Windows bitmaps, shared by the BMP decoder and the metafile player (which
// draws the bitmaps that metafile records carry): palette indices packed 1, 4 or 8 to a byte,
// 16-bit pixels by shifts or by masks, and 24- and 32-bit pixels.
#pragma once

#include "imaging/bitmap/PLPixel32.h"
#include "imaging/raster/BmpBitFields.h"

#include <cstdint>

namespace bmprows {

// Unpacks width indices of bits (1, 4 or 8) each, the first pixel in the high bits, one to a byte.
void IndexRow(const uint8_t* row, uint8_t* out, int64_t width, int bits);

// How the colours of 16-bit pixels are read: plain files and bit-field files with the 5-5-5 or
// 5-6-5 masks shift their channels into the top bits; other masks are widened to 8 bits.
enum class Layout16 { Shift555, Shift565, Masked };
Layout16 LayoutOf16(bool bitFields, const bmpbits::Masks& masks);

// 16-bit pixels in the layout; alpha from masks.alpha (widened to 8 bits), else 255.
void Row16(const uint8_t* row, PLPixel32* out, int64_t width, Layout16 layout, const bmpbits::Masks& masks);
// Blue, green, red; alpha 255.
void Row24(const uint8_t* row, PLPixel32* out, int64_t width);
// The four bytes as they are, or with alpha 255.
void Row32(const uint8_t* row, PLPixel32* out, int64_t width, bool keepAlpha);

} // namespace bmprows
