#include "imaging/jpeg/JpegPixels.h"

#include <cstring>

JpegPixelKind ChooseJpegOutput(jpeg_decompress_struct* cinfo)
{
    switch (cinfo->jpeg_color_space) {
    case JCS_GRAYSCALE:
        cinfo->out_color_space = JCS_GRAYSCALE;
        return JpegPixelKind::Grey;
    case JCS_CMYK:
    case JCS_YCCK:
        cinfo->out_color_space = JCS_CMYK;
        return JpegPixelKind::Cmyk;
    default:
        // JCS_EXT_BGRA rather than JCS_EXT_BGRX: libjpeg-turbo guarantees 255 in the fourth byte
        // only for the alpha forms.
        cinfo->out_color_space = JCS_EXT_BGRA;
        return JpegPixelKind::Colour;
    }
}

void ConvertInvertedCmykRow(uint8_t* row, uint32_t width)
{
    // Inverted samples hold 255 - ink, so each colour is the product of its sample and K's.
    for (uint32_t x = 0; x < width; ++x, row += 4) {
        const unsigned c = row[0], m = row[1], y = row[2], k = row[3];
        row[0] = static_cast<uint8_t>((y * k + 127) / 255);
        row[1] = static_cast<uint8_t>((m * k + 127) / 255);
        row[2] = static_cast<uint8_t>((c * k + 127) / 255);
        row[3] = 255;
    }
}

void ClearMissingRow(uint8_t* row, uint32_t width, JpegPixelKind kind)
{
    if (kind == JpegPixelKind::Grey) {
        std::memset(row, 0, width);
        return;
    }
    for (uint32_t x = 0; x < width; ++x, row += 4) {
        row[0] = row[1] = row[2] = 0;
        row[3] = 255;
    }
}
