// The TGA decoder against netpbm's tgatoppm (ImageMagick for the alpha channel) on
// small files of every image type and depth, built here, and on hostile files.
#include "imaging/raster/RasterFixtures.h"

#include "imaging/io/PLTextException.h"
#include "imaging/raster/PLTGADecoder.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace rasterfixtures;

namespace {

struct TgaRecipe {
    int type = 2;
    int depth = 24;
    int width = 9;
    int height = 3;
    int mapStart = 0;
    int mapLength = 0; // a colour map is written when it is not 0
    int mapEntry = 24;
    int descriptor = 0;
    int idLength = 0;
};

// Value bytes (little-endian) of the colour at x, y for a depth; runs of two equal pixels.
Bytes ColourBytes(int x, int y, int depth)
{
    Bytes out;
    const int v = Pattern(x / 2, y, 0, 1 << 16);
    switch (depth) {
    case 8:
        Put8(out, static_cast<unsigned>(v & 0xFF));
        break;
    case 15:
        Put16LE(out, static_cast<unsigned>(v & 0x7FFF));
        break;
    case 16:
        Put16LE(out, static_cast<unsigned>(v));
        break;
    default:
        for (int c = 0; c < depth / 8; ++c)
            Put8(out, static_cast<unsigned>(Pattern(x / 2, y, c, 256)));
    }
    return out;
}

Bytes PixelBytes(const TgaRecipe& r, int x, int y)
{
    if ((r.type & 7) != 1)
        return ColourBytes(x, y, r.depth);
    Bytes out;
    const unsigned index = static_cast<unsigned>(r.mapStart + Pattern(x / 2, y, 0, r.mapLength));
    if (r.depth == 8)
        Put8(out, index);
    else
        Put16LE(out, index);
    return out;
}

Bytes MakeTga(const TgaRecipe& r)
{
    Bytes out;
    Put8(out, static_cast<unsigned>(r.idLength));
    Put8(out, r.mapLength ? 1 : 0);
    Put8(out, static_cast<unsigned>(r.type));
    Put16LE(out, static_cast<unsigned>(r.mapStart));
    Put16LE(out, static_cast<unsigned>(r.mapLength));
    Put8(out, r.mapLength ? static_cast<unsigned>(r.mapEntry) : 0);
    Put16LE(out, 0);
    Put16LE(out, 0);
    Put16LE(out, static_cast<unsigned>(r.width));
    Put16LE(out, static_cast<unsigned>(r.height));
    Put8(out, static_cast<unsigned>(r.depth));
    Put8(out, static_cast<unsigned>(r.descriptor));
    for (int i = 0; i < r.idLength; ++i)
        Put8(out, 'i');
    for (int i = 0; i < r.mapLength; ++i) {
        const Bytes entry = ColourBytes(2 * i, 7, r.mapEntry);
        out.insert(out.end(), entry.begin(), entry.end());
    }
    const bool topFirst = (r.descriptor & 0x20) != 0;
    const bool rightFirst = (r.descriptor & 0x10) != 0;
    for (int i = 0; i < r.height; ++i) {
        const int y = topFirst ? i : r.height - 1 - i;
        // The pixels of the row in stored order.
        const auto at = [&](int k) { return PixelBytes(r, rightFirst ? r.width - 1 - k : k, y); };
        if (r.type < 9) {
            for (int k = 0; k < r.width; ++k) {
                const Bytes p = at(k);
                out.insert(out.end(), p.begin(), p.end());
            }
            continue;
        }
        // Packets within the row: runs of equal pixels, the others raw.
        int k = 0;
        while (k < r.width) {
            int n = 1;
            while (k + n < r.width && n < 128 && at(k + n) == at(k))
                ++n;
            Put8(out, n > 1 ? static_cast<unsigned>(127 + n) : 0);
            const Bytes p = at(k);
            out.insert(out.end(), p.begin(), p.end());
            k += n;
        }
    }
    return out;
}

// tgatoppm scales 5-bit channels to 8 bits; the decoder shifts them left by three.
int ShiftedFiveBits(int sample, int maxValue, int)
{
    return ((sample * 31 + maxValue / 2) / maxValue) << 3;
}

constexpr const char* kTgatoppm = "tgatoppm";
// tgatoppm and ImageMagick 6 ignore the right-to-left origin; Pillow honours it.
constexpr const char* kPillow = kPillowPpm;

struct TgaCase {
    const char* name;
    TgaRecipe recipe;
    SampleMapping expected = ScaledTo8Bits;
    const char* peer = kTgatoppm;
};

void PrintTo(const TgaCase& c, std::ostream* os)
{
    *os << c.name;
}

std::vector<TgaCase> ReferenceCases()
{
    std::vector<TgaCase> cases;
    const auto add = [&](const char* name, auto change, SampleMapping expected = ScaledTo8Bits,
                         const char* peer = kTgatoppm) {
        TgaRecipe r;
        change(r);
        cases.push_back({ name, r, expected, peer });
    };
    add("mapped_8_map24", [](TgaRecipe& r) { r.type = 1, r.depth = 8, r.mapLength = 40; });
    add("mapped_8_map32_from_10",
        [](TgaRecipe& r) { r.type = 1, r.depth = 8, r.mapStart = 10, r.mapLength = 30, r.mapEntry = 32; });
    add(
        "mapped_8_map16", [](TgaRecipe& r) { r.type = 1, r.depth = 8, r.mapLength = 20, r.mapEntry = 16; },
        ShiftedFiveBits);
    add(
        "mapped_8_map15", [](TgaRecipe& r) { r.type = 1, r.depth = 8, r.mapLength = 20, r.mapEntry = 15; },
        ShiftedFiveBits);
    add(
        "mapped_16_bit_indices", [](TgaRecipe& r) { r.type = 1, r.depth = 16, r.mapLength = 300; },
        ScaledTo8Bits);
    add("true_24", [](TgaRecipe&) {});
    add("true_24_top_first_with_id", [](TgaRecipe& r) { r.descriptor = 0x20, r.idLength = 5; });
    add(
        "true_24_right_to_left", [](TgaRecipe& r) { r.descriptor = 0x10; }, ScaledTo8Bits, kPillow);
    add(
        "rle_mapped_8_top_right",
        [](TgaRecipe& r) { r.type = 9, r.depth = 8, r.mapLength = 40, r.width = 17, r.descriptor = 0x30; },
        ScaledTo8Bits, kPillow);
    add("true_32", [](TgaRecipe& r) { r.depth = 32, r.descriptor = 8; });
    add(
        "true_16", [](TgaRecipe& r) { r.depth = 16; }, ShiftedFiveBits);
    add(
        "true_15", [](TgaRecipe& r) { r.depth = 15; }, ShiftedFiveBits);
    add("grey_8", [](TgaRecipe& r) { r.type = 3, r.depth = 8; });
    add("rle_mapped_8", [](TgaRecipe& r) { r.type = 9, r.depth = 8, r.mapLength = 40, r.width = 17; });
    add("rle_true_24", [](TgaRecipe& r) { r.type = 10, r.width = 17; });
    add("rle_true_32_top_first", [](TgaRecipe& r) { r.type = 10, r.depth = 32, r.descriptor = 0x28; });
    add(
        "rle_true_16", [](TgaRecipe& r) { r.type = 10, r.depth = 16; }, ShiftedFiveBits);
    add("rle_grey_8", [](TgaRecipe& r) { r.type = 11, r.depth = 8, r.width = 17; });
    return cases;
}

class TgaReference : public testing::TestWithParam<TgaCase> { };

TEST_P(TgaReference, MatchesThePeer)
{
    const TgaCase& c = GetParam();
    const Bytes file = MakeTga(c.recipe);
    PLTGADecoder decoder;
    const Picture ours = DecodeOurs(decoder, file);
    const auto peer = ReferenceDecode(c.peer, file, "case.tga");
    ASSERT_TRUE(peer) << c.peer << " could not read the file";
    std::string first;
    EXPECT_EQ(CountDifferences(ours, *peer, c.expected, first), 0) << first;
    const bool indexed = (c.recipe.type & 7) == 3 || ((c.recipe.type & 7) == 1 && c.recipe.depth == 8);
    EXPECT_EQ(ours.bpp, indexed ? 8 : 32);
    EXPECT_EQ(ours.isGreyscale, (c.recipe.type & 7) == 3);
}

INSTANTIATE_TEST_SUITE_P(Variants, TgaReference, testing::ValuesIn(ReferenceCases()),
    [](const testing::TestParamInfo<TgaCase>& info) { return std::string(info.param.name); });

// The top bit of a 16-bit pixel is its alpha when the descriptor gives the picture an alpha bit
// (as ImageMagick reads it); without one the pixels are opaque and the picture has no alpha.
TEST(TgaDecoder, SixteenBitAlphaIsTheTopBitWhenTheDescriptorHasAnAlphaBit)
{
    TgaRecipe r;
    r.depth = 16;
    r.width = 3;
    r.height = 1;
    Bytes file = MakeTga(r);
    const Bytes pixels
        = { 0x1F, 0x80, 0x1F, 0x00, 0xE0, 0x83 }; // blue with alpha, blue, red+green with alpha
    std::copy(pixels.begin(), pixels.end(), file.end() - 6);
    PLTGADecoder decoder;
    Picture pic = DecodeOurs(decoder, file);
    EXPECT_FALSE(pic.hasAlpha);
    EXPECT_EQ(pic.At(1, 0)[3], 255);

    file[17] = 1; // one alpha bit
    pic = DecodeOurs(decoder, file);
    EXPECT_TRUE(pic.hasAlpha);
    const auto peer = ReferenceDecode("convert-im6.q16 {} -depth 8 pam:-", file, "alpha.tga");
    ASSERT_TRUE(peer);
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(pic.At(x, 0)[3], peer->At(x, 0)[3]) << x;
    EXPECT_EQ(std::vector<int>(pic.At(0, 0), pic.At(0, 0) + 4), (std::vector<int> { 0, 0, 248, 255 }));
    EXPECT_EQ(std::vector<int>(pic.At(1, 0), pic.At(1, 0) + 4), (std::vector<int> { 0, 0, 248, 0 }));
    EXPECT_EQ(std::vector<int>(pic.At(2, 0), pic.At(2, 0) + 4), (std::vector<int> { 0, 248, 0, 255 }));
}

// Packets may cross a row's end: the surplus pixels begin the next row, as Pillow and tgatoppm
// read them. A 2 x 2 grey picture stored from the bottom: a raw packet of three pixels, then one of
// one, then the version-2 footer.
TEST(TgaDecoder, PacketsCarryIntoTheNextRow)
{
    TgaRecipe r;
    r.type = 11;
    r.depth = 8;
    r.width = 2;
    r.height = 2;
    Bytes file = MakeTga(r);
    file.resize(18);
    const Bytes packets = { 0x02, 10, 20, 30, /* */ 0x00, 40 };
    file.insert(file.end(), packets.begin(), packets.end());
    for (int i = 0; i < 8; ++i)
        Put8(file, 0); // no extension area, no developer directory
    PutText(file, "TRUEVISION-XFILE.");
    Put8(file, 0);
    PLTGADecoder decoder;
    const Picture pic = DecodeOurs(decoder, file);
    const std::vector<int> expected = { 30, 40, 10, 20 }; // top row first
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(pic.At(i % 2, i / 2)[0], expected[static_cast<size_t>(i)]) << i;
    for (const char* peer : { kPillow, kTgatoppm }) {
        const auto picture = ReferenceDecode(peer, file, "carried.tga");
        ASSERT_TRUE(picture) << peer;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(
                picture->At(i % 2, i / 2)[0] * 255 / picture->maxValue, expected[static_cast<size_t>(i)])
                << i << " " << peer;
    }

    // A run of four across both rows of a picture stored from the top fills it; the packet after
    // it is not needed.
    r.type = 10;
    r.depth = 24;
    r.descriptor = 0x20;
    file = MakeTga(r);
    file.resize(18);
    file.insert(file.end(), { 0x83, 0, 0, 255, /* */ 0x81, 255, 0, 0 });
    const Picture run = DecodeOurs(decoder, file);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::vector<int>(run.At(i % 2, i / 2), run.At(i % 2, i / 2) + 3),
            (std::vector<int> { 255, 0, 0 }))
            << i;
}

