#include "platform/gdi/RecordingDeviceContext.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using gdi::RecordingDeviceContext;
using win::POINT;

struct MappingCase {
    const char* name;
    int mapMode;
    int dpi;
    POINT windowOrg;
    POINT viewportOrg;
    POINT logical;
    POINT device;
};

void PrintTo(const MappingCase& c, std::ostream* os) { *os << c.name; }

class Mapping : public ::testing::TestWithParam<MappingCase> {};

// Device values worked out by hand: x' = round((x - wx) * dpi / 254) + vx, y' = round((wy - y) * dpi / 254) + vy
// in the metric mode, plain offsets in the text mode.
const MappingCase kMappingCases[] = {
    { "text identity", gdi::MM_TEXT, 96, {}, {}, { 17, -4 }, { 17, -4 } },
    { "text origins", gdi::MM_TEXT, 96, { 5, 7 }, { 100, 200 }, { 15, 17 }, { 110, 210 } },
    { "metric 254 dpi flips y", gdi::MM_LOMETRIC, 254, {}, {}, { 100, 250 }, { 100, -250 } },
    { "metric 600 dpi one inch", gdi::MM_LOMETRIC, 600, {}, {}, { 254, -254 }, { 600, 600 } },
    { "metric rounds half away from zero", gdi::MM_LOMETRIC, 127, {}, {}, { 1, -1 }, { 1, 1 } },
    { "metric rounds negative half away", gdi::MM_LOMETRIC, 127, {}, {}, { -1, 3 }, { -1, -2 } },
    { "metric with origins", gdi::MM_LOMETRIC, 300, { 10, -20 }, { 7, 9 }, { 264, -274 }, { 307, 309 } },
};

TEST_P(Mapping, LogicalToDeviceAndBack)
{
    const auto& c = GetParam();
    RecordingDeviceContext dc({ 1000, 1000, c.dpi, c.dpi });
    dc.SetMapMode(c.mapMode);
    dc.SetWindowOrg(c.windowOrg.x, c.windowOrg.y);
    dc.SetViewportOrg(c.viewportOrg.x, c.viewportOrg.y);
    POINT p = c.logical;
    dc.LPtoDP(&p);
    EXPECT_EQ(p, c.device);
    // Back to logical: exact when one device pixel is at most one logical unit.
    if (c.mapMode == gdi::MM_TEXT || c.dpi >= 254) {
        dc.DPtoLP(&p);
        EXPECT_EQ(p, c.logical);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Mapping, ::testing::ValuesIn(kMappingCases));

TEST(Mapping, RectanglesAndSizes)
{
    RecordingDeviceContext dc({ 1000, 1000, 600, 600 });
    dc.SetMapMode(gdi::MM_LOMETRIC);
    win::RECT r { 0, 0, 254, -127 };
    dc.LPtoDP(&r);
    EXPECT_EQ(r, (win::RECT { 0, 0, 600, 300 }));
    dc.DPtoLP(&r);
    EXPECT_EQ(r, (win::RECT { 0, 0, 254, -127 }));
    // Sizes scale their magnitude and keep their sign, whatever the axis direction.
    win::SIZE s { 600, -300 };
    dc.DPtoLP(&s);
    EXPECT_EQ(s, (win::SIZE { 254, -127 }));
    dc.LPtoDP(&s);
    EXPECT_EQ(s, (win::SIZE { 600, -300 }));
}

TEST(Mapping, ExtremeCoordinatesSaturateInsteadOfOverflowing)
{
    RecordingDeviceContext dc({ 1000, 1000, 1200, 1200 });
    dc.SetMapMode(gdi::MM_LOMETRIC);
    dc.SetWindowOrg(INT_MIN, INT_MAX);
    dc.SetViewportOrg(INT_MAX, INT_MAX);
    POINT p { INT_MAX, INT_MIN };
    dc.LPtoDP(&p);
    EXPECT_EQ(p, (POINT { INT_MAX, INT_MAX }));
    dc.DPtoLP(&p);
    SUCCEED(); // no signed overflow under the sanitizer is the point
}

TEST(Mapping, DeviceCapsAndPrintingFlag)
{
    RecordingDeviceContext screen({ 800, 600, 96, 72 });
    EXPECT_EQ(screen.GetDeviceCaps(gdi::HORZRES), 800);
    EXPECT_EQ(screen.GetDeviceCaps(gdi::VERTRES), 600);
    EXPECT_EQ(screen.GetDeviceCaps(gdi::LOGPIXELSX), 96);
    EXPECT_EQ(screen.GetDeviceCaps(gdi::LOGPIXELSY), 72);
    EXPECT_FALSE(screen.IsPrinting());
    RecordingDeviceContext printer({ 4800, 6600, 600, 600 }, true);
    EXPECT_TRUE(printer.IsPrinting());
}

} // namespace
