// The pixel work of the TIFF decoder, apart from libtiff's calls: the colour maps of one- and
// two-sample pictures (their grey ramps are GreyPalette's), their rows unpacked into one byte per pixel, and
// libtiff's RGBA raster turned into the bitmap's pixel order. (Plain RGB strips go through
// PLPixelCopy::RgbToPixels32.)
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/bitmap/PLPixel32.h"

struct _TIFFRGBAImage;

namespace tiffrows {

// A colour map of 2^bits entries per channel. Maps whose values all lie within 0..255 are taken as
// 8-bit values (as some writers store them); otherwise the 16-bit values are scaled to 0..255.
std::vector<PLPixel32> ColourMapPalette(
    const uint16_t* red, const uint16_t* green, const uint16_t* blue, int bits);

// One row of samples of `bits` bits each (1 to 8, packed high bits first, rows byte-aligned): the
// first sample of every pixel of `samplesPerPixel` samples becomes one byte of out. `row` holds
// rowBytes bytes; pixels whose bits lie beyond it are left as they are.
void UnpackFirstSamples(
    const uint8_t* row, size_t rowBytes, int bits, int samplesPerPixel, uint8_t* out, int width);

// Copies rows of libtiff's raster (red, green, blue, alpha packed per 32-bit value) into 32-bit bitmap
// pixels (blue, green, red, alpha); without alpha the alpha bytes become 255.
void RasterToPixels(const uint32_t* raster, uint8_t* out, int width, bool keepAlpha);

// The bitmap's alpha is straight. For RGB pictures with an alpha sample of 8 or 16 bits, contiguous
// or in separate planes, replaces libtiff's put routine by one that gives straight colours:
// unassociated alpha as stored (libtiff would premultiply it), associated (premultiplied) alpha
// divided out. False, and libtiff's routine stays, for any other picture.
bool UseStraightAlpha(_TIFFRGBAImage& image, bool associated);

} // namespace tiffrows