TEST(TgaDecoder, HostileHeadersAreRefusedWithTheirCodes)
{
    struct Refusal {
        const char* name;
        std::function<void(TgaRecipe&)> change;
        int code;
    };
    const std::vector<Refusal> cases = {
        { "image type 5", [](TgaRecipe& r) { r.type = 5; }, PL_ERR_FORMAT_UNKNOWN },
        { "true colour of 7 bits", [](TgaRecipe& r) { r.depth = 7; }, PL_ERR_FORMAT_UNKNOWN },
        { "true colour of 8 bits", [](TgaRecipe& r) { r.depth = 8; }, PL_ERR_FORMAT_UNKNOWN },
        { "mapped of 24 bits", [](TgaRecipe& r) { r.type = 1, r.mapLength = 4; }, PL_ERR_FORMAT_UNKNOWN },
        { "grey of 16 bits", [](TgaRecipe& r) { r.type = 3, r.depth = 16; }, PL_ERR_FORMAT_UNKNOWN },
        { "map entries of 8 bits",
            [](TgaRecipe& r) { r.type = 1, r.depth = 8, r.mapLength = 4, r.mapEntry = 8; },
            PL_ERR_FORMAT_UNKNOWN },
        { "map entries of 20 bits", [](TgaRecipe& r) { r.mapLength = 4, r.mapEntry = 20; },
            PL_ERR_FORMAT_UNKNOWN },
        { "width 0", [](TgaRecipe& r) { r.width = 0; }, PL_ERR_FORMAT_UNKNOWN },
        { "beyond the picture cap", [](TgaRecipe& r) { r.width = 60000, r.height = 2; },
            PL_ERR_DIB_TOO_LARGE },
    };
    for (const Refusal& c : cases) {
        TgaRecipe r;
        r.width = 2;
        r.height = 2;
        c.change(r);
        Bytes file = MakeTga(r);
        file.resize(std::min<size_t>(file.size(), 4096));
        PLTGADecoder decoder;
        EXPECT_EQ(DecodeError(decoder, file), c.code) << c.name;
    }
    // Cut short in the ID field, the colour map, raw pixels and a run-length packet.
    for (const auto& [recipe, cut] : std::vector<std::pair<TgaRecipe, size_t>> {
             { TgaRecipe { .idLength = 9 }, 20 },
             { TgaRecipe { .type = 1, .depth = 16, .mapLength = 300 }, 400 },
             { TgaRecipe {}, 1 },
             { TgaRecipe { .type = 10 }, 1 },
         }) {
        Bytes file = MakeTga(recipe);
        file.resize(cut > 18 ? cut : file.size() - cut);
        PLTGADecoder decoder;
        EXPECT_EQ(DecodeError(decoder, file), PL_ERR_END_OF_FILE);
    }
}

} // namespace
