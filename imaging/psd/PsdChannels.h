// The pixel data of PSD channels: raw or run-length rows of one or two bytes per sample (of two, the
// high byte is kept), stored into one part of each bitmap pixel.
#pragma once

#include "imaging/codec/PLBigEndianReader.h"

#include <cstdint>
#include <vector>

class PLBmp;

namespace psd {

// Where a channel's samples go: the index (or grey value) of an 8-bpp bitmap, a component of a
// 32-bpp one, or nowhere (the channel is read and dropped).
enum class Slot { Index, Red, Green, Blue, Alpha, None };

struct ChannelFormat {
    int width = 0;
    int height = 0;
    int bytesPerSample = 1;
};

// Reads `height` raw rows of the channel.
void ReadRawChannel(PLBigEndianReader& reader, const ChannelFormat& format, Slot slot, PLBmp& bmp);

// Reads the 16-bit packed length of each of `rows` rows.
std::vector<uint16_t> ReadRowLengths(PLBigEndianReader& reader, int64_t rows);

// Expands `height` run-length rows of the channel, whose packed lengths start at rowLengths.
void ReadRleChannel(PLBigEndianReader& reader, const ChannelFormat& format, const uint16_t* rowLengths,
    Slot slot, PLBmp& bmp);

} // namespace psd
