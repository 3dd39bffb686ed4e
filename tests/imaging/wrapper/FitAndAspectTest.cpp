// Fitting a picture into a box and choosing the rectangle that crops it to an aspect ratio.
#include <gtest/gtest.h>

#include <limits>

#include "imaging/resize/FitWithinBox.h"
#include "imaging/wrapper/AspectCrop.h"

namespace {

struct FitCase {
    int32_t w, h, bw, bh;
    win::SIZE expected;
};

TEST(FitWithinBox, Table)
{
    const FitCase cases[] = {
        { 2000, 3000, 630, 780, { 520, 780 } }, // height limits
        { 3000, 2000, 630, 780, { 630, 420 } }, // width limits
        { 1260, 1560, 630, 780, { 630, 780 } }, // same ratio as the box fills it
        { 100, 50, 1000, 1000, { 1000, 500 } }, // enlarging
        { 10000, 1, 100, 100, { 100, 1 } }, // a side that would truncate to 0 stays 1
        { 1, 10000, 100, 100, { 1, 100 } },
        // Boxes too large for single precision: the side that rounds up stays within the box.
        { 1, 1, 1073741793, 1073741793, { 1073741793, 1073741793 } },
        { 1, 1, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max(),
            { std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max() } },
        { 0, 100, 630, 780, { 0, 0 } }, // empty picture fits to nothing
        { 100, -5, 630, 780, { 0, 0 } },
        { 100, 100, 0, 780, { 0, 0 } }, // empty box
        { 100, 100, 630, -1, { 0, 0 } },
    };
    for (const FitCase& c : cases)
        EXPECT_EQ(FitWithinBox(c.w, c.h, c.bw, c.bh), c.expected)
            << c.w << "x" << c.h << " into " << c.bw << "x" << c.bh;
}

struct AspectCase {
    int32_t w, h;
    AspectCropRequest request;
    std::optional<win::RECT> expected;
};

TEST(AspectCrop, Table)
{
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const AspectCase cases[] = {
        // Landscape picture, ratio below its own: the sides are cut.
        { 3000, 2000, { 780, 630 }, win::RECT { 261, 0, 2738, 2000 } },
        // The margin takes 10 percent of each side and keeps the centre.
        { 3000, 2000, { 780, 630, 10 }, win::RECT { 385, 100, 2614, 1900 } },
        // Portrait picture, ratio below its own: top and bottom are cut.
        { 2000, 3000, { 780, 630 }, win::RECT { 0, 261, 2000, 2738 } },
        // The order of a and b does not matter without force.
        { 2000, 3000, { 630, 780 }, win::RECT { 0, 261, 2000, 2738 } },
        // Landscape picture, ratio above its own: top and bottom are cut.
        { 3000, 2000, { 2, 1 }, win::RECT { 0, 250, 3000, 1750 } },
        // Portrait picture, ratio above its own: the sides are cut.
        { 2000, 3000, { 2, 1 }, win::RECT { 250, 0, 1750, 3000 } },
        // Force: ratio a / b on a landscape picture treated as portrait.
        { 3000, 2000, { 1, 2, 0, 0, 0, true }, win::RECT { 0, 250, 3000, 1750 } },
        // An x offset on a rectangle already at the right edge leaves it there.
        { 3000, 2000, { 780, 630, 0, 0, 50 }, win::RECT { 523, 0, 3000, 2000 } },
        // A large negative x offset stops at the left edge.
        { 3000, 2000, { 780, 630, 0, 0, -50 }, win::RECT { 0, 0, 2477, 2000 } },
        // A small offset moves both edges.
        { 3000, 2000, { 780, 630, 0, 0, 5 }, win::RECT { 411, 0, 2888, 2000 } },
        // A y offset with a margin moves the rows.
        { 3000, 2000, { 780, 630, 10, 3, 0 }, win::RECT { 385, 160, 2614, 1960 } },
        // Degenerate requests crop nothing: empty picture, zero or negative or NaN sides.
        { 0, 0, { 780, 630 }, std::nullopt },
        { 3000, 0, { 780, 630 }, std::nullopt },
        { 3000, 2000, { 0, 630 }, std::nullopt },
        { 3000, 2000, { 780, -1 }, std::nullopt },
        { 3000, 2000, { 0, 0 }, std::nullopt },
        { 3000, 2000, { std::numeric_limits<double>::quiet_NaN(), 1 }, std::nullopt },
        { 3000, 2000, { std::numeric_limits<double>::infinity(), 1 }, std::nullopt },
        { 3000, 2000, { 1, std::numeric_limits<double>::infinity() }, std::nullopt },
        // Sides whose quotient overflows, or vanishes under force, give no ratio either.
        { 3000, 2000, { 1e-300, 1e300 }, std::nullopt },
        { 3000, 2000, { 1e-300, 1e300, 0, 0, 0, true }, std::nullopt },
        // A margin above 100 mirrors the rectangle about its centre (the wrapper then crops nothing).
        { 3000, 2000, { 780, 630, 200 }, win::RECT { 2738, 2000, 261, 0 } },
        // Margins at the ends of the range: each side is held within 32 bits instead of wrapping.
        { 3000, 2000, { 780, 630, kMin }, win::RECT { kMin, kMin, kMax, kMax } },
        { 3000, 2000, { 780, 630, kMax }, win::RECT { kMax, kMax, kMin, kMin } },
        // Offsets at the ends of the range stop at the edges.
        { 3000, 2000, { 780, 630, 0, kMin, kMax }, win::RECT { 523, 0, 3000, 2000 } },
        { 3000, 2000, { 780, 630, 0, kMax, kMin }, win::RECT { 0, 0, 2477, 2000 } },
    };
    for (const AspectCase& c : cases)
        EXPECT_EQ(ComputeAspectCrop(c.w, c.h, c.request), c.expected)
            << c.w << "x" << c.h << " a " << c.request.a << " b " << c.request.b << " m "
            << c.request.marginPercent << " d " << c.request.yOffsetPercent << " e "
            << c.request.xOffsetPercent;
}

} // namespace
