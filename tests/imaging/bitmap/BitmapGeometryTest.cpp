// Row geometry, creation limits and the DIB block of the two bitmap classes.
#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/bitmap/PLWinBmp.h"

#include <cstring>
#include <ostream>
#include <vector>

namespace {

struct RowCase {
    int width;
    int bpp;
    int anyBytes; // unpadded
    int winBytes; // padded to 4
};

void PrintTo(const RowCase& c, std::ostream* os)
{
    *os << c.width << " pixels at " << c.bpp << " bpp";
}

class RowGeometry : public testing::TestWithParam<RowCase> { };

TEST_P(RowGeometry, RowsArePaddedOnlyInTheDibAndRowZeroIsTheTop)
{
    const RowCase c = GetParam();
    PLAnyBmp any;
    PLWinBmp win;
    any.Create(c.width, 3, c.bpp, false, false);
    win.Create(c.width, 3, c.bpp, false, false);
    EXPECT_EQ(any.BytesPerRow(), c.anyBytes);
    EXPECT_EQ(win.BytesPerRow(), c.winBytes);
    EXPECT_EQ(PLWinBmp::RowBytesFor(c.width, c.bpp), c.winBytes);

    // PLAnyBmp: top row first, rows back to back.
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(any.GetRow(y), any.GetPixels() + y * c.anyBytes);
    // PLWinBmp: bottom row first in the block, so row 0 is the last stored row.
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(win.GetRow(y), win.GetBits() + (2 - y) * c.winBytes);
    const int table = c.bpp <= 8 ? 4 << c.bpp : 0;
    EXPECT_EQ(win.GetBits(), reinterpret_cast<const uint8_t*>(win.GetBitmapInfo()) + 40 + table);
    EXPECT_EQ(win.GetDibSize(), static_cast<size_t>(40 + table + 3 * c.winBytes));
    EXPECT_EQ(PLWinBmp::DibBytesFor(c.width, 3, c.bpp), 40 + table + 3 * c.winBytes);
}

INSTANTIATE_TEST_SUITE_P(Depths, RowGeometry,
    testing::Values(RowCase { 9, 1, 2, 4 }, RowCase { 8, 1, 1, 4 }, RowCase { 33, 1, 5, 8 },
        RowCase { 5, 8, 5, 8 }, RowCase { 3, 24, 9, 12 }, RowCase { 1, 32, 4, 4 }, RowCase { 3, 4, 2, 4 }));

TEST(BitmapHeader, NewWinBmpIsA16By16GreyBlock)
{
    PLWinBmp bmp;
    EXPECT_EQ(bmp.GetSize(), PLCoord(16, 16));
    EXPECT_EQ(bmp.GetBitsPerPixel(), 8);
    EXPECT_EQ(bmp.GetDibSize(), 40u + 1024u + 256u);
    const PLBitmapInfoHeader* h = bmp.GetBitmapInfo();
    EXPECT_EQ(h->biSize, 40u);
    EXPECT_EQ(h->biWidth, 16);
    EXPECT_EQ(h->biHeight, 16);
    EXPECT_EQ(h->biPlanes, 1);
    EXPECT_EQ(h->biBitCount, 8);
    EXPECT_EQ(h->biCompression, 0u);
    EXPECT_EQ(bmp.GetPalette()[200], PLPixel32(200, 200, 200, 255));
    EXPECT_EQ(bmp.MemoryInUse(), static_cast<int64_t>(40 + 1024 + 256 + sizeof(PLWinBmp)));
}

TEST(BitmapCreate, NinePixelOneBitRowKeepsItsLastPixel)
{
    // Two rows of 9 pixels; only the last pixel of each row is black (bit set).
    const uint8_t bits[] = { 0x00, 0x80, 0x00, 0x80 };
    PLAnyBmp any;
    PLWinBmp win;
    for (PLBmp* bmp : { static_cast<PLBmp*>(&any), static_cast<PLBmp*>(&win) }) {
        bmp->Create(9, 2, 1, false, false, bits, 2);
        for (int y = 0; y < 2; ++y) {
            EXPECT_EQ(bmp->GetRow(y)[1] & 0x80, 0x80) << "row " << y;
            EXPECT_EQ(
                bmp->GetPixel32(8, y), PLPixel32(255, 255, 255, 255)); // index 1: white in the grey palette
            EXPECT_EQ(bmp->GetPixel32(7, y), PLPixel32(0, 0, 0, 255));
        }
    }
}

TEST(BitmapCreate, StrideSkipsSourcePadding)
{
    const uint8_t bits[] = { 1, 2, 3, 99, 4, 5, 6, 99 };
    PLAnyBmp bmp;
    bmp.Create(3, 2, 8, false, false, bits, 4);
    EXPECT_EQ(std::vector<uint8_t>(bmp.GetRow(1), bmp.GetRow(1) + 3), (std::vector<uint8_t> { 4, 5, 6 }));
}

TEST(BitmapCreate, FromItsOwnPixels)
{
    // Re-created from its own rows (a PLWinBmp's run bottom-up, hence the negative stride).
    PLAnyBmp any;
    PLWinBmp win;
    for (PLBmp* bmp : { static_cast<PLBmp*>(&any), static_cast<PLBmp*>(&win) }) {
        bmp->Create(3, 2, 8, false, false);
        bmp->GetRow(0)[2] = 5;
        bmp->GetRow(1)[0] = 6;
        const int stride = static_cast<int>(bmp->GetRow(1) - bmp->GetRow(0));
        bmp->Create(3, 2, 8, false, false, bmp->GetRow(0), stride);
        EXPECT_EQ(bmp->GetRow(0)[2], 5);
        EXPECT_EQ(bmp->GetRow(1)[0], 6);
    }
}

TEST(BitmapCreate, NewPicturesAreZeroWithOpaqueAlpha)
{
    PLWinBmp win;
    win.Create(3, 2, 32, false, false);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(win.GetRow32(y)[x], PLPixel32(0, 0, 0, 255));
    win.Create(5, 2, 24, false, false);
    const uint8_t* bits = win.GetBits();
    EXPECT_TRUE(std::all_of(bits, bits + 2 * win.BytesPerRow(), [](uint8_t b) { return b == 0; }));
}

struct SizeCase {
    int width;
    int height;
    int code;
};

void PrintTo(const SizeCase& c, std::ostream* os)
{
    *os << c.width << " x " << c.height;
}

class OversizedPicture : public testing::TestWithParam<SizeCase> { };

TEST_P(OversizedPicture, IsRefusedAndTheOldPictureKept)
{
    const SizeCase c = GetParam();
    for (int bpp : { 1, 8, 32 }) {
        PLAnyBmp any;
        PLWinBmp win;
        for (PLBmp* bmp : { static_cast<PLBmp*>(&any), static_cast<PLBmp*>(&win) }) {
            bmp->Create(2, 2, 8, false, false);
            bmp->GetRow(1)[1] = 77;
            EXPECT_EQ(ErrorCodeOf([&] { bmp->Create(c.width, c.height, bpp, false, false); }), c.code);
            EXPECT_EQ(bmp->GetSize(), PLCoord(2, 2));
            EXPECT_EQ(bmp->GetRow(1)[1], 77);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Limits, OversizedPicture,
    testing::Values(SizeCase { 32769, 1, PL_ERR_DIB_TOO_LARGE }, SizeCase { 1, 32769, PL_ERR_DIB_TOO_LARGE },
        SizeCase { 32768, 8193, PL_ERR_DIB_TOO_LARGE }, // 2^28 + 32768 pixels
        SizeCase { 0x7FFFFFFF, 0x7FFFFFFF, PL_ERR_DIB_TOO_LARGE }, SizeCase { -1, 4, PL_ERR_NO_MEMORY },
        SizeCase { 4, -5, PL_ERR_NO_MEMORY }));

TEST(BitmapCreate, ZeroSizedPicturesAreAllowed)
{
    PLWinBmp bmp;
    bmp.Create(0, 5, 24, false, false);
    EXPECT_EQ(bmp.GetSize(), PLCoord(0, 5));
    bmp.Create(7, 0, 1, false, false);
    EXPECT_EQ(bmp.GetSize(), PLCoord(7, 0));
}

TEST(BitmapCreate, UnknownDepthIsRefused)
{
    PLAnyBmp bmp;
    EXPECT_EQ(ErrorCodeOf([&] { bmp.Create(2, 2, 7, false, false); }), PL_ERR_FORMAT_NOT_SUPPORTED);
    EXPECT_EQ(bmp.GetBitsPerPixel(), 8);
}

// A DIB block: header, colour table of `entries`, then rows.
std::vector<uint8_t> MakeDib(int width, int height, int bpp, uint32_t clrUsed, int entries, size_t rowsBytes,
    uint32_t compression = 0, uint32_t headerSize = 40)
{
    PLBitmapInfoHeader h;
    h.biSize = headerSize;
    h.biWidth = width;
    h.biHeight = height;
    h.biBitCount = static_cast<uint16_t>(bpp);
    h.biCompression = compression;
    h.biClrUsed = clrUsed;
    std::vector<uint8_t> block(40 + 4 * static_cast<size_t>(entries) + rowsBytes);
    std::memcpy(block.data(), &h, sizeof h);
    return block;
}

int CreateFromBlock(PLWinBmp& bmp, const std::vector<uint8_t>& block)
{
    return ErrorCodeOf(
        [&] { bmp.CreateFromDIB(reinterpret_cast<const PLBitmapInfoHeader*>(block.data()), block.size()); });
}

TEST(BitmapFromDib, ReadsAShortColourTableAndBottomUpRows)
{
    // 3 x 2 at 8 bpp with a two-entry table: rows padded to 4 bytes, bottom row first.
    auto block = MakeDib(3, 2, 8, 2, 2, 8);
    const uint8_t table[8] = { 10, 20, 30, 0, 40, 50, 60, 0 };
    std::memcpy(block.data() + 40, table, 8);
    const uint8_t rows[8] = { 1, 0, 1, 0, /* top: */ 0, 1, 0, 0 };
    std::memcpy(block.data() + 48, rows, 8);
    PLWinBmp bmp;
    ASSERT_EQ(CreateFromBlock(bmp, block), -1);
    EXPECT_EQ(bmp.GetSize(), PLCoord(3, 2));
    EXPECT_EQ(bmp.GetPixel32(1, 0), PLPixel32(60, 50, 40, 0));
    EXPECT_EQ(bmp.GetPixel32(1, 1), PLPixel32(30, 20, 10, 0));
    EXPECT_EQ(bmp.GetPixel32(0, 1), PLPixel32(60, 50, 40, 0));
    EXPECT_FALSE(bmp.HasAlpha());
}

TEST(BitmapFromDib, ItsOwnBlockCopiesItself)
{
    PLWinBmp bmp;
    bmp.Create(3, 2, 8, false, false);
    bmp.SetPaletteEntry(7, 1, 2, 3, 255);
    bmp.GetRow(1)[2] = 7;
    ASSERT_EQ(ErrorCodeOf([&] { bmp.CreateFromDIB(bmp.GetBitmapInfo(), bmp.GetDibSize()); }), -1);
    EXPECT_EQ(bmp.GetSize(), PLCoord(3, 2));
    EXPECT_EQ(bmp.GetPixel32(2, 1), PLPixel32(1, 2, 3, 255));
}

TEST(BitmapFromDib, InconsistentHeadersAreRefusedAndThePictureKept)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> block;
        int code;
    };
    const Case cases[] = {
        { "block shorter than the header", std::vector<uint8_t>(20), PL_ERR_END_OF_FILE },
        { "rows missing", MakeDib(4, 4, 24, 0, 0, 47), PL_ERR_END_OF_FILE },
        { "colour table missing", MakeDib(4, 1, 8, 0, 10, 4), PL_ERR_END_OF_FILE },
        { "more colours than the depth has", MakeDib(1, 1, 1, 3, 3, 4), PL_ERR_FORMAT_UNKNOWN },
        { "compressed", MakeDib(4, 1, 8, 0, 256, 4, 1), PL_ERR_FORMAT_NOT_SUPPORTED },
        { "larger header", MakeDib(4, 1, 24, 0, 17, 12, 0, 108), PL_ERR_FORMAT_NOT_SUPPORTED },
        { "top-down", MakeDib(4, -1, 24, 0, 0, 12), PL_ERR_FORMAT_NOT_SUPPORTED },
        { "odd depth", MakeDib(4, 1, 7, 0, 0, 12), PL_ERR_FORMAT_NOT_SUPPORTED },
        { "huge", MakeDib(100000, 100000, 24, 0, 0, 12), PL_ERR_DIB_TOO_LARGE },
        // 4 x 0xFFFFFFFF colours wrap to a few bytes in 32-bit arithmetic.
        { "colour count beyond the block", MakeDib(1, 1, 32, 0xFFFFFFFF, 0, 4), PL_ERR_END_OF_FILE },
        { "negative width", MakeDib(-4, 1, 24, 0, 0, 12), PL_ERR_NO_MEMORY },
    };
    for (const Case& c : cases) {
        PLWinBmp bmp;
        bmp.GetRow(3)[3] = 42;
        EXPECT_EQ(CreateFromBlock(bmp, c.block), c.code) << c.what;
        EXPECT_EQ(bmp.GetSize(), PLCoord(16, 16)) << c.what;
        EXPECT_EQ(bmp.GetRow(3)[3], 42) << c.what;
    }
}

} // namespace
