#include "QtTestSupport.h"
#include "gdi/TestPictures.h"

#include "platform/qt/QtDeviceContext.h"

#include <gtest/gtest.h>

namespace {

using testpictures::Expected;
using testpictures::MakePicture;

QRgb Rgb(win::COLORREF c) { return qRgb(win::GetRValue(c), win::GetGValue(c), win::GetBValue(c)); }

struct Depth {
    int bpp;
    bool topDown;
    friend void PrintTo(const Depth& d, std::ostream* os) { *os << d.bpp << " bpp" << (d.topDown ? " top-down" : ""); }
};

class QtBitmaps : public ::testing::TestWithParam<Depth> {};

// Each picture pixel becomes a 10 x 10 block; mirrored extents and a part of the picture too.
TEST_P(QtBitmaps, EveryDepthAndRowOrderDrawsItsColours)
{
    qttest::EnsureApplication();
    const auto [bpp, topDown] = GetParam();
    const auto picture = MakePicture(bpp, topDown);
    QImage image = qttest::WhiteImage(100, 60, 96);
    {
        gdi::QtDeviceContext dc(image);
        dc.SetStretchBltMode(gdi::COLORONCOLOR);
        EXPECT_EQ(dc.StretchDIBits(0, 0, 30, 20, 0, 0, 3, 2, picture.view, gdi::SRCCOPY), 2);
        // Mirrored across: the right edge of the picture at x = 40.
        dc.StretchDIBits(70, 0, -30, 20, 0, 0, 3, 2, picture.view, gdi::SRCCOPY);
        // The right two pixels of the top row (source y counts from the bottom), one to one.
        dc.SetDIBitsToDevice(80, 0, 2, 1, 1, 1, picture.view);
        // The bottom row alone, stretched.
        dc.StretchDIBits(0, 40, 30, 10, 0, 0, 3, 1, picture.view, gdi::SRCCOPY);
    }
    for (int row = 0; row < 2; ++row)
        for (int x = 0; x < 3; ++x) {
            const QRgb colour = Rgb(Expected(bpp, row, x));
            EXPECT_EQ(image.pixel(10 * x + 5, 10 * row + 5), colour) << x << "," << row;
            EXPECT_EQ(image.pixel(65 - 10 * x, 10 * row + 5), colour) << "mirrored " << x << "," << row;
        }
    EXPECT_EQ(image.pixel(80, 0), Rgb(Expected(bpp, 0, 1)));
    EXPECT_EQ(image.pixel(81, 0), Rgb(Expected(bpp, 0, 2)));
    EXPECT_EQ(image.pixel(82, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(80, 1), qRgb(255, 255, 255));
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(image.pixel(10 * x + 5, 45), Rgb(Expected(bpp, 1, x)));
}

INSTANTIATE_TEST_SUITE_P(Depths, QtBitmaps,
                         ::testing::Values(Depth { 1, false }, Depth { 8, false }, Depth { 24, false },
                                           Depth { 32, false }, Depth { 8, true }, Depth { 32, true }),
                         [](const auto& info) {
                             return std::to_string(info.param.bpp) + "bpp"
                                 + (info.param.topDown ? "TopDown" : "BottomUp");
                         });

} // namespace
