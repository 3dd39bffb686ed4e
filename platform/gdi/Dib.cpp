#include "platform/gdi/Dib.h"

namespace gdi {

bool DibView::IsValid() const
{
    if (width <= 0 || height == 0 || height == INT32_MIN || bits == nullptr)
        return false;
    switch (bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return false;
    }
    const uint64_t rowBytes = RowBytes(width, bitsPerPixel);
    return Rows() <= bitsSize / rowBytes;
}

const uint8_t* DibView::PictureRow(uint64_t row) const
{
    const uint64_t stored = TopDown() ? row : Rows() - 1 - row;
    return bits + stored * RowBytes(width, bitsPerPixel);
}

namespace {

// A 5-bit channel widened to 8 bits with its top bits repeated below, so that 31 is 255.
win::BYTE Widen5(unsigned value)
{
    return static_cast<win::BYTE>((value << 3) | (value >> 2));
}

// A 16-bit pixel, little-endian: blue in the low five bits, then green and red; the top bit unused.
win::COLORREF Colour555(const uint8_t* pixel)
{
    const unsigned value = pixel[0] | (unsigned { pixel[1] } << 8);
    return win::RGB(Widen5((value >> 10) & 31), Widen5((value >> 5) & 31), Widen5(value & 31));
}

} // namespace

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
    case 4:
        return fromPalette((line[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 15);
    case 8:
        return fromPalette(line[x]);
    case 16:
        return Colour555(line + 2 * x);
    case 24:
        return win::RGB(line[3 * x + 2], line[3 * x + 1], line[3 * x]);
    default:
        return win::RGB(line[4 * x + 2], line[4 * x + 1], line[4 * x]);
    }
}

} // namespace gdi
