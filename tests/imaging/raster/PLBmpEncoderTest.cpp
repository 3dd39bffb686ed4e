// The BMP encoder: headers and padding byte for byte, and every depth read back by ImageMagick.
#include <gtest/gtest.h>

#include <ostream>

#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/codec/EncoderTestSupport.h"
#include "imaging/raster/PLBmpEncoder.h"

namespace {

using namespace encodertest;

uint32_t Le32(const Bytes& b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

struct HeaderCase {
    int bpp;
    int width;
    int height;
    uint32_t fileSize;
    uint32_t dataOffset;
    uint32_t rowBytes; // padded
};

void PrintTo(const HeaderCase& c, std::ostream* os)
{
    *os << c.bpp << " bpp, " << c.width << " x " << c.height;
}

class BmpHeaders : public testing::TestWithParam<HeaderCase> { };

// The file and info headers, the palette size and the padded rows; padding bytes are zero.
TEST_P(BmpHeaders, SizesOffsetsAndZeroPadding)
{
    const HeaderCase c = GetParam();
    const auto bmp = MakePicture(c.bpp, c.width, c.height);
    PLBmpEncoder encoder;
    const Bytes file = EncodeToMemory(encoder, *bmp);
    ASSERT_EQ(file.size(), c.fileSize);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Le32(file, 2), c.fileSize);
    EXPECT_EQ(Le32(file, 10), c.dataOffset);
    EXPECT_EQ(Le32(file, 18), static_cast<uint32_t>(c.width));
    EXPECT_EQ(Le32(file, 22), static_cast<uint32_t>(c.height));
    EXPECT_EQ(file[28], c.bpp <= 8 ? c.bpp : 24);
    EXPECT_EQ(Le32(file, 38), 11811u); // 300 dpi: 300 x 39.37 + 0.5
    EXPECT_EQ(Le32(file, 42), 5906u); // 150 dpi
    const uint32_t used = static_cast<uint32_t>(PLBmp::UnpaddedRowBytes(c.width, c.bpp <= 8 ? c.bpp : 24));
    for (int y = 0; y < c.height; ++y)
        for (uint32_t i = used; i < c.rowBytes; ++i)
            EXPECT_EQ(file[c.dataOffset + y * c.rowBytes + i], 0) << "row " << y << " byte " << i;
}

INSTANTIATE_TEST_SUITE_P(Cases, BmpHeaders,
    testing::Values(HeaderCase { 32, 3, 2, 78, 54, 12 }, // 9 bytes of pixels and 3 of padding a row
        HeaderCase { 32, 4, 2, 78, 54, 12 }, // no padding
        HeaderCase { 24, 5, 3, 54 + 16 * 3, 54, 16 },
        HeaderCase { 1, 10, 2, 62 + 4 * 2, 62, 4 }, // 2 bytes of pixels, 2 entries
        HeaderCase { 8, 6, 2, 54 + 1024 + 8 * 2, 54 + 1024, 8 }));

struct BmpRoundTrip : ScratchFolder, testing::WithParamInterface<int> { };

// Written to a file and read back by ImageMagick: the same colours, every depth, odd sizes.
TEST_P(BmpRoundTrip, ImageMagickReadsTheSamePixels)
{
    const int bpp = GetParam();
    const auto bmp = MakePicture(bpp, 13, 7, false, PLPixel32(200, 30, 40), PLPixel32(10, 90, 250));
    PLBmpEncoder encoder;
    const std::string path = Path("picture.bmp");
    encoder.EncodeFile(path.c_str(), bmp.get());
    EXPECT_EQ(ImageMagickRgba(path), ExpectedRgba(*bmp));
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpRoundTrip, testing::Values(1, 8, 24, 32));

// A depth whose rows the encoder would misread is refused before anything is written.
TEST(BmpEncoder, RefusesOtherDepths)
{
    PLAnyBmp bmp;
    bmp.Create(5, 3, 16, false, false);
    PLBmpEncoder encoder;
    Bytes buffer(4096);
    PLMemSink sink;
    ASSERT_EQ(sink.OpenMemory(buffer.data(), 4096), 0);
    EXPECT_EQ(ErrorCodeOf([&] { encoder.EncodeToSink(&bmp, &sink); }), PL_ERR_FORMAT_NOT_SUPPORTED);
    EXPECT_EQ(sink.GetBytesWritten(), 0);
}

} // namespace
