// Every geometric filter at every depth against a pixel-by-pixel reference: each destination
// pixel's raw value must be the source pixel the filter's mapping names. The pixels are read
// here bit by bit, independently of the library's pixel copying.
#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/filters/PLFilterCrop.h"
#include "imaging/filters/PLFilterFlip.h"
#include "imaging/filters/PLFilterJoin.h"
#include "imaging/filters/PLFilterMirror.h"
#include "imaging/filters/PLFilterRotate.h"

#include <functional>
#include <memory>
#include <string>

namespace {

// The raw value of pixel (x, y): the bits of a packed pixel (first pixel in the high bits of a
// byte) below 8 bpp, the bytes of the pixel in memory order as one number from 8 bpp up.
uint32_t RawPixel(const PLBmp& bmp, int x, int y)
{
    const int bpp = bmp.GetBitsPerPixel();
    const uint8_t* row = bmp.GetRow(y);
    uint32_t value = 0;
    for (int bit = 0; bit < bpp; ++bit) {
        const int64_t index = static_cast<int64_t>(x) * bpp + bit;
        value = value << 1 | ((row[index / 8] >> (7 - index % 8)) & 1u);
    }
    return value;
}

// Random raw pixels, so that any misplaced, shifted or truncated pixel shows.
void MakeNoise(PLBmp& bmp, int width, int height, int bpp, uint32_t seed)
{
    std::vector<uint8_t> bits(static_cast<size_t>(PLBmp::UnpaddedRowBytes(width, bpp)) * height);
    for (auto& b : bits) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(seed >> 24);
    }
    bmp.Create(width, height, bpp, false, false, bits.data(), 0, PLCoord(200, 100));
}

struct Source {
    int x;
    int y;
    bool fromOther; // a join takes some pixels from the other bitmap
};

struct FilterCase {
    std::string name;
    std::function<std::unique_ptr<PLFilter>(PLBmp* other)> make;
    std::function<PLCoord(PLCoord src, PLCoord other)> size;
    std::function<Source(int x, int y, PLCoord src, PLCoord other)> from;
};

const std::vector<FilterCase>& Cases()
{
    static const std::vector<FilterCase> cases = {
        { "quarter_clockwise", [](PLBmp*) { return std::make_unique<PLFilterRotate>(PLROTATE_90); },
            [](PLCoord s, PLCoord) { return PLCoord(s.y, s.x); },
            [](int x, int y, PLCoord s, PLCoord) {
                return Source { y, s.y - 1 - x, false };
            } },
        { "half_turn", [](PLBmp*) { return std::make_unique<PLFilterRotate>(PLROTATE_180); },
            [](PLCoord s, PLCoord) { return s; },
            [](int x, int y, PLCoord s, PLCoord) {
                return Source { s.x - 1 - x, s.y - 1 - y, false };
            } },
        { "quarter_anticlockwise", [](PLBmp*) { return std::make_unique<PLFilterRotate>(PLROTATE_270); },
            [](PLCoord s, PLCoord) { return PLCoord(s.y, s.x); },
            [](int x, int y, PLCoord s, PLCoord) {
                return Source { s.x - 1 - y, x, false };
            } },
        { "flip", [](PLBmp*) { return std::make_unique<PLFilterFlip>(); },
            [](PLCoord s, PLCoord) { return s; },
            [](int x, int y, PLCoord s, PLCoord) {
                return Source { x, s.y - 1 - y, false };
            } },
        { "mirror", [](PLBmp*) { return std::make_unique<PLFilterMirror>(); },
            [](PLCoord s, PLCoord) { return s; },
            [](int x, int y, PLCoord s, PLCoord) {
                return Source { s.x - 1 - x, y, false };
            } },
        { "crop", [](PLBmp*) { return std::make_unique<PLFilterCrop>(3, 2, 12, 6); },
            [](PLCoord, PLCoord) { return PLCoord(9, 4); },
            [](int x, int y, PLCoord, PLCoord) {
                return Source { x + 3, y + 2, false };
            } },
        // The source (13 x 7) is taller than the other (6 x 4): its rows from (7 - 4) / 2 = 1.
        { "join_other_right",
            [](PLBmp* other) { return std::make_unique<PLFilterJoin>(PLJOIN_OTHER_RIGHT, other); },
            [](PLCoord s, PLCoord o) { return PLCoord(s.x + o.x, o.y); },
            [](int x, int y, PLCoord s, PLCoord) {
                return x < s.x ? Source { x, y + 1, false } : Source { x - s.x, y, true };
            } },
        { "join_other_left",
            [](PLBmp* other) { return std::make_unique<PLFilterJoin>(PLJOIN_OTHER_LEFT, other); },
            [](PLCoord s, PLCoord o) { return PLCoord(s.x + o.x, o.y); },
            [](int x, int y, PLCoord, PLCoord o) {
                return x < o.x ? Source { x, y, true } : Source { x - o.x, y + 1, false };
            } },
    };
    return cases;
}

struct Param {
    size_t filter;
    int bpp;
};

void PrintTo(const Param& p, std::ostream* os)
{
    *os << Cases()[p.filter].name << " at " << p.bpp << " bpp";
}

class GeometricReference : public testing::TestWithParam<Param> { };

TEST_P(GeometricReference, EveryPixelComesFromItsMappedSource)
{
    const FilterCase& c = Cases()[GetParam().filter];
    const int bpp = GetParam().bpp;
    PLAnyBmp src, other;
    MakeNoise(src, 13, 7, bpp, 17u + static_cast<uint32_t>(bpp));
    MakeNoise(other, 6, 4, bpp, 91u + static_cast<uint32_t>(bpp));
    // Both classes as destination: unpadded rows top first, and padded rows bottom first.
    PLAnyBmp anyDst;
    PLWinBmp winDst;
    for (PLBmp* dst : { static_cast<PLBmp*>(&anyDst), static_cast<PLBmp*>(&winDst) }) {
        dst->CreateFilteredCopy(src, *c.make(&other));
        ASSERT_EQ(dst->GetSize(), c.size(src.GetSize(), other.GetSize()));
        ASSERT_EQ(dst->GetBitsPerPixel(), bpp);
        EXPECT_EQ(dst->GetResolution(), PLCoord(200, 100));
        for (int y = 0; y < dst->GetHeight(); ++y)
            for (int x = 0; x < dst->GetWidth(); ++x) {
                const Source s = c.from(x, y, src.GetSize(), other.GetSize());
                ASSERT_EQ(RawPixel(*dst, x, y), RawPixel(s.fromOther ? other : src, s.x, s.y))
                    << "pixel " << x << "," << y;
            }
    }
}

std::vector<Param> AllFiltersAtEveryDepth()
{
    std::vector<Param> params;
    for (size_t f = 0; f < Cases().size(); ++f)
        for (const int bpp : { 1, 4, 8, 16, 24, 32 })
            params.push_back({ f, bpp });
    return params;
}

INSTANTIATE_TEST_SUITE_P(Filters, GeometricReference, testing::ValuesIn(AllFiltersAtEveryDepth()),
    [](const testing::TestParamInfo<Param>& info) {
        return Cases()[info.param.filter].name + "_" + std::to_string(info.param.bpp) + "bpp";
    });

} // namespace
