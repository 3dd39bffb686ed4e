#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/filters/HsvConversion.h"
#include "imaging/filters/PLFilterAdjustDensity.h"
#include "imaging/filters/PLFilterColor.h"
#include "imaging/filters/PLFilterContrast.h"
#include "imaging/filters/PLFilterGrayscale.h"
#include "imaging/filters/PLFilterHSB.h"
#include "imaging/filters/PLFilterLightnessPercent.h"
#include "imaging/filters/PLFilterWatermark.h"
#include "imaging/filters/PLFilterWhiteBalance.h"
#include "imaging/resize/FitSizeKeepAspect.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace {

struct Rgb {
    int r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

std::ostream& operator<<(std::ostream& os, const Rgb& c)
{
    return os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

constexpr uint8_t kAlpha = 77;

// A one-row 32-bpp picture with alpha 77 everywhere.
void MakeRow(PLBmp& bmp, const std::vector<Rgb>& pixels)
{
    bmp.Create(int(pixels.size()), 1, 32, true, false);
    for (size_t x = 0; x < pixels.size(); ++x)
        bmp.GetRow32(0)[x]
            = PLPixel32(uint8_t(pixels[x].r), uint8_t(pixels[x].g), uint8_t(pixels[x].b), kAlpha);
}

std::vector<Rgb> RowOf(const PLBmp& bmp)
{
    std::vector<Rgb> out;
    for (int x = 0; x < bmp.GetWidth(); ++x) {
        const PLPixel32 p = bmp.GetRow32(0)[x];
        out.push_back({ p.GetR(), p.GetG(), p.GetB() });
    }
    return out;
}

struct FilterCase {
    const char* what;
    std::function<std::unique_ptr<PLFilter>()> make;
    std::vector<Rgb> in;
    std::vector<Rgb> out;
};

template <class F, class... A> std::function<std::unique_ptr<PLFilter>()> Make(A... args)
{
    return [=] { return std::make_unique<F>(args...); };
}

} // namespace

TEST(ColorFilters, EdgeCasesKeepAlpha)
{
    const FilterCase cases[] = {
        { "plain colour offset past 255", Make<PLFilterColor>(300, 0, 0, false),
            { { 10, 20, 30 }, { 255, 0, 9 } }, { { 255, 20, 30 }, { 255, 0, 9 } } },
        { "plain colour offsets below 0", Make<PLFilterColor>(-20, 5, INT_MIN, false), { { 10, 20, 30 } },
            { { 0, 25, 0 } } },
        { "balanced colour offset", Make<PLFilterColor>(100, 0, 0, true), { { 200, 100, 50 } },
            { { 250, 75, 25 } } },
        // Odd negative halves truncate toward zero (-101 / 2 = -50, -50 / 2 = -25, -1 / 2 = 0).
        { "balanced odd negative offsets", Make<PLFilterColor>(-101, -3, 7, true), { { 100, 100, 100 } },
            { { 49, 123, 128 } } },
        // Only the change actually made is given back: red rises by 5, not 50.
        { "balanced offset clamped at 255", Make<PLFilterColor>(100, 0, 0, true), { { 250, 10, 10 } },
            { { 255, 8, 8 } } },
        { "balanced extreme offsets", Make<PLFilterColor>(INT_MIN, INT_MAX, 0, true), { { 10, 20, 30 } },
            { { 0, 255, 0 } } },
        { "hue, saturation, brightness unchanged", Make<PLFilterHSB>(0, 0, 0),
            { { 255, 0, 0 }, { 0, 0, 255 }, { 90, 90, 90 }, { 0, 0, 0 } },
            { { 255, 0, 0 }, { 0, 0, 255 }, { 90, 90, 90 }, { 0, 0, 0 } } },
        // The round trip gives 76.99999999999987 for blue, truncated to 76.
        { "hue, saturation, brightness truncated", Make<PLFilterHSB>(0, 0, 0), { { 250, 3, 77 } },
            { { 250, 3, 76 } } },
        { "hue turned by a third", Make<PLFilterHSB>(85, 0, 0), { { 255, 0, 0 } }, { { 0, 255, 0 } } },
        { "hue far above the range wraps", Make<PLFilterHSB>(3 * 255 + 85, 0, 0), { { 255, 0, 0 } },
            { { 0, 255, 0 } } },
        { "hue far below the range wraps", Make<PLFilterHSB>(-2 * 255 + 85, 0, 0), { { 255, 0, 0 } },
            { { 0, 255, 0 } } },
        { "largest hue offset", Make<PLFilterHSB>(INT_MAX, 0, 0), { { 90, 90, 90 } }, { { 90, 90, 90 } } },
        // 2^31 - 1 and -2^31 both leave the remainder 127 after the wrap: sector 2, blue 252.
        { "largest hue offset on red", Make<PLFilterHSB>(INT_MAX, 0, 0), { { 255, 0, 0 } },
            { { 0, 255, 252 } } },
        { "smallest hue offset on red", Make<PLFilterHSB>(INT_MIN, 0, 0), { { 255, 0, 0 } },
            { { 0, 255, 252 } } },
        { "brightness of a grey", Make<PLFilterHSB>(0, 0, 100), { { 100, 100, 100 } },
            { { 200, 200, 200 } } },
        { "brightness shifted back into range", Make<PLFilterHSB>(0, 0, 200), { { 200, 100, 0 } },
            { { 255, 55, 0 } } },
        { "lightness times 0", Make<PLFilterLightnessPercent>(-100, false), { { 10, 200, 255 } },
            { { 0, 0, 0 } } },
        { "lightness plus 300", Make<PLFilterLightnessPercent>(300, true), { { 0, 10, 200 } },
            { { 255, 255, 255 } } },
        { "lightness times 1.5", Make<PLFilterLightnessPercent>(50, false), { { 100, 3, 200 } },
            { { 150, 4, 255 } } },
        { "contrast 1 about 128", Make<PLFilterContrast>(1.0, uint8_t(128)), { { 100, 200, 3 } },
            { { 100, 200, 3 } } },
        { "contrast 2 about 128", Make<PLFilterContrast>(2.0, uint8_t(128)), { { 100, 200, 50 } },
            { { 72, 255, 0 } } },
        { "contrast 1 about 200", Make<PLFilterContrast>(1.0, uint8_t(200)), { { 100, 200, 10 } },
            { { 172, 255, 82 } } },
        { "white balance at a grey point", Make<PLFilterWhiteBalance>(PLCoord(0, 0), 0),
            { { 120, 120, 120 }, { 10, 200, 90 } }, { { 120, 120, 120 }, { 10, 200, 90 } } },
        { "white balance of everything", Make<PLFilterWhiteBalance>(PLCoord(1, 0), 0),
            { { 20, 40, 80 }, { 200, 100, 50 } }, { { 11, 46, 185 }, { 116, 116, 116 } } },
        { "white balance of the shadows only", Make<PLFilterWhiteBalance>(PLCoord(1, 0), 3),
            { { 20, 40, 80 }, { 200, 100, 50 } }, { { 11, 46, 185 }, { 200, 100, 50 } } },
        // Sums 255, 256, 511 and 512 around the tonal ranges' borders.
        { "white balance of the mid-tones", Make<PLFilterWhiteBalance>(PLCoord(0, 0), 2),
            { { 200, 100, 50 }, { 85, 85, 85 }, { 86, 85, 85 }, { 171, 170, 170 }, { 171, 171, 170 } },
            { { 116, 116, 116 }, { 85, 85, 85 }, { 49, 98, 197 }, { 99, 197, 255 }, { 171, 171, 170 } } },
        { "white balance of the highlights", Make<PLFilterWhiteBalance>(PLCoord(0, 0), 1),
            { { 200, 100, 50 }, { 85, 85, 85 }, { 86, 85, 85 }, { 171, 170, 170 }, { 171, 171, 170 } },
            { { 200, 100, 50 }, { 85, 85, 85 }, { 86, 85, 85 }, { 171, 170, 170 }, { 99, 198, 255 } } },
        // A grey point's red of 0 counts as 1: mean 100, red gain 100.
        { "white balance from a grey point without red", Make<PLFilterWhiteBalance>(PLCoord(0, 0), 0),
            { { 0, 100, 200 }, { 2, 50, 100 } }, { { 0, 100, 100 }, { 200, 50, 50 } } },
        { "white balance with an unknown range", Make<PLFilterWhiteBalance>(PLCoord(1, 0), 4),
            { { 20, 40, 80 }, { 200, 100, 50 } }, { { 20, 40, 80 }, { 200, 100, 50 } } },
        { "density of the seed colour only", Make<PLFilterAdjustDensity>(PLCoord(0, 0), 0, 50, 0),
            { { 100, 100, 100 }, { 100, 100, 100 }, { 100, 100, 101 }, { 100, 100, 100 } },
            { { 150, 150, 150 }, { 150, 150, 150 }, { 100, 100, 101 }, { 100, 100, 100 } } },
        { "density smoothed over a radius", Make<PLFilterAdjustDensity>(PLCoord(1, 0), 10, 50, 1),
            { { 100, 100, 100 }, { 100, 100, 100 }, { 50, 50, 50 }, { 100, 100, 100 } },
            { { 150, 150, 150 }, { 150, 150, 150 }, { 58, 58, 58 }, { 100, 100, 100 } } },
    };
    for (const FilterCase& c : cases) {
        PLAnyBmp src, dst;
        MakeRow(src, c.in);
        src.SetResolution(PLCoord(72, 96));
        const auto filter = c.make();
        filter->Apply(&src, &dst);
        EXPECT_EQ(RowOf(dst), c.out) << c.what;
        // The destination takes the source's size, depth, flags and resolution.
        EXPECT_EQ(dst.GetSize(), src.GetSize()) << c.what;
        EXPECT_EQ(dst.GetBitsPerPixel(), 32) << c.what;
        EXPECT_TRUE(dst.HasAlpha()) << c.what;
        EXPECT_FALSE(dst.IsGreyscale()) << c.what;
        EXPECT_EQ(dst.GetResolution(), PLCoord(72, 96)) << c.what;
        for (int x = 0; x < dst.GetWidth(); ++x)
            EXPECT_EQ(dst.GetRow32(0)[x].GetA(), kAlpha) << c.what;
        // Applied again, and in place, the filter gives the same.
        src.ApplyFilter(*filter);
        EXPECT_EQ(RowOf(src), c.out) << c.what << " in place";
    }
}

TEST(ColorFilters, HueSaturationBrightnessRoundTripLosesAtMostOneLevel)
{
    PLAnyBmp src, dst;
    std::vector<Rgb> pixels;
    for (int i = 0; i < 512; ++i)
        pixels.push_back({ (i * 37) % 256, (i * 91 + 7) % 256, (i * 53 + 100) % 256 });
    MakeRow(src, pixels);
    PLFilterHSB(0, 0, 0).Apply(&src, &dst);
    const auto out = RowOf(dst);
    for (size_t i = 0; i < pixels.size(); ++i) {
        EXPECT_LE(std::abs(out[i].r - pixels[i].r), 1) << pixels[i];
        EXPECT_LE(std::abs(out[i].g - pixels[i].g), 1) << pixels[i];
        EXPECT_LE(std::abs(out[i].b - pixels[i].b), 1) << pixels[i];
    }
}

TEST(ColorFilters, HsbServesTwentyFourBits)
{
    PLAnyBmp src, dst;
    src.Create(2, 1, 24, false, false);
    src.GetRow24(0)[0] = PLPixel24(255, 0, 0);
    src.GetRow24(0)[1] = PLPixel24(100, 100, 100);
    PLFilterHSB(85, 0, 50).Apply(&src, &dst);
    ASSERT_EQ(dst.GetBitsPerPixel(), 24);
    EXPECT_EQ(dst.GetPixel32(0, 0), PLPixel32(0, 255, 0));
    EXPECT_EQ(dst.GetPixel32(1, 0), PLPixel32(150, 150, 150));
}

TEST(ColorFilters, GrayscaleMakesAnEightBitGreyPicture)
{
    PLAnyBmp src, dst;
    MakeRow(src, { { 255, 255, 255 }, { 0, 0, 0 }, { 19, 19, 19 }, { 255, 0, 0 }, { 0, 0, 255 } });
    src.SetResolution(PLCoord(72, 96));
    PLFilterGrayscale().Apply(&src, &dst);
    ASSERT_EQ(dst.GetBitsPerPixel(), 8);
    EXPECT_TRUE(dst.IsGreyscale());
    EXPECT_FALSE(dst.HasAlpha());
    EXPECT_EQ(dst.GetResolution(), PLCoord(72, 96));
    const uint8_t* row = dst.GetRow(0);
    // 19 sums to 18.999999999999996; red 255 x 0.212671 = 54.2; blue 255 x 0.072169 = 18.4.
    EXPECT_EQ(std::vector<int>(row, row + 5), (std::vector<int> { 255, 0, 18, 54, 18 }));
    EXPECT_EQ(dst.GetPixel32(0, 0), PLPixel32(255, 255, 255));
    // In place the picture itself becomes the grey one.
    src.ApplyFilter(PLFilterGrayscale());
    EXPECT_TRUE(src == dst);
}

TEST(ColorFilters, WatermarkDarkensUnderItsCentredMark)
{
    PLAnyBmp picture, mark, dst;
    Fill32(picture, 6, 4, [](int, int) { return PLPixel32(200, 100, 50, kAlpha); });
    picture.SetHasAlpha(false);
    // A 2 x 2 mark: white, black, mid grey, pure green.
    Fill32(mark, 2, 2, [](int x, int y) {
        const PLPixel32 colours[] = { { 255, 255, 255 }, { 0, 0, 0 }, { 128, 128, 128 }, { 0, 255, 0 } };
        return colours[y * 2 + x];
    });
    PLFilterWatermark(2, &mark).Apply(&picture, &dst);
    ASSERT_EQ(dst.GetBitsPerPixel(), 32);
    EXPECT_EQ(dst.GetPixel32(2, 1), PLPixel32(200, 100, 50, kAlpha)); // under white: unchanged
    EXPECT_EQ(dst.GetPixel32(3, 1), PLPixel32(73, 0, 0, kAlpha)); // black: 127 less, floored at 0
    EXPECT_EQ(dst.GetPixel32(2, 2), PLPixel32(137, 37, 0, kAlpha)); // grey 128: 63 less
    EXPECT_EQ(dst.GetPixel32(3, 2), PLPixel32(164, 64, 14, kAlpha)); // green: lightness 182, 36 less
    EXPECT_EQ(dst.GetPixel32(0, 0), PLPixel32(200, 100, 50, kAlpha)); // outside the mark

    // A mark larger than the picture is shrunk to fit, keeping its proportions: all black, the
    // 12 x 4 mark fits 6 x 2 and darkens rows 1 and 2 only.
    PLAnyBmp big;
    Fill32(big, 12, 4, [](int, int) { return PLPixel32(0, 0, 0); });
    PLFilterWatermark(1, &big).Apply(&picture, &dst);
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(dst.GetPixel32(0, y),
            y == 1 || y == 2 ? PLPixel32(0, 0, 0, kAlpha) : PLPixel32(200, 100, 50, kAlpha))
            << y;
}

// The watermark's own bitmap as the destination: the mark is read before the bitmap is re-created,
// for a mark that fits and for one that is shrunk.
TEST(ColorFilters, WatermarkIntoTheMarksOwnBitmap)
{
    PLAnyBmp picture;
    Fill32(picture, 6, 4, PositionColour);
    for (const int side : { 2, 8 }) {
        PLAnyBmp mark, expected;
        Fill32(mark, side, side, [](int x, int y) {
            return PLPixel32(static_cast<uint8_t>(x * 30), 90, static_cast<uint8_t>(y * 20), 255);
        });
        PLFilterWatermark(2, &mark).Apply(&picture, &expected);
        PLFilterWatermark(2, &mark).Apply(&picture, &mark);
        EXPECT_TRUE(mark == expected) << side;
    }
}

TEST(ColorFilters, RefusesWhatTheyCannotServe)
{
    // Pictures with a distinct byte everywhere, so that any change shows.
    PLAnyBmp bmp8, bmp24, bmp32, mark8, mark32;
    bmp8.Create(3, 3, 8, false, true);
    bmp24.Create(3, 3, 24, false, false);
    Fill32(bmp32, 3, 3, PositionColour);
    mark8.Create(2, 2, 8, false, true);
    Fill32(mark32, 2, 2, PositionColour);
    for (PLAnyBmp* bmp : { &bmp8, &bmp24 })
        for (int y = 0; y < 3; ++y)
            for (int i = 0; i < bmp->GetBitsPerPixel() / 8 * 3; ++i)
                bmp->GetRow(y)[i] = uint8_t(y * 31 + i * 7 + 1);
    const double nan = std::nan(""), inf = HUGE_VAL;
    struct Case {
        const char* what;
        std::function<std::unique_ptr<PLFilter>()> make;
        PLAnyBmp* source;
    };
    const Case cases[] = {
        { "colour on 24 bpp", Make<PLFilterColor>(1, 1, 1, false), &bmp24 },
        { "hsb on 8 bpp", Make<PLFilterHSB>(1, 1, 1), &bmp8 },
        { "lightness on 24 bpp", Make<PLFilterLightnessPercent>(1, true), &bmp24 },
        { "contrast on 8 bpp", Make<PLFilterContrast>(1.0, uint8_t(128)), &bmp8 },
        { "contrast factor not a number", Make<PLFilterContrast>(nan, uint8_t(128)), &bmp32 },
        { "contrast factor infinite", Make<PLFilterContrast>(inf, uint8_t(128)), &bmp24 },
        { "contrast factor minus infinite", Make<PLFilterContrast>(-inf, uint8_t(100)), &bmp32 },
        { "grey on 24 bpp", Make<PLFilterGrayscale>(), &bmp24 },
        { "white balance on 24 bpp", Make<PLFilterWhiteBalance>(PLCoord(0, 0), 0), &bmp24 },
        { "white balance point outside", Make<PLFilterWhiteBalance>(PLCoord(3, 0), 0), &bmp32 },
        { "white balance point above", Make<PLFilterWhiteBalance>(PLCoord(0, -1), 0), &bmp32 },
        { "density on 24 bpp", Make<PLFilterAdjustDensity>(PLCoord(0, 0), 5, 10, 1), &bmp24 },
        { "density seed left", Make<PLFilterAdjustDensity>(PLCoord(-1, 0), 5, 10, 1), &bmp32 },
        { "density seed right", Make<PLFilterAdjustDensity>(PLCoord(3, 0), 5, 10, 1), &bmp32 },
        { "density seed below", Make<PLFilterAdjustDensity>(PLCoord(0, 3), 5, 10, 1), &bmp32 },
        { "density seed far out", Make<PLFilterAdjustDensity>(PLCoord(INT_MIN, INT_MAX), 5, 10, 1), &bmp32 },
        { "density negative radius", Make<PLFilterAdjustDensity>(PLCoord(0, 0), 5, 10, -1), &bmp32 },
        { "density radius INT_MIN", Make<PLFilterAdjustDensity>(PLCoord(1, 1), 5, 10, INT_MIN), &bmp32 },
        { "watermark divisor 0", Make<PLFilterWatermark>(0, &mark32), &bmp32 },
        { "watermark divisor 0 on 8 bpp", Make<PLFilterWatermark>(0, &mark32), &bmp8 },
        { "watermark of 8 bpp", Make<PLFilterWatermark>(2, &mark8), &bmp32 },
        { "no watermark", Make<PLFilterWatermark>(2, static_cast<PLBmp*>(nullptr)), &bmp24 },
    };
    for (const Case& c : cases) {
        PLAnyBmp before, dst, dstBefore;
        before.CreateCopy(*c.source);
        Fill32(dst, 5, 5, PositionColour);
        dstBefore.CreateCopy(dst);
        const auto filter = c.make();
        EXPECT_EQ(ErrorCodeOf([&] { filter->Apply(c.source, &dst); }), PL_ERR_FORMAT_NOT_SUPPORTED) << c.what;
        EXPECT_TRUE(dst == dstBefore) << c.what << ": the destination was touched";
        // Given the picture as both source and destination, or in place, the picture stays as it was.
        EXPECT_EQ(ErrorCodeOf([&] { filter->Apply(c.source, c.source); }), PL_ERR_FORMAT_NOT_SUPPORTED)
            << c.what;
        EXPECT_EQ(ErrorCodeOf([&] { c.source->ApplyFilter(*filter); }), PL_ERR_FORMAT_NOT_SUPPORTED)
            << c.what;
        EXPECT_TRUE(*c.source == before) << c.what << ": the picture was changed";
    }
}

TEST(HsvConversion, KnownColours)
{
    struct Case {
        double r, g, b, h, s, v;
    };
    const Case cases[] = {
        { 0, 0, 0, 0, 0, 0 }, { 255, 0, 0, 0, 255, 255 }, { 0, 255, 0, 85, 255, 255 },
        { 0, 0, 255, 170, 255, 255 }, { 255, 0, 255, 212.5, 255, 255 },
        { 128.9, 128.2, 128.7, 0, 0, 128 }, // inputs are truncated first
    };
    for (const Case& c : cases) {
        double a = c.r, b = c.g, d = c.b;
        RgbToHsv255(a, b, d);
        EXPECT_DOUBLE_EQ(a, c.h) << c.r << "," << c.g << "," << c.b;
        EXPECT_DOUBLE_EQ(b, c.s);
        EXPECT_DOUBLE_EQ(d, c.v);
    }
}

TEST(HsvConversion, BackToRgb)
{
    const auto convert = [](double h, double s, double v) {
        HsvToRgb255(h, s, v);
        return std::vector<double> { h, s, v };
    };
    EXPECT_EQ(convert(100, 0.9, 77), (std::vector<double> { 77, 77, 77 })); // saturation below 1: grey
    EXPECT_EQ(convert(85, 255, 255), (std::vector<double> { 0, 255, 0 }));
    EXPECT_EQ(convert(255, 200, 180), convert(0, 200, 180)); // hue 255 is hue 0
    EXPECT_EQ(convert(600, 200, 180), convert(90, 200, 180)); // hues outside wrap
    EXPECT_EQ(convert(-1e9, 200, 180), convert(WrapHue255(-1e9), 200, 180));
    EXPECT_EQ(convert(std::nan(""), 200, 180), convert(0, 200, 180));
    for (double h : { -1e300, -300.0, -255.0, 0.0, 255.0, 510.0, 777.0, 1e18 }) {
        EXPECT_GE(WrapHue255(h), 0) << h;
        EXPECT_LE(WrapHue255(h), 255) << h;
    }
}

TEST(FitSizeKeepAspect, Table)
{
    struct Case {
        int w, h, boxW, boxH, fitW, fitH;
    };
    const Case cases[] = {
        { 200, 100, 100, 100, 100, 50 },
        { 100, 200, 100, 100, 50, 100 },
        { 300, 300, 100, 50, 50, 50 },
        { 12, 4, 6, 4, 6, 2 },
        { 640, 480, 101, 101, 101, 75 },
        { 0, 10, 50, 50, 0, 0 },
        { 1000, 1, 10, 10, 10, 0 }, // a thin side truncates to 0
        { 1, 1000, 10, 10, 0, 10 },
        { 10, 10, 0, 50, 0, 0 }, // empty or negative box
        { 1, INT_MAX, -INT_MAX, 0, 0, 0 },
        { 10, 10, 50, -5, 0, 0 },
        // Boxes whose sides single precision rounds up to 2^31 give the box's sides.
        { 1, 1, INT_MAX, INT_MAX, INT_MAX, INT_MAX },
        { 2, 1, INT_MAX, INT_MAX, INT_MAX, 1073741824 },
    };
    for (const Case& c : cases) {
        int w = -1, h = -1;
        FitSizeKeepAspect(c.w, c.h, c.boxW, c.boxH, w, h);
        EXPECT_EQ(w, c.fitW) << c.w << "x" << c.h;
        EXPECT_EQ(h, c.fitH) << c.w << "x" << c.h;
    }
}

namespace {

// The density adjustment written plainly: a pending set ordered by x then y, and every window
// summed cell by cell from the unsmoothed grid.
void ReferenceDensity(const PLBmp& src, PLBmp& dst, PLCoord seed, uint32_t threshold, int density, int radius)
{
    const int w = src.GetWidth(), h = src.GetHeight();
    const double unvisited = std::numeric_limits<double>::max();
    std::vector<std::vector<double>> grid(size_t(h), std::vector<double>(size_t(w), unvisited));
    const PLPixel32 s = src.GetPixel32(seed.x, seed.y);
    std::set<std::pair<int, int>> pending { { seed.x, seed.y } };
    while (!pending.empty()) {
        const auto [x, y] = *pending.begin();
        pending.erase(pending.begin());
        const PLPixel32 p = src.GetPixel32(x, y);
        const uint32_t dR = uint32_t(std::abs(p.GetR() - s.GetR())),
                       dG = uint32_t(std::abs(p.GetG() - s.GetG())),
                       dB = uint32_t(std::abs(p.GetB() - s.GetB()));
        double& cell = grid[size_t(y)][size_t(x)];
        if (dR > threshold || dG > threshold || dB > threshold) {
            cell = 0;
            continue;
        }
        const double g = double(dR + dG + dB) / (3.0 * threshold);
        cell = g > 0.5 ? double(int((g - 0.5) * 2 * density)) : density;
        for (int ny = y - 1; ny <= y + 1; ++ny)
            for (int nx = x - 1; nx <= x + 1; ++nx)
                if (nx >= 0 && ny >= 0 && nx < w && ny < h && grid[size_t(ny)][size_t(nx)] == unvisited)
                    pending.insert({ nx, ny });
    }
    auto smoothed = grid;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!(grid[size_t(y)][size_t(x)] < density))
                continue;
            double sum = 0;
            int count = 0;
            for (int wy = std::max(0, y - radius); wy <= std::min(h - 1, y + radius); ++wy)
                for (int wx = std::max(0, x - radius); wx <= std::min(w - 1, x + radius); ++wx) {
                    ++count;
                    if (grid[size_t(wy)][size_t(wx)] != unvisited)
                        sum += grid[size_t(wy)][size_t(wx)];
                }
            smoothed[size_t(y)][size_t(x)] = sum / count;
        }
    dst.Create(w, h, 32, true, false);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const PLPixel32 p = src.GetPixel32(x, y);
            const double cell = smoothed[size_t(y)][size_t(x)];
            const auto adjust = [&](int c) {
                if (cell == 0 || cell == unvisited)
                    return uint8_t(c);
                const double v = c - std::trunc(c * cell / -100.0);
                return uint8_t(v >= 255 ? 255 : v < 0 ? 0 : int(v));
            };
            dst.GetRow32(y)[x] = PLPixel32(adjust(p.GetR()), adjust(p.GetG()), adjust(p.GetB()), p.GetA());
        }
}

} // namespace

