// The sections of a PSD file before its pixels: the header, the colour-mode data (the palette of an
// indexed picture), the image resources (the resolution) and the layer records. Every length is
// checked against the section that holds it and against the data that is there.
#pragma once

#include "imaging/bitmap/PLCoord.h"
#include "imaging/bitmap/PLPixel32.h"
#include "imaging/codec/PLBigEndianReader.h"

#include <array>
#include <cstdint>
#include <vector>

namespace psd {

enum class ColourMode { Greyscale = 1, Indexed = 2, Rgb = 3 };

struct Header {
    uint16_t version = 0;
    uint16_t channels = 0;
    uint32_t height = 0;
    uint32_t width = 0;
    uint16_t depth = 0;
    uint16_t mode = 0;

    int BytesPerSample() const { return depth / 8; }
    // 8 for greyscale and indexed pictures, 32 for RGB.
    int BitsPerPixel() const { return mode == uint16_t(ColourMode::Rgb) ? 32 : 8; }
};

struct LayerChannel {
    int16_t id = 0; // 0, 1, 2: the colour channels; -1 transparency; -2 and below: masks
    uint32_t length = 0; // the compression field and the data
};

struct Layer {
    int32_t top = 0;
    int32_t left = 0;
    int32_t bottom = 0;
    int32_t right = 0;
    std::vector<LayerChannel> channels;
    std::array<char, 4> blendSignature {};
    std::array<char, 4> blendKey {};
    uint8_t opacity = 0;
    uint8_t clipping = 0;
    uint8_t flags = 0;
    uint32_t extraLength = 0;

    int64_t Width() const { return int64_t(right) - left; }
    int64_t Height() const { return int64_t(bottom) - top; }
};

using Palette = std::array<PLPixel32, 256>;

// Reads and checks the header: signature "8BPS", version 1, 1 to 56 channels, depth 8 or 16, a
// greyscale, indexed or RGB picture of a size the library accepts.
Header ReadHeader(PLBigEndianReader& reader);

// Reads the colour-mode data; a block of at least 768 bytes gives the palette (the rest is
// skipped), any other block is skipped.
void ReadColourModeData(PLBigEndianReader& reader, Palette& palette);

// Reads the image resources and returns the resolution from resource 1005 ((0, 0) without it).
PLCoord ReadResources(PLBigEndianReader& reader);

// The layer and mask section as found by ReadLayerSection.
struct LayerSection {
    int64_t start = 0;
    int64_t length = 0;
    std::vector<Layer> layers;
};

// Reads the layer records; the reader is left at the first layer's channel data.
LayerSection ReadLayerSection(PLBigEndianReader& reader);

} // namespace psd
