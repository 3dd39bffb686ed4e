// The GIF decoder against ImageMagick and Pillow on files that giflib writes at test time: palettes
// of several sizes, global and local colour maps, transparency, interlace, several frames (the first
// is taken). Then images placed on a larger screen, and damaged files that must end at once.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include <gif_lib.h>

#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/codec/DecoderTestSupport.h"
#include "imaging/gif/PLGIFDecoder.h"

namespace {

using namespace decodertest;
using encodertest::ScratchFolder;
using encodertest::WriteFileBytes;

struct GifRecipe {
    const char* name;
    int colourBits = 8; // the colour map has 2^colourBits entries
    bool localMap = false; // the image's own map, and no screen map
    int transparent = -1;
    bool interlaced = false;
    int frames = 1;
    int width = 37;
    int height = 21;
};

int Index(const GifRecipe& s, int x, int y, int frame)
{
    return (x * 7 + y * 13 + (x * y) % 3 + frame * 5) % (1 << s.colourBits);
}

ColorMapObject* MakeMap(int bits, int shift)
{
    std::vector<GifColorType> colours(size_t { 1 } << bits);
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = { static_cast<GifByteType>(i * 37 + shift), static_cast<GifByteType>(255 - i * 3),
            static_cast<GifByteType>(i * 11 + 5) };
    return GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
}

int Append(GifFileType* gif, const GifByteType* data, int n)
{
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + n);
    return n;
}

// The file's bytes, written by giflib. A graphic control extension of controlBytes bytes comes
// before each image (4 is the proper length); the first image sits at (left, top) on a screen of
// screenWidth x screenHeight (0: the image's size).
Bytes WriteGif(const GifRecipe& s, int left = 0, int top = 0, int screenWidth = 0, int screenHeight = 0,
    int controlBytes = 4)
{
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, Append, &error);
    EGifSetGifVersion(gif, true);
    ColorMapObject* screenMap = !s.localMap ? MakeMap(s.colourBits, 0) : nullptr;
    EGifPutScreenDesc(gif, screenWidth ? screenWidth : s.width, screenHeight ? screenHeight : s.height,
        s.colourBits, 3, screenMap);
    for (int frame = 0; frame < s.frames; ++frame) {
        if (s.transparent >= 0 || controlBytes != 4) {
            const GifByteType control[] = { static_cast<GifByteType>(s.transparent >= 0 ? 1 : 0), 0, 0,
                static_cast<GifByteType>(std::max(0, s.transparent)) };
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, controlBytes, control);
        }
        ColorMapObject* localMap = s.localMap ? MakeMap(s.colourBits, 9) : nullptr;
        EGifPutImageDesc(
            gif, frame == 0 ? left : 0, frame == 0 ? top : 0, s.width, s.height, s.interlaced, localMap);
        std::vector<GifPixelType> line(static_cast<size_t>(s.width));
        // giflib writes interlaced images in the order of their passes.
        std::vector<int> order;
        if (s.interlaced) {
            for (const auto& [start, step] : { std::pair { 0, 8 }, { 4, 8 }, { 2, 4 }, { 1, 2 } })
                for (int y = start; y < s.height; y += step)
                    order.push_back(y);
        } else {
            for (int y = 0; y < s.height; ++y)
                order.push_back(y);
        }
        for (const int y : order) {
            for (int x = 0; x < s.width; ++x)
                line[static_cast<size_t>(x)] = static_cast<GifPixelType>(Index(s, x, y, frame));
            EGifPutLine(gif, line.data(), s.width);
        }
        GifFreeMapObject(localMap);
    }
    GifFreeMapObject(screenMap);
    EGifCloseFile(gif, &error);
    return out;
}

std::unique_ptr<PLAnyBmp> DecodeBytes(const Bytes& file)
{
    PLGIFDecoder decoder;
    auto bmp = std::make_unique<PLAnyBmp>();
    decoder.DecodeMemory(file.data(), static_cast<int>(file.size()), bmp.get());
    return bmp;
}

int RefusalOf(const Bytes& file)
{
    return ErrorCodeOf([&] { DecodeBytes(file); });
}

struct GifDecoderReferences : ScratchFolder, testing::WithParamInterface<GifRecipe> { };