// Regions of a few nearby colours, so that the flood crosses diagonals, stops at borders, and gives
// partial cells near the threshold; compared with the plain reference over a table of parameters.
TEST(ColorFilters, AdjustDensityMatchesPlainReference)
{
    struct Case {
        int w, h;
        PLCoord seed;
        int threshold, density, radius;
    };
    const Case cases[] = {
        { 9, 7, PLCoord(4, 3), 12, 60, 1 },
        { 9, 7, PLCoord(0, 0), 30, 100, 2 },
        { 13, 5, PLCoord(12, 4), 8, -40, 1 },
        { 6, 11, PLCoord(2, 9), 0, 50, 3 },
        { 8, 8, PLCoord(3, 3), 20, 35, 0 },
        { 5, 4, PLCoord(1, 2), 255, 200, 40 },
    };
    uint32_t state = 12345;
    const auto next = [&] { return state = state * 1664525u + 1013904223u, state >> 24; };
    for (const Case& c : cases) {
        PLAnyBmp src, dst, expected;
        const int levels[] = { 100, 104, 110, 118, 140 };
        Fill32(src, c.w, c.h, [&](int, int) {
            const int base = levels[next() % 5];
            return PLPixel32(uint8_t(base), uint8_t(base + int(next() % 3)), uint8_t(base - int(next() % 3)),
                uint8_t(next()));
        });
        PLFilterAdjustDensity(c.seed, c.threshold, c.density, c.radius).Apply(&src, &dst);
        ReferenceDensity(src, expected, c.seed, uint32_t(c.threshold), c.density, c.radius);
        ASSERT_EQ(dst.GetSize(), expected.GetSize());
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                EXPECT_EQ(dst.GetPixel32(x, y), expected.GetPixel32(x, y))
                    << c.w << "x" << c.h << " seed " << c.seed.x << "," << c.seed.y << " at " << x << ","
                    << y;
    }
}

