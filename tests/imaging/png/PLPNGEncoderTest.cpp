// The PNG encoder against libpng's own reader: every depth reads back with the same colours and
// alpha, palette pictures as palette PNGs of their own palette, pHYs from the resolution.
#include <gtest/gtest.h>

#include <ostream>

#include <png.h>

#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/codec/EncoderTestSupport.h"
#include "imaging/png/PLPNGEncoder.h"
#include "imaging/png/PngWriteCalls.h"

namespace {

using namespace encodertest;

struct PngRead {
    int colourType = -1;
    int bitDepth = 0;
    int paletteSize = 0;
    png_uint_32 xPhys = 0;
    png_uint_32 yPhys = 0;
    int physUnit = -1;
    Bytes rgba;
};

struct Reader {
    const Bytes* data;
    size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, size_t n)
{
    auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
    if (n > reader->data->size() - reader->at)
        png_error(png, "short");
    std::copy_n(reader->data->data() + reader->at, n, out);
    reader->at += n;
}

// libpng's reader: the header chunks, then the pixels expanded to red, green, blue, alpha.
PngRead ReadPng(const Bytes& file)
{
    PngRead result;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    Reader reader { &file, 0 };
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return PngRead {};
    }
    png_set_read_fn(png, &reader, ReadFromMemory);
    png_read_info(png, info);
    result.colourType = png_get_color_type(png, info);
    result.bitDepth = png_get_bit_depth(png, info);
    png_colorp palette = nullptr;
    if (png_get_PLTE(png, info, &palette, &result.paletteSize) == 0)
        result.paletteSize = 0;
    if (png_get_pHYs(png, info, &result.xPhys, &result.yPhys, &result.physUnit) == 0)
        result.physUnit = -1;
    png_set_expand(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    result.rgba.resize(size_t { width } * height * 4);
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = result.rgba.data() + size_t { y } * width * 4;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return result;
}

struct DepthCase {
    int bpp;
    bool alpha;
    int colourType;
    int bitDepth;
    int paletteSize;
};

void PrintTo(const DepthCase& c, std::ostream* os)
{
    *os << c.bpp << " bpp" << (c.alpha ? " with alpha" : "");
}

class PngEncoderDepths : public testing::TestWithParam<DepthCase> { };

// 1 bpp with a palette that is neither black nor white, 8 bpp with a colour palette, RGB, RGBA;
// odd sizes. The colours read back exactly.
TEST_P(PngEncoderDepths, LibpngReadsTheSamePixels)
{
    const DepthCase c = GetParam();
    const auto bmp = MakePicture(c.bpp, 13, 7, c.alpha, PLPixel32(200, 30, 40), PLPixel32(10, 90, 250));
    PLPNGEncoder encoder;
    encoder.SetCompressionLevel(6);
    const PngRead read = ReadPng(EncodeToMemory(encoder, *bmp));
    EXPECT_EQ(read.colourType, c.colourType);
    EXPECT_EQ(read.bitDepth, c.bitDepth);
    EXPECT_EQ(read.paletteSize, c.paletteSize);
    EXPECT_EQ(read.rgba, ExpectedRgba(*bmp));
    EXPECT_EQ(read.physUnit, PNG_RESOLUTION_METER);
    EXPECT_EQ(read.xPhys, 11811u); // 300 dpi x 39.37, truncated
    EXPECT_EQ(read.yPhys, 5905u);
}

INSTANTIATE_TEST_SUITE_P(Depths, PngEncoderDepths,
    testing::Values(DepthCase { 1, false, PNG_COLOR_TYPE_PALETTE, 1, 2 },
        DepthCase { 8, false, PNG_COLOR_TYPE_PALETTE, 8, 256 },
        DepthCase { 24, false, PNG_COLOR_TYPE_RGB, 8, 0 }, DepthCase { 32, false, PNG_COLOR_TYPE_RGB, 8, 0 },
        DepthCase { 32, true, PNG_COLOR_TYPE_RGB_ALPHA, 8, 0 }));

// Stored (the default level 0) and compressed files read back alike; no resolution gives pHYs 0, 0
// without a unit. ImageMagick reads the same pixels as libpng.
using PngEncoderFiles = ScratchFolder;

TEST_F(PngEncoderFiles, StoredFileWithoutResolution)
{
    auto bmp = MakePicture(32, 40, 30, true);
    bmp->SetResolution(PLCoord(0, 0));
    PLPNGEncoder encoder;
    const std::string path = Path("stored.png");
    encoder.EncodeFile(path.c_str(), bmp.get());
    const Bytes file = ReadFileBytes(path);
    EXPECT_GT(file.size(), size_t { 40 * 30 * 4 }); // not compressed
    const PngRead read = ReadPng(file);
    EXPECT_EQ(read.rgba, ExpectedRgba(*bmp));
    EXPECT_EQ(read.physUnit, PNG_RESOLUTION_UNKNOWN);
    EXPECT_EQ(read.xPhys, 0u);
    EXPECT_EQ(ImageMagickRgba(path), ExpectedRgba(*bmp));
}

TEST(PngEncoder, RefusesOtherDepths)
{
    PLAnyBmp bmp;
    bmp.Create(5, 3, 16, false, false);
    PLPNGEncoder encoder;
    EXPECT_EQ(ErrorCodeOf([&] { EncodeToMemory(encoder, bmp); }), PL_ERR_FORMAT_NOT_SUPPORTED);
}

// libpng refusing to create its structures (here: for a version it does not serve) is a failure
// with nothing written, not a success.
TEST(PngEncoder, RefusedStructuresWriteNothing)
{
    const auto bmp = MakePicture(24, 4, 4);
    Bytes buffer(4096);
    PLMemSink sink;
    ASSERT_EQ(sink.OpenMemory(buffer.data(), 4096), 0);
    PngImage image {};
    image.width = image.height = 4;
    image.bitDepth = 8;
    image.colourType = PNG_COLOR_TYPE_RGB;
    image.bytesPerPixel = 3;
    image.rows = bmp->GetLineArray();
    PngWriteState state {};
    state.sink = &sink;
    EXPECT_EQ(PngGuardedWrite(image, state, "1.2.5"), 2);
    EXPECT_EQ(sink.GetBytesWritten(), 0);
    EXPECT_EQ(PngGuardedWrite(image, state), 0);
    EXPECT_GT(sink.GetBytesWritten(), 0);
}

} // namespace
