// Colour quantization: the fixed table, box splitting, popularity, the mapping and dithering.
#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/filters/PLFilterQuantize.h"

#include <algorithm>
#include <set>
#include <vector>

namespace {

PLPixel32 Rgb(uint32_t hex, uint8_t alpha = 0)
{
    return PLPixel32(
        static_cast<uint8_t>(hex >> 16), static_cast<uint8_t>(hex >> 8), static_cast<uint8_t>(hex), alpha);
}

// A 32-bpp picture from a list of colours, laid out in rows of `width`.
void FromColours(PLBmp& bmp, const std::vector<PLPixel32>& colours, int width)
{
    const int height = static_cast<int>(colours.size()) / width;
    Fill32(bmp, width, height, [&](int x, int y) { return colours[static_cast<size_t>(y * width + x)]; });
}

void Quantize(PLBmp& src, unsigned paletteType, int ditherType, PLBmp& dst)
{
    dst.CreateFilteredCopy(src, PLFilterQuantize(paletteType, ditherType));
}

TEST(QuantizeFixedTable, EntriesAsListed)
{
    const PLPixel32* table = PLFilterQuantize::GetDefaultPalette();
    const std::pair<int, uint32_t> entries[] = {
        { 0, 0x000000 },
        { 1, 0x0000BF },
        { 7, 0xC0C0C0 },
        { 8, 0xC0DCC0 },
        { 9, 0xF0CAA6 },
        { 10, 0x000080 },
        { 15, 0x808000 },
        { 16, 0x005100 },
        { 45, 0x00FFFF },
        { 46, 0x510000 },
        { 62, 0x5185D9 },
        { 63, 0x518537 },
        { 64, 0x51B100 },
        { 81, 0x51FFFF },
        { 224, 0xFFFFD9 },
        { 225, 0xC4C4C4 },
        { 244, 0xFDFDFD },
        { 245, 0xCFCF9B },
        { 246, 0xF0FBFF },
        { 249, 0x0000FF },
        { 255, 0xFFFFFF },
    };
    for (const auto& [index, rgb] : entries)
        EXPECT_EQ(table[index], Rgb(rgb)) << "entry " << index;
}

TEST(QuantizeBoxSplit, OneColourAddsOneBoxToTheCorners)
{
    PLAnyBmp src;
    FromColours(src, std::vector<PLPixel32>(6, PLPixel32(100, 150, 200)), 3);
    PLAnyBmp dst;
    Quantize(src, PLDTHPAL_MEDIAN, PLDTH_NONE, dst);
    const PLPixel32* pal = dst.GetPalette();
    const uint32_t corners[8]
        = { 0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0xFFFFFF };
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(pal[i], Rgb(corners[i])) << i;
    // The cell (12, 18, 25) scaled from its centre: 24 * 255 / 62, 36 * 255 / 62, 50 * 255 / 62.
    EXPECT_EQ(pal[8], PLPixel32(98, 148, 205, 0));
    for (int i = 9; i < 256; ++i)
        ASSERT_EQ(pal[i], PLPixel32(0, 0, 0, 0)) << i;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(dst.GetRow(y)[x], 8);
    EXPECT_FALSE(dst.HasAlpha());
}

TEST(QuantizeBoxSplit, SplitsAtTheWeightedMeanOfTheWidestAxis)
{
    // Reds in cells 0 (three pixels), 10 and 20: the first cut at mean 6 isolates black, the second
    // separates 10 from 20.
    PLAnyBmp src;
    FromColours(src,
        { PLPixel32(0, 0, 0), PLPixel32(0, 0, 0), PLPixel32(0, 0, 0), PLPixel32(80, 0, 0),
            PLPixel32(160, 0, 0) },
        5);
    PLAnyBmp dst;
    Quantize(src, PLDTHPAL_MEDIAN, PLDTH_NONE, dst);
    const PLPixel32* pal = dst.GetPalette();
    EXPECT_EQ(pal[8], PLPixel32(0, 0, 0, 0));
    EXPECT_EQ(pal[9], PLPixel32(82, 0, 0, 0));
    EXPECT_EQ(pal[10], PLPixel32(164, 0, 0, 0));
    EXPECT_EQ(pal[11], PLPixel32(0, 0, 0, 0));
    const std::vector<uint8_t> indexes(dst.GetRow(0), dst.GetRow(0) + 5);
    EXPECT_EQ(indexes, (std::vector<uint8_t> { 0, 0, 0, 9, 10 }))
        << "black ties with entry 8; the lower wins";
}

TEST(QuantizeBoxSplit, AnExtentOfTwoDropsTheMiddleValue)
{
    PLAnyBmp src;
    FromColours(src,
        { PLPixel32(0, 0, 0), PLPixel32(0, 0, 0), PLPixel32(8, 0, 0), PLPixel32(16, 0, 0),
            PLPixel32(16, 0, 0) },
        5);
    PLAnyBmp dst;
    Quantize(src, PLDTHPAL_MEDIAN, PLDTH_NONE, dst);
    EXPECT_EQ(dst.GetPalette()[8], PLPixel32(16, 0, 0, 0)) << "the picked box keeps the upper value";
    EXPECT_EQ(dst.GetPalette()[9], PLPixel32(0, 0, 0, 0)) << "the new box the lower one";
    EXPECT_EQ(dst.GetPalette()[10], PLPixel32(0, 0, 0, 0));
}

TEST(QuantizeBoxSplit, PureWhiteMapsToTheWhiteCorner)
{
    PLAnyBmp src;
    FromColours(src, std::vector<PLPixel32>(4, PLPixel32(255, 255, 255)), 2);
    PLAnyBmp dst;
    Quantize(src, PLDTHPAL_MEDIAN, PLDTH_NONE, dst);
    EXPECT_EQ(dst.GetRow(1)[1], 7);
}

TEST(QuantizePopularity, MostFrequentCellsInFallingOrder)
{
    const PLPixel32 x(248, 0, 0), y(0, 8, 0), z(0, 16, 0), w(0, 0, 8);
    PLAnyBmp src;
    FromColours(src, { w, z, z, z, y, y, y, x, x, x, x, x }, 6);
    PLAnyBmp dst;
    Quantize(src, PLDTHPAL_POPULARITY, PLDTH_NONE, dst);
    const PLPixel32* pal = dst.GetPalette();
    EXPECT_EQ(pal[7], PLPixel32(255, 255, 255, 0));
    EXPECT_EQ(pal[8], PLPixel32(255, 0, 0, 0)) << "five pixels";
    EXPECT_EQ(pal[9], PLPixel32(0, 8, 0, 0)) << "three pixels, scanned before the other three";
    EXPECT_EQ(pal[10], PLPixel32(0, 16, 0, 0));
    EXPECT_EQ(pal[11], PLPixel32(0, 0, 8, 0));
    EXPECT_EQ(pal[12], PLPixel32(0, 0, 0, 0));
}

// Colours added to the filter count in its next application beside the source's pixels, and
// nothing of one application carries over to the next.
TEST(QuantizePopularity, AddedColoursCountInTheNextApplicationOnly)
{
    PLFilterQuantize filter(PLDTHPAL_POPULARITY, PLDTH_NONE);
    filter.AddColor(PLPixel32(0, 0, 200), 2);
    filter.AddColor(PLPixel32(0, 0, 200), 2); // the same 15-bit cell: 4 in all
    PLAnyBmp red, green, dst;
    FromColours(red, { PLPixel32(248, 0, 0), PLPixel32(248, 0, 0), PLPixel32(248, 0, 0) }, 3);
    FromColours(green, { PLPixel32(0, 248, 0), PLPixel32(0, 248, 0) }, 2);

    dst.CreateFilteredCopy(red, filter);
    EXPECT_EQ(dst.GetPalette()[8], PLPixel32(0, 0, 205, 0)) << "four added, cell 25 of 31";
    EXPECT_EQ(dst.GetPalette()[9], PLPixel32(255, 0, 0, 0)) << "three pixels";

    dst.CreateFilteredCopy(green, filter);
    EXPECT_EQ(dst.GetPalette()[8], PLPixel32(0, 255, 0, 0));
    EXPECT_EQ(dst.GetPalette()[9], PLPixel32(0, 0, 0, 0)) << "neither the added blue nor the red";
}

TEST(QuantizeMapping, ImageAlreadyInThePaletteMapsExactlyWithAndWithoutDithering)
{
    // The cube part of the fixed table: 209 colours in distinct 15-bit cells.
    const PLPixel32* table = PLFilterQuantize::GetDefaultPalette();
    std::vector<PLPixel32> colours;
    for (int i = 16; i <= 224; ++i)
        colours.push_back(PLPixel32(table[i].GetR(), table[i].GetG(), table[i].GetB(), 255));
    colours.push_back(colours.back()); // 210 = 14 x 15
    PLAnyBmp src;
    FromColours(src, colours, 14);
    for (const int dither : { PLDTH_NONE, PLDTH_FS }) {
        for (const unsigned type : { PLDTHPAL_DEFAULT, PLDTHPAL_USERDEFINED }) {
            PLAnyBmp dst;
            Quantize(src, type, dither, dst);
            for (size_t i = 0; i < colours.size(); ++i)
                ASSERT_EQ(dst.GetRow(static_cast<int>(i / 14))[i % 14], std::min<size_t>(16 + i, 224))
                    << "pixel " << i << ", dither " << dither << ", palette type " << type;
        }
    }
}

TEST(QuantizeMapping, UserPaletteIsUsed)
{
    std::vector<PLPixel32> user(256, PLPixel32(0, 0, 0, 0));
    user[77] = PLPixel32(10, 20, 30, 0);
    PLAnyBmp src;
    FromColours(src, { PLPixel32(12, 22, 28) }, 1);
    PLFilterQuantize quantize(PLDTHPAL_USERDEFINED, PLDTH_NONE);
    quantize.SetUserPalette(user.data());
    PLAnyBmp dst;
    dst.CreateFilteredCopy(src, quantize);
    EXPECT_EQ(dst.GetRow(0)[0], 77);
    EXPECT_EQ(dst.GetPalette()[77], user[77]);
}

// Flat grey through each dither mode, mapped to 256 greys (entry i = grey i).
class FlatGrey : public testing::Test {
protected:
    void Map(int dither, const std::vector<PLPixel32>& palette)
    {
        PLAnyBmp src;
        Fill32(src, 8, 8, [](int, int) { return PLPixel32(128, 128, 128); });
        PLFilterQuantize quantize(PLDTHPAL_USERDEFINED, dither);
        quantize.SetUserPalette(palette.data());
        dst.CreateFilteredCopy(src, quantize);
    }
    PLAnyBmp dst;
    static std::vector<PLPixel32> Greys()
    {
        std::vector<PLPixel32> greys;
        for (int i = 0; i < 256; ++i)
            greys.emplace_back(static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i), 0);
        return greys;
    }
};

