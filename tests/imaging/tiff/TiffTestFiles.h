// TIFF files for the decoder tests, written at test time by libtiff's own writer: any depth, sample
// count, photometric, compression, strips or tiles, contiguous or separate planes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include <tiffio.h>

namespace tifftest {

struct TiffRecipe {
    const char* name;
    uint16_t bits;
    uint16_t samples;
    uint16_t photometric;
    uint16_t compression = COMPRESSION_NONE;
    bool tiled = false;
    bool separate = false;
    uint16_t extraSample = 0; // the extra-sample type of the last sample, when there is one
    bool smooth = false; // gradients that lossy coding keeps close
    int width = 37;
    int height = 21;
    uint16_t sampleFormat = SAMPLEFORMAT_UINT;
    int constant = -1; // every sample this value, when it is not -1
};

inline void PrintTo(const TiffRecipe& recipe, std::ostream* os)
{
    *os << recipe.name;
}

// Sample c of pixel (x, y): neighbours differ, every value of a small depth occurs.
inline uint32_t SampleValue(const TiffRecipe& s, int x, int y, int c)
{
    if (s.constant >= 0)
        return static_cast<uint32_t>(s.constant);
    if (s.smooth)
        return static_cast<uint32_t>(x * 3 + y * 4 + c * 30) & ((1u << s.bits) - 1);
    const uint32_t v = static_cast<uint32_t>(x * 7 + y * 13 + c * 5 + (x * y) % 3);
    return s.bits == 16 ? (v * 2731u) & 0xFFFFu : v & ((1u << s.bits) - 1);
}

// One row of the given samples (all of them, or the one plane), packed as TIFF stores them.
inline std::vector<uint8_t> PackRow(const TiffRecipe& s, int y, int firstSample, int sampleCount)
{
    const size_t bits = size_t { s.bits } * static_cast<size_t>(sampleCount) * static_cast<size_t>(s.width);
    std::vector<uint8_t> row((bits + 7) / 8 + 1, 0);
    size_t bit = 0;
    for (int x = 0; x < s.width; ++x)
        for (int c = firstSample; c < firstSample + sampleCount; ++c) {
            const uint32_t v = SampleValue(s, x, y, c);
            if (s.bits == 16) {
                const auto v16 = static_cast<uint16_t>(v);
                std::memcpy(&row[bit / 8], &v16, 2);
            } else {
                for (int b = s.bits - 1; b >= 0; --b, ++bit)
                    if ((v >> b) & 1u)
                        row[bit / 8] |= static_cast<uint8_t>(0x80 >> (bit % 8));
                continue;
            }
            bit += 16;
        }
    row.resize((bits + 7) / 8);
    return row;
}

// A 16-bit colour map of 2^bits entries, or one holding 8-bit values.
inline std::vector<uint16_t> ColourMap(int bits, int channel, bool eightBitValues)
{
    std::vector<uint16_t> map(size_t { 1 } << bits);
    for (size_t i = 0; i < map.size(); ++i) {
        const auto v = static_cast<uint16_t>((i * (37 + channel * 50) + channel * 90) % 256);
        map[i] = eightBitValues ? v : static_cast<uint16_t>(v * 257);
    }
    return map;
}

inline void SetColourMap(TIFF* tif, int bits, bool eightBitValues)
{
    auto red = ColourMap(bits, 0, eightBitValues), green = ColourMap(bits, 1, eightBitValues),
         blue = ColourMap(bits, 2, eightBitValues);
    TIFFSetField(tif, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
}

inline void WriteTiles(TIFF* tif, const TiffRecipe& s)
{
    const int tile = 16;
    TIFFSetField(tif, TIFFTAG_TILEWIDTH, tile);
    TIFFSetField(tif, TIFFTAG_TILELENGTH, tile);
    const size_t pixelBytes = size_t { s.samples } * (s.bits / 8);
    std::vector<uint8_t> buffer(tile * tile * pixelBytes);
    for (int ty = 0; ty < s.height; ty += tile)
        for (int tx = 0; tx < s.width; tx += tile) {
            std::fill(buffer.begin(), buffer.end(), 0);
            for (int y = ty; y < std::min(ty + tile, s.height); ++y) {
                const std::vector<uint8_t> row = PackRow(s, y, 0, s.samples);
                const int count = std::min(tile, s.width - tx);
                std::memcpy(&buffer[size_t(y - ty) * tile * pixelBytes], &row[size_t(tx) * pixelBytes],
                    size_t(count) * pixelBytes);
            }
            TIFFWriteTile(tif, buffer.data(), static_cast<uint32_t>(tx), static_cast<uint32_t>(ty), 0, 0);
        }
}

// Writes the file; resolution and unit are written when unit is not 0.
inline bool WriteTiff(const std::string& path, const TiffRecipe& s, float resolution = 0, uint16_t unit = 0,
    bool eightBitColourMap = false)
{
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (!tif)
        return false;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, s.width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, s.height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, s.bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, s.samples);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, s.photometric);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, s.compression);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, s.separate ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
    if (s.extraSample != 0) {
        const uint16_t extra[] = { s.extraSample };
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, uint16_t { 1 }, extra);
    }
    if (s.sampleFormat != SAMPLEFORMAT_UINT)
        TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, s.sampleFormat);
    if (s.photometric == PHOTOMETRIC_PALETTE)
        SetColourMap(tif, s.bits, eightBitColourMap);
    if (s.compression == COMPRESSION_JPEG)
        TIFFSetField(tif, TIFFTAG_JPEGQUALITY, 95);
    if (s.compression == COMPRESSION_WEBP)
        TIFFSetField(tif, TIFFTAG_WEBP_LOSSLESS, 1);
    if (unit != 0) {
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, resolution);
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, resolution / 2);
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, unit);
    }
    bool ok = true;
    if (s.tiled) {
        WriteTiles(tif, s);
    } else {
        // JBIG codes a single strip only.
        const int rowsPerStrip = s.compression == COMPRESSION_JBIG ? s.height : 8;
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
        const int planes = s.separate ? s.samples : 1;
        const int strips = (s.height + rowsPerStrip - 1) / rowsPerStrip;
        for (int plane = 0; plane < planes; ++plane)
            for (int strip = 0; strip < strips; ++strip) {
                std::vector<uint8_t> data;
                for (int y = strip * rowsPerStrip; y < std::min(s.height, (strip + 1) * rowsPerStrip); ++y) {
                    const std::vector<uint8_t> row
                        = PackRow(s, y, s.separate ? plane : 0, s.separate ? 1 : s.samples);
                    data.insert(data.end(), row.begin(), row.end());
                }
                ok = ok
                    && TIFFWriteEncodedStrip(tif, static_cast<uint32_t>(plane * strips + strip), data.data(),
                           static_cast<tmsize_t>(data.size()))
                        >= 0;
            }
    }
    TIFFClose(tif);
    return ok;
}

} // namespace tifftest
