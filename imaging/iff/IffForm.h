// The chunks of an IFF-85 picture before its body: the form, the bitmap header (BMHD), the colour
// map (CMAP) and the viewport mode (CAMG), up to the BODY chunk. Every chunk is checked against the
// form and the data that is there; sizes are 64-bit values.
#pragma once

#include "imaging/bitmap/PLPixel32.h"
#include "imaging/codec/PLBigEndianReader.h"

#include <array>
#include <cstdint>

namespace iff {

enum class Masking { None = 0, MaskPlane = 1, TransparentColour = 2, Lasso = 3 };

struct BitmapHeader {
    uint16_t width = 0;
    uint16_t height = 0;
    int16_t x = 0;
    int16_t y = 0;
    uint8_t planes = 0;
    uint8_t masking = 0;
    uint8_t compression = 0;
    uint8_t pad = 0;
    uint16_t transparentColour = 0;
    uint8_t xAspect = 0;
    uint8_t yAspect = 0;
    int16_t pageWidth = 0;
    int16_t pageHeight = 0;
};

inline constexpr uint32_t kHoldAndModify = 0x800;

struct Form {
    bool chunky = false; // a PBM (one byte per pixel) rather than an ILBM (bit planes)
    BitmapHeader header;
    std::array<PLPixel32, 256> palette {};
    uint32_t viewportMode = 0;
    int64_t bodyStart = 0;
    int64_t bodyLength = 0;

    bool HoldAndModify() const { return (viewportMode & kHoldAndModify) != 0; }
    // The stored planes of each row: the colour planes and, with masking 1, the mask plane.
    int StoredPlanes() const;
    // The bytes of one stored row: for a PBM the width made even, for an ILBM each plane's width
    // rounded up to 16 bits.
    int64_t RowBytes() const;
    int64_t PlaneBytes() const { return (int64_t(header.width) + 15) / 16 * 2; }
};

// Reads the form up to the start of its body (where the reader is left) and checks it.
Form ReadForm(PLBigEndianReader& reader);

} // namespace iff
