#include "imaging/tiff/TiffRows.h"

#include <algorithm>

#include <tiffio.h>

namespace tiffrows {

std::vector<PLPixel32> ColourMapPalette(
    const uint16_t* red, const uint16_t* green, const uint16_t* blue, int bits)
{
    const size_t count = size_t { 1 } << bits;
    const bool sixteenBit = std::any_of(red, red + count, [](uint16_t v) { return v > 255; })
        || std::any_of(green, green + count, [](uint16_t v) { return v > 255; })
        || std::any_of(blue, blue + count, [](uint16_t v) { return v > 255; });
    const auto scale = [sixteenBit](uint16_t v) {
        return static_cast<uint8_t>(sixteenBit ? uint32_t { v } * 255 / 65535 : v);
    };
    std::vector<PLPixel32> palette(count);
    for (size_t i = 0; i < count; ++i)
        palette[i].Set(scale(red[i]), scale(green[i]), scale(blue[i]), 255);
    return palette;
}

void UnpackFirstSamples(
    const uint8_t* row, size_t rowBytes, int bits, int samplesPerPixel, uint8_t* out, int width)
{
    if (bits == 8) {
        const size_t step = static_cast<size_t>(samplesPerPixel);
        const size_t count = std::min(static_cast<size_t>(width), (rowBytes + step - 1) / step);
        for (size_t x = 0; x < count; ++x)
            out[x] = row[x * step];
        return;
    }
    const unsigned mask = (1u << bits) - 1;
    for (int x = 0; x < width; ++x) {
        const uint64_t bit = uint64_t(x) * uint64_t(samplesPerPixel) * uint64_t(bits);
        const size_t byte = static_cast<size_t>(bit / 8);
        const unsigned offset = static_cast<unsigned>(bit % 8);
        if (byte >= rowBytes || (offset + unsigned(bits) > 8 && byte + 1 >= rowBytes))
            return;
        // A sample may straddle two bytes when its width does not divide 8.
        const unsigned window = (unsigned { row[byte] } << 8) | (byte + 1 < rowBytes ? row[byte + 1] : 0u);
        out[x] = static_cast<uint8_t>((window >> (16 - unsigned(bits) - offset)) & mask);
    }
}

void RasterToPixels(const uint32_t* raster, uint8_t* out, int width, bool keepAlpha)
{
    const uint32_t opaque = keepAlpha ? 0 : 0xFF000000u;
    auto* pixels = reinterpret_cast<uint32_t*>(out);
    for (int x = 0; x < width; ++x) {
        const uint32_t v = raster[x];
        // Red and blue change places; green and alpha stay.
        pixels[x] = (v & 0xFF00FF00u) | ((v >> 16) & 0xFFu) | ((v & 0xFFu) << 16) | opaque;
    }
}

bool HasUnassociatedAlpha8(const TIFFRGBAImage& image)
{
    return image.alpha == EXTRASAMPLE_UNASSALPHA && image.bitspersample == 8 && image.samplesperpixel == 4
        && image.isContig && image.photometric == PHOTOMETRIC_RGB;
}

void StoreUnassociatedAlpha(TIFFRGBAImage* image, uint32_t* raster, uint32_t, uint32_t, uint32_t w,
    uint32_t h, int32_t fromSkew, int32_t toSkew, unsigned char* samples)
{
    const int step = image->samplesperpixel;
    for (uint32_t row = 0; row < h; ++row) {
        for (uint32_t x = 0; x < w; ++x, samples += step)
            *raster++ = uint32_t { samples[0] } | (uint32_t { samples[1] } << 8)
                | (uint32_t { samples[2] } << 16) | (uint32_t { samples[3] } << 24);
        raster += toSkew;
        samples += static_cast<ptrdiff_t>(fromSkew) * step;
    }
}

} // namespace tiffrows
