// The TIFF encoder against libtiff's own file reader and tiffinfo: every depth and compression reads
// back with the same samples, colour map, photometric and extra-sample tags.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <ostream>

#include <string>
#include <tiffio.h>

#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/codec/EncoderTestSupport.h"
#include "imaging/io/PLDataSink.h"
#include "imaging/tiff/PLTIFFDecoder.h"
#include "imaging/tiff/PLTIFFEncoder.h"

namespace {

using namespace encodertest;

// The samples of every row as the file stores them, through libtiff reading the file by name.
struct TiffRead {
    bool opened = false;
    uint16_t bits = 0, samples = 0, photometric = 0, compression = 0;
    uint16_t extraCount = 0, extraType = 0;
    std::vector<uint16_t> red, green, blue; // the colour map, when there is one
    Bytes rows;
};

TiffRead ReadTiff(const std::string& path)
{
    TiffRead r;
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif)
        return r;
    r.opened = true;
    TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &r.bits);
    TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &r.samples);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &r.photometric);
    TIFFGetField(tif, TIFFTAG_COMPRESSION, &r.compression);
    uint16_t* extra = nullptr;
    if (TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &r.extraCount, &extra) && r.extraCount > 0)
        r.extraType = extra[0];
    uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    if (TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue)) {
        const size_t n = size_t { 1 } << r.bits;
        r.red.assign(red, red + n);
        r.green.assign(green, green + n);
        r.blue.assign(blue, blue + n);
    }
    uint32_t height = 0;
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    Bytes line(static_cast<size_t>(TIFFScanlineSize(tif)));
    for (uint32_t y = 0; y < height; ++y) {
        if (TIFFReadScanline(tif, line.data(), y, 0) != 1)
            r.opened = false;
        r.rows.insert(r.rows.end(), line.begin(), line.end());
    }
    TIFFClose(tif);
    return r;
}

// The samples the file should hold: palette indexes or bits as the rows hold them, colours as red,
// green, blue (and alpha).
Bytes ExpectedSamples(const PLBmp& bmp)
{
    Bytes out;
    for (int y = 0; y < bmp.GetHeight(); ++y) {
        const uint8_t* row = bmp.GetRow(y);
        if (bmp.GetBitsPerPixel() <= 8) {
            out.insert(out.end(), row, row + PLBmp::UnpaddedRowBytes(bmp.GetWidth(), bmp.GetBitsPerPixel()));
            continue;
        }
        const int step = bmp.GetBitsPerPixel() / 8;
        for (int x = 0; x < bmp.GetWidth(); ++x) {
            out.insert(out.end(), { row[x * step + 2], row[x * step + 1], row[x * step] });
            if (bmp.HasAlpha())
                out.push_back(row[x * step + 3]);
        }
    }
    return out;
}

struct TiffCase {
    int bpp;
    bool alpha;
    uint16_t compression;
    uint16_t samples;
    uint16_t photometric;
};

void PrintTo(const TiffCase& c, std::ostream* os)
{
    *os << c.bpp << " bpp" << (c.alpha ? " with alpha" : "") << ", compression " << c.compression;
}

struct TiffEncoderDepths : ScratchFolder, testing::WithParamInterface<TiffCase> { };

TEST_P(TiffEncoderDepths, LibtiffReadsTheSameSamples)
{
    const TiffCase c = GetParam();
    const auto bmp = MakePicture(c.bpp, 13, 7, c.alpha);
    PLTIFFEncoder encoder;
    encoder.SetCompression(c.compression);
    const std::string path = Path("picture.tif");
    encoder.EncodeFile(path.c_str(), bmp.get());
    const TiffRead read = ReadTiff(path);
    ASSERT_TRUE(read.opened);
    EXPECT_EQ(read.bits, c.bpp == 1 ? 1 : 8);
    EXPECT_EQ(read.samples, c.samples);
    EXPECT_EQ(read.photometric, c.photometric);
    EXPECT_EQ(read.compression, c.compression);
    EXPECT_EQ(read.rows, ExpectedSamples(*bmp));
    EXPECT_EQ(read.extraCount, c.alpha ? 1 : 0);
    EXPECT_EQ(read.extraType, c.alpha ? EXTRASAMPLE_UNASSALPHA : 0);
    if (c.bpp == 8) {
        // 16-bit values as TIFF requires them: each 8-bit value times 257.
        ASSERT_EQ(read.red.size(), 256u);
        for (int i = 0; i < 256; ++i) {
            EXPECT_EQ(read.red[i], bmp->GetPalette()[i].GetR() * 257);
            EXPECT_EQ(read.green[i], bmp->GetPalette()[i].GetG() * 257);
            EXPECT_EQ(read.blue[i], bmp->GetPalette()[i].GetB() * 257);
        }
    }
    // tiffinfo, an independent reader, states the resolution, the tags and no error.
    const std::string info = RunText("tiffinfo '" + path + "'");
    EXPECT_NE(info.find("Resolution: 300, 150 pixels/inch"), std::string::npos) << info;
    EXPECT_EQ(info.find("Extra Samples: 1<unassoc-alpha>") != std::string::npos, c.alpha) << info;
}

