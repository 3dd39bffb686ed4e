// The records of a PICT file, read big-endian from a data source: every read and skip is checked
// against the data that is left (code 11 at the end of the data), and malformed records raise the
// format code.
#pragma once

#include "imaging/codec/PLBigEndianReader.h"

#include <array>
#include <cstdint>

namespace pict {

struct Rect {
    int16_t top = 0;
    int16_t left = 0;
    int16_t bottom = 0;
    int16_t right = 0;

    int Width() const { return int(right) - int(left); }
    int Height() const { return int(bottom) - int(top); }
};

// The PixMap record as it follows its bounds.
struct PixMap {
    uint16_t version = 0;
    uint16_t packType = 0;
    uint32_t packSize = 0;
    uint32_t hRes = 0; // 16.16 fixed point
    uint32_t vRes = 0;
    uint16_t pixelType = 0;
    uint16_t pixelSize = 0;
    uint16_t cmpCount = 0;
    uint16_t cmpSize = 0;
    uint32_t planeBytes = 0;
    uint32_t table = 0;
    uint32_t reserved = 0;
};

struct ColourEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};
// A colour table as a palette of 256 entries, black where the table says nothing.
using Palette = std::array<ColourEntry, 256>;

// The shared big-endian reader with the records of a PICT file.
class Reader : public PLBigEndianReader {
public:
    using PLBigEndianReader::PLBigEndianReader;

    Rect ReadRect();
    PixMap ReadPixMap();
    // Seed, flags, size - 1 and the entries; bit 15 of the flags numbers the entries in order.
    Palette ReadColourTable();
    // Skips a region or polygon: its 16-bit size counts the size field itself.
    void SkipSizedRecord();
    // The next byte without moving.
    uint8_t Peek8();
};

// Bounds with right <= left or bottom <= top describe no picture: code 2.
void CheckBounds(const Rect& bounds);

} // namespace pict
