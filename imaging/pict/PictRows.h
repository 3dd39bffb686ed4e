// The pixel rows of a PICT bitmap: packed or plain, at 1, 2, 4, 8, 16 and 32 bits per pixel, into
// an 8-bit (palette) or 32-bit bitmap of the bounds' size. Runs never write past the row, and row
// bytes the data does not reach are zero.
#pragma once

#include "imaging/pict/PictReader.h"

class PLBmp;

namespace pict {

struct RowFormat {
    int width = 0;
    int height = 0;
    int pixelSize = 0; // 1, 2, 4, 8, 16 or 32
    int cmpCount = 3; // for 32 bits: 3 (red, green, blue) or 4 (alpha first)
    int rowBytes = 0; // as stored, without the PixMap flag; 0 for width x bytes per pixel
};

// Reads the rows into the bitmap (8 bits per pixel up to pixel size 8, else 32). Pixel sizes the
// format does not have raise code 2.
void DecodeRows(Reader& reader, const RowFormat& format, PLBmp& bmp);

// Skips the pixel data of a pixel pattern, whose rows are stored like a bitmap's.
void SkipRows(Reader& reader, const RowFormat& format);

} // namespace pict