TEST_F(FlatGrey, NoDitherIsFlat)
{
    Map(PLDTH_NONE, Greys());
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(dst.GetRow(y)[x], 128);
}

TEST_F(FlatGrey, OrderedDitherRepeatsAFourByFourPattern)
{
    Map(PLDTH_ORDERED, Greys());
    // Row 0 runs through the matrix column 0 from the row's end: offsets +16, -8, +10, -14 from the
    // left, each the first value of its 15-bit cell.
    const std::vector<uint8_t> row0(dst.GetRow(0), dst.GetRow(0) + 8);
    EXPECT_EQ(row0, (std::vector<uint8_t> { 144, 120, 138, 114, 144, 120, 138, 114 }));
    std::set<int> values;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const int v = dst.GetRow(y)[x];
            values.insert(v);
            EXPECT_GE(v, 128 - 14);
            EXPECT_LE(v, 128 + 16);
            EXPECT_EQ(v, dst.GetRow(y % 4)[x % 4]) << x << "," << y;
        }
    EXPECT_GT(values.size(), 3u);
}

TEST_F(FlatGrey, FloydSteinbergSpreadsTheErrorBetweenBlackAndWhite)
{
    std::vector<PLPixel32> blackWhite(256, PLPixel32(0, 0, 0, 0));
    blackWhite[1] = PLPixel32(255, 255, 255, 0);
    Map(PLDTH_FS, blackWhite);
    int white = 0;
    for (int y = 0; y < 8; ++y) {
        int whiteInRow = 0;
        for (int x = 0; x < 8; ++x)
            whiteInRow += dst.GetRow(y)[x] == 1;
        EXPECT_GE(whiteInRow, 3) << "row " << y;
        EXPECT_LE(whiteInRow, 5) << "row " << y;
        white += whiteInRow;
    }
    EXPECT_NEAR(white, 32, 2) << "half of 128 / 255 of the pixels are white";
}

