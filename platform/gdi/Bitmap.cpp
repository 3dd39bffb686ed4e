#include "platform/gdi/Bitmap.h"

#include <algorithm>
#include <cstring>

namespace gdi {

DibView Bitmap::View() const
{
    DibView view;
    view.width = width;
    view.height = -height;
    view.bitsPerPixel = bitsPerPixel;
    view.palette = colours.data();
    view.paletteEntries = colours.size();
    view.bits = bits.data();
    view.bitsSize = bits.size();
    return view;
}

int GetDIBits(const Bitmap& bitmap, int bitsPerPixel, uint8_t* bits, std::size_t bitsSize, RGBQUAD* colours)
{
    const DibView source = bitmap.View();
    if (bitmap.height <= 0 || !source.IsValid() || !bits)
        return 0;
    if (bitsPerPixel != bitmap.bitsPerPixel && bitsPerPixel != 32)
        return 0;
    const uint64_t rowBytes = DibView::RowBytes(bitmap.width, bitsPerPixel);
    const auto rows = static_cast<uint64_t>(bitmap.height);
    if (rowBytes * rows > bitsSize)
        return 0;
    if (bitsPerPixel <= 8 && colours) {
        const std::size_t entries = std::size_t { 1 } << bitsPerPixel;
        std::fill_n(colours, entries, RGBQUAD {});
        std::copy_n(bitmap.colours.begin(), std::min(entries, bitmap.colours.size()), colours);
    }
    for (uint64_t row = 0; row < rows; ++row) {
        uint8_t* out = bits + (rows - 1 - row) * rowBytes;
        if (bitsPerPixel == bitmap.bitsPerPixel) {
            std::memcpy(out, source.PictureRow(row), rowBytes);
            continue;
        }
        for (uint64_t x = 0; x < static_cast<uint64_t>(bitmap.width); ++x) {
            const win::COLORREF c = source.PixelColor(x, row);
            const uint8_t pixel[4] = { win::GetBValue(c), win::GetGValue(c), win::GetRValue(c), 255 };
            std::memcpy(out + 4 * x, pixel, 4);
        }
    }
    return static_cast<int>(rows);
}

} // namespace gdi
