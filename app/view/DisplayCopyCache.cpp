#include "app/view/DisplayCopyCache.h"

#include "imaging/bitmap/PLPixel32.h"
#include "imaging/io/PLTextException.h"
#include "platform/win/IntArithmetic.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {

// For each of count copy pixels along an axis, the picture pixel that the device's nearest-pixel
// stretch picks: the one under the copy pixel's centre, stepped in 16.16 fixed point and taken a
// hair's breadth before an exact boundary, as Qt's raster engine does, so that a copy drawn one to
// one shows what stretching the whole picture would show.
std::vector<int> NearestIndexes(int count, int sourceCount)
{
    std::vector<int> indexes(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int64_t step = (int64_t { sourceCount } << 16) / count;
        const int64_t index = std::max<int64_t>(0, (step / 2 + i * step - 1) >> 16);
        indexes[static_cast<std::size_t>(i)] = static_cast<int>(std::min<int64_t>(index, sourceCount - 1));
    }
    return indexes;
}

} // namespace

win::SIZE DisplayCopySize(const PLBmp& source, int quarterTurns, int64_t width, int64_t height)
{
    const bool across = win::NormalQuarterTurns(quarterTurns) % 2 == 1;
    const int64_t turnedWidth = across ? source.GetHeight() : source.GetWidth();
    const int64_t turnedHeight = across ? source.GetWidth() : source.GetHeight();
    return { static_cast<int>(std::min<int64_t>(std::llabs(width), turnedWidth)),
        static_cast<int>(std::min<int64_t>(std::llabs(height), turnedHeight)) };
}

std::unique_ptr<PLWinBmp> MakeDisplayCopy(const PLBmp& source, int quarterTurns, int width, int height)
{
    const int turns = win::NormalQuarterTurns(quarterTurns);
    const int w = source.GetWidth();
    const int h = source.GetHeight();
    const bool across = turns % 2 == 1;
    // u runs across the turned picture, v down it.
    const std::vector<int> us = NearestIndexes(width, across ? h : w);
    const std::vector<int> vs = NearestIndexes(height, across ? w : h);
    auto copy = std::make_unique<PLWinBmp>();
    copy->Create(width, height, 32, false, false, nullptr, 0, source.GetResolution());
    const bool direct = source.GetBitsPerPixel() == 32;
    // The picture pixel that a clockwise turn brings to (u, v).
    const auto pixelAt = [&](int u, int v) {
        int x = u;
        int y = v;
        switch (turns) {
        case 1:
            x = v;
            y = h - 1 - u;
            break;
        case 2:
            x = w - 1 - u;
            y = h - 1 - v;
            break;
        case 3:
            x = w - 1 - v;
            y = u;
            break;
        default:
            break;
        }
        return direct ? source.GetRow32(y)[x] : source.GetPixel32(x, y);
    };
    for (int row = 0; row < height; ++row) {
        PLPixel32* out = copy->GetRow32(row);
        const int v = vs[static_cast<std::size_t>(row)];
        for (int col = 0; col < width; ++col)
            out[col] = pixelAt(us[static_cast<std::size_t>(col)], v);
    }
    return copy;
}

DisplayCopyCache::DisplayCopyCache(std::size_t capacity)
    : capacity_(std::max<std::size_t>(capacity, 1))
{
}

void DisplayCopyCache::DropStale()
{
    std::erase_if(entries_, [](const Entry& entry) {
        const auto picture = entry.picture.lock();
        return !picture || picture.get() != entry.address || picture->GetChangeCount() != entry.changeCount;
    });
}

const PLWinBmp* DisplayCopyCache::Get(const std::shared_ptr<Pellimar::DeviceIndepBitmap>& picture,
    int quarterTurns, int64_t width, int64_t height)
{
    if (!picture || !picture->GetBitmap())
        return nullptr;
    const PLBmp& source = *picture->GetBitmap();
    const int turns = win::NormalQuarterTurns(quarterTurns);
    const win::SIZE size = DisplayCopySize(source, turns, width, height);
    const int w = size.cx;
    const int h = size.cy;
    if (w < 1 || h < 1)
        return nullptr;
    DropStale();
    ++clock_;
    const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) {
        return entry.address == picture.get() && entry.quarterTurns == turns && entry.width == w
            && entry.height == h;
    });
    if (found != entries_.end()) {
        found->lastUse = clock_;
        return found->copy.get();
    }
    if (entries_.size() >= capacity_) {
        const auto oldest = std::min_element(entries_.begin(), entries_.end(),
            [](const Entry& a, const Entry& b) { return a.lastUse < b.lastUse; });
        entries_.erase(oldest);
    }
    std::unique_ptr<PLWinBmp> copy;
    try {
        copy = MakeDisplayCopy(source, turns, w, h);
    } catch (const PLTextException&) {
        return nullptr; // no memory for the copy: the picture is left out of this drawing
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    Entry entry { picture, picture.get(), picture->GetChangeCount(), turns, w, h, std::move(copy), clock_ };
    ++copiesMade_;
    entries_.push_back(std::move(entry));
    return entries_.back().copy.get();
}
