#include "app/view/DisplayConverter.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace {

using win::POINT;

struct Setting {
    const char* name;
    bool printing;
    double scale;
    POINT origin;
    POINT offset;
};

LayoutConverter Make(const Setting& s)
{
    LayoutConverter c;
    c.SetPrinting(s.printing);
    EXPECT_TRUE(c.SetScale(s.scale));
    c.SetOrigin(s.origin);
    c.SetOffsetX(s.offset.x);
    c.SetOffsetY(s.offset.y);
    return c;
}

struct KnownPoint {
    Setting setting;
    POINT layout;
    POINT device;
};

// Worked by hand from x' = trunc((x - ox) * s) + dx, y' = trunc((oy - y) * s) + dy.
const KnownPoint kKnownPoints[] = {
    { { "screen 1.0", false, 1.0, { 0, 0 }, { 0, 0 } }, { 100, 250 }, { 100, -250 } },
    { { "screen 0.5", false, 0.5, { 0, 0 }, { 0, 0 } }, { 3, 3 }, { 1, -1 } },
    { { "screen 2.0 centred", false, 2.0, { 0, 0 }, { 50, -20 } }, { 100, 250 }, { 250, -520 } },
    { { "screen 1.331 centred", false, 1.331, { 0, 0 }, { 12, -34 } }, { 2100, 2970 }, { 2807, -3987 } },
    { { "printer portrait", true, 1.0, { 30, 30 }, { 0, 0 } }, { 30, 30 }, { 0, 0 } },
    { { "printer portrait", true, 1.0, { 30, 30 }, { 0, 0 } }, { 130, 230 }, { 100, -200 } },
    { { "printer landscape", true, 1.0, { 30, 40 }, { 0, 0 } }, { 30, 40 }, { 0, 0 } },
    { { "printer landscape", true, 1.0, { 30, 40 }, { 0, 0 } }, { 2940, 2060 }, { 2910, -2020 } },
};

TEST(LayoutConverter, KnownPoints)
{
    for (const auto& k : kKnownPoints) {
        const LayoutConverter c = Make(k.setting);
        POINT p = k.layout;
        c.ToDevice(p);
        EXPECT_EQ(p, k.device) << k.setting.name;
    }
}

// Layout to device and back over a grid of points: exact at whole scales, otherwise off by no
// more than the truncations can lose (one device unit, 1/scale layout units, plus one).
TEST(LayoutConverter, RoundTripsForScreenAndPrinter)
{
    const Setting settings[] = {
        { "screen 1.0", false, 1.0, { 0, 0 }, { 0, 0 } },
        { "screen 2.0", false, 2.0, { 0, 0 }, { 40, -17 } },
        { "screen 0.505", false, 0.505, { 0, 0 }, { 250, 0 } },
        { "screen 0.3367", false, 0.3367, { 0, 0 }, { 0, -311 } },
        { "screen 1.331", false, 1.331, { 0, 0 }, { 7, -9 } },
        { "printer portrait", true, 1.0, { 30, 30 }, { 0, 0 } },
        { "printer landscape", true, 1.0, { 30, 40 }, { 0, 0 } },
    };
    for (const auto& s : settings) {
        const LayoutConverter c = Make(s);
        const bool whole = s.scale == std::floor(s.scale);
        const int slack = whole ? 0 : static_cast<int>(std::ceil(1.0 / s.scale)) + 1;
        for (int x = -50; x <= 3000; x += 211)
            for (int y = -50; y <= 3000; y += 157) {
                POINT p { x, y };
                c.ToDevice(p);
                POINT back = p;
                c.ToLayout(back);
                EXPECT_LE(std::abs(back.x - x), slack) << s.name << " x " << x;
                EXPECT_LE(std::abs(back.y - y), slack) << s.name << " y " << y;
                EXPECT_EQ(c.ToLayoutX(p.x), back.x);
                EXPECT_EQ(c.ToLayoutY(p.y), back.y);
            }
        // A rectangle takes the point rules edge by edge: its top maps to the larger device y.
        win::RECT r { 100, 200, 300, 400 };
        c.ToDeviceRect(r);
        POINT tl { 100, 200 }, br { 300, 400 };
        c.ToDevice(tl);
        c.ToDevice(br);
        EXPECT_EQ(r, (win::RECT { tl.x, tl.y, br.x, br.y })) << s.name;
        EXPECT_GT(r.top, r.bottom) << s.name;
    }
}

