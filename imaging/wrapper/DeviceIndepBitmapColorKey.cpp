// Drawing the picture with a colour key: pixels near the key colour leave the device as it was.
#include "imaging/wrapper/DeviceIndepBitmap.h"

#include <cstdlib>

#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/io/PLTextException.h"

namespace Pellimar {

namespace {

int32_t KeyDistance(const PLPixel32& pixel, int32_t red, int32_t green, int32_t blue, int32_t alpha)
{
    return std::abs(pixel.GetR() - red) + std::abs(pixel.GetG() - green) + std::abs(pixel.GetB() - blue)
        + std::abs(pixel.GetA() - alpha);
}

} // namespace

bool DeviceIndepBitmap::MakeColorKeyMask(gdi::DeviceContext& dc, int32_t keyRed, int32_t keyGreen,
    int32_t keyBlue, int32_t keyAlpha, int32_t x, int32_t y, int32_t width, int32_t height, int32_t tolerance)
{
    if (!m_pBitmap)
        return true;
    try {
        // The copy keeps the pixels that are drawn and is black where the key shows through; the
        // mask is black where the copy is drawn and white where the device stays.
        PLWinBmp copy;
        copy.CreateCopy(*m_pBitmap, 32);
        PLWinBmp mask;
        mask.Create(copy.GetWidth(), copy.GetHeight(), 32, false, false);
        const PLPixel32 black(0, 0, 0, 255);
        const PLPixel32 white(255, 255, 255, 255);
        for (int row = 0; row < copy.GetHeight(); ++row) {
            PLPixel32* pixels = copy.GetRow32(row);
            PLPixel32* masks = mask.GetRow32(row);
            for (int col = 0; col < copy.GetWidth(); ++col) {
                if (KeyDistance(pixels[col], keyRed, keyGreen, keyBlue, keyAlpha) > tolerance) {
                    masks[col] = black;
                } else {
                    masks[col] = white;
                    pixels[col] = PLPixel32(0, 0, 0, pixels[col].GetA());
                }
            }
        }
        mask.StretchDraw(dc, x, y, width, height, gdi::SRCAND);
        copy.StretchDraw(dc, x, y, width, height, gdi::SRCPAINT);
    } catch (const PLTextException& e) {
        ResultFromException(e);
        return false;
    }
    return true;
}

bool DeviceIndepBitmap::DrawWithCornerKey(
    gdi::DeviceContext& dc, int32_t x, int32_t y, int32_t width, int32_t height, int32_t tolerance)
{
    if (!m_pBitmap || m_pBitmap->GetWidth() < 1 || m_pBitmap->GetHeight() < 1)
        return true;
    const PLPixel32 corner = m_pBitmap->GetPixel32(0, 0);
    return MakeColorKeyMask(
        dc, corner.GetR(), corner.GetG(), corner.GetB(), corner.GetA(), x, y, width, height, tolerance);
}

} // namespace Pellimar