// Error diffusion over a whole-picture error table, rows alternating direction, errors that fall
// outside the picture dropped. With black and white only, the 15-bit cells cannot change a choice
// (cell 15 ends at 127, cell 16 starts at 128), so the indices must match exactly.
std::vector<uint8_t> SerpentineReference(const std::vector<int>& grey, int width, int height)
{
    std::vector<double> error(grey.size(), 0.0);
    std::vector<uint8_t> out(grey.size());
    const auto spread = [&](int x, int y, double amount) {
        if (x >= 0 && x < width && y < height)
            error[static_cast<size_t>(y * width + x)] += amount;
    };
    for (int y = 0; y < height; ++y) {
        const int dir = y % 2 == 0 ? 1 : -1;
        for (int step = 0; step < width; ++step) {
            const int x = dir > 0 ? step : width - 1 - step;
            const auto at = static_cast<size_t>(y * width + x);
            const double value = std::clamp(grey[at] + error[at], 0.0, 255.0);
            out[at] = static_cast<int>(value) >= 128 ? 1 : 0;
            const double e = (value - (out[at] ? 255.0 : 0.0)) / 16.0;
            spread(x + dir, y, 7 * e);
            spread(x - dir, y + 1, 3 * e);
            spread(x, y + 1, 5 * e);
            spread(x + dir, y + 1, e);
        }
    }
    return out;
}

