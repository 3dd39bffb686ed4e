// The records of a Windows metafile (with or without the placeable header) or an enhanced
// metafile, recognised by their content. Every record is checked against the data before it is
// listed, and every parameter read is checked against its record (code 2 when it is too short).
// All numbers are little-endian.
#pragma once

#include "imaging/bitmap/PLPixel32.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace metafile {

enum class Kind { Wmf, PlaceableWmf, Emf };

// The little-endian 32-bit number at p.
uint32_t Get32(const uint8_t* p);

// One record: its type (a Windows metafile's function number or an enhanced metafile's record type)
// and its parameters (what follows the size and type fields).
struct Record {
    uint32_t type = 0;
    const uint8_t* data = nullptr;
    size_t size = 0;
};

// Reads a record's parameters by byte offset; a read past the record raises code 2.
class Params {
public:
    explicit Params(const Record& record)
        : m_data(record.data)
        , m_size(record.size)
    {
    }
    uint8_t U8(size_t offset) const;
    uint16_t U16(size_t offset) const;
    int16_t I16(size_t offset) const { return static_cast<int16_t>(U16(offset)); }
    uint32_t U32(size_t offset) const;
    int32_t I32(size_t offset) const { return static_cast<int32_t>(U32(offset)); }
    // The bytes from offset to offset + n, checked.
    const uint8_t* Bytes(size_t offset, uint64_t n) const;
    size_t Size() const { return m_size; }

private:
    const uint8_t* m_data;
    size_t m_size;
};

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct Metafile {
    Kind kind = Kind::Wmf;
    Rect bounds; // placeable: the picture's box in metafile units; enhanced: the frame in 0.01 mm
    uint16_t unitsPerInch = 0; // placeable only
    int32_t deviceWidth = 0; // enhanced: the reference device in pixels and millimetres
    int32_t deviceHeight = 0;
    int32_t deviceWidthMm = 0;
    int32_t deviceHeightMm = 0;
    uint32_t handles = 0; // the object table's size
    std::vector<PLPixel32> palette; // an enhanced metafile's own palette (alpha 255)
    std::vector<Record> records;
};

// Parses the data (which must outlive the result); code 1 when it is no metafile, code 2 when a
// record is malformed or runs past the data.
Metafile Parse(const uint8_t* data, size_t size);

// True when the data starts like an enhanced metafile (its header record and " EMF" signature).
bool IsEnhanced(const uint8_t* data, size_t size);

inline constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;

} // namespace metafile