INSTANTIATE_TEST_SUITE_P(Cases, TiffEncoderDepths,
    testing::Values(TiffCase { 1, false, PLTIFFEncoder::kPackBits, 1, PHOTOMETRIC_MINISBLACK },
        TiffCase { 8, false, PLTIFFEncoder::kPackBits, 1, PHOTOMETRIC_PALETTE },
        TiffCase { 24, false, PLTIFFEncoder::kPackBits, 3, PHOTOMETRIC_RGB },
        TiffCase { 32, false, PLTIFFEncoder::kPackBits, 3, PHOTOMETRIC_RGB },
        TiffCase { 32, true, PLTIFFEncoder::kPackBits, 4, PHOTOMETRIC_RGB },
        TiffCase { 32, true, COMPRESSION_NONE, 4, PHOTOMETRIC_RGB },
        TiffCase { 8, false, COMPRESSION_LZW, 1, PHOTOMETRIC_PALETTE },
        TiffCase { 24, false, COMPRESSION_ADOBE_DEFLATE, 3, PHOTOMETRIC_RGB }));

// A sink that can only append, as a sink that cannot go back would be: the encoder builds the file
// whole and hands it over at the end. A seekable one, when asked, logs where each write went.
class RecordingSink : public PLDataSink {
public:
    explicit RecordingSink(bool seekable)
        : m_bSeekable(seekable)
    {
        Open("Recording");
    }
    bool CanSeek() const override { return m_bSeekable; }
    Bytes bytes;
    int stores = 0;
    int movesBack = 0;

protected:
    void Store(const uint8_t* data, size_t n) override
    {
        const auto at = static_cast<size_t>(GetPosition());
        bytes.resize(std::max(bytes.size(), at + n));
        std::copy(data, data + n, bytes.begin() + static_cast<ptrdiff_t>(at));
        ++stores;
    }
    int64_t Capacity() const override { return INT64_MAX; }
    void MoveTo(int64_t position) override { movesBack += position < GetBytesWritten() ? 1 : 0; }

private:
    bool m_bSeekable;
};

// A file streamed into a sink as libtiff makes it, going back for the directory's offset, is byte
// for byte the file built whole in memory, also when the sink already holds bytes before it.
TEST_P(TiffEncoderDepths, StreamedIntoASinkTheFileIsTheOneBuiltWhole)
{
    const TiffCase c = GetParam();
    const auto bmp = MakePicture(c.bpp, 13, 7, c.alpha);
    PLTIFFEncoder encoder;
    encoder.SetCompression(c.compression);
    RecordingSink whole(false);
    encoder.EncodeToSink(bmp.get(), &whole);
    EXPECT_EQ(whole.stores, 1);
    RecordingSink streamed(true);
    streamed.WriteBytes(3, reinterpret_cast<const uint8_t*>("abc"));
    encoder.EncodeToSink(bmp.get(), &streamed);
    EXPECT_GT(streamed.stores, 3);
    EXPECT_GE(streamed.movesBack, 1); // libtiff goes back to fill in offsets
    ASSERT_GT(streamed.bytes.size(), 3u);
    EXPECT_EQ(Bytes(streamed.bytes.begin() + 3, streamed.bytes.end()), whole.bytes);
    EXPECT_EQ(EncodeToMemory(encoder, *bmp), whole.bytes);
}

// A bilevel picture whose entry 0 is white is min-is-white; ImageMagick shows the same colours.
using TiffEncoderFiles = ScratchFolder;