TEST(QuantizeMapping, FloydSteinbergMatchesASerpentineReference)
{
    const int width = 13, height = 7;
    std::vector<int> grey;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            grey.push_back((x * 19 + y * 41 + (x * y) % 7 * 11) % 256);
    std::vector<PLPixel32> colours;
    for (const int v : grey)
        colours.emplace_back(static_cast<uint8_t>(v), static_cast<uint8_t>(v), static_cast<uint8_t>(v), 255);
    PLAnyBmp src;
    FromColours(src, colours, width);
    std::vector<PLPixel32> blackWhite(256, PLPixel32(0, 0, 0, 0));
    blackWhite[1] = PLPixel32(255, 255, 255, 0);
    PLFilterQuantize quantize(PLDTHPAL_USERDEFINED, PLDTH_FS);
    quantize.SetUserPalette(blackWhite.data());
    PLAnyBmp dst;
    dst.CreateFilteredCopy(src, quantize);
    const std::vector<uint8_t> expected = SerpentineReference(grey, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(dst.GetRow(y)[x], expected[static_cast<size_t>(y * width + x)]) << x << "," << y;
}

TEST(QuantizeCache, IsClearedAtEachApplication)
{
    const PLPixel32 a(100, 150, 200), b(200, 20, 20);
    PLAnyBmp first, second;
    FromColours(first, { a, a }, 2);
    FromColours(second, { a, b, b, b }, 4);
    PLFilterQuantize quantize(PLDTHPAL_MEDIAN, PLDTH_NONE);
    PLAnyBmp out;
    out.CreateFilteredCopy(first, quantize);
    EXPECT_EQ(out.GetRow(0)[0], 8);
    out.CreateFilteredCopy(second, quantize);
    // In the second palette the box of b comes first; a moved to entry 9.
    EXPECT_EQ(out.GetPalette()[9], PLPixel32(98, 148, 205, 0));
    EXPECT_EQ(out.GetRow(0)[0], 9);
    PLAnyBmp fresh;
    Quantize(second, PLDTHPAL_MEDIAN, PLDTH_NONE, fresh);
    EXPECT_TRUE(out == fresh) << "as a fresh filter maps it";
}

TEST(QuantizeSource, MustHave32BitsAndIsLeftAlone)
{
    PLAnyBmp rgb, dst;
    rgb.Create(2, 2, 24, false, false);
    dst.Create(3, 3, 32, false, false);
    EXPECT_EQ(
        ErrorCodeOf([&] { dst.CreateFilteredCopy(rgb, PLFilterQuantize(PLDTHPAL_DEFAULT, PLDTH_NONE)); }),
        PL_ERR_FORMAT_NOT_SUPPORTED);
    EXPECT_EQ(dst.GetSize(), PLCoord(3, 3));
    EXPECT_EQ(dst.GetBitsPerPixel(), 32);
}

TEST(QuantizeSource, UserTypeWithoutPaletteUsesTheFixedTable)
{
    PLAnyBmp src;
    FromColours(src, { PLPixel32(0, 0, 0), PLPixel32(0x51, 0x85, 0x37) }, 2);
    PLAnyBmp dst;
    Quantize(src, PLDTHPAL_USERDEFINED, PLDTH_NONE, dst);
    EXPECT_EQ(dst.GetRow(0)[0], 0);
    EXPECT_EQ(dst.GetRow(0)[1], 63);
    EXPECT_EQ(dst.GetPalette()[250], Rgb(0x00FF00));

    // Setting no palette forgets an earlier one instead of reading through a null pointer.
    std::vector<PLPixel32> black(256, PLPixel32(0, 0, 0, 0));
    PLFilterQuantize quantize(PLDTHPAL_USERDEFINED, PLDTH_NONE);
    quantize.SetUserPalette(black.data());
    quantize.SetUserPalette(nullptr);
    dst.CreateFilteredCopy(src, quantize);
    EXPECT_EQ(dst.GetRow(0)[1], 63);
}

} // namespace
