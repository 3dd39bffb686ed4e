// What a PLWinBmp hands the device context, recorded exactly; and blitting one bitmap into another.
#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLWinBmp.h"
#include "platform/gdi/RecordingDeviceContext.h"

#include <limits>

namespace {

gdi::DibCall OnlyDib(const gdi::RecordingDeviceContext& dc)
{
    const auto dibs = dc.All<gdi::RecordedDib>();
    EXPECT_EQ(dibs.size(), 1u);
    return dibs.empty() ? gdi::DibCall() : dibs.front().call;
}

TEST(WinBmpDraw, ScaledDrawingTruncatesTheExtents)
{
    PLWinBmp bmp;
    bmp.Create(101, 33, 24, false, false);
    gdi::RecordingDeviceContext dc;
    bmp.StretchDrawScaled(dc, 5, 6, 0.5);
    const gdi::DibCall call = OnlyDib(dc);
    EXPECT_EQ(call.logicalX, 5);
    EXPECT_EQ(call.logicalY, 6);
    EXPECT_EQ(call.logicalWidth, 50);
    EXPECT_EQ(call.logicalHeight, 16);
    EXPECT_EQ(call.srcWidth, 101);
    EXPECT_EQ(call.srcHeight, 33);
}

// Negative factors flip, extents beyond the 32-bit range are saturated, and a factor that is not a
// number draws nothing.
TEST(WinBmpDraw, ScaledDrawingSaturatesTheExtents)
{
    PLWinBmp bmp;
    bmp.Create(101, 33, 24, false, false);
    constexpr int most = std::numeric_limits<int>::max();
    constexpr int least = std::numeric_limits<int>::min();
    const struct {
        double factor;
        int width;
        int height;
    } cases[] = { { -0.5, -50, -16 }, { 1e12, most, most }, { -1e12, least, least } };
    for (const auto& c : cases) {
        gdi::RecordingDeviceContext dc;
        bmp.StretchDrawScaled(dc, 0, 0, c.factor);
        const gdi::DibCall call = OnlyDib(dc);
        EXPECT_EQ(call.logicalWidth, c.width) << c.factor;
        EXPECT_EQ(call.logicalHeight, c.height) << c.factor;
    }
    gdi::RecordingDeviceContext dc;
    bmp.StretchDrawScaled(dc, 0, 0, std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(dc.All<gdi::RecordedDib>().empty());
}

TEST(WinBmpDraw, TheViewDescribesTheBlock)
{
    PLWinBmp bmp;
    bmp.Create(3, 2, 8, false, false);
    bmp.SetPaletteEntry(1, 255, 0, 0, 255);
    bmp.GetRow(0)[2] = 1; // top right
    gdi::RecordingDeviceContext dc;
    bmp.Draw(dc, 0, 0);
    const gdi::DibCall call = OnlyDib(dc);
    EXPECT_EQ(call.dib.width, 3);
    EXPECT_EQ(call.dib.height, 2) << "bottom-up";
    EXPECT_EQ(call.dib.bitsPerPixel, 8);
    EXPECT_EQ(call.dib.paletteEntries, 256u);
    EXPECT_EQ(call.dib.bitsSize, 8u);
    EXPECT_EQ(call.logicalWidth, 3);
    EXPECT_EQ(call.logicalHeight, 2);
    const gdi::DibView view = bmp.GetDibView();
    EXPECT_EQ(view.PixelColor(2, 0), win::RGB(255, 0, 0));
    EXPECT_EQ(view.PixelColor(2, 1), win::RGB(0, 0, 0));
}

TEST(WinBmpDraw, PartCountsItsSourceFromTheBottomRow)
{
    PLWinBmp bmp;
    bmp.Create(10, 8, 32, false, false);
    gdi::RecordingDeviceContext dc;
    bmp.DrawPart(dc, 20, 30, PLBox(2, 1, 6, 3)); // columns 2-5 of the rows 1-2 from the top
    const gdi::DibCall call = OnlyDib(dc);
    EXPECT_EQ(call.logicalX, 20);
    EXPECT_EQ(call.logicalY, 30);
    EXPECT_EQ(call.srcX, 2);
    EXPECT_EQ(call.srcY, 5);
    EXPECT_EQ(call.srcWidth, 4);
    EXPECT_EQ(call.srcHeight, 2);

    gdi::RecordingDeviceContext outside;
    bmp.DrawPart(outside, 0, 0, PLBox(-1, 0, 5, 5));
    bmp.DrawPart(outside, 0, 0, PLBox(0, 0, 11, 5));
    bmp.DrawPart(outside, 0, 0, PLBox(4, 0, 2, 5));
    EXPECT_TRUE(outside.All<gdi::RecordedDib>().empty());
}

TEST(WinBmpAlphaBlit, BlendsOnlyTheOverlapCountedFromTheBottom)
{
    PLWinBmp target, source;
    Fill32(target, 4, 3, [](int, int) { return PLPixel32(0, 0, 200, 255); });
    Fill32(source, 2, 2, [](int, int) { return PLPixel32(255, 255, 0, 128); });
    source.SetHasAlpha(true);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            source.GetRow32(y)[x].SetA(128);
    // Placed at (3, -1): only the source's top-left pixel lands, on the target's bottom-right.
    target.AlphaBlit(source, 3, -1);
    const PLPixel32 mixed((255 * 128) >> 8, (255 * 128) >> 8, (200 * 127) >> 8, 255);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(target.GetRow32(y)[x], x == 3 && y == 2 ? mixed : PLPixel32(0, 0, 200, 255))
                << x << "," << y;

    PLWinBmp eight;
    eight.Create(1, 1, 8, false, false);
    eight.SetPaletteEntry(0, 9, 8, 7, 255);
    target.AlphaBlit(eight, 0, 2); // no alpha: the whole palette entry, at the top row
    EXPECT_EQ(target.GetRow32(0)[0], PLPixel32(9, 8, 7, 255));
    EXPECT_EQ(ErrorCodeOf([&] { eight.AlphaBlit(target, 0, 0); }), PL_ERR_FORMAT_NOT_SUPPORTED);
}

} // namespace
