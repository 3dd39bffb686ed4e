#include "imaging/psd/PsdChannels.h"

#include "imaging/bitmap/PLBmp.h"
#include "imaging/codec/PLPicDecoder.h"

namespace psd {
namespace {

// Stores one row of samples; of two-byte samples the high byte is kept.
void StoreRow(const uint8_t* samples, const ChannelFormat& f, Slot slot, PLBmp& bmp, int y)
{
    const size_t step = static_cast<size_t>(f.bytesPerSample);
    const size_t width = static_cast<size_t>(f.width);
    if (slot == Slot::None)
        return;
    if (slot == Slot::Index) {
        uint8_t* row = bmp.GetRow(y);
        for (size_t x = 0; x < width; ++x)
            row[x] = samples[x * step];
        return;
    }
    PLPixel32* row = bmp.GetRow32(y);
    for (size_t x = 0; x < width; ++x) {
        const uint8_t value = samples[x * step];
        switch (slot) {
        case Slot::Red:
            row[x].SetR(value);
            break;
        case Slot::Green:
            row[x].SetG(value);
            break;
        case Slot::Blue:
            row[x].SetB(value);
            break;
        default:
            row[x].SetA(value);
            break;
        }
    }
}

int64_t RowBytes(const ChannelFormat& f)
{
    return int64_t(f.width) * f.bytesPerSample;
}

} // namespace

void ReadRawChannel(PLBigEndianReader& reader, const ChannelFormat& f, Slot slot, PLBmp& bmp)
{
    for (int y = 0; y < f.height; ++y)
        StoreRow(reader.ReadBytes(RowBytes(f)), f, slot, bmp, y);
}

std::vector<uint16_t> ReadRowLengths(PLBigEndianReader& reader, int64_t rows)
{
    const uint8_t* p = reader.ReadBytes(2 * rows);
    std::vector<uint16_t> lengths(static_cast<size_t>(rows));
    for (size_t i = 0; i < lengths.size(); ++i)
        lengths[i] = static_cast<uint16_t>((p[2 * i] << 8) | p[2 * i + 1]);
    return lengths;
}

void ReadRleChannel(
    PLBigEndianReader& reader, const ChannelFormat& f, const uint16_t* rowLengths, Slot slot, PLBmp& bmp)
{
    std::vector<uint8_t> row(static_cast<size_t>(RowBytes(f)));
    const int size = static_cast<int>(row.size());
    for (int y = 0; y < f.height; ++y) {
        // Every row is packed, however short: a row size of 8 keeps the expansion from taking short
        // rows as stored plain.
        const uint8_t* samples
            = PLPicDecoder::UnpackBits(row.data(), &reader.Source(), size, 8, rowLengths[y]);
        StoreRow(samples, f, slot, bmp, y);
    }
}

} // namespace psd
