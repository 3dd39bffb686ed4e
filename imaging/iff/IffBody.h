// The body of an IFF-85 picture: its rows, byte-run expanded or as stored, turned into one value per
// pixel (bit planes gathered, or the bytes of a chunky PBM row) and stored into the bitmap as
// palette indices, hold-and-modify colours, colours with a transparent one, or deep RGB(A).
#pragma once

#include "imaging/iff/IffForm.h"

#include <cstdint>
#include <vector>

class PLBmp;

namespace iff {

// The stored rows of a body, one after the other.
class BodyRows {
public:
    // The body is the form's bodyLength bytes from the reader's position.
    BodyRows(PLBigEndianReader& reader, const Form& form);
    // The next row's RowBytes() bytes; byte-run runs are cut at the row's end, and bytes past the
    // end of the data are zero.
    const std::vector<uint8_t>& Next();

private:
    const uint8_t* m_body;
    int64_t m_size;
    int64_t m_position = 0;
    bool m_compressed;
    std::vector<uint8_t> m_row;
};

// One value per pixel of a stored row: the row's bytes for a PBM, the colour planes' bits for an
// ILBM (plane j gives bit j; the mask plane is passed over).
void PixelValues(const std::vector<uint8_t>& row, const Form& form, std::vector<uint32_t>& values);

// Stores one row of pixel values into row y of the bitmap.
void StoreRow(const std::vector<uint32_t>& values, const Form& form, PLBmp& bmp, int y);

} // namespace iff
