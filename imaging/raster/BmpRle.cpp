#include "imaging/raster/BmpRle.h"

namespace bmprle {
namespace {

// The k-th pixel of a run or literal whose bytes are at data (RLE4: nibbles, high first).
uint8_t PixelOf(const uint8_t* data, int64_t k, bool rle4)
{
    if (!rle4)
        return data[k];
    const uint8_t byte = data[k >> 1];
    return (k & 1) ? byte & 0x0F : byte >> 4;
}

// Where the next pixel goes; the row's bytes are asked for when a pixel is first written to it.
struct Cursor {
    RleTarget& target;
    int64_t width;
    bool rle4;
    int64_t row = 0;
    int64_t x = 0;
    uint8_t* out = nullptr;

    // Writes count pixels: a run repeats data's byte (RLE4: its nibbles in turn), a literal takes
    // data's pixels in order. Pixels past the width are dropped.
    void Put(const uint8_t* data, int64_t count, bool repeat)
    {
        const int64_t start = x;
        int64_t k = 0;
        if (x < width && out == nullptr)
            out = target.Row(row);
        for (; k < count && x < width; ++k, ++x)
            out[x] = PixelOf(data, repeat ? k & (rle4 ? 1 : 0) : k, rle4);
        if (k > 0)
            target.Wrote(row, start, k);
        x += count - k;
    }
    void MoveTo(int64_t newX, int64_t newRow)
    {
        if (newRow != row)
            out = nullptr;
        x = newX;
        row = newRow;
    }
};

} // namespace

RleEnd DecodeRle(RleTarget& target, int64_t width, int64_t height, bool rle4, bool followDeltas)
{
    Cursor at { target, width, rle4 };
    while (at.row < height) {
        const uint8_t* pair = target.Next(2);
        if (pair == nullptr)
            return RleEnd::Data;
        const int n = pair[0];
        const int v = pair[1];
        if (n > 0) {
            // RLE8 repeats v; RLE4 alternates its two nibbles.
            const uint8_t run[1] = { static_cast<uint8_t>(v) };
            at.Put(run, n, true);
        } else if (v == 0) {
            at.MoveTo(0, at.row + 1);
        } else if (v == 1) {
            return RleEnd::Bitmap;
        } else if (v == 2) {
            if (!followDeltas)
                return RleEnd::Delta;
            const uint8_t* delta = target.Next(2);
            if (delta == nullptr)
                return RleEnd::Data;
            at.MoveTo(at.x + delta[0], at.row + delta[1]);
        } else {
            const int64_t bytes = rle4 ? (v + 1) / 2 : v;
            const uint8_t* data = target.Next(bytes + (bytes & 1));
            if (data == nullptr)
                return RleEnd::Data;
            at.Put(data, v, false);
        }
    }
    return RleEnd::Bitmap;
}

} // namespace bmprle
