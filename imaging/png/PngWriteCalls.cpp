#include "imaging/png/PngWriteCalls.h"

#include <cstdio>
#include <cstring>

#include <png.h>

#include "imaging/io/PLDataSink.h"

namespace {

[[noreturn]] void OnPngError(png_structp png, png_const_charp message)
{
    auto* state = static_cast<PngWriteState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", message ? message : "");
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) { }

// Hands the bytes to the sink; false, with the sink's exception kept, when it raised.
bool PassToSink(PngWriteState& state, const uint8_t* data, size_t n)
{
    try {
        while (n > 0) {
            const int part = n > (size_t { 1 } << 30) ? 1 << 30 : static_cast<int>(n);
            state.sink->WriteBytes(part, data);
            data += part;
            n -= static_cast<size_t>(part);
        }
        return true;
    } catch (...) {
        state.failure = std::current_exception();
        return false;
    }
}

void OnPngWrite(png_structp png, png_bytep data, size_t n)
{
    if (!PassToSink(*static_cast<PngWriteState*>(png_get_io_ptr(png)), data, n))
        png_error(png, "Error writing file");
}

void OnPngFlush(png_structp) { }

void SetHeader(png_structp png, png_infop info, const PngImage& image)
{
    png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colourType, PNG_INTERLACE_NONE,
        PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color_8 significant {};
    if (image.colourType == PNG_COLOR_TYPE_PALETTE) {
        png_color entries[256];
        for (int i = 0; i < image.paletteSize; ++i)
            entries[i] = { image.palette->red[i], image.palette->green[i], image.palette->blue[i] };
        png_set_PLTE(png, info, entries, image.paletteSize);
    }
    // Palette entries and samples alike hold 8 significant bits.
    significant.red = significant.green = significant.blue = 8;
    significant.alpha = image.colourType == PNG_COLOR_TYPE_RGB_ALPHA ? 8 : 0;
    png_set_sBIT(png, info, &significant);
    if (image.xPixelsPerMetre != 0)
        png_set_pHYs(png, info, image.xPixelsPerMetre, image.yPixelsPerMetre, PNG_RESOLUTION_METER);
    else
        png_set_pHYs(png, info, 0, 0, PNG_RESOLUTION_UNKNOWN);
}

// Every libpng call of one image; libpng's errors jump back here.
bool WriteImage(png_structp png, png_infop info, const PngImage& image)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, png_get_error_ptr(png), OnPngWrite, OnPngFlush);
    png_set_compression_level(png, image.compressionLevel);
    SetHeader(png, info, image);
    png_write_info(png, info);
    if (image.colourType != PNG_COLOR_TYPE_PALETTE) {
        if (image.colourType == PNG_COLOR_TYPE_RGB && image.bytesPerPixel == 4)
            png_set_filler(png, 0, PNG_FILLER_AFTER); // drops the fourth byte
        png_set_bgr(png);
    }
    png_write_image(png, const_cast<png_bytepp>(image.rows));
    png_write_end(png, info);
    return true;
}

} // namespace

int PngGuardedWrite(const PngImage& image, PngWriteState& state, const char* libpngVersion)
{
    png_structp png = png_create_write_struct(
        libpngVersion ? libpngVersion : PNG_LIBPNG_VER_STRING, &state, OnPngError, OnPngWarning);
    if (!png)
        return 2;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return 2;
    }
    const bool written = WriteImage(png, info, image);
    png_destroy_write_struct(&png, &info);
    return written ? 0 : 1;
}
