// The bits of packed DIBs in the layouts the canvas does not take (4 bits a pixel, 16 bits,
// 32 bits in bit fields other than blue, green, red, and RLE4 and RLE8 runs), decoded with the
// BMP decoder's own row and run decoding into pixels the canvas draws.
#pragma once

#include "imaging/metafile/MetafileDib.h"
#include "imaging/raster/BmpBitFields.h"

#include <cstdint>

namespace metafile {

// How a packed DIB's bits are laid out, from its header.
struct DibLayout {
    int32_t width = 0;
    int32_t height = 0; // negative: rows stored from the top
    int bitsPerPixel = 0;
    uint32_t compression = 0;
    bmpbits::Masks masks; // bit-field files only
};

inline constexpr uint32_t kDibRgb = 0;
inline constexpr uint32_t kDibRle8 = 1;
inline constexpr uint32_t kDibRle4 = 2;
inline constexpr uint32_t kDibBitFields = 3;

// Whether the layout is one the packed bits can be drawn from as they are: uncompressed 1, 8, 24
// or 32 bits (32 in bit fields of blue, green and red bytes too).
bool DrawnAsStored(const DibLayout& layout);

// Decodes size bytes of bits in the layout into picture.pixels, in the stored row order (4 bits to
// 8-bit indices into picture.colours, the rest to 32-bit pixels) and points picture.view at them;
// false when the layout is unknown, the rows do not fit or a run-length picture is too large.
bool DecodeDibBits(const DibLayout& layout, const uint8_t* bits, uint64_t size, DibPicture& picture);

} // namespace metafile
