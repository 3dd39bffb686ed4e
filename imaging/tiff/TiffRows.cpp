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

namespace {

// One sample as 16 bits (8-bit samples widened exactly) and back to 8 bits as libtiff rounds.
uint32_t Wide(uint8_t v)
{
    return uint32_t { v } * 257;
}
uint32_t Wide(uint16_t v)
{
    return v;
}
uint32_t Narrow(uint32_t v)
{
    return (v + 128) / 257;
}

// A raster value (red, green, blue, alpha from the low byte up) of straight colours from samples
// that may be premultiplied.
template <bool Associated> uint32_t StraightPixel(uint32_t r, uint32_t g, uint32_t b, uint32_t a)
{
    if constexpr (Associated) {
        const auto divide
            = [a](uint32_t c) { return a == 0 ? 0 : std::min<uint32_t>(65535, (c * 65535 + a / 2) / a); };
        r = divide(r);
        g = divide(g);
        b = divide(b);
    }
    return Narrow(r) | Narrow(g) << 8 | Narrow(b) << 16 | Narrow(a) << 24;
}

template <class Sample, bool Associated>
void PutContig(TIFFRGBAImage* image, uint32_t* raster, uint32_t, uint32_t, uint32_t w, uint32_t h,
    int32_t fromSkew, int32_t toSkew, unsigned char* bytes)
{
    const int step = image->samplesperpixel;
    const auto* samples = reinterpret_cast<const Sample*>(bytes);
    for (uint32_t row = 0; row < h; ++row) {
        for (uint32_t x = 0; x < w; ++x, samples += step)
            *raster++ = StraightPixel<Associated>(
                Wide(samples[0]), Wide(samples[1]), Wide(samples[2]), Wide(samples[3]));
        raster += toSkew;
        samples += static_cast<ptrdiff_t>(fromSkew) * step;
    }
}

template <class Sample, bool Associated>
void PutSeparate(TIFFRGBAImage*, uint32_t* raster, uint32_t, uint32_t, uint32_t w, uint32_t h,
    int32_t fromSkew, int32_t toSkew, unsigned char* red, unsigned char* green, unsigned char* blue,
    unsigned char* alpha)
{
    const auto* r = reinterpret_cast<const Sample*>(red);
    const auto* g = reinterpret_cast<const Sample*>(green);
    const auto* b = reinterpret_cast<const Sample*>(blue);
    const auto* a = reinterpret_cast<const Sample*>(alpha);
    for (uint32_t row = 0; row < h; ++row) {
        for (uint32_t x = 0; x < w; ++x)
            *raster++ = StraightPixel<Associated>(Wide(*r++), Wide(*g++), Wide(*b++), Wide(*a++));
        raster += toSkew;
        r += fromSkew;
        g += fromSkew;
        b += fromSkew;
        a += fromSkew;
    }
}

template <class Sample> void Install(TIFFRGBAImage& image, bool associated)
{
    if (image.isContig)
        image.put.contig = associated ? PutContig<Sample, true> : PutContig<Sample, false>;
    else
        image.put.separate = associated ? PutSeparate<Sample, true> : PutSeparate<Sample, false>;
}

} // namespace

bool UseStraightAlpha(TIFFRGBAImage& image, bool associated)
{
    if (image.alpha == 0 || image.photometric != PHOTOMETRIC_RGB || image.samplesperpixel < 4)
        return false;
    if (image.bitspersample == 8)
        Install<uint8_t>(image, associated);
    else if (image.bitspersample == 16)
        Install<uint16_t>(image, associated);
    else
        return false;
    return true;
}

} // namespace tiffrows
