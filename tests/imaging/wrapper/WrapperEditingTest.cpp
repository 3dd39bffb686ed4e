// The picture's editing operations: contrast factors, borders, border strips, resizing by
// settings, the centred crop, grey conversion, and the refusal of bad arguments and depths.
#include <gtest/gtest.h>

#include <functional>

#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/io/PLTextException.h"
#include "imaging/wrapper/DeviceIndepBitmap.h"

namespace {

using Pellimar::DeviceIndepBitmap;

const win::COLORREF kRed = win::RGB(250, 5, 6);

// A w x h 32-bpp picture whose pixel (x, y) holds red x % 200, green y % 200, blue 50.
DeviceIndepBitmap Numbered(int w, int h, int bpp = 32)
{
    DeviceIndepBitmap dib;
    EXPECT_TRUE(dib.CreateImage(w, h, bpp, false, false, 72));
    if (bpp == 32)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                dib.GetBitmap()->GetRow32(y)[x] = PLPixel32(uint8_t(x % 200), uint8_t(y % 200), 50, 255);
    return dib;
}

PLPixel32 At(const DeviceIndepBitmap& dib, int x, int y)
{
    return dib.GetBitmap()->GetRow32(y)[x];
}

bool IsRed(PLPixel32 p)
{
    return p.GetR() == 250 && p.GetG() == 5 && p.GetB() == 6;
}

TEST(WrapperEditing, ContrastFactorsAboutMidGrey)
{
    struct Case {
        int32_t contrast;
        int channel100; // what 100 and 200 become: (c - 128) x factor + 128, truncated
        int channel200;
    };
    // -10: factor 1000 / 1100; 10: factor 1.1; 0: nothing.
    const Case cases[] = { { -10, 102, 193 }, { 10, 97, 207 }, { 0, 100, 200 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.contrast);
        DeviceIndepBitmap dib = Numbered(2, 1);
        dib.GetBitmap()->GetRow32(0)[0] = PLPixel32(100, 100, 100);
        dib.GetBitmap()->GetRow32(0)[1] = PLPixel32(200, 200, 200);
        ASSERT_TRUE(dib.ApplyContrast(c.contrast));
        EXPECT_EQ(At(dib, 0, 0).GetG(), c.channel100);
        EXPECT_EQ(At(dib, 1, 0).GetG(), c.channel200);
    }
}

TEST(WrapperEditing, BordersWidenThePictureByColouredStrips)
{
    using D = DeviceIndepBitmap;
    const uint32_t all = D::kBorderLeft | D::kBorderRight | D::kBorderTop | D::kBorderBottom;
    struct Case {
        const char* what;
        std::function<bool(D&)> add;
        int left, right, top, bottom;
    };
    const Case cases[] = {
        { "10 pixels on every side", [&](D& d) { return d.AddBorderPixels(10, kRed, all); }, 10, 10, 10, 10 },
        { "5 percent of the longer side", [&](D& d) { return d.AddBorderPercent(5, kRed, all); }, 15, 15, 15,
            15 },
        { "5 percent of each side", [&](D& d) { return d.AddBorderPercentEach(5, kRed, all); }, 15, 15, 10,
            10 },
        { "left only", [&](D& d) { return d.AddBorderPixels(4, kRed, D::kBorderLeft); }, 4, 0, 0, 0 },
        { "bottom only", [&](D& d) { return d.AddBorderPixels(3, kRed, D::kBorderBottom); }, 0, 0, 0, 3 },
        { "width 0", [&](D& d) { return d.AddBorderPixels(0, kRed, all); }, 0, 0, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceIndepBitmap dib = Numbered(300, 200);
        ASSERT_TRUE(c.add(dib));
        ASSERT_EQ(dib.GetSize(), PLCoord(300 + c.left + c.right, 200 + c.top + c.bottom));
        EXPECT_EQ(dib.GetQuarterTurns(), 0);
        const PLCoord size = dib.GetSize();
        // Every border pixel is the colour, and the picture sits between the strips unmoved.
        int wrong = 0;
        for (int y = 0; y < size.y; ++y)
            for (int x = 0; x < size.x; ++x) {
                const int px = x - c.left, py = y - c.top;
                const bool inside = px >= 0 && px < 300 && py >= 0 && py < 200;
                const PLPixel32 p = At(dib, x, y);
                if (inside ? p != PLPixel32(uint8_t(px % 200), uint8_t(py % 200), 50, 255) : !IsRed(p))
                    ++wrong;
            }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(WrapperEditing, BorderStripsPaintExactlyTheOuterRowsAndColumns)
{
    using D = DeviceIndepBitmap;
    DeviceIndepBitmap dib = Numbered(20, 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x)
            dib.GetBitmap()->GetRow32(y)[x].SetA(33);
    ASSERT_TRUE(
        dib.PaintBorderStrips(3, kRed, D::kBorderLeft | D::kBorderRight | D::kBorderTop | D::kBorderBottom));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool edge = x < 3 || x >= 17 || y < 3 || y >= 9;
            EXPECT_EQ(IsRed(At(dib, x, y)), edge) << x << ", " << y;
            EXPECT_EQ(At(dib, x, y).GetA(), 33);
        }
    EXPECT_TRUE(dib.IsModified());
    EXPECT_FALSE(DeviceIndepBitmap().PaintBorderStrips(3, kRed, D::kBorderTop));
}

TEST(WrapperEditing, ResizeBySettings)
{
    struct Case {
        const char* what;
        ResizeSettings settings;
        PLCoord expected;
    };
    const Case cases[] = {
        { "fit, shrink only, smaller picture",
            { ResizeSettings::ShrinkOnly, ResizeSettings::Bilinear, 100, 100, true, 0 }, { 40, 20 } },
        { "fit, enlarge only, smaller picture",
            { ResizeSettings::EnlargeOnly, ResizeSettings::Box, 100, 100, true, 0 }, { 100, 50 } },
        { "fit, shrink only, larger picture",
            { ResizeSettings::ShrinkOnly, ResizeSettings::Bilinear, 20, 20, true, 0 }, { 20, 10 } },
        { "fit, enlarge only, larger picture",
            { ResizeSettings::EnlargeOnly, ResizeSettings::Bilinear, 20, 20, true, 0 }, { 40, 20 } },
        { "no fit: the size as given",
            { ResizeSettings::ShrinkOnly, ResizeSettings::Gaussian, 7, 90, false, 1.5 }, { 7, 90 } },
        { "Hamming, always", { ResizeSettings::Always, ResizeSettings::Hamming, 10, 10, true, 1.0 },
            { 10, 5 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceIndepBitmap dib = Numbered(40, 20);
        ASSERT_TRUE(dib.Resize(c.settings));
        EXPECT_EQ(dib.GetSize(), c.expected);
    }
}

TEST(WrapperEditing, CentredCropAndGreyConversion)
{
    DeviceIndepBitmap dib = Numbered(300, 200);
    ASSERT_TRUE(dib.CropCentredPercent(10));
    ASSERT_EQ(dib.GetSize(), PLCoord(270, 180));
    EXPECT_EQ(At(dib, 0, 0), PLPixel32(15, 10, 50, 255));

    ASSERT_TRUE(dib.MakeGrayscale());
    EXPECT_EQ(dib.GetBitmap()->GetBitsPerPixel(), 32);
    const PLPixel32 p = At(dib, 100, 100);
    EXPECT_EQ(p.GetR(), p.GetG());
    EXPECT_EQ(p.GetG(), p.GetB());
}

TEST(WrapperEditing, FillAndJoin)
{
    DeviceIndepBitmap dib = Numbered(4, 6);
    DeviceIndepBitmap other = Numbered(3, 4);
    ASSERT_TRUE(other.Fill(kRed));
    EXPECT_TRUE(IsRed(At(other, 2, 3)));
    EXPECT_EQ(At(other, 2, 3).GetA(), 255);
    ASSERT_TRUE(dib.Join(2, other)); // the other picture on the left, both cut to height 4, centred
    ASSERT_EQ(dib.GetSize(), PLCoord(7, 4));
    EXPECT_TRUE(IsRed(At(dib, 2, 0)));
    EXPECT_EQ(At(dib, 3, 0), PLPixel32(0, 1, 50, 255));
    EXPECT_TRUE(dib.Join(2, DeviceIndepBitmap())); // nothing to join
    EXPECT_EQ(dib.GetSize(), PLCoord(7, 4));
}

TEST(WrapperEditing, BadArgumentsAndDepthsAreRefusedAndChangeNothing)
{
    using D = DeviceIndepBitmap;
    const D mark = Numbered(2, 2);
    struct Case {
        const char* what;
        int bpp;
        std::function<bool(D&)> op;
    };
    const Case cases[] = {
        { "watermark divisor 0", 32, [&](D& d) { return d.ApplyWatermark(mark, 0); } },
        { "negative watermark divisor", 32, [&](D& d) { return d.ApplyWatermark(mark, -3); } },
        { "watermark without picture", 32, [&](D& d) { return d.ApplyWatermark(D(), 2); } },
        { "grey point right of the picture", 32, [&](D& d) { return d.ApplyWhiteBalance(8, 0, 0); } },
        { "grey point above the picture", 32, [&](D& d) { return d.ApplyWhiteBalance(0, -1, 0); } },
        { "join mode 1", 32, [&](D& d) { return d.Join(1, mark); } },
        { "resize to width 0", 32,
            [&](D& d) {
                return d.Resize({ 2, 0, 0, 5, false, 0 });
            } },
        { "unknown resize filter", 32,
            [&](D& d) {
                return d.Resize({ 2, 4, 5, 5, false, 0 });
            } },
        { "unknown resize mode with fit", 32,
            [&](D& d) {
                return d.Resize({ 7, 0, 5, 5, true, 0 });
            } },
        { "Gaussian without radius", 32,
            [&](D& d) {
                return d.Resize({ 2, 2, 5, 5, false, 0 });
            } },
        { "centred crop of 101 percent", 32, [&](D& d) { return d.CropCentredPercent(101); } },
        { "negative border", 32, [&](D& d) { return d.AddBorderPixels(-1, kRed, 15); } },
        { "negative border percent", 32, [&](D& d) { return d.AddBorderPercentEach(-5, kRed, 15); } },
        { "negative strip width", 32, [&](D& d) { return d.PaintBorderStrips(-2, kRed, 15); } },
        { "fill of a 24-bpp picture", 24, [&](D& d) { return d.Fill(kRed); } },
        { "borders on a 24-bpp picture", 24, [&](D& d) { return d.AddBorderPixels(2, kRed, 15); } },
        { "colour offsets on 8 bpp", 8, [&](D& d) { return d.ApplyColor(5, 0, 0, false); } },
        { "grey conversion of 24 bpp", 24, [&](D& d) { return d.MakeGrayscale(); } },
        { "strips on 8 bpp", 8, [&](D& d) { return d.PaintBorderStrips(1, kRed, 15); } },
        { "blank picture of 5 bpp", 32, [&](D& d) { return d.CreateImage(3, 3, 5, false, false, 72); } },
        { "blank picture of negative size", 32,
            [&](D& d) { return d.CreateImage(-3, 3, 32, false, false, 72); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        D dib = Numbered(8, 6, c.bpp);
        D before;
        before = dib;
        const bool modified = dib.IsModified();
        EXPECT_FALSE(c.op(dib));
        EXPECT_NE(dib.GetLastResult().severity, 0);
        EXPECT_TRUE(*dib.GetBitmap() == *before.GetBitmap());
        EXPECT_EQ(dib.IsModified(), modified);
    }
}

} // namespace
