// Drawing with a colour key on the recording device: a black-and-white mask ANDed onto the device,
// then the picture, black where the key shows through, ORed over it.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/wrapper/DeviceIndepBitmap.h"
#include "platform/gdi/RecordingDeviceContext.h"

namespace {

using Pellimar::DeviceIndepBitmap;

// A 3 x 2 picture, top row first: the key colour (green) in the top-left corner, a colour close to
// it (distance 20), the key with alpha 200 (distance 55), and three colours far from it.
const PLPixel32 kPixels[2][3] = {
    { PLPixel32(0, 255, 0, 255), PLPixel32(10, 245, 0, 255), PLPixel32(0, 255, 0, 200) },
    { PLPixel32(200, 10, 30, 255), PLPixel32(0, 0, 0, 255), PLPixel32(255, 255, 255, 255) },
};

void MakePicture(DeviceIndepBitmap& dib)
{
    ASSERT_TRUE(dib.CreateImage(3, 2, 32, false, false, 72));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            dib.GetBitmap()->GetRow32(y)[x] = kPixels[y][x];
}

// What a device of one colour shows after the two drawings: (device AND mask) OR picture.
std::vector<win::COLORREF> Composed(
    const gdi::RecordedDib& mask, const gdi::RecordedDib& picture, win::COLORREF device)
{
    std::vector<win::COLORREF> shown;
    for (size_t i = 0; i < mask.pixels.size() && i < picture.pixels.size(); ++i)
        shown.push_back((device & mask.pixels[i]) | picture.pixels[i]);
    return shown;
}

struct ToleranceCase {
    int32_t tolerance;
    std::vector<bool> transparent; // for the six pixels, top row first
};

// The pixels within the tolerance of the key leave the device's colour; the others show as they are.
TEST(ColorKeyDraw, MaskAndPictureOnTheRecordingDevice)
{
    DeviceIndepBitmap dib;
    MakePicture(dib);
    const win::COLORREF device = win::RGB(90, 60, 170);
    const ToleranceCase cases[] = {
        { 0, { true, false, false, false, false, false } },
        { 20, { true, true, false, false, false, false } },
        { 55, { true, true, true, false, false, false } },
        { -1, { false, false, false, false, false, false } },
    };
    for (const ToleranceCase& c : cases) {
        for (const bool corner : { false, true }) {
            gdi::RecordingDeviceContext dc;
            dc.KeepPixels(true);
            ASSERT_TRUE(corner ? dib.DrawWithCornerKey(dc, 10, 20, 30, 40, c.tolerance)
                               : dib.MakeColorKeyMask(dc, 0, 255, 0, 255, 10, 20, 30, 40, c.tolerance));
            const auto dibs = dc.All<gdi::RecordedDib>();
            ASSERT_EQ(dibs.size(), 2u);
            EXPECT_EQ(dibs[0].call.rop, gdi::SRCAND);
            EXPECT_EQ(dibs[1].call.rop, gdi::SRCPAINT);
            for (const gdi::RecordedDib& drawn : dibs) {
                EXPECT_EQ(drawn.call.logicalX, 10);
                EXPECT_EQ(drawn.call.logicalY, 20);
                EXPECT_EQ(drawn.call.logicalWidth, 30);
                EXPECT_EQ(drawn.call.logicalHeight, 40);
                EXPECT_EQ(drawn.call.srcWidth, 3);
                EXPECT_EQ(drawn.call.srcHeight, 2);
            }
            std::vector<win::COLORREF> expected;
            for (int i = 0; i < 6; ++i) {
                const PLPixel32& p = kPixels[i / 3][i % 3];
                expected.push_back(c.transparent[i] ? device : win::RGB(p.GetR(), p.GetG(), p.GetB()));
            }
            EXPECT_EQ(Composed(dibs[0], dibs[1], device), expected)
                << c.tolerance << (corner ? " corner" : "");
        }
    }
    // The picture itself is not changed by drawing.
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(dib.GetBitmap()->GetRow32(i / 3)[i % 3], kPixels[i / 3][i % 3]);
}

TEST(ColorKeyDraw, NothingWithoutAPicture)
{
    DeviceIndepBitmap empty;
    gdi::RecordingDeviceContext dc;
    EXPECT_TRUE(empty.MakeColorKeyMask(dc, 0, 0, 0, 0, 0, 0, 10, 10, 5));
    EXPECT_TRUE(empty.DrawWithCornerKey(dc, 0, 0, 10, 10, 5));
    EXPECT_TRUE(dc.Primitives().empty());
}

} // namespace