void PrintTo(const GifRecipe& recipe, std::ostream* os)
{
    *os << recipe.name;
}

TEST_P(GifDecoderReferences, SamePixelsAsIndependentDecoders)
{
    const GifRecipe& s = GetParam();
    const std::string path = Path("picture.gif");
    WriteFileBytes(path, WriteGif(s));
    PLGIFDecoder decoder;
    const auto bmp = DecodeFile(decoder, path);
    ASSERT_EQ(bmp->GetWidth(), s.width);
    ASSERT_EQ(bmp->GetBitsPerPixel(), 8);
    EXPECT_EQ(bmp->HasAlpha(), s.transparent >= 0);
    EXPECT_EQ(decoder.HasAlpha(), s.transparent >= 0);
    const Bytes ours = encodertest::ExpectedRgba(*bmp);
    EXPECT_EQ(MaxDifference(ours, ImageMagickRgba(path), Compare::Visible), 0) << "ImageMagick";
    EXPECT_EQ(MaxDifference(ours, PillowRgba(path), Compare::Visible), 0) << "Pillow";
}

INSTANTIATE_TEST_SUITE_P(Cases, GifDecoderReferences,
    testing::Values(GifRecipe { "two_colours", 1 }, GifRecipe { "sixteen_colours", 4 },
        GifRecipe { "palette256" }, GifRecipe { "local_map", 8, true },
        GifRecipe { "transparent_index_5", 4, false, 5 }, GifRecipe { "interlaced", 8, false, -1, true },
        GifRecipe { "interlaced_odd_height", 8, false, -1, true, 1, 9, 3 },
        GifRecipe { "three_frames", 8, false, 2, false, 3 }));

// An image smaller than the screen lands at its place; the rest is the background index (3).
TEST(GifDecoder, ImagePlacedOnTheScreen)
{
    const GifRecipe s { "placed", 4, false, -1, false, 1, 5, 4 };
    const auto bmp = DecodeBytes(WriteGif(s, 3, 2, 10, 8));
    ASSERT_EQ(bmp->GetSize(), PLCoord(10, 8));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 3 && x < 8 && y >= 2 && y < 6;
            ASSERT_EQ(bmp->GetRow(y)[x], inside ? Index(s, x - 3, y - 2, 0) : 3) << x << "," << y;
        }
}

// A GIF written byte by byte: a screen of sw x sh with a two-entry colour map (black, white) and one
// image of iw x ih at (0, 0) whose code stream gives a single pixel of index 1.
Bytes HandMadeGif(int sw, int sh, int iw, int ih)
{
    const auto lo = [](int v) { return static_cast<uint8_t>(v & 0xFF); };
    const auto hi = [](int v) { return static_cast<uint8_t>(v >> 8); };
    return Bytes { 'G', 'I', 'F', '8', '9', 'a', lo(sw), hi(sw), lo(sh), hi(sh), 0x80, 0, 0, 0, 0, 0, 255,
        255, 255, 0x2C, 0, 0, 0, 0, lo(iw), hi(iw), lo(ih), hi(ih), 0,
        // LZW with 2-bit codes: clear (4), index 1, end (5) in 3-bit codes.
        2, 2, 0x4C, 0x01, 0, ';' };
}

// A logical screen or an image without pixels is a damaged file: it is refused as one, and never
// handed on as an empty bitmap. The single pixel shows that the hand-made bytes are sound.
TEST(GifDecoder, EmptyScreensAndImagesAreRefused)
{
    const struct {
        const char* name;
        int sw, sh, iw, ih;
    } empty[] = {
        { "empty screen", 0, 0, 0, 0 },
        { "screen of no columns", 0, 1, 0, 1 },
        { "screen of no rows", 1, 0, 1, 0 },
        { "empty image", 2, 2, 0, 0 },
        { "image of no columns", 2, 2, 0, 2 },
        { "image of no rows", 2, 2, 2, 0 },
    };
    for (const auto& c : empty)
        EXPECT_EQ(RefusalOf(HandMadeGif(c.sw, c.sh, c.iw, c.ih)), PL_ERR_FORMAT_UNKNOWN) << c.name;

    const auto bmp = DecodeBytes(HandMadeGif(1, 1, 1, 1));
    ASSERT_EQ(bmp->GetSize(), PLCoord(1, 1));
    EXPECT_EQ(bmp->GetRow(0)[0], 1);
    EXPECT_EQ(bmp->GetPalette()[1], PLPixel32(255, 255, 255, 255));
}

