#include "imaging/raster/BmpBitFields.h"

#include "imaging/raster/RasterSafety.h"

#include <bit>

namespace bmpbits {

Channel::Channel(uint32_t mask)
    : m_Mask(mask)
    , m_Shift(mask ? std::countr_zero(mask) : 0)
    , m_Max(mask >> m_Shift)
{
}

uint8_t Channel::operator()(uint32_t v) const
{
    if (m_Max == 0)
        return 0;
    const uint64_t bits = (v & m_Mask) >> m_Shift;
    return static_cast<uint8_t>((bits * 255 + m_Max / 2) / m_Max);
}

void DecodeRow(const uint8_t* row, PLPixel32* out, int64_t width, int bytesPerPixel, const Masks& masks)
{
    const Channel red(masks.red), green(masks.green), blue(masks.blue), alpha(masks.alpha);
    for (int64_t x = 0; x < width; ++x, row += bytesPerPixel) {
        const uint32_t v = bytesPerPixel == 2 ? raster::LoadU16LE(row) : raster::LoadU32LE(row);
        out[x].Set(red(v), green(v), blue(v), masks.alpha ? alpha(v) : 255);
    }
}

} // namespace bmpbits
