// What every raster decoder relies on to read hostile files safely (besides the size check every
// decoder makes, PLPicDecoder::CheckImageSize): reads that never pass the end of the data, bitmaps
// that start zero-filled and palettes that start opaque black.
#pragma once

#include "imaging/bitmap/PLBmpInfo.h"
#include "imaging/bitmap/PLPixel32.h"

#include <array>
#include <cstdint>

class PLBmp;
class PLDataSource;

namespace raster {

// Gives bmp the description's size, depth and flags, zero-filled (alpha 255 at 32 bpp), unless it
// already has that size and depth.
void PrepareBitmap(PLBmp& bmp, const PLBmpInfo& info);

// A 256-entry palette store; entries the file does not set stay opaque black.
using RasterPalette = std::array<PLPixel32, 256>;
RasterPalette BlackPalette();

// Little- and big-endian values at p (the caller has checked that the bytes are there).
inline uint16_t LoadU16LE(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
inline uint32_t LoadU32LE(const uint8_t* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
inline uint16_t LoadU16BE(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}
inline uint32_t LoadU32BE(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

// Reads from the source; each raises code 11 when the data ends first.
uint8_t ReadU8(PLDataSource& source);
uint16_t ReadU16LE(PLDataSource& source);
uint32_t ReadU32LE(PLDataSource& source);
// The next n bytes; n is checked in 64 bits against what is left (code 11 when it is more).
const uint8_t* ReadBlock(PLDataSource& source, int64_t n);
// Skips n bytes (nothing for n <= 0); code 11 when fewer are left.
void SkipBytes(PLDataSource& source, int64_t n);

} // namespace raster
