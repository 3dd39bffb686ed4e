// Bitmaps on Qt's clipboard, offscreen: every depth copied and pasted back exactly, our copy pasted
// by another program as an image, an image that Qt put there pasted as a bitmap, and an empty
// clipboard or none at all giving false.
#include "QtTestSupport.h"

#include "app/document/QtBitmapClipboard.h"
#include "imaging/bitmap/PLClipboard.h"
#include "imaging/bitmap/PLWinBmp.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

#include <ostream>

namespace {

// A picture of the depth whose pixels all differ from their neighbours; up to 8 bpp with a palette
// that is not grey.
void MakePicture(PLWinBmp& bmp, int bpp)
{
    const int width = 13, height = 5;
    bmp.Create(width, height, bpp, false, false);
    for (int i = 0; bpp <= 8 && i < bmp.GetNumColors(); ++i)
        bmp.SetPaletteEntry(i, static_cast<uint8_t>(i * 37), static_cast<uint8_t>(255 - i),
            static_cast<uint8_t>(i * 11 + 5), 255);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bmp.GetRow(y);
        for (int x = 0; x < width; ++x) {
            const auto r = static_cast<uint8_t>(x * 19 + y * 3), g = static_cast<uint8_t>(y * 23 + 7),
                       b = static_cast<uint8_t>(x * y * 5 + 11);
            if (bpp == 1 && (x * 3 + y) % 5 < 2)
                row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            if (bpp == 8)
                row[x] = static_cast<uint8_t>(x * 7 + y * 31);
            if (bpp >= 24) {
                uint8_t* p = row + x * (bpp / 8);
                p[0] = b, p[1] = g, p[2] = r;
            }
        }
    }
}

QRgb ColourAt(const PLWinBmp& bmp, int x, int y)
{
    const PLPixel32 p = bmp.GetPixel32(x, y);
    return qRgb(p.GetR(), p.GetG(), p.GetB());
}

class BitmapClipboard : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        qttest::EnsureApplication();
        m_Before = SetClipboardFactory(nullptr);
        RegisterQtBitmapClipboard();
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override { SetClipboardFactory(m_Before); }

private:
    PLClipboardFactory m_Before = nullptr;
};

// The DIB block comes back byte for byte, and another program reads the same colours from the image.
TEST_P(BitmapClipboard, EveryDepthIsPastedBackExactly)
{
    const int bpp = GetParam();
    PLWinBmp original;
    MakePicture(original, bpp);
    ASSERT_TRUE(original.CopyToClipboard());

    PLWinBmp pasted;
    ASSERT_TRUE(pasted.CopyFromClipboard(PL_CF_DIB));
    EXPECT_EQ(pasted.CopyToGlobalMemory(), original.CopyToGlobalMemory());
    EXPECT_TRUE(pasted == original);

    const QImage image = QGuiApplication::clipboard()->image();
    ASSERT_EQ(image.size(), QSize(original.GetWidth(), original.GetHeight()));
    const QByteArray bmpFile = QGuiApplication::clipboard()->mimeData()->data("image/bmp");
    EXPECT_EQ(static_cast<size_t>(bmpFile.size()), 14 + original.GetDibSize());
    PLWinBmp asBitmap;
    ASSERT_TRUE(asBitmap.CopyFromClipboard(PL_CF_BITMAP));
    for (int y = 0; y < original.GetHeight(); ++y)
        for (int x = 0; x < original.GetWidth(); ++x) {
            ASSERT_EQ(image.pixel(x, y) & 0xFFFFFF, ColourAt(original, x, y) & 0xFFFFFF) << x << "," << y;
            ASSERT_EQ(ColourAt(asBitmap, x, y), ColourAt(original, x, y)) << x << "," << y;
        }
    const std::filesystem::path png
        = qttest::OutputPath("clipboard-copied-" + std::to_string(bpp) + "bpp.png");
    EXPECT_TRUE(
        image.scaled(image.width() * 10, image.height() * 10).save(QString::fromStdString(png.string())));
}

INSTANTIATE_TEST_SUITE_P(Depths, BitmapClipboard, ::testing::Values(1, 8, 24, 32),
    [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param) + "bpp"; });

// An image that Qt put on the clipboard is pasted as a bitmap: colour images at 32 bpp, indexed
// ones at 8 bpp with their colours. It offers no DIB, and a failed paste leaves the picture alone.
TEST_F(BitmapClipboard, AnImageFromQtIsPastedAsABitmap)
{
    QImage colour(7, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            colour.setPixel(x, y, qRgb(x * 30, y * 80, 200 - x * 10));
    QGuiApplication::clipboard()->setImage(colour);
    PLWinBmp pasted;
    EXPECT_FALSE(pasted.CopyFromClipboard(PL_CF_DIB));
    EXPECT_EQ(pasted.GetSize(), PLCoord(16, 16));
    ASSERT_TRUE(pasted.CopyFromClipboard(PL_CF_BITMAP));
    ASSERT_EQ(pasted.GetBitsPerPixel(), 32);
    ASSERT_EQ(pasted.GetSize(), PLCoord(7, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(ColourAt(pasted, x, y), colour.pixel(x, y)) << x << "," << y;

    QImage indexed(5, 2, QImage::Format_Indexed8);
    indexed.setColorTable({ qRgb(10, 20, 30), qRgb(200, 100, 0), qRgb(0, 255, 90) });
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x)
            indexed.setPixel(x, y, static_cast<uint>((x + y) % 3));
    QGuiApplication::clipboard()->setImage(indexed);
    ASSERT_TRUE(pasted.CopyFromClipboard(PL_CF_BITMAP));
    ASSERT_EQ(pasted.GetBitsPerPixel(), 8);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(ColourAt(pasted, x, y), indexed.pixel(x, y)) << x << "," << y;
}

// Nothing on the clipboard, a format that is no picture, or no clipboard registered: false, and
// the picture stays as it was.
TEST_F(BitmapClipboard, NothingToPasteGivesFalse)
{
    PLWinBmp bmp;
    MakePicture(bmp, 8);
    const std::vector<uint8_t> before = bmp.CopyToGlobalMemory();
    EXPECT_FALSE(bmp.CopyFromClipboard(PL_CF_DIB));
    EXPECT_FALSE(bmp.CopyFromClipboard(PL_CF_BITMAP));
    ASSERT_TRUE(bmp.CopyToClipboard());
    EXPECT_FALSE(bmp.CopyFromClipboard(PL_CF_PALETTE));
    EXPECT_FALSE(bmp.CopyFromClipboard(1)); // text
    SetClipboardFactory(nullptr);
    EXPECT_FALSE(bmp.CopyToClipboard());
    EXPECT_FALSE(bmp.CopyFromClipboard(PL_CF_DIB));
    EXPECT_EQ(bmp.CopyToGlobalMemory(), before);
}

} // namespace
