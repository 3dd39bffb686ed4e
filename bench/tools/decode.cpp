// Decodes a TIFF, PNG or GIF file with the library's decoder, reading it through the file source as
// the program does, and writes the picture as PPM, or nothing when the output is "-":
//   decode <tiff|png|gif> <input> <output.ppm | ->
// Pictures of 8 bpp or less are written through their palette; the peer script times it beside
// tiff2rgba, pngtopnm, giftopnm, ImageMagick and Pillow doing the same work.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "bench/PpmFile.h"
#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/gif/PLGIFDecoder.h"
#include "imaging/io/PLTextException.h"
#include "imaging/png/PLPNGDecoder.h"
#include "imaging/tiff/PLTIFFDecoder.h"

namespace {

std::unique_ptr<PLPicDecoder> MakeDecoder(std::string_view format)
{
    if (format == "tiff")
        return std::make_unique<PLTIFFDecoder>();
    if (format == "png")
        return std::make_unique<PLPNGDecoder>();
    if (format == "gif")
        return std::make_unique<PLGIFDecoder>();
    return nullptr;
}

// Palette pictures go out through 4-byte rows made a band at a time.
bool WritePalettePpm(const char* path, const PLBmp& bmp)
{
    const int width = bmp.GetWidth();
    std::vector<std::vector<uint8_t>> rows(static_cast<size_t>(bmp.GetHeight()));
    std::vector<uint8_t*> pointers;
    for (int y = 0; y < bmp.GetHeight(); ++y) {
        rows[static_cast<size_t>(y)].resize(static_cast<size_t>(width) * 4);
        auto* out = reinterpret_cast<PLPixel32*>(rows[static_cast<size_t>(y)].data());
        const uint8_t* in = bmp.GetRow(y);
        for (int x = 0; x < width; ++x)
            out[x] = bmp.GetBitsPerPixel() == 8 ? bmp.GetPalette()[in[x]] : bmp.GetPixel32(x, y);
        pointers.push_back(rows[static_cast<size_t>(y)].data());
    }
    return bench::WritePpm(path, width, bmp.GetHeight(), pointers.data());
}

} // namespace

int main(int argc, char** argv)
{
    const auto decoder = argc == 4 ? MakeDecoder(argv[1]) : nullptr;
    if (!decoder) {
        std::fprintf(stderr, "usage: decode <tiff|png|gif> <input> <output.ppm | ->\n");
        return 2;
    }
    PLWinBmp bmp;
    try {
        decoder->DecodeFile(argv[2], &bmp);
    } catch (const PLTextException& e) {
        std::fprintf(stderr, "decode: %s", e.GetText());
        return 1;
    }
    const char* output = argv[3];
    if (std::strcmp(output, "-") == 0)
        return 0;
    const bool written = bmp.GetBitsPerPixel() == 32
        ? bench::WritePpm(output, bmp.GetWidth(), bmp.GetHeight(), bmp.GetLineArray())
        : WritePalettePpm(output, bmp);
    if (!written) {
        std::fprintf(stderr, "decode: cannot write %s\n", output);
        return 1;
    }
    return 0;
}