// The flood reaches diagonal neighbours and no further than the colour allows.
TEST(ColorFilters, AdjustDensityFloodsDiagonally)
{
    PLAnyBmp src, dst;
    // A diagonal line of grey 100 on grey 200.
    Fill32(src, 4, 4, [](int x, int y) {
        const uint8_t v = x == y ? 100 : 200;
        return PLPixel32(v, v, v, 9);
    });
    PLFilterAdjustDensity(PLCoord(0, 0), 0, 50, 0).Apply(&src, &dst);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(
                dst.GetPixel32(x, y), x == y ? PLPixel32(150, 150, 150, 9) : PLPixel32(200, 200, 200, 9))
                << x << "," << y;
}

// The picture may have any depth: the result is its 32-bpp copy, darkened under the mark.
TEST(ColorFilters, WatermarkServesAnySourceDepth)
{
    PLAnyBmp mark;
    Fill32(mark, 1, 1, [](int, int) { return PLPixel32(0, 0, 0); }); // black: 255 / 4 = 63 less
    for (const int bpp : { 8, 24, 32 }) {
        PLAnyBmp picture, dst;
        picture.Create(3, 1, bpp, false, bpp == 8);
        for (int i = 0; i < 3 * bpp / 8; ++i)
            picture.GetRow(0)[i] = uint8_t(100 + i);
        PLFilterWatermark(4, &mark).Apply(&picture, &dst);
        ASSERT_EQ(dst.GetBitsPerPixel(), 32) << bpp;
        for (int x = 0; x < 3; ++x) {
            const PLPixel32 in = picture.GetPixel32(x, 0);
            const int less = x == 1 ? 63 : 0;
            EXPECT_EQ(dst.GetPixel32(x, 0),
                PLPixel32(uint8_t(in.GetR() - less), uint8_t(in.GetG() - less), uint8_t(in.GetB() - less),
                    in.GetA()))
                << bpp << " bpp, x " << x;
        }
    }
}
