// The BMP decoder against netpbm's bmptopnm on small files of every header version and depth,
// built here, and on hostile files that show each refused or mended case.
#include "imaging/raster/RasterFixtures.h"

#include "imaging/codec/DecoderTestSupport.h"
#include "imaging/codec/ExternalDecoder.h"

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/io/PLTextException.h"
#include "imaging/raster/PLBmpDecoder.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

using namespace rasterfixtures;

namespace {

struct BmpRecipe {
    int width = 7;
    int height = 3;
    int bits = 24;
    uint32_t compression = 0;
    uint32_t headerSize = 40;
    bool topDown = false;
    uint32_t colorsUsed = 0;
    int paletteEntries = -1; // -1: colorsUsed, or 2^bits when it is 0
    std::vector<uint32_t> masks; // written after a 40-byte header, inside a longer one
    int gap = 0; // bytes between the palette and the pixels
    int32_t dataOffsetOverride = -1;
    Bytes pixels; // stored pixel data; made from the pattern when empty
};

int ColoursOf(const BmpRecipe& r)
{
    if (r.paletteEntries >= 0)
        return r.paletteEntries;
    if (r.bits > 8)
        return 0;
    return r.colorsUsed ? static_cast<int>(r.colorsUsed) : 1 << r.bits;
}

// Index of pixel (x, y) counted from the top; runs of three equal indices give RLE something to do.
int IndexAt(int x, int y, int colours)
{
    return Pattern(x / 3, y, 0, colours);
}

Bytes StoredRows(const BmpRecipe& r)
{
    Bytes out;
    const int colours = std::min(ColoursOf(r), 1 << std::min(r.bits, 8));
    for (int i = 0; i < r.height; ++i) {
        const int y = r.topDown ? i : r.height - 1 - i;
        Bytes row;
        uint32_t acc = 0;
        int accBits = 0;
        for (int x = 0; x < r.width; ++x) {
            if (r.bits <= 8) {
                acc = acc << r.bits | static_cast<uint32_t>(IndexAt(x, y, colours));
                accBits += r.bits;
                if (accBits == 8) {
                    Put8(row, acc);
                    acc = 0;
                    accBits = 0;
                }
            } else if (r.bits == 16) {
                Put16LE(row, static_cast<unsigned>(Pattern(x, y, 0, 65536)));
            } else {
                for (int c = 0; c < r.bits / 8; ++c)
                    Put8(row, static_cast<unsigned>(Pattern(x, y, c, 256)));
            }
        }
        if (accBits > 0)
            Put8(row, acc << (8 - accBits));
        while (row.size() % 4)
            Put8(row, 0);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// Run-length rows: alternately a literal of up to six pixels and runs of equal pixels.
Bytes RleRows(const BmpRecipe& r)
{
    const bool rle4 = r.bits == 4;
    const int colours = std::min(ColoursOf(r), 1 << r.bits);
    Bytes out;
    for (int i = 0; i < r.height; ++i) {
        const int y = r.topDown ? i : r.height - 1 - i;
        std::vector<int> row;
        for (int x = 0; x < r.width; ++x)
            row.push_back(IndexAt(x, y, colours));
        size_t x = 0;
        bool literal = true;
        while (x < row.size()) {
            const size_t left = row.size() - x;
            if (literal && left >= 3) {
                const size_t n = std::min<size_t>(6, left);
                Put8(out, 0);
                Put8(out, static_cast<unsigned>(n));
                Bytes data;
                for (size_t k = 0; k < n; ++k) {
                    if (!rle4)
                        Put8(data, static_cast<unsigned>(row[x + k]));
                    else if (k % 2 == 0)
                        Put8(data, static_cast<unsigned>(row[x + k] << 4));
                    else
                        data.back() |= static_cast<uint8_t>(row[x + k]);
                }
                if (data.size() % 2)
                    Put8(data, 0);
                out.insert(out.end(), data.begin(), data.end());
                x += n;
            } else {
                size_t n = 1;
                while (x + n < row.size() && row[x + n] == row[x])
                    ++n;
                Put8(out, static_cast<unsigned>(n));
                Put8(out, static_cast<unsigned>(rle4 ? row[x] << 4 | row[x] : row[x]));
                x += n;
            }
            literal = !literal;
        }
        Put16LE(out, 0); // end of the row
    }
    Put8(out, 0);
    Put8(out, 1); // end of the bitmap
    return out;
}

Bytes MakeBmp(const BmpRecipe& r)
{
    Bytes info;
    Put32LE(info, r.headerSize);
    if (r.headerSize == 12) {
        Put16LE(info, static_cast<unsigned>(r.width));
        Put16LE(info, static_cast<unsigned>(r.height));
        Put16LE(info, 1);
        Put16LE(info, static_cast<unsigned>(r.bits));
    } else {
        Put32LE(info, static_cast<uint32_t>(r.width));
        Put32LE(info, static_cast<uint32_t>(r.topDown ? -r.height : r.height));
        Put16LE(info, 1);
        Put16LE(info, static_cast<unsigned>(r.bits));
        Put32LE(info, r.compression);
        Put32LE(info, 0);
        Put32LE(info, 2835);
        Put32LE(info, 2835);
        Put32LE(info, r.colorsUsed);
        Put32LE(info, 0);
        if (r.headerSize > 40) {
            for (size_t i = 0; i < 4; ++i)
                Put32LE(info, i < r.masks.size() ? r.masks[i] : 0);
            if (r.headerSize >= 108)
                PutText(info, "BGRs");
            info.resize(r.headerSize, 0);
        } else {
            for (uint32_t mask : r.masks)
                Put32LE(info, mask);
        }
    }
    Bytes palette;
    if (r.bits <= 8)
        for (int i = 0; i < ColoursOf(r); ++i) {
            for (int c = 0; c < 3; ++c)
                Put8(palette, static_cast<unsigned>(Pattern(i, c, c, 256)));
            if (r.headerSize != 12)
                Put8(palette, 0);
        }
    palette.resize(palette.size() + static_cast<size_t>(r.gap), 0xEE);
    const Bytes pixels = !r.pixels.empty()  ? r.pixels
        : r.compression != 0 && r.bits <= 8 ? RleRows(r)
                                            : StoredRows(r);
    const auto offset = static_cast<uint32_t>(14 + info.size() + palette.size());
    Bytes out;
    PutText(out, "BM");
    Put32LE(out, static_cast<uint32_t>(offset + pixels.size()));
    Put32LE(out, 0);
    Put32LE(out, r.dataOffsetOverride >= 0 ? static_cast<uint32_t>(r.dataOffsetOverride) : offset);
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), palette.begin(), palette.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// bmptopnm widens 5- and 6-bit channels by scaling (31 -> 255); the decoder shifts them left by
// three and keeps only the top five bits of a 6-bit green, so the expected value is the peer's
// channel brought back to its stored bits and shifted.
SampleMapping ShiftedBits(bool is565)
{
    return [is565](int sample, int maxValue, int channel) {
        if (is565 && channel == 1)
            return ((sample * 63 + maxValue / 2) / maxValue >> 1) << 3;
        return ((sample * 31 + maxValue / 2) / maxValue) << 3;
    };
}

// ImageMagick shifts 16-bit bit-field channels of fewer than 8 bits into the top bits; the decoder
// widens them (15 of 4 bits gives 255), so the expected value is the peer's shifted back and widened.
SampleMapping WidenedFromShifted(std::array<int, 3> bits)
{
    return [bits](int sample, int maxValue, int channel) {
        const int n = bits[static_cast<size_t>(channel)];
        const int max = (1 << n) - 1;
        const int stored = (sample * 255 / maxValue) >> (8 - n);
        return (stored * 255 + max / 2) / max;
    };
}

constexpr const char* kBmptopnm = "bmptopnm";
// bmptopnm reads a 40-byte header's bit fields as 5-5-5 whatever the masks say; ImageMagick
// honours them.
constexpr const char* kImageMagick = "convert-im6.q16 {} -depth 8 ppm:-";

struct BmpCase {
    const char* name;
    BmpRecipe recipe;
    SampleMapping expected = ScaledTo8Bits;
    const char* peer = kBmptopnm;
};

void PrintTo(const BmpCase& c, std::ostream* os)
{
    *os << c.name;
}

std::vector<BmpCase> ReferenceCases()
{
    std::vector<BmpCase> cases;
    const auto add = [&](const char* name, auto change, SampleMapping expected = ScaledTo8Bits,
                         const char* peer = kBmptopnm) {
        BmpRecipe r;
        change(r);
        cases.push_back({ name, r, expected, peer });
    };
    add("1bpp", [](BmpRecipe& r) { r.bits = 1, r.width = 13; });
    add("4bpp_odd_width", [](BmpRecipe& r) { r.bits = 4, r.width = 7; });
    add("8bpp", [](BmpRecipe& r) { r.bits = 8; });
    add("8bpp_16_colours", [](BmpRecipe& r) { r.bits = 8, r.colorsUsed = 16; });
    add("8bpp_os2", [](BmpRecipe& r) { r.bits = 8, r.headerSize = 12; });
    add("24bpp_os2", [](BmpRecipe& r) { r.headerSize = 12, r.width = 2; });
    add(
        "16bpp_555", [](BmpRecipe& r) { r.bits = 16; }, ShiftedBits(false));
    add(
        "16bpp_565_bitfields",
        [](BmpRecipe& r) {
            r.bits = 16, r.compression = 3, r.masks = { 0xF800, 0x07E0, 0x1F };
        },
        ShiftedBits(true), kImageMagick);
    add(
        "16bpp_565_v4_header",
        [](BmpRecipe& r) {
            r.bits = 16, r.compression = 3, r.headerSize = 108, r.masks = { 0xF800, 0x07E0, 0x1F };
        },
        ShiftedBits(true));
    add("24bpp", [](BmpRecipe& r) { r.width = 5; });
    add("24bpp_top_down", [](BmpRecipe& r) { r.topDown = true; });
    add("24bpp_v5_header", [](BmpRecipe& r) { r.headerSize = 124; });
    add("24bpp_gap_before_pixels", [](BmpRecipe& r) { r.gap = 10; });
    add("8bpp_gap_before_pixels", [](BmpRecipe& r) { r.bits = 8, r.gap = 6; });
    add("32bpp", [](BmpRecipe& r) { r.bits = 32; });
    add("32bpp_bitfields_v3", [](BmpRecipe& r) {
        r.bits = 32, r.compression = 3, r.masks = { 0xFF0000, 0xFF00, 0xFF };
    });
    add("rle8", [](BmpRecipe& r) { r.bits = 8, r.compression = 1, r.width = 17, r.height = 4; });
    add("rle4", [](BmpRecipe& r) { r.bits = 4, r.compression = 2, r.width = 17, r.height = 4; });
    // Bit fields of any layout: each channel widened to 8 bits (ImageMagick honours the masks).
    add(
        "32bpp_bitfields_high_masks",
        [](BmpRecipe& r) {
            r.bits = 32, r.compression = 3, r.masks = { 0xFF000000u, 0xFF0000, 0xFF00 };
        },
        ScaledTo8Bits, kImageMagick);
    add(
        "16bpp_444_bitfields",
        [](BmpRecipe& r) {
            r.bits = 16, r.compression = 3, r.masks = { 0x0F00, 0x00F0, 0x000F };
        },
        WidenedFromShifted({ 4, 4, 4 }), kImageMagick);
    add(
        "16bpp_231_bitfields",
        [](BmpRecipe& r) {
            r.bits = 16, r.compression = 3, r.masks = { 0x0030, 0x000E, 0x0001 };
        },
        WidenedFromShifted({ 2, 3, 1 }), kImageMagick);
    // Palettes shorter than the depth's count, the pixels right after them.
    add("4bpp_12_colours_used",
        [](BmpRecipe& r) { r.bits = 4, r.colorsUsed = 12, r.width = 8, r.height = 2; });
    add("1bpp_one_colour", [](BmpRecipe& r) { r.bits = 1, r.colorsUsed = 1, r.width = 13; });
    add(
        "8bpp_os2_100_colours", [](BmpRecipe& r) { r.bits = 8, r.headerSize = 12, r.paletteEntries = 100; },
        ScaledTo8Bits, kPillowPpm);
    add("rle4_12_colours_used",
        [](BmpRecipe& r) { r.bits = 4, r.compression = 2, r.colorsUsed = 12, r.width = 17, r.height = 4; });
    return cases;
}

class BmpReference : public testing::TestWithParam<BmpCase> { };

TEST_P(BmpReference, MatchesBmptopnm)
{
    const BmpCase& c = GetParam();
    const Bytes file = MakeBmp(c.recipe);
    PLBmpDecoder decoder;
    const Picture ours = DecodeOurs(decoder, file);
    const auto peer = ReferenceDecode(c.peer, file, "case.bmp");
    ASSERT_TRUE(peer) << c.peer << " could not read the file";
    std::string first;
    EXPECT_EQ(CountDifferences(ours, *peer, c.expected, first), 0) << first;
    EXPECT_EQ(ours.bpp, c.recipe.bits <= 8 ? 8 : 32);
}

INSTANTIATE_TEST_SUITE_P(Variants, BmpReference, testing::ValuesIn(ReferenceCases()),
    [](const testing::TestParamInfo<BmpCase>& info) { return std::string(info.param.name); });

// The colour of palette index i in the files made here.
std::vector<int> PaletteColour(int i)
{
    return { Pattern(i, 2, 2, 256), Pattern(i, 1, 1, 256), Pattern(i, 0, 0, 256) }; // stored blue first
}

// Pixel (x, y) of an indexed recipe, looked up in its palette.
void ExpectIndexedPixels(const Picture& pic, const BmpRecipe& r, int colours)
{
    ASSERT_EQ(pic.width, r.width);
    ASSERT_EQ(pic.height, r.height);
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            const std::vector<int> want = PaletteColour(IndexAt(x, y, colours));
            ASSERT_EQ(std::vector<int>(pic.At(x, y), pic.At(x, y) + 3), want) << x << ", " << y;
        }
}

TEST(BmpDecoder, BitmapArrayHeadersInFrontAreSkippedAndTheResolutionIsRead)
{
    BmpRecipe r;
    r.bits = 8;
    Bytes file;
    PutText(file, "BA");
    file.resize(14, 0);
    // The data offset counts from the start of the file, array header included.
    r.dataOffsetOverride = 14 + 14 + 40 + 4 * 256;
    const Bytes bmp = MakeBmp(r);
    file.insert(file.end(), bmp.begin(), bmp.end());
    PLBmpDecoder decoder;
    ExpectIndexedPixels(DecodeOurs(decoder, file), r, 256);
    EXPECT_EQ(decoder.GetResolution(), PLCoord(72, 72)); // 2835 pixels per metre
}

// The data offset of an OS/2 file may point back into the headers (the skip to the pixels would
// be negative): the pixels are then read right after the palette.
TEST(BmpDecoder, OffsetPointingIntoTheHeadersReadsThePixelsAfterThePalette)
{
    for (const uint32_t header : { 12u, 40u }) {
        BmpRecipe r;
        r.bits = 8;
        r.headerSize = header;
        r.dataOffsetOverride = 20;
        PLBmpDecoder decoder;
        ExpectIndexedPixels(DecodeOurs(decoder, MakeBmp(r)), r, 256);
    }
}

TEST(BmpDecoder, MoreThan256ColoursUsedKeepsTheFirst256AndHonoursTheDataOffset)
{
    BmpRecipe r;
    r.bits = 8;
    r.colorsUsed = 300;
    PLBmpDecoder decoder;
    ExpectIndexedPixels(DecodeOurs(decoder, MakeBmp(r)), r, 256);
}

// Below 8 bits a pixel the palette has an entry for every index whatever "colours used" says,
// as far as the data offset leaves room for it.
TEST(BmpDecoder, FourBitPalettesHoldSixteenEntriesWhateverColoursUsedSays)
{
    BmpRecipe r;
    r.bits = 4;
    r.width = 3;
    r.height = 1;
    r.colorsUsed = 2;
    r.paletteEntries = 16;
    r.pixels = { 0xF3, 0xA0, 0, 0 }; // indices 15, 3, 10
    PLBmpDecoder decoder;
    const Picture pic = DecodeOurs(decoder, MakeBmp(r));
    const int indices[] = { 15, 3, 10 };
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(std::vector<int>(pic.At(x, 0), pic.At(x, 0) + 3), PaletteColour(indices[x])) << x;
}

TEST(BmpDecoder, ThirtyTwoBitFilesWithoutAnyAlphaAreOpaque)
{
    BmpRecipe r;
    r.bits = 32;
    r.width = 2;
    r.height = 1;
    r.pixels = { 10, 20, 30, 0, 40, 50, 60, 0 };
    PLBmpDecoder decoder;
    Picture pic = DecodeOurs(decoder, MakeBmp(r));
    EXPECT_FALSE(pic.hasAlpha);
    EXPECT_EQ(std::vector<int>(pic.samples.begin(), pic.samples.end()),
        (std::vector<int> { 30, 20, 10, 255, 60, 50, 40, 255 }));

    r.pixels[7] = 128; // one pixel with alpha: the channel is the file's
    pic = DecodeOurs(decoder, MakeBmp(r));
    EXPECT_TRUE(pic.hasAlpha);
    EXPECT_EQ(pic.At(0, 0)[3], 0);
    EXPECT_EQ(pic.At(1, 0)[3], 128);
}

// Alpha of bit-field files comes from the alpha mask alone (headers of 56 bytes or more); a picture
// whose masked alpha is 0 throughout is opaque, as a plain 32-bit one is (Pillow makes it
// transparent). Pillow reads the 32-bit files the same; it refuses 16-bit masks other than 5-5-5 and
// 5-6-5, and widens 5-6-5 channels where the decoder shifts them.
TEST(BmpDecoder, BitFieldsGiveChannelsAndAlphaByTheirMasks)
{
    struct MaskCase {
        const char* name;
        uint32_t headerSize;
        int bits;
        std::vector<uint32_t> masks;
        Bytes pixel; // one stored row of one pixel
        std::vector<int> rgba;
        bool hasAlpha;
        bool pillowAgrees = true;
    };
    const MaskCase cases[] = {
        { "32-bit, colours in the high bytes", 40, 32, { 0xFF000000u, 0xFF0000, 0xFF00 },
            { 0, 0x33, 0x22, 0x11 }, { 17, 34, 51, 255 }, false },
        { "32-bit V5 without an alpha mask", 124, 32, { 0xFF0000, 0xFF00, 0xFF, 0 }, { 3, 2, 1, 0x40 },
            { 1, 2, 3, 255 }, false },
        { "32-bit V5 with an alpha mask", 124, 32, { 0xFF0000, 0xFF00, 0xFF, 0xFF000000u }, { 3, 2, 1, 0x80 },
            { 1, 2, 3, 128 }, true },
        { "32-bit V5 with an alpha mask of 0 throughout", 124, 32, { 0xFF0000, 0xFF00, 0xFF, 0xFF000000u },
            { 3, 2, 1, 0 }, { 1, 2, 3, 255 }, false, false },
        { "16-bit 4-4-4", 40, 16, { 0x0F00, 0x00F0, 0x000F }, { 0x80, 0x0F, 0, 0 }, { 255, 136, 0, 255 },
            false, false },
        { "16-bit 4-4-4-4", 124, 16, { 0x0F00, 0x00F0, 0x000F, 0xF000 }, { 0x80, 0x8F, 0, 0 },
            { 255, 136, 0, 136 }, true, false },
        { "16-bit 2-3-1", 40, 16, { 0x0030, 0x000E, 0x0001 }, { 0x2A, 0, 0, 0 }, { 170, 182, 0, 255 }, false,
            false },
        { "16-bit 5-6-5 keeps its shift", 40, 16, { 0xF800, 0x07E0, 0x001F }, { 0xFF, 0xFF, 0, 0 },
            { 248, 248, 248, 255 }, false, false },
    };
    for (const MaskCase& c : cases) {
        BmpRecipe r;
        r.width = 1;
        r.height = 1;
        r.bits = c.bits;
        r.compression = 3;
        r.headerSize = c.headerSize;
        r.masks = c.masks;
        r.pixels = c.pixel;
        const Bytes file = MakeBmp(r);
        PLBmpDecoder decoder;
        const Picture pic = DecodeOurs(decoder, file);
        EXPECT_EQ(std::vector<int>(pic.At(0, 0), pic.At(0, 0) + 4), c.rgba) << c.name;
        EXPECT_EQ(pic.hasAlpha, c.hasAlpha) << c.name;
        const std::string path = external::WriteTestFile("bmp-masks", "masks.bmp", file);
        const Bytes pillow = decodertest::PillowRgba(path);
        if (c.pillowAgrees) {
            EXPECT_EQ(std::vector<int>(pillow.begin(), pillow.end()), c.rgba) << c.name << " (Pillow)";
        }
    }
}

// Runs and literals longer than the row are cut at the row's end; nothing is written beyond it.
TEST(BmpDecoder, RunLengthRowsAreClippedToThePicture)
{
    for (const int bits : { 4, 8 }) {
        BmpRecipe r;
        r.bits = bits;
        r.compression = bits == 4 ? 2 : 1;
        r.width = 3;
        r.height = 2;
        r.pixels = { 255, 0x11, 0, 0, /* row 2 */ 0, 255 };
        r.pixels.resize(r.pixels.size() + (bits == 4 ? 128 : 256), 0x22);
        r.pixels.insert(r.pixels.end(), { 0, 0, 0, 1 });
        PLBmpDecoder decoder;
        const Picture pic = DecodeOurs(decoder, MakeBmp(r));
        const std::vector<int> two = PaletteColour(bits == 4 ? 2 : 0x22);
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(std::vector<int>(pic.At(x, 1), pic.At(x, 1) + 3), PaletteColour(bits == 4 ? 1 : 0x11));
            EXPECT_EQ(std::vector<int>(pic.At(x, 0), pic.At(x, 0) + 3), two);
        }
    }
}

struct BmpRefusal {
    const char* name;
    std::function<void(Bytes&)> spoil;
    int code;
};

TEST(BmpDecoder, HostileHeadersAreRefusedWithTheirCodes)
{
    BmpRecipe r;
    r.bits = 8;
    const Bytes good = MakeBmp(r);
    const auto at32 = [](Bytes& b, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    const std::vector<BmpRefusal> cases = {
        { "signature PT", [](Bytes& b) { b[0] = 'P', b[1] = 'T'; }, PL_ERR_WRONG_SIGNATURE },
        { "info header of 20 bytes", [&](Bytes& b) { at32(b, 14, 20); }, PL_ERR_FORMAT_UNKNOWN },
        { "height INT_MIN", [&](Bytes& b) { at32(b, 22, 0x80000000u); }, PL_ERR_FORMAT_UNKNOWN },
        { "width 0", [&](Bytes& b) { at32(b, 18, 0); }, PL_ERR_FORMAT_UNKNOWN },
        { "negative width", [&](Bytes& b) { at32(b, 18, 0xFFFFFFF0u); }, PL_ERR_FORMAT_UNKNOWN },
        { "3 bits per pixel", [](Bytes& b) { b[28] = 3; }, PL_ERR_FORMAT_UNKNOWN },
        { "24 bits with compression 4 (an embedded JPEG)", [&](Bytes& b) { b[28] = 24, at32(b, 30, 4); },
            PL_ERR_FORMAT_NOT_SUPPORTED },
        { "1 bit with compression 3 (OS/2 Huffman)", [&](Bytes& b) { b[28] = 1, at32(b, 30, 3); },
            PL_ERR_FORMAT_NOT_SUPPORTED },
        { "beyond the picture cap", [&](Bytes& b) { at32(b, 18, 40000), at32(b, 22, 40000); },
            PL_ERR_DIB_TOO_LARGE },
        { "colours used 2^32 - 1",
            [&](Bytes& b) {
                at32(b, 46, 0xFFFFFFFFu);
                b.resize(1100);
            },
            PL_ERR_END_OF_FILE },
        { "data offset beyond the file", [&](Bytes& b) { at32(b, 10, 0x7FFFFFFFu); }, PL_ERR_END_OF_FILE },
        { "pixels cut short", [](Bytes& b) { b.pop_back(); }, PL_ERR_END_OF_FILE },
        { "header cut short", [](Bytes& b) { b.resize(30); }, PL_ERR_END_OF_FILE },
        { "RLE8 delta escape",
            [&](Bytes& b) { at32(b, 30, 1), b.resize(14 + 40 + 1024), b.push_back(0), b.push_back(2); },
            PL_ERR_FORMAT_NOT_SUPPORTED },
    };
    for (const BmpRefusal& c : cases) {
        Bytes file = good;
        c.spoil(file);
        PLBmpDecoder decoder;
        EXPECT_EQ(DecodeError(decoder, file), c.code) << c.name;
    }
}

// Each layout that has a trace line writes it at level 2 as its pixels are decoded; 24 and 32 bits
// write none.
TEST(BmpDecoder, EachLayoutTracesItsDecodingLine)
{
    struct Case {
        int bits;
        uint32_t compression;
        std::string line;
    };
    const Case cases[] = {
        { 1, 0, "Decoding 1 bit per pixel bitmap.\n" },
        { 4, 0, "Decoding uncompressed 4 bit per pixel bitmap.\n" },
        { 8, 0, "Decoding uncompressed 8 bit per pixel bitmap.\n" },
        { 4, 2, "Decoding RLE4-compressed bitmap.\n" },
        { 8, 1, "Decoding RLE8-compressed bitmap.\n" },
        { 16, 0, "Decoding true-color bitmap.\n" },
        { 16, 3, "Decoding true-color bitmap.\n" },
        { 24, 0, "" },
        { 32, 0, "" },
    };
    const std::filesystem::path trace
        = std::filesystem::temp_directory_path() / ("bmp-trace-" + std::to_string(getpid()) + ".txt");
    for (const Case& c : cases) {
        BmpRecipe r;
        r.bits = c.bits;
        r.compression = c.compression;
        if (c.compression == 3)
            r.masks = { 0xF800, 0x07E0, 0x1F };
        PLPicDecoder::SetTraceConfig(2, trace.c_str());
        PLBmpDecoder decoder;
        DecodeOurs(decoder, MakeBmp(r));
        PLPicDecoder::SetTraceConfig(0, nullptr);
        std::ifstream in(trace);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // After the line that names the memory decoded.
        EXPECT_EQ(
            text.substr(text.find('\n') + 1), "Bitmap file signature found\nBitmap header is ok.\n" + c.line)
            << c.bits << " bits, compression " << c.compression;
    }
    std::filesystem::remove(trace);
}

// A picture cut short keeps zero-filled rows (opaque black at 32 bits) where the file ended.
TEST(BmpDecoder, TruncatedPixelsLeaveZeroFilledRows)
{
    BmpRecipe r;
    r.height = 4;
    Bytes file = MakeBmp(r);
    file.resize(file.size() - 3 * 24); // three of the four stored rows lack
    PLBmpDecoder decoder;
    PLAnyBmp bmp;
    EXPECT_THROW(decoder.DecodeMemory(file.data(), static_cast<int>(file.size()), &bmp), PLTextException);
    ASSERT_EQ(bmp.GetHeight(), 4);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < r.width; ++x)
            EXPECT_EQ(bmp.GetPixel32(x, y), PLPixel32(0, 0, 0, 255));
    EXPECT_EQ(bmp.GetPixel32(0, 3).GetB(), Pattern(0, 3, 0, 256));
}

} // namespace
