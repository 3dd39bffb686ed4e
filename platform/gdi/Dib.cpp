#include "platform/gdi/Dib.h"

namespace gdi {

bool DibView::IsValid() const
{
    if (width <= 0 || height == 0 || height == INT32_MIN || bits == nullptr)
        return false;
    if (bitsPerPixel != 1 && bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32)
        return false;
    const uint64_t rowBytes = RowBytes(width, bitsPerPixel);
    return Rows() <= bitsSize / rowBytes;
}

const uint8_t* DibView::PictureRow(uint64_t row) const
{
    const uint64_t stored = TopDown() ? row : Rows() - 1 - row;
    return bits + stored * RowBytes(width, bitsPerPixel);
}

win::COLORREF DibView::PixelColor(uint64_t x, uint64_t row) const
{
    const uint8_t* line = PictureRow(row);
    auto fromPalette = [this](unsigned index) {
        if (palette == nullptr || index >= paletteEntries)
            return win::RGB(0, 0, 0);
        const RGBQUAD& q = palette[index];
        return win::RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    };
    switch (bitsPerPixel) {
    case 1:
        return fromPalette((line[x / 8] >> (7 - x % 8)) & 1);
    case 8:
        return fromPalette(line[x]);
    case 24:
        return win::RGB(line[3 * x + 2], line[3 * x + 1], line[3 * x]);
    default:
        return win::RGB(line[4 * x + 2], line[4 * x + 1], line[4 * x]);
    }
}

} // namespace gdi
