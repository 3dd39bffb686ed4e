// The JPEG encoder against libjpeg's own decoder: every depth it takes reads back close to the
// picture at quality 95; density, quality and EXIF land in the file as set, read by libjpeg, by the
// library's EXIF reader and by exiftool.
#include <gtest/gtest.h>

#include <ostream>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <jpeglib.h>

#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/codec/EncoderTestSupport.h"
#include "imaging/exif/ExifBlockBuilder.h"
#include "imaging/exif/ExifData.h"
#include "imaging/jpeg/JpegFixtures.h"
#include "imaging/jpeg/PLJPEGDecoder.h"
#include "imaging/jpeg/PLJPEGEncoder.h"

namespace {

using encodertest::Bytes;
using encodertest::EncodeToMemory;
using encodertest::MakePicture;
using encodertest::MakeSmoothPicture;

// The largest and the mean absolute difference between the picture's colours and libjpeg's decode.
struct Difference {
    int largest = 0;
    double mean = 0;
};

Difference CompareWithLibjpeg(const PLBmp& bmp, const Bytes& jpeg)
{
    const jpegfixtures::ReferenceImage ref
        = jpegfixtures::ReferenceDecode(jpeg, jpegfixtures::Layout::Bgra, true);
    EXPECT_TRUE(ref.error.empty()) << ref.error;
    EXPECT_EQ(ref.width, bmp.GetWidth());
    EXPECT_EQ(ref.height, bmp.GetHeight());
    Difference d;
    if (ref.width != bmp.GetWidth() || ref.height != bmp.GetHeight())
        return Difference { 999, 999 };
    long total = 0;
    for (int y = 0; y < bmp.GetHeight(); ++y)
        for (int x = 0; x < bmp.GetWidth(); ++x) {
            const PLPixel32 p = bmp.GetPixel32(x, y);
            const uint8_t* q = ref.samples.data() + (static_cast<size_t>(y) * ref.width + x) * 4;
            for (const int diff : { p.GetB() - q[0], p.GetG() - q[1], p.GetR() - q[2] }) {
                d.largest = std::max(d.largest, std::abs(diff));
                total += std::abs(diff);
            }
        }
    d.mean = static_cast<double>(total) / (3.0 * bmp.GetWidth() * bmp.GetHeight());
    return d;
}

// A smooth picture at each depth the encoder takes: 32 and 24 bpp directly, 8 and 1 bpp through a
// 32-bpp copy (the rows are never read as longer than they are).
struct DepthCase {
    int bpp;
    int largest;
};

void PrintTo(const DepthCase& c, std::ostream* os)
{
    *os << c.bpp << " bpp";
}

class JpegEncoderDepths : public testing::TestWithParam<DepthCase> { };

TEST_P(JpegEncoderDepths, LibjpegDecodesClosePixelsAtQuality95)
{
    const DepthCase c = GetParam();
    const auto smooth = MakeSmoothPicture(61, 37);
    PLAnyBmp bmp;
    if (c.bpp == 32)
        bmp.CreateCopy(*smooth, 0);
    else if (c.bpp == 24)
        bmp.CreateCopy(*smooth, 24);
    else if (c.bpp == 8)
        bmp.CreateCopy(*smooth, 8);
    else
        bmp.CreateCopy(*MakePicture(c.bpp, 61, 37), 0);
    PLJPEGEncoder encoder;
    encoder.SetQuality(95);
    const Difference d = CompareWithLibjpeg(bmp, EncodeToMemory(encoder, bmp));
    EXPECT_LE(d.largest, c.largest);
    EXPECT_LE(d.mean, c.bpp <= 8 ? 12.0 : 1.5);
}

// The quantised and the bilevel pictures have sharp edges, which 4:2:0 coding smears.
INSTANTIATE_TEST_SUITE_P(Depths, JpegEncoderDepths,
    testing::Values(DepthCase { 32, 12 }, DepthCase { 24, 12 }, DepthCase { 8, 255 }, DepthCase { 1, 255 }));

TEST(JpegEncoder, RefusesADepthItCannotConvert)
{
    PLAnyBmp bmp;
    bmp.Create(8, 8, 16, false, false);
    PLJPEGEncoder encoder;
    EXPECT_EQ(ErrorCodeOf([&] { EncodeToMemory(encoder, bmp); }), PL_ERR_FORMAT_NOT_SUPPORTED);
}

// Reads the JFIF density and the quantisation table's first value with libjpeg.
struct Header {
    int unit = -1;
    int x = 0;
    int y = 0;
    int firstQuant = 0;
};

Header ReadHeader(const Bytes& jpeg)
{
    jpeg_decompress_struct info {};
    jpeg_error_mgr errors {};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    Header h { info.density_unit, info.X_density, info.Y_density,
        info.quant_tbl_ptrs[0] ? info.quant_tbl_ptrs[0]->quantval[0] : 0 };
    jpeg_destroy_decompress(&info);
    return h;
}

// The picture's resolution is written without a unit; an explicit density with dots per inch; no
// resolution leaves libjpeg's 1:1 aspect. Quality 0 keeps libjpeg's default (75) tables.
TEST(JpegEncoder, DensityAndQuality)
{
    auto bmp = MakeSmoothPicture(16, 16);
    PLJPEGEncoder encoder;
    bmp->SetResolution(PLCoord(240, 120));
    Header h = ReadHeader(EncodeToMemory(encoder, *bmp));
    EXPECT_EQ(h.unit, 0);
    EXPECT_EQ(h.x, 240);
    EXPECT_EQ(h.y, 120);
    EXPECT_EQ(h.firstQuant, 8); // libjpeg's quality 75 luminance table starts 16 * 50 / 100

    encoder.SetDensity(300, 300);
    encoder.SetQuality(100);
    h = ReadHeader(EncodeToMemory(encoder, *bmp));
    EXPECT_EQ(h.unit, 1);
    EXPECT_EQ(h.x, 300);
    EXPECT_EQ(h.y, 300);
    EXPECT_EQ(h.firstQuant, 1);

    PLJPEGEncoder plain;
    bmp->SetResolution(PLCoord(0, 0));
    h = ReadHeader(EncodeToMemory(plain, *bmp));
    EXPECT_EQ(h.unit, 0);
    EXPECT_EQ(h.x, 1);
    EXPECT_EQ(h.y, 1);
}

// Optimised Huffman coding makes a smaller file of the very same picture.
TEST(JpegEncoder, OptimisedCodingKeepsThePixels)
{
    const auto bmp = MakePicture(32, 64, 48);
    PLJPEGEncoder encoder;
    encoder.SetQuality(90);
    const Bytes plain = EncodeToMemory(encoder, *bmp);
    encoder.SetOptimizeCoding(true);
    const Bytes optimised = EncodeToMemory(encoder, *bmp);
    EXPECT_LT(optimised.size(), plain.size());
    EXPECT_EQ(jpegfixtures::ReferenceDecode(optimised, jpegfixtures::Layout::Bgra, true).samples,
        jpegfixtures::ReferenceDecode(plain, jpegfixtures::Layout::Bgra, true).samples);
}

ExifData MakeExif(size_t descriptionBytes)
{
    ExifBlockBuilder builder(ExifByteOrder::Intel);
    builder.Main()
        .Ascii(0x010F, "Wendmoor")
        .Ascii(0x010E, std::string(descriptionBytes, 'd'))
        .Short(0x0112, { 6 });
    builder.Exif().Rational(0x829A, 1, 250);
    const std::vector<uint8_t> block = builder.Build();
    ExifData exif;
    exif.ReadFromBlock(block.data(), block.size());
    return exif;
}

using JpegEncoderFiles = encodertest::ScratchFolder;

// EXIF written as APP1: the library's reader and exiftool agree on the orientation, the maker and
// the exposure. A block near the segment's limit fits too (the output grows as needed), and the
// block serves one encoding only.
TEST_F(JpegEncoderFiles, ExifReadBackByOurReaderAndExiftool)
{
    const auto bmp = MakeSmoothPicture(24, 16);
    PLJPEGEncoder encoder;
    const ExifData exif = MakeExif(60000);
    ASSERT_EQ(exif.GetTagValue("main.ori"), 6);
    encoder.SetExifData(&exif);
    const std::string path = Path("exif.jpg");
    encoder.EncodeFileW(std::wstring(path.begin(), path.end()).c_str(), bmp.get());

    PLJPEGDecoder decoder;
    PLAnyBmp decoded;
    decoder.OpenFile(path.c_str());
    ExifData read;
    decoder.GetExifData(read);
    decoder.Close();
    EXPECT_EQ(read.GetTagValue("main.ori"), 6);
    EXPECT_STREQ(read.GetTagText("main.make").c_str(), "Wendmoor");

    const std::string tool
        = encodertest::RunText("exiftool -n -s3 -Orientation -Make -ExposureTime '" + path + "'");
    EXPECT_EQ(tool, "6\nWendmoor\n0.004\n");

    const Bytes again = EncodeToMemory(encoder, *bmp);
    jpegfixtures::WriteFile(Path("again.jpg"), again);
    EXPECT_EQ(encodertest::RunText("exiftool -n -s3 -Orientation '" + Path("again.jpg") + "'"), "");
}

} // namespace
