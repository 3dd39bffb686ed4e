// The PNG decoder against ImageMagick and Pillow on files that libpng writes at test time: every
// colour type and depth, interlaced, with transparency chunks (whose colours alone are compared: the
// decoder does not apply tRNS). Then the resolution, our encoder's files and damaged files.
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include <png.h>
#include <zlib.h>

#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/codec/DecoderTestSupport.h"
#include "imaging/png/PLPNGDecoder.h"
#include "imaging/png/PLPNGEncoder.h"

namespace {

using namespace decodertest;
using encodertest::ReadFileBytes;
using encodertest::ScratchFolder;

struct PngRecipe {
    const char* name;
    int colourType;
    int depth;
    bool interlaced = false;
    bool transparency = false; // a tRNS chunk
    uint32_t pixelsPerMetre = 0; // a pHYs chunk per metre when not 0
    int width = 37;
    int height = 21;
};

int Channels(int colourType)
{
    switch (colourType) {
    case PNG_COLOR_TYPE_RGB:
        return 3;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        return 4;
    default:
        return 1;
    }
}

uint32_t SampleValue(const PngRecipe& s, int x, int y, int c)
{
    const auto v = static_cast<uint32_t>(x * 7 + y * 13 + c * 5 + (x * y) % 3);
    return s.depth == 16 ? (v * 2731u) & 0xFFFFu : v & ((1u << s.depth) - 1);
}

// One row as PNG stores it: samples big-endian, packed high bits first below 8 bits.
std::vector<uint8_t> PackRow(const PngRecipe& s, int y)
{
    const int channels = Channels(s.colourType);
    std::vector<uint8_t> row((size_t(s.width) * channels * s.depth + 7) / 8, 0);
    size_t bit = 0;
    for (int x = 0; x < s.width; ++x)
        for (int c = 0; c < channels; ++c, bit += static_cast<size_t>(s.depth)) {
            const uint32_t v = SampleValue(s, x, y, c);
            if (s.depth == 16) {
                row[bit / 8] = static_cast<uint8_t>(v >> 8);
                row[bit / 8 + 1] = static_cast<uint8_t>(v);
            } else {
                row[bit / 8] |= static_cast<uint8_t>(v << (8 - s.depth - bit % 8));
            }
        }
    return row;
}

// Writes the file with libpng's own writer.
bool WritePng(const std::string& path, const PngRecipe& s)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<uint32_t>(s.width), static_cast<uint32_t>(s.height), s.depth,
        s.colourType, s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette(size_t { 1 } << (s.depth <= 8 ? s.depth : 8));
    for (size_t i = 0; i < palette.size(); ++i)
        palette[i] = { static_cast<uint8_t>(i * 37), static_cast<uint8_t>(255 - i * 3),
            static_cast<uint8_t>(i * 11 + 5) };
    if (s.colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (s.transparency) {
        std::vector<uint8_t> alphas(palette.size(), 255);
        alphas[0] = 0;
        alphas[1] = 128;
        png_color_16 colour {};
        colour.gray = static_cast<uint16_t>(SampleValue(s, 1, 0, 0));
        colour.red = static_cast<uint16_t>(SampleValue(s, 1, 0, 0));
        colour.green = static_cast<uint16_t>(SampleValue(s, 1, 0, 1));
        colour.blue = static_cast<uint16_t>(SampleValue(s, 1, 0, 2));
        png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), &colour);
    }
    if (s.pixelsPerMetre != 0)
        png_set_pHYs(png, info, s.pixelsPerMetre, s.pixelsPerMetre * 2, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    std::vector<std::vector<uint8_t>> rows;
    std::vector<png_bytep> pointers;
    for (int y = 0; y < s.height; ++y)
        rows.push_back(PackRow(s, y));
    for (auto& row : rows)
        pointers.push_back(row.data());
    png_write_image(png, pointers.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

struct ReferenceCase {
    PngRecipe recipe;
    int bpp;
    Compare mode = Compare::Rgba;
    int tolerance = 0; // 16-bit samples: ImageMagick rounds where libpng keeps the high byte
    bool pillow = true; // Pillow clips 16-bit grey instead of scaling it
};

void PrintTo(const ReferenceCase& c, std::ostream* os)
{
    *os << c.recipe.name;
}

struct PngDecoderReferences : ScratchFolder, testing::WithParamInterface<ReferenceCase> { };

TEST_P(PngDecoderReferences, SamePixelsAsIndependentDecoders)
{
    const ReferenceCase& c = GetParam();
    const std::string path = Path("picture.png");
    ASSERT_TRUE(WritePng(path, c.recipe));
    PLPNGDecoder decoder;
    const auto bmp = DecodeFile(decoder, path);
    ASSERT_EQ(bmp->GetWidth(), c.recipe.width);
    ASSERT_EQ(bmp->GetHeight(), c.recipe.height);
    EXPECT_EQ(bmp->GetBitsPerPixel(), c.bpp);
    const Bytes ours = encodertest::ExpectedRgba(*bmp);
    EXPECT_LE(MaxDifference(ours, ImageMagickRgba(path), c.mode), c.tolerance) << "ImageMagick";
    if (c.pillow) {
        EXPECT_LE(MaxDifference(ours, PillowRgba(path), c.mode), c.tolerance) << "Pillow";
    }
}

constexpr int kGrey = PNG_COLOR_TYPE_GRAY;
constexpr int kRgb = PNG_COLOR_TYPE_RGB;
constexpr int kPalette = PNG_COLOR_TYPE_PALETTE;
constexpr int kGreyAlpha = PNG_COLOR_TYPE_GRAY_ALPHA;
constexpr int kRgba = PNG_COLOR_TYPE_RGB_ALPHA;

INSTANTIATE_TEST_SUITE_P(Cases, PngDecoderReferences,
    testing::Values(ReferenceCase { { "grey1", kGrey, 1 }, 8 }, ReferenceCase { { "grey2", kGrey, 2 }, 8 },
        ReferenceCase { { "grey4_interlaced", kGrey, 4, true }, 8 },
        ReferenceCase { { "grey8", kGrey, 8 }, 8 },
        ReferenceCase { { "grey16", kGrey, 16 }, 8, Compare::Rgba, 1, false },
        ReferenceCase { { "grey8_trns", kGrey, 8, false, true }, 8, Compare::Colour },
        ReferenceCase { { "palette1", kPalette, 1 }, 8 }, ReferenceCase { { "palette2", kPalette, 2 }, 8 },
        ReferenceCase { { "palette4", kPalette, 4 }, 8 },
        ReferenceCase { { "palette8_interlaced", kPalette, 8, true }, 8 },
        ReferenceCase { { "palette8_trns", kPalette, 8, false, true }, 8, Compare::Colour },
        ReferenceCase { { "rgb8", kRgb, 8 }, 32 }, ReferenceCase { { "rgb8_interlaced", kRgb, 8, true }, 32 },
        ReferenceCase { { "rgb16", kRgb, 16 }, 32, Compare::Rgba, 1 },
        ReferenceCase { { "rgb8_trns", kRgb, 8, false, true }, 32, Compare::Colour },
        ReferenceCase { { "grey_alpha8", kGreyAlpha, 8 }, 32 },
        ReferenceCase { { "grey_alpha16_interlaced", kGreyAlpha, 16, true }, 32, Compare::Rgba, 1 },
        ReferenceCase { { "rgba8", kRgba, 8 }, 32 },
        ReferenceCase { { "rgba16_interlaced", kRgba, 16, true }, 32, Compare::Rgba, 1 }));

using PngDecoderFiles = ScratchFolder;

// 16-bit grey keeps 256 grey entries (entry i = i); pHYs per metre becomes dots per inch.
TEST_F(PngDecoderFiles, GreyPaletteAndResolution)
{
    const std::string path = Path("grey16.png");
    ASSERT_TRUE(WritePng(path, { "grey16", kGrey, 16, false, false, 2835 }));
    PLPNGDecoder decoder;
    const auto bmp = DecodeFile(decoder, path);
    EXPECT_TRUE(bmp->IsGreyscale());
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(bmp->GetPalette()[i], PLPixel32(i, i, i)) << i;
    EXPECT_EQ(bmp->GetResolution(), PLCoord(72, 144));
}

// Pictures of every depth that the PNG encoder writes come back unchanged.
TEST(PngDecoder, EncoderPicturesReadBack)
{
    for (const int bpp : { 8, 24, 32 }) {
        const auto picture = encodertest::MakePicture(bpp, 13, 7, bpp == 32);
        PLPNGEncoder encoder;
        encoder.SetCompressionLevel(6);
        const Bytes file = encodertest::EncodeToMemory(encoder, *picture);
        PLPNGDecoder decoder;
        PLAnyBmp back;
        decoder.DecodeMemory(file.data(), static_cast<int>(file.size()), &back);
        EXPECT_EQ(encodertest::ExpectedRgba(back), encodertest::ExpectedRgba(*picture)) << bpp << " bpp";
        EXPECT_EQ(back.GetResolution(), PLCoord(300, 150));
    }
}

// Damaged files end in the library's codes and release libpng's structures (the sanitizers watch):
// a file cut short, a bad signature, a bad header checksum, a size beyond the cap; a file that lost
// only its end chunk keeps its picture.
TEST(PngDecoder, DamagedFilesAreRefused)
{
    const auto picture = encodertest::MakePicture(32, 40, 30, true);
    PLPNGEncoder encoder;
    encoder.SetCompressionLevel(6);
    const Bytes file = encodertest::EncodeToMemory(encoder, *picture);
    const auto decode = [](Bytes bytes) {
        return ErrorCodeOf([&] {
            PLPNGDecoder decoder;
            PLAnyBmp bmp;
            decoder.DecodeMemory(bytes.data(), static_cast<int>(bytes.size()), &bmp);
        });
    };
    EXPECT_EQ(decode(Bytes(file.begin(), file.begin() + 30)), PL_ERR_END_OF_FILE);
    EXPECT_EQ(decode(Bytes(file.begin(), file.end() - 200)), PL_ERR_END_OF_FILE);
    EXPECT_EQ(decode(Bytes(file.begin(), file.end() - 12)), -1);
    Bytes bad = file;
    bad[1] = 'Q';
    EXPECT_EQ(decode(bad), PL_ERR_FORMAT_UNKNOWN);
    bad = file;
    bad[20] ^= 1; // inside the header, whose checksum no longer matches
    EXPECT_EQ(decode(bad), PL_ERR_FORMAT_UNKNOWN);
    // Width and height (bytes 16 to 23) of 30000 x 30000, with the header's checksum made right.
    bad = file;
    for (const int at : { 16, 20 }) {
        bad[at] = 0, bad[at + 1] = 0, bad[at + 2] = 0x75, bad[at + 3] = 0x30;
    }
    const auto crc = crc32(0, bad.data() + 12, 17);
    for (int i = 0; i < 4; ++i)
        bad[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    EXPECT_EQ(decode(bad), PL_ERR_DIB_TOO_LARGE);
}

} // namespace