// A whole file whose LZW minimum code size is 11 (clear, index 1 and end as 12-bit codes), which
// ImageMagick and Pillow read and giflib refuses: a damaged or unsupported file (code 2), not the
// end of the data. Only a cut of it is the end of the data.
using GifDecoderFiles = ScratchFolder;

TEST_F(GifDecoderFiles, CodeSizeElevenIsRefusedAsUnsupported)
{
    Bytes file = HandMadeGif(1, 1, 1, 1);
    const Bytes codes = { 11, 5, 0x00, 0x18, 0x00, 0x01, 0x08, 0, ';' };
    file.resize(file.size() - 6);
    file.insert(file.end(), codes.begin(), codes.end());
    const std::string path = Path("eleven.gif");
    WriteFileBytes(path, file);
    const Bytes white = { 255, 255, 255, 255 };
    EXPECT_EQ(PillowRgba(path), white);
    EXPECT_EQ(ImageMagickRgba(path), white);
    EXPECT_EQ(RefusalOf(file), PL_ERR_FORMAT_UNKNOWN);
    EXPECT_EQ(RefusalOf(Bytes(file.begin(), file.end() - 9)), PL_ERR_END_OF_FILE);
}

// Damaged files end at once with the library's codes: every cut of a file (giflib reports the end
// of the data, which stops the decoder), a short graphic control extension, an image beyond the
// screen, no colour map at all, a file with no image and a screen beyond the picture cap.
TEST(GifDecoder, DamagedFilesAreRefused)
{
    const Bytes file = WriteGif({ "whole", 4, false, 2, true });
    ASSERT_EQ(RefusalOf(file), -1);
    for (size_t length = 0; length + 1 < file.size(); ++length) {
        const int code = RefusalOf(Bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(length)));
        // The last bytes are the trailer, which the decoder does not need after the first image.
        if (length + 2 < file.size()) {
            ASSERT_NE(code, -1) << "cut at " << length;
        }
        ASSERT_TRUE(code == -1 || code == PL_ERR_END_OF_FILE || code == PL_ERR_WRONG_SIGNATURE) << length;
    }
    EXPECT_EQ(RefusalOf(WriteGif({ "short_control", 4, false, 2 }, 0, 0, 0, 0, 3)), PL_ERR_FORMAT_UNKNOWN);
    EXPECT_EQ(
        RefusalOf(WriteGif({ "beyond", 4, false, -1, false, 1, 5, 4 }, 6, 0, 10, 8)), PL_ERR_FORMAT_UNKNOWN);
    EXPECT_EQ(
        RefusalOf(WriteGif({ "beyond", 4, false, -1, false, 1, 5, 4 }, 0, 5, 10, 8)), PL_ERR_FORMAT_UNKNOWN);
    // giflib will not write a file without a colour map: a 2 x 2 screen and image without one.
    EXPECT_EQ(RefusalOf(Bytes { 'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0, 0, 0, 0x2C, 0, 0, 0, 0, 2, 0, 2,
                  0, 0, 2, 0, ';' }),
        PL_ERR_FORMAT_UNKNOWN);
    EXPECT_EQ(
        RefusalOf(Bytes { 'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0, 0, 0, ';' }), PL_ERR_FORMAT_UNKNOWN);
    // A screen beyond the picture cap (40000 x 10) is refused before anything is allocated.
    EXPECT_EQ(RefusalOf(Bytes { 'G', 'I', 'F', '8', '9', 'a', 0x40, 0x9C, 10, 0, 0, 0, 0, ';' }),
        PL_ERR_DIB_TOO_LARGE);
    EXPECT_EQ(
        RefusalOf(Bytes { 'P', 'N', 'G', '8', '9', 'a', 2, 0, 2, 0, 0, 0, 0, ';' }), PL_ERR_WRONG_SIGNATURE);
}

} // namespace
