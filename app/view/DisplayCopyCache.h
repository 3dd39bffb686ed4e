// Display copies of pictures: each picture turned by quarter turns and reduced to the pixel size
// it is drawn at, made once and kept while nothing changes, so that a repaint draws a picture of
// the destination's size instead of copying and turning the full photograph every time. A copy is
// kept under the picture, its change count, the turns and the size; a picture that changes in
// place (a trim, a crop, a reprocess, a new file in the same cache slot) gets a new copy.
#pragma once

#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/wrapper/DeviceIndepBitmap.h"
#include "platform/win/Types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class DisplayCopyCache {
public:
    static constexpr std::size_t kDefaultCapacity = 16;
    explicit DisplayCopyCache(std::size_t capacity = kDefaultCapacity);

    // The picture turned clockwise by the quarter turns and reduced by nearest pixel to width x
    // height (either sign; a side larger than the turned picture keeps the picture's side, so that
    // no copy is ever larger than the picture). Null for a picture without pixels, an empty size, or
    // when there is no memory for the copy.
    const PLWinBmp* Get(const std::shared_ptr<Pellimar::DeviceIndepBitmap>& picture, int quarterTurns,
        int64_t width, int64_t height);

    std::size_t Size() const { return entries_.size(); }
    // How many copies have been made so far.
    uint64_t CopiesMade() const { return copiesMade_; }
    void Clear() { entries_.clear(); }

private:
    struct Entry {
        std::weak_ptr<Pellimar::DeviceIndepBitmap> picture;
        const Pellimar::DeviceIndepBitmap* address = nullptr;
        uint64_t changeCount = 0;
        int quarterTurns = 0;
        int width = 0;
        int height = 0;
        std::unique_ptr<PLWinBmp> copy;
        uint64_t lastUse = 0;
    };
    // Drops the copies of pictures that are gone or have changed since.
    void DropStale();

    std::size_t capacity_;
    std::vector<Entry> entries_;
    uint64_t clock_ = 0;
    uint64_t copiesMade_ = 0;
};

// The pixel size of the picture's display copy for a drawing width x height device pixels large
// (either sign): the drawn size, no side larger than the turned picture's.
win::SIZE DisplayCopySize(const PLBmp& source, int quarterTurns, int64_t width, int64_t height);

// The picture turned clockwise by the quarter turns and reduced by nearest pixel (each copy pixel
// takes the picture pixel under its centre, as the device's stretch picks it) to width x height,
// at 32 bits per pixel.
std::unique_ptr<PLWinBmp> MakeDisplayCopy(const PLBmp& source, int quarterTurns, int width, int height);
