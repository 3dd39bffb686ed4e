// The quantizer's two histogram palettes: box splitting and popularity.
#include "imaging/bitmap/PLBmp.h"
#include "imaging/filters/PLFilterQuantize.h"

#include <algorithm>

namespace {

// The eight corners of the 5-bit colour cube, as (red, green, blue).
constexpr int Corners[8][3] = { { 0, 0, 0 }, { 31, 0, 0 }, { 0, 31, 0 }, { 0, 0, 31 }, { 31, 31, 0 },
    { 0, 31, 31 }, { 31, 0, 31 }, { 31, 31, 31 } };

} // namespace

void PLFilterQuantize::ShrinkBox(Box& box) const
{
    std::array<int, 3> lo { 31, 31, 31 };
    std::array<int, 3> hi { 0, 0, 0 };
    std::array<uint64_t, 3> weighted {};
    uint64_t total = 0;
    for (int r = box.lo[0]; r <= box.hi[0]; ++r)
        for (int g = box.lo[1]; g <= box.hi[1]; ++g)
            for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
                const uint32_t count = m_Histogram[static_cast<size_t>(CellIndex(r, g, b))].count;
                if (count == 0)
                    continue;
                const int v[3] = { r, g, b };
                for (int c = 0; c < 3; ++c) {
                    lo[c] = std::min(lo[c], v[c]);
                    hi[c] = std::max(hi[c], v[c]);
                    weighted[c] += uint64_t(count) * static_cast<uint64_t>(v[c]);
                }
                total += count;
            }
    box.lo = lo;
    box.hi = hi;
    box.mean = {};
    box.count = static_cast<uint32_t>(std::min<uint64_t>(total, 65535));
    if (total == 0)
        return;
    for (int c = 0; c < 3; ++c)
        box.mean[c] = static_cast<int>(weighted[c] / total);
    if (lo == hi)
        box.count = 1;
}

void PLFilterQuantize::SplitBox(Box& picked, Box& added) const
{
    added = picked;
    const int extent[3]
        = { picked.hi[0] - picked.lo[0], picked.hi[1] - picked.lo[1], picked.hi[2] - picked.lo[2] };
    const int axis = extent[0] >= extent[1] && extent[0] >= extent[2] ? 0 : (extent[1] >= extent[2] ? 1 : 2);
    if (extent[axis] == 2) {
        // The middle value belongs to neither box.
        added.hi[axis] = added.lo[axis];
        picked.lo[axis] = picked.hi[axis];
    } else {
        int cut = picked.mean[axis];
        if (cut == picked.hi[axis])
            --cut;
        picked.hi[axis] = cut;
        added.lo[axis] = cut + 1;
    }
    ShrinkBox(picked);
    ShrinkBox(added);
}

void PLFilterQuantize::BuildBoxSplitPalette(PLBmp& dst) const
{
    auto& boxes = m_Boxes;
    std::fill(boxes.begin(), boxes.end(), Box());
    for (int i = 0; i < 8; ++i) {
        for (int c = 0; c < 3; ++c)
            boxes[size_t(i)].lo[c] = boxes[size_t(i)].hi[c] = Corners[i][c];
        boxes[size_t(i)].count = 1;
    }
    boxes[8].lo = { 0, 0, 0 };
    boxes[8].hi = { 31, 31, 31 };
    ShrinkBox(boxes[8]);
    for (size_t n = 9; n < 256; ++n) {
        size_t best = 8;
        for (size_t i = 9; i < n; ++i)
            if (boxes[i].count > boxes[best].count)
                best = i;
        if (boxes[best].count < 2) {
            std::fill(boxes.begin() + static_cast<ptrdiff_t>(n), boxes.end(), Box());
            break;
        }
        SplitBox(boxes[best], boxes[n]);
    }
    for (int i = 0; i < 256; ++i) {
        const Box& box = boxes[size_t(i)];
        const auto centre
            = [&box](int c) { return static_cast<uint8_t>((box.lo[c] + box.hi[c]) * 255 / 62); };
        dst.SetPaletteEntry(i, centre(0), centre(1), centre(2), 0);
    }
}

void PLFilterQuantize::BuildPopularityPalette(PLBmp& dst) const
{
    struct Entry {
        int rgb[3];
        uint32_t count;
    };
    std::array<Entry, 256> entries {};
    for (int i = 0; i < 8; ++i)
        entries[size_t(i)] = Entry { { Corners[i][0], Corners[i][1], Corners[i][2] }, 0 };
    for (int r = 0; r < 32; ++r)
        for (int g = 0; g < 32; ++g)
            for (int b = 0; b < 32; ++b) {
                const uint32_t count = m_Histogram[static_cast<size_t>(CellIndex(r, g, b))].count;
                if (count <= entries[255].count)
                    continue;
                size_t j = 255;
                entries[j] = Entry { { r, g, b }, count };
                while (j > 8 && entries[j - 1].count < count) {
                    std::swap(entries[j - 1], entries[j]);
                    --j;
                }
            }
    for (int i = 0; i < 256; ++i) {
        const Entry& e = entries[size_t(i)];
        const auto scale = [](int v) { return static_cast<uint8_t>(v * 255 / 31); };
        dst.SetPaletteEntry(i, scale(e.rgb[0]), scale(e.rgb[1]), scale(e.rgb[2]), 0);
    }
}
