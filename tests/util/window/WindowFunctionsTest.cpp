// Clipboard text, the bitmap with its own palette, beeps and the message pump.
#include "ApplicationFixture.h"

#include "platform/gdi/RecordingDeviceContext.h"
#include "util/window/ClipboardText.h"
#include "util/window/MessagePump.h"
#include "util/window/WzdBitmap.h"

#include <QClipboard>
#include <QImage>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace {

using WindowFunctions = ApplicationFixture;

TEST_F(WindowFunctions, ClipboardTextRoundTripsInTheCodePage)
{
    const std::string text = "Proof sheet caf\xE9 \x80 5\r\nline two";
    ASSERT_TRUE(SetClipboardText(text));
    std::string read = "unset";
    ASSERT_TRUE(GetClipboardText(read));
    EXPECT_EQ(read, text);

    QGuiApplication::clipboard()->clear();
    read = "unset";
    EXPECT_FALSE(GetClipboardText(read));
    EXPECT_EQ(read, "unset");
}

TEST(ClipboardTextWithoutWindows, FailsWithoutAnApplication)
{
    std::string read = "unset";
    EXPECT_FALSE(SetClipboardText("text"));
    EXPECT_FALSE(GetClipboardText(read));
    EXPECT_EQ(read, "unset");
}

TEST_F(WindowFunctions, ResourceBitmapReplacesItsBackgroundColourAndDrawsOnePixelToOne)
{
    // 101.bmp: 5 x 3, 8 bits; top row magenta, red, green, blue, magenta; then red; then blue.
    CWzdBitmap bitmap;
    bitmap.LoadBitmapResource(101, true, win::RGB(255, 0, 255));
    ASSERT_FALSE(bitmap.IsEmpty());
    EXPECT_EQ(bitmap.GetWidth(), 5);
    EXPECT_EQ(bitmap.GetHeight(), 3);
    ASSERT_EQ(bitmap.GetPalette().size(), 4u);
    const win::COLORREF face = ButtonFaceColour();

    gdi::RecordingDeviceContext dc;
    dc.SetViewportOrg(3, 4);
    DrawBitmap(10, 20, dc, bitmap);
    const auto dibs = dc.All<gdi::RecordedDib>();
    ASSERT_EQ(dibs.size(), 1u);
    const gdi::DibCall& call = dibs[0].call;
    EXPECT_EQ(call.deviceX, 13);
    EXPECT_EQ(call.deviceY, 24);
    EXPECT_EQ(call.deviceWidth, 5);
    EXPECT_EQ(call.deviceHeight, 3);
    const std::vector<std::vector<win::COLORREF>> rows = {
        { face, win::RGB(255, 0, 0), win::RGB(0, 255, 0), win::RGB(0, 0, 255), face },
        std::vector<win::COLORREF>(5, win::RGB(255, 0, 0)),
        std::vector<win::COLORREF>(5, win::RGB(0, 0, 255)),
    };
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (std::size_t x = 0; x < rows[row].size(); ++x)
            EXPECT_EQ(call.dib.PixelColor(x, row), rows[row][x]) << x << ", " << row;

    // Without the replace flag the magenta stays; an unknown resource leaves the bitmap empty.
    bitmap.LoadBitmapResource(101, false, win::RGB(255, 0, 255));
    EXPECT_EQ(bitmap.GetDib().PixelColor(0, 0), win::RGB(255, 0, 255));
    bitmap.LoadBitmapResource(999, false, 0);
    EXPECT_TRUE(bitmap.IsEmpty());
    dc.Clear();
    DrawBitmap(0, 0, dc, bitmap);
    EXPECT_TRUE(dc.Primitives().empty());
}

TEST_F(WindowFunctions, PumpingHandlesWaitingEvents)
{
    int handled = 0;
    QTimer::singleShot(0, [&handled] { ++handled; });
    QMetaObject::invokeMethod(
        &app_, [&handled] { ++handled; }, Qt::QueuedConnection);
    PumpMessages();
    EXPECT_EQ(handled, 2);
    QMetaObject::invokeMethod(
        &app_, [&handled] { ++handled; }, Qt::QueuedConnection);
    PumpWaitingMessages();
    EXPECT_EQ(handled, 3);
}

TEST_F(WindowFunctions, BeepsWaitTheirDurationAndPause)
{
    std::vector<std::chrono::milliseconds> waits;
    BeepRepeatedly(880, 120, 2, 300, [&waits](std::chrono::milliseconds wait) { waits.push_back(wait); });
    using std::chrono::milliseconds;
    EXPECT_EQ(waits,
        (std::vector<milliseconds> {
            milliseconds(120), milliseconds(300), milliseconds(120), milliseconds(300) }));
}

} // namespace