TEST_F(TiffEncoderFiles, BilevelWhiteFirstIsMinIsWhite)
{
    const auto bmp = MakePicture(1, 13, 7, false, PLPixel32(255, 255, 255), PLPixel32(0, 0, 0));
    PLTIFFEncoder encoder;
    const std::string path = Path("bilevel.tif");
    encoder.EncodeFile(path.c_str(), bmp.get());
    EXPECT_EQ(ReadTiff(path).photometric, PHOTOMETRIC_MINISWHITE);
    EXPECT_EQ(ImageMagickRgba(path), ExpectedRgba(*bmp));
}

// Byte-run compression makes a picture that does not repeat a little larger than its pixels (one
// byte in every 128 more): such a photograph still saves, and reads back whole.
TEST_F(TiffEncoderFiles, APictureThatCompressesToMoreThanItsPixelsStillSaves)
{
    PLAnyBmp bmp;
    bmp.Create(1500, 1500, 32, true, false);
    uint32_t state = 1;
    for (int y = 0; y < bmp.GetHeight(); ++y) {
        uint8_t* row = bmp.GetRow(y);
        for (int i = 0; i < bmp.GetWidth() * 4; ++i) {
            state = state * 1664525u + 1013904223u;
            row[i] = static_cast<uint8_t>(state >> 24);
        }
    }
    PLTIFFEncoder encoder;
    const std::string path = Path("noise.tif");
    ASSERT_NO_THROW(encoder.EncodeFile(path.c_str(), &bmp));
    EXPECT_GT(ReadFileBytes(path).size(), bmp.MemoryInUse());
    EXPECT_EQ(ReadTiff(path).rows, ExpectedSamples(bmp));
}

// A 4-colour palette picture as other programs see it: Pillow and libtiff's RGBA reader (tiff2rgba)
// take the colour map as 16-bit values, so a map of 8-bit values shows nearly black there.
TEST_F(TiffEncoderFiles, PaletteColoursReadTheSameInPillowAndTiff2rgba)
{
    PLAnyBmp bmp;
    bmp.Create(4, 2, 8, false, false);
    const PLPixel32 colours[]
        = { PLPixel32(200, 30, 60), PLPixel32(10, 250, 128), PLPixel32(255, 255, 0), PLPixel32(1, 2, 3) };
    for (int i = 0; i < 4; ++i)
        bmp.SetPaletteEntry(i, colours[i].GetR(), colours[i].GetG(), colours[i].GetB(), 255);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            bmp.GetRow(y)[x] = static_cast<uint8_t>((x + y) % 4);
    PLTIFFEncoder encoder;
    const std::string path = Path("four.tif");
    encoder.EncodeFile(path.c_str(), &bmp);

    const Bytes expected = ExpectedRgba(bmp);
    EXPECT_EQ(RunTool("/usr/bin/python3 -c 'import sys; from PIL import Image; "
                      "sys.stdout.buffer.write(Image.open(sys.argv[1]).convert(\"RGBA\").tobytes())' '"
                  + path + "'"),
        expected);
    const std::string rgba = Path("four-rgba.tif");
    ASSERT_EQ(std::system(("tiff2rgba -c none '" + path + "' '" + rgba + "' 2>/dev/null").c_str()), 0);
    const TiffRead read = ReadTiff(rgba);
    ASSERT_TRUE(read.opened);
    EXPECT_EQ(read.samples, 4);
    EXPECT_EQ(read.rows, expected);
    // The library's own decoder scales the map back to the 8-bit colours.
    PLAnyBmp back;
    PLTIFFDecoder().DecodeFile(path.c_str(), &back);
    EXPECT_EQ(ExpectedRgba(back), expected);
}

TEST(TiffEncoder, RefusesOtherDepthsAndUnknownCompressions)
{
    PLAnyBmp deep;
    deep.Create(5, 3, 16, false, false);
    PLTIFFEncoder encoder;
    EXPECT_EQ(ErrorCodeOf([&] { EncodeToMemory(encoder, deep); }), PL_ERR_FORMAT_NOT_SUPPORTED);
    encoder.SetCompression(12345);
    EXPECT_EQ(
        ErrorCodeOf([&] { EncodeToMemory(encoder, *MakePicture(24, 4, 4)); }), PL_ERR_FORMAT_NOT_SUPPORTED);
}

} // namespace
