// A picture drawn with a colour key on a QImage: the device shows through wherever the picture
// has the key colour, over a background of two colours. The result is written to the test output.
#include "QtTestSupport.h"

#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/wrapper/DeviceIndepBitmap.h"
#include "platform/qt/QtDeviceContext.h"

#include <gtest/gtest.h>

namespace {

const QRgb Yellow = qRgb(250, 220, 40);
const QRgb Purple = qRgb(110, 30, 140);
const QRgb Red = qRgb(220, 20, 30);

TEST(QtColorKey, KeyColourShowsTheDevice)
{
    qttest::EnsureApplication();
    // 20 x 20: green (the key, in the corner), with a red 10 x 10 square in the middle and a
    // greenish border (within the tolerance) around it.
    Pellimar::DeviceIndepBitmap dib;
    ASSERT_TRUE(dib.CreateImage(20, 20, 32, false, false, 96));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 5 && x < 15 && y >= 5 && y < 15;
            const bool border = !inside && x >= 3 && x < 17 && y >= 3 && y < 17;
            dib.GetBitmap()->GetRow32(y)[x] = inside ? PLPixel32(220, 20, 30, 255)
                : border                             ? PLPixel32(8, 240, 4, 255)
                                                     : PLPixel32(0, 255, 0, 255);
        }
    QImage image = qttest::WhiteImage(80, 60, 96);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
            image.setPixel(x, y, x < 40 ? Yellow : Purple);
    {
        gdi::QtDeviceContext dc(image);
        dc.SetStretchBltMode(gdi::COLORONCOLOR);
        ASSERT_TRUE(dib.DrawWithCornerKey(dc, 20, 10, 40, 40, 30));
    }
    image.save(QString::fromStdString(qttest::OutputPath("colour-key.png").string()));
    // The red square, 20 x 20 device pixels from (30, 20); everything else keeps the background.
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x) {
            const bool red = x >= 30 && x < 50 && y >= 20 && y < 40;
            ASSERT_EQ(image.pixel(x, y), red ? Red : x < 40 ? Yellow : Purple) << x << ", " << y;
        }
}

} // namespace