TEST(LayoutConverter, LengthsAndSizes)
{
    LayoutConverter c;
    c.SetScale(0.5);
    EXPECT_EQ(c.ScaleLength(3), 1);
    EXPECT_EQ(c.ScaleLengthNegated(3), -1);
    EXPECT_EQ(c.ToLayoutLength(3), 6);
    win::SIZE s { 101, -7 };
    c.ToLayoutSize(s);
    EXPECT_EQ(s, (win::SIZE { 202, -14 }));
}

TEST(LayoutConverter, BadScalesAreRefusedAndNothingDividesByThem)
{
    LayoutConverter c;
    c.SetScale(2.0);
    for (double bad : { 0.0, -1.0, -0.0, std::numeric_limits<double>::quiet_NaN(),
             std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity() }) {
        EXPECT_FALSE(c.SetScale(bad)) << bad;
        EXPECT_EQ(c.GetScale(), 2.0);
    }
    EXPECT_EQ(c.ToLayoutLength(10), 5);
    // A tiny but valid scale saturates instead of overflowing.
    ASSERT_TRUE(c.SetScale(1e-300));
    EXPECT_EQ(c.ToLayoutLength(10), INT_MAX);
    EXPECT_EQ(c.ToLayoutLength(-10), INT_MIN);
    EXPECT_EQ(c.ToLayoutX(INT_MAX), INT_MAX);
    ASSERT_TRUE(c.SetScale(1e300));
    POINT p { INT_MAX, INT_MIN };
    c.ToDevice(p);
    EXPECT_EQ(p, (POINT { INT_MAX, INT_MAX }));
}

TEST(LayoutConverter, FontHeightsFollowTheScale)
{
    const struct {
        double scale;
        int64_t size;
        int32_t height;
    } cases[] = {
        { 1.0, 100, -35 }, // 254 * 100 / -720 = -35.28
        { 2.0, 100, -70 },
        { 0.5, 100, -17 },
        { 1.0, 600, -211 },
        { 0.001, 100, -1 }, // -0.035 would be 0, the device's default size: smallest visible instead
        { 1.0, 0, -1 },
        { 1.0, UINT32_MAX, -gdi::kMaxFontHeight }, // size * 254 needs 64 bits; then clamped
        { 1e6, 100, -gdi::kMaxFontHeight },
    };
    for (const auto& k : cases) {
        LayoutConverter c;
        c.SetScale(k.scale);
        EXPECT_EQ(c.FontHeight(k.size), k.height) << k.scale << " " << k.size;
    }
}

TEST(LayoutConverter, CreateFontFillsTheDescription)
{
    LayoutConverter c;
    c.SetScale(2.0);
    gdi::CFont font;
    ASSERT_TRUE(c.CreateFont(font, 100, "Arial", 2700));
    const gdi::LOGFONT& lf = font.GetLogFont();
    EXPECT_EQ(lf.lfHeight, -70);
    EXPECT_EQ(lf.lfEscapement, 2700);
    EXPECT_EQ(lf.lfOrientation, 0);
    EXPECT_EQ(lf.lfWeight, 0);
    EXPECT_EQ(lf.lfCharSet, gdi::ANSI_CHARSET);
    EXPECT_EQ(lf.lfOutPrecision, gdi::OUT_TT_ONLY_PRECIS);
    EXPECT_EQ(gdi::GetFaceName(lf), "Arial");
    EXPECT_FALSE(c.CreateFont(font, 100, "Arial", 0)) << "the font already holds one";
}

TEST(LayoutConverter, EscapementOfClockwiseAngles)
{
    EXPECT_EQ(TextEscapement(0), 0);
    EXPECT_EQ(TextEscapement(900), 2700);
    EXPECT_EQ(TextEscapement(1800), 1800);
    EXPECT_EQ(TextEscapement(2700), 900);
}

TEST(LayoutConverter, ScaleRectMultipliesEveryEdge)
{
    win::RECT r { 1, -2, 3, -4 };
    ScaleRect(r, r, 100);
    EXPECT_EQ(r, (win::RECT { 100, -200, 300, -400 }));
    win::RECT big;
    ScaleRect(big, { INT_MAX, INT_MIN, 5, 0 }, 100);
    EXPECT_EQ(big, (win::RECT { INT_MAX, INT_MIN, 500, 0 }));
}

} // namespace
