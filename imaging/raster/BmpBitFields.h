// The pixels of BMP files with bit fields: each channel of a 16- or 32-bit pixel is the bits its
// mask names, widened to 8 bits (so a 4-bit channel of 15 gives 255, an 8-bit one is unchanged).
#pragma once

#include "imaging/bitmap/PLPixel32.h"

#include <cstdint>

namespace bmpbits {

// One channel's mask: where its bits lie and the largest value they hold.
class Channel {
public:
    explicit Channel(uint32_t mask);
    // The channel of pixel value v in 0..255; 0 for an empty mask.
    uint8_t operator()(uint32_t v) const;

private:
    uint32_t m_Mask;
    int m_Shift;
    uint64_t m_Max;
};

// Red, green, blue and alpha masks of one file.
struct Masks {
    uint32_t red = 0;
    uint32_t green = 0;
    uint32_t blue = 0;
    uint32_t alpha = 0; // 0: the pixels are opaque
};

// Decodes width little-endian pixels of bytesPerPixel (2 or 4) bytes each.
void DecodeRow(const uint8_t* row, PLPixel32* out, int64_t width, int bytesPerPixel, const Masks& masks);

} // namespace bmpbits
