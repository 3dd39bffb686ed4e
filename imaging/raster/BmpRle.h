// The run-length coded rows of Windows bitmaps (RLE8 and RLE4), shared by the BMP decoder and the
// metafile player. The stream is read as pairs (n, v): n > 0 is a run of n pixels (RLE8: v; RLE4:
// v's high and low nibble in turn); 0, 0 ends the row; 0, 1 ends the bitmap; 0, 2 is a delta (the
// next two bytes move right and on by that many pixels and rows); 0, v >= 3 is a literal of v
// pixels, padded to an even number of bytes. Pixels beyond the row's width are dropped, and pixels
// the stream does not reach are left as they were.
#pragma once

#include <cstdint>

namespace bmprle {

// Where the stream comes from and its pixels go. Rows are counted in the order they are stored,
// 0 the first.
class RleTarget {
public:
    virtual ~RleTarget() = default;
    // The next n bytes of the stream, or null when it has ended.
    virtual const uint8_t* Next(int64_t n) = 0;
    // The width index bytes of the stored row.
    virtual uint8_t* Row(int64_t storedRow) = 0;
    // Pixels x to x + count - 1 of the stored row were written.
    virtual void Wrote(int64_t /*storedRow*/, int64_t /*x*/, int64_t /*count*/) { }
};

// How the decoding stopped: at the end of the bitmap (or past its last row), at the end of the
// data, or at a delta escape that the caller does not follow.
enum class RleEnd { Bitmap, Data, Delta };

RleEnd DecodeRle(RleTarget& target, int64_t width, int64_t height, bool rle4, bool followDeltas);

} // namespace bmprle
