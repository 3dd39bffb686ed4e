// How decoded JPEG samples become the bitmap's pixels: greyscale files give one byte a pixel;
// every other file gives four bytes a pixel in blue, green, red order with the fourth byte 255.
// Four-component files (CMYK, YCCK) are decoded as inverted CMYK, as common editors write them,
// and turned into those pixels in place.
#pragma once

#include <cstdint>

#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

enum class JpegPixelKind {
    Grey, // 1 byte a pixel
    Colour, // libjpeg writes blue, green, red, 255 itself
    Cmyk, // libjpeg writes inverted C, M, Y, K; converted in place
};

// The pixel kind for the colour space libjpeg found in the header; sets the output colour space.
JpegPixelKind ChooseJpegOutput(jpeg_decompress_struct* cinfo);

// Turns a row of inverted CMYK samples into blue, green, red, 255, in place.
void ConvertInvertedCmykRow(uint8_t* row, uint32_t width);

// Fills a row that the file did not deliver: black, and 255 in the fourth byte of 4-byte pixels.
void ClearMissingRow(uint8_t* row, uint32_t width, JpegPixelKind kind);
