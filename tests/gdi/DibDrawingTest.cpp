#include "gdi/TestPictures.h"
#include "platform/gdi/RecordingDeviceContext.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using gdi::DibView;
using gdi::RecordedDib;
using gdi::RecordingDeviceContext;
using win::RGB;

using testpictures::MakePicture;
using testpictures::Picture;

TEST(Dib, PixelsAreReadByPictureRowAtEveryDepthAndOrder)
{
    for (int bpp : { 1, 4, 8, 16, 24, 32 })
        for (bool topDown : { false, true }) {
            const Picture p = MakePicture(bpp, topDown);
            ASSERT_TRUE(p.view.IsValid());
            for (int row = 0; row < 2; ++row)
                for (int x = 0; x < 3; ++x)
                    EXPECT_EQ(p.view.PixelColor(x, row), testpictures::Expected(bpp, row, x))
                        << bpp << " bpp " << topDown;
        }
}

TEST(Dib, OneBitPixelsTakeTheMostSignificantBitFirst)
{
    // 9 pixels wide: two bytes of pixels, padded to four.
    const gdi::RGBQUAD palette[2] = { { 255, 255, 255, 0 }, { 0, 0, 255, 0 } }; // white, red
    const uint8_t bits[4] = { 0x81, 0x80, 0, 0 };
    const DibView view { 9, 1, 1, palette, 2, bits, sizeof bits };
    ASSERT_TRUE(view.IsValid());
    EXPECT_EQ(view.PixelColor(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(view.PixelColor(1, 0), RGB(255, 255, 255));
    EXPECT_EQ(view.PixelColor(7, 0), RGB(255, 0, 0));
    EXPECT_EQ(view.PixelColor(8, 0), RGB(255, 0, 0));
    // An index outside a short palette is black rather than a read past it.
    const DibView shortPalette { 9, 1, 1, palette, 1, bits, sizeof bits };
    EXPECT_EQ(shortPalette.PixelColor(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(shortPalette.PixelColor(1, 0), RGB(255, 255, 255));
}

TEST(Dib, ViewsWhoseRowsDoNotFitAreNotDrawn)
{
    Picture p = MakePicture(24, false);
    RecordingDeviceContext dc;
    DibView shortBits = p.view;
    shortBits.bitsSize -= 1;
    DibView badDepth = p.view;
    badDepth.bitsPerPixel = 2; // no DIB depth
    DibView huge = p.view;
    huge.width = INT32_MAX;
    huge.height = INT32_MIN;
    for (const DibView& v : { shortBits, badDepth, huge }) {
        EXPECT_FALSE(v.IsValid());
        EXPECT_EQ(dc.StretchDIBits(0, 0, 3, 2, 0, 0, 3, 2, v, gdi::SRCCOPY), 0);
    }
    // Source rectangles outside the picture, and raster operations the devices do not draw.
    EXPECT_EQ(dc.StretchDIBits(0, 0, 3, 2, 1, 0, 3, 2, p.view, gdi::SRCCOPY), 0);
    EXPECT_EQ(dc.StretchDIBits(0, 0, 3, 2, 0, 0, 3, 3, p.view, gdi::SRCCOPY), 0);
    EXPECT_EQ(dc.StretchDIBits(0, 0, 3, 2, 0, -1, 3, 2, p.view, gdi::SRCCOPY), 0);
    EXPECT_EQ(dc.SetDIBitsToDevice(0, 0, 4, 1, 0, 0, p.view), 0);
    EXPECT_EQ(dc.StretchDIBits(0, 0, 3, 2, 0, 0, 3, 2, p.view, 0x00660046), 0); // SRCINVERT
    EXPECT_EQ(dc.StretchDIBits(0, 0, 3, 2, 0, 0, 3, 2, p.view, 0), 0);
    EXPECT_TRUE(dc.Primitives().empty());
}

// The mask operations reach the device with the call; the kept colours are those of the source
// rectangle, top row first, whichever way the rows are stored.
TEST(Dib, MaskOperationsAndKeptColours)
{
    for (const bool topDown : { false, true }) {
        const Picture p = MakePicture(32, topDown);
        RecordingDeviceContext dc;
        EXPECT_EQ(dc.StretchDIBits(0, 0, 3, 2, 0, 0, 3, 2, p.view, gdi::SRCAND), 2);
        dc.KeepPixels(true);
        // The bottom row's last two pixels (source y counts up from the bottom row).
        EXPECT_EQ(dc.StretchDIBits(5, 5, 2, 1, 1, 0, 2, 1, p.view, gdi::SRCPAINT), 1);
        EXPECT_EQ(dc.StretchDIBits(5, 5, 3, 2, 0, 0, 3, 2, p.view, gdi::SRCCOPY), 2);
        const auto dibs = dc.All<RecordedDib>();
        ASSERT_EQ(dibs.size(), 3u);
        EXPECT_EQ(dibs[0].call.rop, gdi::SRCAND);
        EXPECT_TRUE(dibs[0].pixels.empty());
        EXPECT_EQ(dibs[1].call.rop, gdi::SRCPAINT);
        EXPECT_EQ(dibs[1].pixels, (std::vector<win::COLORREF> { RGB(255, 255, 255), RGB(0, 0, 0) }));
        EXPECT_EQ(dibs[2].call.rop, gdi::SRCCOPY);
        EXPECT_EQ(dibs[2].pixels,
            (std::vector<win::COLORREF> { RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(10, 20, 30),
                RGB(255, 255, 255), RGB(0, 0, 0) }));
    }
}

TEST(Dib, DestinationExtentsCarryTheMappingModesFlip)
{
    const Picture p = MakePicture(32, false);
    struct Case {
        int mapMode;
        int logicalHeight;
        int deviceHeight; // positive: top row at the top (upright)
    } const cases[] = {
        { gdi::MM_LOMETRIC, -200, 400 },
        { gdi::MM_LOMETRIC, 200, -400 },
        { gdi::MM_TEXT, 200, 200 },
        { gdi::MM_TEXT, -200, -200 },
    };
    for (const auto& c : cases) {
        RecordingDeviceContext dc({ 1000, 1000, 508, 508 });
        dc.SetMapMode(c.mapMode);
        dc.SetStretchBltMode(gdi::COLORONCOLOR);
        EXPECT_EQ(dc.StretchDIBits(10, -10, 300, c.logicalHeight, 0, 0, 3, 2, p.view, gdi::SRCCOPY), 2);
        const auto dibs = dc.All<RecordedDib>();
        ASSERT_EQ(dibs.size(), 1u);
        EXPECT_EQ(dibs[0].call.deviceHeight, c.deviceHeight) << c.mapMode << " " << c.logicalHeight;
        EXPECT_EQ(dibs[0].call.stretchMode, gdi::COLORONCOLOR);
    }
}

TEST(Dib, SetDIBitsToDeviceCopiesOnePixelToOnePixel)
{
    const Picture p = MakePicture(24, false);
    RecordingDeviceContext dc({ 1000, 1000, 600, 600 });
    dc.SetMapMode(gdi::MM_LOMETRIC);
    // The right two pixels of the top row: source y counts from the bottom row.
    EXPECT_EQ(dc.SetDIBitsToDevice(254, -254, 2, 1, 1, 1, p.view), 1);
    const auto dibs = dc.All<RecordedDib>();
    ASSERT_EQ(dibs.size(), 1u);
    const auto& call = dibs[0].call;
    EXPECT_EQ((std::array { call.deviceX, call.deviceY, call.deviceWidth, call.deviceHeight }),
        (std::array { 600, 600, 2, 1 }));
    EXPECT_EQ(
        (std::array { call.srcX, call.srcY, call.srcWidth, call.srcHeight }), (std::array { 1, 1, 2, 1 }));
}

} // namespace
