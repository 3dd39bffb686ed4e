// Resizes small pictures of any size with every kernel and radius the input picks, and checks
// what must hold whatever the weights: a constant picture stays constant, and kernels without
// negative lobes keep every channel within the source's range.
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/filters/PLFilterResize.h"
#include "imaging/io/PLTextException.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

std::unique_ptr<PLFilter> MakeFilter(uint8_t kind, int width, int height, double radius)
{
    switch (kind % 4) {
    case 0:
        return std::make_unique<PLFilterResizeBilinear>(width, height);
    case 1:
        return std::make_unique<PLFilterResizeBox>(width, height);
    case 2:
        return std::make_unique<PLFilterResizeGaussian>(width, height, radius);
    default:
        return std::make_unique<PLFilterResizeHamming>(width, height, radius);
    }
}

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 7)
        return 0;
    const uint8_t kind = data[0];
    // One side may be long, the other is kept short, so that large shrinks and stretches show up.
    const bool tall = data[1] & 1;
    const int sw = tall ? data[1] % 8 : data[1], sh = tall ? data[2] : data[2] % 8;
    const int dw = tall ? data[3] % 16 : data[3], dh = tall ? data[4] : data[4] % 16;
    const double radius = 0.05 + data[5] / 16.0;
    const uint8_t* pixels = data + 6;
    const size_t count = size - 6;

    try {
        PLAnyBmp source, result;
        source.Create(sw, sh, 32, true, false);
        for (int y = 0; y < sh; ++y)
            for (int i = 0; i < sw * 4; ++i)
                source.GetRow(y)[i] = pixels[(static_cast<size_t>(y) * sw * 4 + i) % count];
        MakeFilter(kind, dw, dh, radius)->Apply(&source, &result);
        Check(result.GetWidth() == dw && result.GetHeight() == dh);
        if (sw > 0 && sh > 0 && kind % 4 != 3) {
            uint8_t low[4] = { 255, 255, 255, 255 }, high[4] = { 0, 0, 0, 0 };
            for (int y = 0; y < sh; ++y)
                for (int i = 0; i < sw * 4; ++i) {
                    low[i % 4] = std::min(low[i % 4], source.GetRow(y)[i]);
                    high[i % 4] = std::max(high[i % 4], source.GetRow(y)[i]);
                }
            for (int y = 0; y < dh; ++y)
                for (int i = 0; i < dw * 4; ++i)
                    Check(result.GetRow(y)[i] >= low[i % 4] && result.GetRow(y)[i] <= high[i % 4]);
        }

        for (int y = 0; y < sh; ++y)
            for (int i = 0; i < sw * 4; ++i)
                source.GetRow(y)[i] = pixels[i % 4 % count];
        MakeFilter(kind, dw, dh, radius)->Apply(&source, &result);
        if (sw > 0 && sh > 0)
            for (int y = 0; y < dh; ++y)
                for (int i = 0; i < dw * 4; ++i)
                    Check(result.GetRow(y)[i] == pixels[i % 4 % count]);
    } catch (const PLTextException&) {
    }
    return 0;
}
