// The bitmap's clipboard functions against a scripted clipboard: what a copy puts there, the palette
// that a DIB paste takes when one is offered, the depths a device bitmap is read at, and the
// clipboard closed again on every path.
#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLClipboard.h"
#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/io/PLTextException.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <vector>

namespace {

class ScriptedClipboard : public PLClipboard {
public:
    bool opens = true;
    int openCount = 0, closeCount = 0, emptyCount = 0;
    std::optional<std::vector<uint8_t>> dib;
    std::optional<gdi::Bitmap> bitmap;
    std::optional<gdi::Palette> palette;

    bool Open() override
    {
        openCount += opens ? 1 : 0;
        return opens;
    }
    void Close() override { ++closeCount; }
    void Empty() override
    {
        ++emptyCount;
        dib.reset(), bitmap.reset(), palette.reset();
    }
    bool IsFormatAvailable(unsigned format) const override
    {
        return (format == PL_CF_DIB && dib) || (format == PL_CF_BITMAP && bitmap)
            || (format == PL_CF_PALETTE && palette);
    }
    bool SetDib(const std::vector<uint8_t>& block) override
    {
        dib = block;
        return true;
    }
    std::optional<std::vector<uint8_t>> GetDib() const override { return dib; }
    std::optional<gdi::Bitmap> GetBitmap() const override { return bitmap; }
    std::optional<gdi::Palette> GetPalette() const override { return palette; }
};

// A copy empties the clipboard and puts the DIB block there: exactly the block's own bytes.
TEST(WinBmpClipboard, CopyPutsTheBlockItself)
{
    PLWinBmp bmp;
    bmp.Create(5, 3, 8, false, false);
    bmp.GetRow(1)[2] = 77;
    ScriptedClipboard clipboard;
    clipboard.bitmap = gdi::Bitmap {};
    ASSERT_TRUE(bmp.CopyToClipboard(clipboard));
    EXPECT_EQ(clipboard.emptyCount, 1);
    EXPECT_FALSE(clipboard.bitmap);
    ASSERT_TRUE(clipboard.dib);
    const auto* block = reinterpret_cast<const uint8_t*>(bmp.GetBitmapInfo());
    EXPECT_EQ(*clipboard.dib, std::vector<uint8_t>(block, block + bmp.GetDibSize()));
    EXPECT_EQ(bmp.CopyToGlobalMemory().size(), bmp.GetDibSize());
    EXPECT_EQ(clipboard.openCount, clipboard.closeCount);
}

// A DIB pasted with a palette on offer takes the palette's entries (alpha 0) in place of its colour
// table; entries beyond the palette keep the table's.
TEST(WinBmpClipboard, ADibTakesTheOfferedPalette)
{
    PLWinBmp source;
    source.Create(4, 2, 8, false, false);
    ScriptedClipboard clipboard;
    ASSERT_TRUE(source.CopyToClipboard(clipboard));
    clipboard.palette = gdi::Palette { { { 200, 10, 20, 0 }, { 1, 2, 3, 0 } } };
    PLWinBmp pasted;
    ASSERT_TRUE(pasted.CopyFromClipboard(clipboard, PL_CF_DIB));
    const PLPixel32* palette = pasted.GetPalette();
    EXPECT_EQ(palette[0], PLPixel32(200, 10, 20, 0));
    EXPECT_EQ(palette[1], PLPixel32(1, 2, 3, 0));
    EXPECT_EQ(palette[2], source.GetPalette()[2]);
    EXPECT_EQ(clipboard.openCount, 2);
    EXPECT_EQ(clipboard.closeCount, 2);
}

struct DeviceDepth {
    int bitmapBpp;
    int pastedBpp;
};

void PrintTo(const DeviceDepth& d, std::ostream* os)
{
    *os << d.bitmapBpp << " bpp";
}

class DeviceBitmapDepths : public testing::TestWithParam<DeviceDepth> { };

// A device bitmap is read at 1 bpp when it has one bit, at 32 above 8 bits, with its colours.
TEST_P(DeviceBitmapDepths, ReadWithTheirColours)
{
    const DeviceDepth d = GetParam();
    gdi::Bitmap bitmap;
    bitmap.width = 6;
    bitmap.height = 2;
    bitmap.bitsPerPixel = d.bitmapBpp;
    if (d.bitmapBpp <= 8)
        bitmap.colours = { { 0, 0, 255, 0 }, { 0, 255, 0, 0 } }; // red, green
    const auto rowBytes = static_cast<size_t>(gdi::DibView::RowBytes(6, d.bitmapBpp));
    bitmap.bits.assign(rowBytes * 2, 0);
    for (int x = 0; x < 6; ++x) {
        const bool green = (x + 1) % 3 == 0;
        uint8_t* top = bitmap.bits.data();
        if (d.bitmapBpp == 1)
            top[0] |= green ? static_cast<uint8_t>(0x80 >> x) : 0;
        else if (d.bitmapBpp == 8)
            top[x] = green ? 1 : 0;
        else
            top[x * (d.bitmapBpp / 8) + (green ? 1 : 2)] = 255;
    }
    ScriptedClipboard clipboard;
    clipboard.bitmap = bitmap;
    PLWinBmp pasted;
    ASSERT_TRUE(pasted.CopyFromClipboard(clipboard, PL_CF_BITMAP));
    ASSERT_EQ(pasted.GetBitsPerPixel(), d.pastedBpp);
    ASSERT_EQ(pasted.GetSize(), PLCoord(6, 2));
    for (int x = 0; x < 6; ++x) {
        const bool green = (x + 1) % 3 == 0;
        const PLPixel32 p = pasted.GetPixel32(x, 0);
        EXPECT_EQ(p.GetR(), green ? 0 : 255) << x;
        EXPECT_EQ(p.GetG(), green ? 255 : 0) << x;
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, DeviceBitmapDepths,
    testing::Values(
        DeviceDepth { 1, 1 }, DeviceDepth { 8, 8 }, DeviceDepth { 24, 32 }, DeviceDepth { 32, 32 }));

// A clipboard that cannot be opened, a format not offered, or one that is no picture: false, the
// picture unchanged. A device bitmap whose rows are missing raises code 2 and changes nothing.
TEST(WinBmpClipboard, FailuresLeaveThePicture)
{
    PLWinBmp bmp;
    bmp.Create(3, 3, 32, false, false);
    const std::vector<uint8_t> before = bmp.CopyToGlobalMemory();
    ScriptedClipboard clipboard;
    EXPECT_FALSE(bmp.CopyFromClipboard(clipboard, PL_CF_DIB));
    clipboard.dib = before;
    clipboard.opens = false;
    EXPECT_FALSE(bmp.CopyFromClipboard(clipboard, PL_CF_DIB));
    EXPECT_FALSE(bmp.CopyToClipboard(clipboard));
    clipboard.opens = true;
    EXPECT_FALSE(bmp.CopyFromClipboard(clipboard, PL_CF_PALETTE));
    gdi::Bitmap broken;
    broken.width = 4;
    broken.height = 4;
    broken.bitsPerPixel = 32;
    clipboard.bitmap = broken;
    EXPECT_EQ(ErrorCodeOf([&] { bmp.CopyFromClipboard(clipboard, PL_CF_BITMAP); }), PL_ERR_FORMAT_UNKNOWN);
    // Another program's DIB block that is cut short raises its code and changes nothing either.
    clipboard.dib = std::vector<uint8_t>(before.begin(), before.begin() + 44);
    EXPECT_EQ(ErrorCodeOf([&] { bmp.CopyFromClipboard(clipboard, PL_CF_DIB); }), PL_ERR_END_OF_FILE);
    EXPECT_EQ(clipboard.openCount, clipboard.closeCount);
    EXPECT_EQ(bmp.CopyToGlobalMemory(), before);
}

} // namespace
