#include "imaging/raster/BmpRows.h"

#include "imaging/raster/RasterSafety.h"

#include <cstring>

namespace bmprows {

void IndexRow(const uint8_t* row, uint8_t* out, int64_t width, int bits)
{
    switch (bits) {
    case 1:
        for (int64_t x = 0; x < width; ++x)
            out[x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
        break;
    case 4:
        for (int64_t x = 0; x < width; ++x)
            out[x] = (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
        break;
    default:
        std::memcpy(out, row, static_cast<size_t>(width));
        break;
    }
}

Layout16 LayoutOf16(bool bitFields, const bmpbits::Masks& masks)
{
    if (!bitFields || (masks.red == 0x7C00 && masks.green == 0x03E0 && masks.blue == 0x001F))
        return Layout16::Shift555;
    if (masks.red == 0xF800 && masks.green == 0x07E0 && masks.blue == 0x001F)
        return Layout16::Shift565;
    return Layout16::Masked;
}

void Row16(const uint8_t* row, PLPixel32* out, int64_t width, Layout16 layout, const bmpbits::Masks& masks)
{
    if (layout == Layout16::Masked) {
        bmpbits::DecodeRow(row, out, width, 2, masks);
        return;
    }
    const bmpbits::Channel alpha(masks.alpha);
    const bool is565 = layout == Layout16::Shift565;
    for (int64_t x = 0; x < width; ++x) {
        const unsigned v = raster::LoadU16LE(row + 2 * x);
        const uint8_t a = masks.alpha ? alpha(v) : 255;
        if (is565)
            out[x].Set(static_cast<uint8_t>((v >> 8) & 0xF8), static_cast<uint8_t>((v >> 3) & 0xF8),
                static_cast<uint8_t>((v << 3) & 0xFF), a);
        else
            out[x].Set(static_cast<uint8_t>((v >> 7) & 0xF8), static_cast<uint8_t>((v >> 2) & 0xF8),
                static_cast<uint8_t>((v << 3) & 0xFF), a);
    }
}

void Row24(const uint8_t* row, PLPixel32* out, int64_t width)
{
    for (int64_t x = 0; x < width; ++x, row += 3)
        out[x].Set(row[2], row[1], row[0], 255);
}

void Row32(const uint8_t* row, PLPixel32* out, int64_t width, bool keepAlpha)
{
    std::memcpy(static_cast<void*>(out), row, static_cast<size_t>(width) * 4);
    if (!keepAlpha)
        for (int64_t x = 0; x < width; ++x)
            out[x].SetA(255);
}

} // namespace bmprows
