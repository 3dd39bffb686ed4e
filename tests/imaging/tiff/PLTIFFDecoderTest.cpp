// The TIFF decoder against independent decoders (ImageMagick, Pillow) and libtiff's tiff2rgba on
// files that libtiff writes at test time: every depth, sample layout, photometric and compression,
// strips and tiles. Then the resolution units and the hostile files that must be refused cleanly.
#include <gtest/gtest.h>

#include <string>

#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/codec/DecoderTestSupport.h"
#include "imaging/tiff/PLTIFFDecoder.h"
#include "imaging/tiff/PLTIFFEncoder.h"
#include "imaging/tiff/TiffTestFiles.h"

namespace {

using namespace decodertest;
using encodertest::ReadFileBytes;
using encodertest::ScratchFolder;
using encodertest::WriteFileBytes;
using tifftest::TiffRecipe;
using tifftest::WriteTiff;

// tiff2rgba's output (uncompressed RGBA rows) read back through libtiff.
Bytes Tiff2RgbaRgba(const std::string& path)
{
    const std::string out = path + ".rgba.tif";
    if (encodertest::RunText("tiff2rgba -c none '" + path + "' '" + out + "' && echo done") != "done\n")
        return {};
    TIFF* tif = TIFFOpen(out.c_str(), "r");
    if (!tif)
        return {};
    uint32_t height = 0;
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    Bytes rows, line(static_cast<size_t>(TIFFScanlineSize(tif)));
    for (uint32_t y = 0; y < height; ++y)
        if (TIFFReadScanline(tif, line.data(), y, 0) == 1)
            rows.insert(rows.end(), line.begin(), line.end());
    TIFFClose(tif);
    return rows;
}

constexpr int kImageMagick = 1, kPillow = 2, kTiff2Rgba = 4, kAll = 7;

struct ReferenceCase {
    TiffRecipe recipe;
    int bpp; // what the decoder describes
    Compare mode = Compare::Rgba;
    int tolerance = 0;
    // The references that read the case as the TIFF rules say: Pillow converts CMYK and 16-bit grey
    // its own way and cannot read JBIG, tiff2rgba premultiplies unassociated alpha, ImageMagick 6 reads 2-bit
    // min-is-white as min-is-black.
    int references = kAll;
};

void PrintTo(const ReferenceCase& c, std::ostream* os)
{
    *os << c.recipe.name;
}

struct TiffDecoderReferences : ScratchFolder, testing::WithParamInterface<ReferenceCase> { };

TEST_P(TiffDecoderReferences, SamePixelsAsIndependentDecoders)
{
    const ReferenceCase& c = GetParam();
    const std::string path = Path("picture.tif");
    ASSERT_TRUE(WriteTiff(path, c.recipe));
    PLTIFFDecoder decoder;
    const auto bmp = DecodeFile(decoder, path);
    ASSERT_EQ(bmp->GetWidth(), c.recipe.width);
    ASSERT_EQ(bmp->GetHeight(), c.recipe.height);
    EXPECT_EQ(bmp->GetBitsPerPixel(), c.bpp);
    const Bytes ours = encodertest::ExpectedRgba(*bmp);
    if (c.references & kImageMagick) {
        EXPECT_LE(MaxDifference(ours, ImageMagickRgba(path), c.mode), c.tolerance) << "ImageMagick";
    }
    if (c.references & kPillow) {
        EXPECT_LE(MaxDifference(ours, PillowRgba(path), c.mode), c.tolerance) << "Pillow";
    }
    if (c.references & kTiff2Rgba) {
        EXPECT_LE(MaxDifference(ours, Tiff2RgbaRgba(path), c.mode), c.tolerance) << "tiff2rgba";
    }
}

constexpr uint16_t kGrey = PHOTOMETRIC_MINISBLACK;
constexpr uint16_t kWhite = PHOTOMETRIC_MINISWHITE;
constexpr uint16_t kRgb = PHOTOMETRIC_RGB;
constexpr uint16_t kPalette = PHOTOMETRIC_PALETTE;
constexpr uint16_t kUnassoc = EXTRASAMPLE_UNASSALPHA;
constexpr uint16_t kAssoc = EXTRASAMPLE_ASSOCALPHA;

INSTANTIATE_TEST_SUITE_P(Cases, TiffDecoderReferences,
    testing::Values(
        // Bilevel, through every codec that writes it.
        ReferenceCase { { "bilevel_none", 1, 1, kGrey }, 1 },
        ReferenceCase { { "bilevel_white_packbits", 1, 1, kWhite, COMPRESSION_PACKBITS }, 1 },
        ReferenceCase { { "bilevel_ccitt_rle", 1, 1, kWhite, COMPRESSION_CCITTRLE }, 1 },
        ReferenceCase { { "bilevel_fax3", 1, 1, kWhite, COMPRESSION_CCITTFAX3 }, 1 },
        ReferenceCase { { "bilevel_fax4", 1, 1, kGrey, COMPRESSION_CCITTFAX4 }, 1 },
        ReferenceCase { { "bilevel_jbig", 1, 1, kGrey, COMPRESSION_JBIG }, 1, Compare::Rgba, 0,
            kImageMagick | kTiff2Rgba },
        // Grey of 2, 4, 8 and 16 bits, and grey with alpha (whose alpha the decoder drops).
        ReferenceCase { { "grey2_none", 2, 1, kGrey }, 8 },
        ReferenceCase {
            { "grey2_white_lzw", 2, 1, kWhite, COMPRESSION_LZW }, 8, Compare::Rgba, 0, kPillow | kTiff2Rgba },
        ReferenceCase { { "grey4_deflate", 4, 1, kGrey, COMPRESSION_ADOBE_DEFLATE }, 8 },
        ReferenceCase { { "grey8_lzw", 8, 1, kGrey, COMPRESSION_LZW }, 8 },
        ReferenceCase { { "grey8_white_packbits", 8, 1, kWhite, COMPRESSION_PACKBITS }, 8 },
        ReferenceCase { { "grey8_lzma", 8, 1, kGrey, COMPRESSION_LZMA }, 8 },
        ReferenceCase { { "grey8_zstd", 8, 1, kGrey, COMPRESSION_ZSTD }, 8 },
        ReferenceCase { { "grey8_jpeg", 8, 1, kGrey, COMPRESSION_JPEG, false, false, 0, true, 40, 24 }, 8,
            Compare::Rgba, 1 },
        ReferenceCase { { "grey16_lzw", 16, 1, kGrey, COMPRESSION_LZW }, 32, Compare::Rgba, 1,
            kImageMagick | kTiff2Rgba },
        ReferenceCase {
            { "grey8_alpha_lzw", 8, 2, kGrey, COMPRESSION_LZW, false, false, kUnassoc }, 8, Compare::Colour },
        // Palettes of every depth.
        ReferenceCase { { "palette1_none", 1, 1, kPalette }, 1 },
        ReferenceCase { { "palette2_lzw", 2, 1, kPalette, COMPRESSION_LZW }, 8 },
        ReferenceCase { { "palette4_packbits", 4, 1, kPalette, COMPRESSION_PACKBITS }, 8 },
        ReferenceCase { { "palette8_deflate", 8, 1, kPalette, COMPRESSION_DEFLATE }, 8 },
        // RGB through every codec, tiled and in separate planes.
        ReferenceCase { { "rgb8_none", 8, 3, kRgb }, 32 },
        ReferenceCase { { "rgb8_lzw", 8, 3, kRgb, COMPRESSION_LZW }, 32 },
        ReferenceCase { { "rgb8_packbits", 8, 3, kRgb, COMPRESSION_PACKBITS }, 32 },
        ReferenceCase { { "rgb8_deflate", 8, 3, kRgb, COMPRESSION_ADOBE_DEFLATE }, 32 },
        ReferenceCase { { "rgb8_lzma", 8, 3, kRgb, COMPRESSION_LZMA }, 32 },
        ReferenceCase { { "rgb8_zstd", 8, 3, kRgb, COMPRESSION_ZSTD }, 32 },
        ReferenceCase { { "rgb8_webp_lossless", 8, 3, kRgb, COMPRESSION_WEBP }, 32 },
        ReferenceCase { { "rgb8_jpeg", 8, 3, kRgb, COMPRESSION_JPEG, false, false, 0, true, 40, 24 }, 32,
            Compare::Rgba, 1 },
        ReferenceCase { { "rgb8_tiled_lzw", 8, 3, kRgb, COMPRESSION_LZW, true }, 32 },
        ReferenceCase { { "rgb8_separate_lzw", 8, 3, kRgb, COMPRESSION_LZW, false, true }, 32 },
        ReferenceCase { { "rgb16_lzw", 16, 3, kRgb, COMPRESSION_LZW }, 32, Compare::Rgba, 1 },
        ReferenceCase {
            { "rgb16_tiled_deflate", 16, 3, kRgb, COMPRESSION_ADOBE_DEFLATE, true }, 32, Compare::Rgba, 1 },
        // RGBA with straight alpha: kept as stored, not premultiplied.
        ReferenceCase { { "rgba8_lzw", 8, 4, kRgb, COMPRESSION_LZW, false, false, kUnassoc }, 32,
            Compare::Rgba, 0, kImageMagick | kPillow },
        ReferenceCase { { "rgba8_tiled", 8, 4, kRgb, COMPRESSION_NONE, true, false, kUnassoc }, 32,
            Compare::Rgba, 0, kImageMagick | kPillow },
        ReferenceCase { { "rgba8_separate", 8, 4, kRgb, COMPRESSION_LZW, false, true, kUnassoc }, 32,
            Compare::Rgba, 0, kImageMagick | kPillow },
        ReferenceCase { { "rgba16_lzw", 16, 4, kRgb, COMPRESSION_LZW, false, false, kUnassoc }, 32,
            Compare::Rgba, 1, kImageMagick },
        ReferenceCase { { "rgba16_separate", 16, 4, kRgb, COMPRESSION_NONE, false, true, kUnassoc }, 32,
            Compare::Rgba, 1, kImageMagick },
        // RGBA with associated (premultiplied) alpha: the colours divided by it.
        ReferenceCase { { "rgba8_associated", 8, 4, kRgb, COMPRESSION_LZW, false, false, kAssoc }, 32,
            Compare::Visible, 1, kImageMagick | kPillow },
        ReferenceCase { { "rgba16_associated", 16, 4, kRgb, COMPRESSION_LZW, false, false, kAssoc }, 32,
            Compare::Visible, 1, kImageMagick },
        ReferenceCase { { "cmyk8_lzw", 8, 4, PHOTOMETRIC_SEPARATED, COMPRESSION_LZW }, 32, Compare::Rgba, 1,
            kImageMagick | kTiff2Rgba }));

// Resolution: inches as they are, centimetres converted, no unit and values of 1 or less give none.
using TiffDecoderFiles = ScratchFolder;

TEST_F(TiffDecoderFiles, ResolutionUnits)
{
    struct Case {
        float value;
        uint16_t unit;
        PLCoord expected;
    };
    for (const Case c :
        { Case { 300, RESUNIT_INCH, { 300, 150 } }, { 118.11f, RESUNIT_CENTIMETER, { 300, 150 } },
            { 300, RESUNIT_NONE, { 0, 0 } }, { 1, RESUNIT_INCH, { 0, 0 } } }) {
        const std::string path = Path("resolution.tif");
        ASSERT_TRUE(WriteTiff(path, { "grey", 8, 1, kGrey }, c.value, c.unit));
        PLTIFFDecoder decoder;
        EXPECT_EQ(DecodeFile(decoder, path)->GetResolution(), c.expected) << c.value << " unit " << c.unit;
    }
}

// Colour maps of 8-bit values (as the TIFF encoder writes them) are read unscaled, and a picture
// of every depth the encoder writes comes back unchanged.
TEST_F(TiffDecoderFiles, EncoderPicturesReadBack)
{
    const std::string path = Path("map.tif");
    ASSERT_TRUE(WriteTiff(path, { "palette", 8, 1, kPalette }, 0, 0, true));
    PLTIFFDecoder decoder;
    const auto bmp = DecodeFile(decoder, path);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(bmp->GetPalette()[i],
            PLPixel32(tifftest::ColourMap(8, 0, true)[i], tifftest::ColourMap(8, 1, true)[i],
                tifftest::ColourMap(8, 2, true)[i]))
            << i;
    for (const int bpp : { 1, 8, 32 }) {
        const auto picture = encodertest::MakePicture(bpp, 13, 7, bpp == 32);
        PLTIFFEncoder encoder;
        const Bytes file = encodertest::EncodeToMemory(encoder, *picture);
        PLAnyBmp back;
        decoder.DecodeMemory(file.data(), static_cast<int>(file.size()), &back);
        EXPECT_EQ(encodertest::ExpectedRgba(back), encodertest::ExpectedRgba(*picture)) << bpp << " bpp";
    }
}

// Hostile and damaged files end in the library's codes, without leaks (the sanitizers watch).
// Alpha comes out straight at every depth and layout: samples of 0x55 (0x5555) throughout give
// 85, 85, 85, 85 with unassociated alpha, and the colours divided by the alpha with associated alpha.
TEST_F(TiffDecoderFiles, AlphaIsStraightAtEveryDepthAndLayout)
{
    struct AlphaCase {
        TiffRecipe recipe;
        PLPixel32 pixel;
    };
    const AlphaCase cases[] = {
        { { "rgba16_contig", 16, 4, kRgb, COMPRESSION_NONE, false, false, kUnassoc, false, 3, 2,
              SAMPLEFORMAT_UINT, 0x5555 },
            PLPixel32(85, 85, 85, 85) },
        { { "rgba8_planar", 8, 4, kRgb, COMPRESSION_NONE, false, true, kUnassoc, false, 3, 2,
              SAMPLEFORMAT_UINT, 0x55 },
            PLPixel32(85, 85, 85, 85) },
        { { "rgba8_contig", 8, 4, kRgb, COMPRESSION_NONE, false, false, kUnassoc, false, 3, 2,
              SAMPLEFORMAT_UINT, 0x55 },
            PLPixel32(85, 85, 85, 85) },
        { { "rgba16_associated", 16, 4, kRgb, COMPRESSION_NONE, false, false, kAssoc, false, 3, 2,
              SAMPLEFORMAT_UINT, 0x5555 },
            PLPixel32(255, 255, 255, 85) },
        { { "rgba8_planar_associated", 8, 4, kRgb, COMPRESSION_NONE, false, true, kAssoc, false, 3, 2,
              SAMPLEFORMAT_UINT, 0x55 },
            PLPixel32(255, 255, 255, 85) },
    };
    for (const AlphaCase& c : cases) {
        const std::string path = Path("alpha.tif");
        ASSERT_TRUE(WriteTiff(path, c.recipe));
        PLTIFFDecoder decoder;
        const auto bmp = DecodeFile(decoder, path);
        EXPECT_TRUE(bmp->HasAlpha()) << c.recipe.name;
        EXPECT_EQ(bmp->GetPixel32(2, 1), c.pixel) << c.recipe.name;
        const Bytes magick = ImageMagickRgba(path);
        ASSERT_EQ(magick.size(), 24u) << c.recipe.name;
        EXPECT_EQ(PLPixel32(magick[20], magick[21], magick[22], magick[23]), c.pixel) << c.recipe.name;
    }
}

// Layouts that libtiff's RGBA reader refuses are refused as a subformat not supported (code 1).
TEST_F(TiffDecoderFiles, LayoutsTheRgbaReaderRefuses)
{
    const TiffRecipe refused[] = {
        { "rgb2", 2, 3, kRgb },
        { "rgb10", 10, 3, kRgb },
        { "grey12", 12, 1, kGrey },
        { "palette16", 16, 1, kPalette },
        { "cmyk16_planar", 16, 4, PHOTOMETRIC_SEPARATED, COMPRESSION_NONE, false, true },
        { "rgb16_float", 16, 3, kRgb, COMPRESSION_NONE, false, false, 0, false, 37, 21, SAMPLEFORMAT_IEEEFP },
    };
    for (const TiffRecipe& recipe : refused) {
        const std::string path = Path("refused.tif");
        ASSERT_TRUE(WriteTiff(path, recipe)) << recipe.name;
        PLTIFFDecoder decoder;
        EXPECT_EQ(ErrorCodeOf([&] { DecodeFile(decoder, path); }), PL_ERR_WRONG_SIGNATURE) << recipe.name;
    }
}

TEST_F(TiffDecoderFiles, DamagedFilesAreRefused)
{
    const auto decodeBytes = [](const Bytes& file) {
        return ErrorCodeOf([&] {
            PLTIFFDecoder decoder;
            PLAnyBmp bmp;
            decoder.DecodeMemory(file.data(), static_cast<int>(file.size()), &bmp);
        });
    };
    // What libtiff itself refuses is unexpected data, told in libtiff's words.
    EXPECT_EQ(decodeBytes(Bytes { 'I', 'I', 42, 0, 0xFF, 0xFF, 0xFF, 0x7F }), PL_ERR_FORMAT_UNKNOWN);
    EXPECT_EQ(decodeBytes(Bytes { 'G', 'I', 'F', '8' }), PL_ERR_FORMAT_UNKNOWN);

    // Sizes beyond the picture cap are refused before anything is allocated for them.
    for (const auto& [width, height] : { std::pair { 40000, 2 }, std::pair { 30000, 30000 } }) {
        TiffRecipe huge { "huge", 8, 3, kRgb };
        huge.width = width;
        huge.height = height;
        TIFF* tif = TIFFOpen(Path("huge.tif").c_str(), "w");
        ASSERT_TRUE(tif);
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, kRgb);
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, height);
        Bytes row = tifftest::PackRow(huge, 0, 0, 3);
        TIFFWriteScanline(tif, row.data(), 0, 0);
        TIFFClose(tif);
        EXPECT_EQ(decodeBytes(ReadFileBytes(Path("huge.tif"))), PL_ERR_DIB_TOO_LARGE)
            << width << "x" << height;
    }
    // So are rows of thousands of samples a pixel, within the pixel cap but beyond any real row.
    {
        constexpr uint32_t width = 16392, samples = 1603;
        TIFF* tif = TIFFOpen(Path("wide-rows.tif").c_str(), "w");
        ASSERT_TRUE(tif);
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 1);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, kGrey);
        TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 1);
        Bytes row(size_t { width } * samples);
        TIFFWriteScanline(tif, row.data(), 0, 0);
        TIFFClose(tif);
        EXPECT_EQ(decodeBytes(ReadFileBytes(Path("wide-rows.tif"))), PL_ERR_DIB_TOO_LARGE);
    }

    // Damage that libtiff reports fails the picture as unexpected data wherever it lies: in the
    // first third or further down a grey picture, in an RGB picture.
    struct Damage {
        TiffRecipe recipe;
        int strip;
        int code;
    };
    for (const Damage d : { Damage { { "grey", 8, 1, kGrey, COMPRESSION_LZW, false, false, 0, false, 37, 60 },
                                0, PL_ERR_FORMAT_UNKNOWN },
             Damage { { "grey", 8, 1, kGrey, COMPRESSION_LZW, false, false, 0, false, 37, 60 }, 6,
                 PL_ERR_FORMAT_UNKNOWN },
             Damage { { "rgb", 8, 3, kRgb, COMPRESSION_LZW }, 1, PL_ERR_FORMAT_UNKNOWN } }) {
        const std::string path = Path("damaged.tif");
        ASSERT_TRUE(WriteTiff(path, d.recipe));
        TIFF* tif = TIFFOpen(path.c_str(), "r");
        ASSERT_TRUE(tif);
        uint64_t* offsets = nullptr;
        ASSERT_TRUE(TIFFGetField(tif, TIFFTAG_STRIPOFFSETS, &offsets));
        const auto at = static_cast<size_t>(offsets[d.strip]);
        TIFFClose(tif);
        Bytes file = ReadFileBytes(path);
        std::fill(
            file.begin() + static_cast<ptrdiff_t>(at), file.begin() + static_cast<ptrdiff_t>(at + 40), 0xFF);
        EXPECT_EQ(decodeBytes(file), d.code) << d.recipe.name << " strip " << d.strip;
    }
}

// libtiff's message reaches the caller without the name of the libtiff routine that gave it: a
// directory of no entries is unexpected data.
TEST_F(TiffDecoderFiles, LibtiffErrorsCarryTheirMessageWithoutTheRoutine)
{
    const Bytes emptyDirectory { 'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0 };
    PLTIFFDecoder decoder;
    PLAnyBmp bmp;
    try {
        decoder.DecodeMemory(emptyDirectory.data(), static_cast<int>(emptyDirectory.size()), &bmp);
        ADD_FAILURE() << "decoded";
    } catch (const PLTextException& e) {
        EXPECT_EQ(e.GetCode(), PL_ERR_FORMAT_UNKNOWN);
        const std::string text = e.GetText();
        EXPECT_EQ(text.rfind("Decoder error: ", 0), 0u) << text;
        EXPECT_EQ(text.find("TIFFReadDirectory"), std::string::npos) << text;
        EXPECT_NE(text.find("directory"), std::string::npos) << text;
    }
}

} // namespace
