#include "imaging/resize/ScalerTestSupport.h"
#include "imaging/resize/WeightTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace scaler_test;
using reference::Picture;

namespace {

std::vector<int32_t> WeightsAt(
    const PLContribDef& kernel, int64_t n, int64_t m, size_t u, int64_t* first = nullptr)
{
    const WeightTable table = BuildWeightTable(kernel, n, m);
    if (first)
        *first = table.entries[u].first;
    const auto w = table.WeightsOf(u);
    return { w.begin(), w.end() };
}

Picture Row(std::vector<uint8_t> values)
{
    Picture p { int64_t(values.size()), 1, {} };
    for (uint8_t v : values)
        p.bytes.insert(p.bytes.end(), { v, v, v, v });
    return p;
}

std::vector<uint8_t> Channel(const Picture& p, int c)
{
    std::vector<uint8_t> out;
    for (size_t i = size_t(c); i < p.bytes.size(); i += 4)
        out.push_back(p.bytes[i]);
    return out;
}

} // namespace

TEST(Kernels, WeightsAtHandPickedDistances)
{
    const double invSqrt2Pi = 1 / std::sqrt(2 * M_PI);
    struct Case {
        KernelCase kernel;
        double x;
        double expected;
    };
    const Case cases[] = {
        { { Kernel::Bilinear, 0.64, "" }, 0.0, 0.64 },
        { { Kernel::Bilinear, 0.64, "" }, -0.24, 0.40 },
        { { Kernel::Bilinear, 0.64, "" }, 0.64, 0.0 },
        { { Kernel::Box, 0.5, "" }, 0.5, 1.0 },
        { { Kernel::Box, 0.5, "" }, -0.5000001, 0.0 },
        { { Kernel::Gaussian, 1.0, "" }, 0.0, std::exp(-1.0) * invSqrt2Pi },
        { { Kernel::Gaussian, 2.0, "" }, 1.0, std::exp(-1.5) * invSqrt2Pi },
        { { Kernel::Gaussian, 1.0, "" }, 1.01, 0.0 },
        { { Kernel::Hamming, 3.0, "" }, 0.0, 1.0 },
        { { Kernel::Hamming, 3.0, "" }, 0.5, 0.08 * 2 / M_PI },
        { { Kernel::Hamming, 3.0, "" }, 1.5, 0.08 * -2 / (3 * M_PI) },
        { { Kernel::Hamming, 3.0, "" }, 2.0, 0.0 },
        { { Kernel::Hamming, 1.0, "" }, 1.5, 0.0 },
    };
    for (const Case& c : cases)
        EXPECT_NEAR(MakeKernel(c.kernel)->Weight(c.x), c.expected, 1e-12) << c.kernel.name << " at " << c.x;
}

TEST(WeightTable, HandComputedEntries)
{
    struct Case {
        KernelCase kernel;
        int64_t n, m;
        size_t u;
        int64_t first;
        std::vector<int32_t> weights;
    };
    const Case cases[] = {
        // Scale 1: the window around each pixel is 0, 256, 0.
        { { Kernel::Bilinear, 0.64, "" }, 7, 7, 3, 2, { 0, 256, 0 } },
        // Box 4 to 2: the distances are halved and two neighbours carry 128 each.
        { { Kernel::Box, 0.5, "" }, 2, 4, 0, 0, { 128, 128, 0 } },
        // Box 9 to 3: three weights of 85 and the remainder to make 256 lands on the last index.
        { { Kernel::Box, 0.5, "" }, 3, 9, 0, 0, { 85, 85, 85, 1 } },
        { { Kernel::Box, 0.5, "" }, 3, 9, 1, 2, { 0, 85, 85, 85, 1 } },
        // Gaussian of radius 1 at scale 1: 13, 37, 13 normalised to 52, 150 and the remainder 54.
        { { Kernel::Gaussian, 1.0, "" }, 5, 5, 2, 1, { 52, 150, 54 } },
        // Doubling one pixel: the only source index carries everything.
        { { Kernel::Bilinear, 0.64, "" }, 2, 1, 1, 0, { 256 } },
    };
    for (const Case& c : cases) {
        int64_t first = -1;
        EXPECT_EQ(WeightsAt(*MakeKernel(c.kernel), c.n, c.m, c.u, &first), c.weights)
            << c.kernel.name << " " << c.m << " to " << c.n << " at " << c.u;
        EXPECT_EQ(first, c.first);
    }
}

TEST(WeightTable, HugeShrinkSharesWeightsByTheRealKernel)
{
    // 6000 to 36 with the bilinear kernel: every truncated weight is 0, so the real kernel is
    // used; the weights still sum to 256, are non-negative and peak near the centre.
    const WeightTable table = BuildWeightTable(PLBilinearContribDef(0.64), 36, 6000);
    for (size_t u = 0; u < table.entries.size(); ++u) {
        const auto w = table.WeightsOf(u);
        int64_t sum = 0;
        for (int32_t v : w) {
            EXPECT_GE(v, 0);
            EXPECT_LE(v, 3);
            sum += v;
        }
        EXPECT_EQ(sum, 256) << u;
    }
}

TEST(C2PassScale, HandComputedPictures)
{
    struct Case {
        std::string what;
        KernelCase kernel;
        Picture source;
        int64_t width, height;
        std::vector<uint8_t> expected; // every channel
    };
    const Case cases[] = {
        { "box halves alternating pixels", { Kernel::Box, 0.5, "" }, Row({ 0, 255, 0, 255 }), 2, 1,
            { 128, 128 } },
        { "gaussian blurs an impulse at the same size", { Kernel::Gaussian, 1.0, "" },
            Row({ 0, 0, 255, 0, 0 }), 5, 1, { 0, 54, 149, 52, 0 } },
        { "box 9 to 3 keeps the remainder weight", { Kernel::Box, 0.5, "" },
            Row({ 0, 0, 0, 255, 0, 0, 0, 0, 0 }), 3, 1, { 1, 85, 0 } },
    };
    for (const Case& c : cases) {
        const Picture out = FastScale(*MakeKernel(c.kernel), c.source, c.width, c.height);
        for (int ch = 0; ch < 4; ++ch)
            EXPECT_EQ(Channel(out, ch), c.expected) << c.what;
        EXPECT_EQ(reference::Scale(*MakeKernel(c.kernel), c.source, c.width, c.height).bytes, out.bytes)
            << c.what;
    }
}

TEST(C2PassScale, GaussianAppliesBothPasses)
{
    Picture impulse = FilledPicture(5, 5, { 0, 0, 0, 0 });
    std::fill_n(impulse.Pixel(2, 2), 4, 255);
    const Picture out = FastScale(PLGaussianContribDef(1.0), impulse, 5, 5);
    // Horizontal: 149 at the centre; vertical: (150 * 149 + 128) / 256.
    EXPECT_EQ(out.Pixel(2, 2)[0], 87);
    EXPECT_EQ(out.Pixel(2, 1)[1], (54 * 149 + 128) / 256);
    EXPECT_EQ(out.Pixel(1, 2)[2], (150 * 54 + 128) / 256);
}

TEST(C2PassScale, SameSizeIsIdentityForBilinearBoxAndHamming)
{
    const Picture source = RandomPicture(23, 17, 7);
    for (const KernelCase& k : AllKernels()) {
        if (k.kind == Kernel::Gaussian)
            continue;
        EXPECT_EQ(FastScale(*MakeKernel(k), source, 23, 17).bytes, source.bytes) << k.name;
    }
}

TEST(C2PassScale, BilinearDoublingReplicatesAColumn)
{
    const Picture column = RandomPicture(1, 9, 3);
    const Picture out = FastScale(PLBilinearContribDef(0.64), column, 2, 9);
    for (int64_t y = 0; y < 9; ++y) {
        EXPECT_TRUE(std::equal(out.Pixel(0, y), out.Pixel(0, y) + 4, column.Pixel(0, y))) << y;
        EXPECT_TRUE(std::equal(out.Pixel(1, y), out.Pixel(1, y) + 4, column.Pixel(0, y))) << y;
    }
}

TEST(C2PassScale, FastEqualsReferenceOnRandomPictures)
{
    struct Size {
        int64_t sw, sh, dw, dh;
    };
    const Size sizes[] = {
        { 37, 23, 11, 7 },
        { 13, 9, 41, 29 },
        { 101, 3, 7, 19 },
        { 5, 77, 63, 2 },
        { 1, 1, 9, 5 },
        { 64, 48, 64, 48 },
        { 301, 7, 29, 13 },
        { 17, 211, 33, 5 },
        { 640, 5, 1920, 3 },
        { 9, 9, 3, 3 },
    };
    uint32_t seed = 1;
    for (const KernelCase& k : AllKernels())
        for (const Size& s : sizes) {
            const auto kernel = MakeKernel(k);
            const Picture source = RandomPicture(s.sw, s.sh, seed++);
            EXPECT_EQ(FastScale(*kernel, source, s.dw, s.dh).bytes,
                reference::Scale(*kernel, source, s.dw, s.dh).bytes)
                << k.name << " " << s.sw << "x" << s.sh << " to " << s.dw << "x" << s.dh;
        }
}

TEST(C2PassScale, WeightsBeyondSixteenBitsTakeThePlainLoops)
{
    // Large weights of both signs that nearly cancel: normalised, they leave 16 bits, so the
    // vector loops must step aside; results are clamped, as with any kernel.
    class Wild : public PLContribDef {
    public:
        Wild()
            : PLContribDef(1.5)
        {
        }
        double Weight(double x) const override
        {
            return std::fabs(x) > 1.5 ? 0 : x > 0.5 ? 50 : x < -0.5 ? -49.9 : 0;
        }
    };
    const Wild kernel;
    const WeightTable table = BuildWeightTable(kernel, 9, 9);
    const auto wide
        = std::any_of(table.weights.begin(), table.weights.end(), [](int32_t w) { return w > 32767; });
    EXPECT_TRUE(wide);
    const Picture source = RandomPicture(9, 9, 77);
    EXPECT_EQ(FastScale(kernel, source, 9, 9).bytes, reference::Scale(kernel, source, 9, 9).bytes);
    const Picture other = RandomPicture(31, 5, 78);
    EXPECT_EQ(FastScale(kernel, other, 17, 12).bytes, reference::Scale(kernel, other, 17, 12).bytes);
}

TEST(C2PassScale, PropertiesOverLargeShrinks)
{
    // Long rows and columns shrunk hard, the sizes at which truncated weights vanish.
    struct Size {
        int64_t sw, sh, dw, dh;
    };
    const Size sizes[] = {
        { 6000, 2, 36, 2 },
        { 6000, 2, 30, 1 },
        { 6000, 3, 150, 3 },
        { 2, 6000, 2, 36 },
        { 3, 6000, 1, 150 },
        { 1, 6000, 1, 30 },
        { 45, 31, 7, 5 },
    };
    const uint8_t grey[4] = { 90, 128, 201, 77 };
    uint32_t seed = 100;
    for (const KernelCase& k : AllKernels()) {
        const auto kernel = MakeKernel(k);
        for (const Size& s : sizes) {
            const std::string what = std::string(k.name) + " " + std::to_string(s.sw) + "x"
                + std::to_string(s.sh) + " to " + std::to_string(s.dw) + "x" + std::to_string(s.dh);
            // A constant picture stays constant.
            const Picture flat = FastScale(*kernel, FilledPicture(s.sw, s.sh, grey), s.dw, s.dh);
            EXPECT_EQ(flat.bytes, FilledPicture(s.dw, s.dh, grey).bytes) << what;

            // Alpha is scaled like a colour: a picture whose alpha repeats its green keeps them equal.
            Picture source = RandomPicture(s.sw, s.sh, seed++);
            for (size_t i = 0; i < source.bytes.size(); i += 4)
                source.bytes[i + 3] = source.bytes[i + 1];
            const Picture out = FastScale(*kernel, source, s.dw, s.dh);
            for (size_t i = 0; i < out.bytes.size(); i += 4)
                ASSERT_EQ(out.bytes[i + 3], out.bytes[i + 1]) << what;

            // Kernels without negative lobes stay within the input's range, per channel.
            if (k.kind != Kernel::Hamming) {
                for (int c = 0; c < 4; ++c) {
                    const auto in = Channel(source, c);
                    const auto [lo, hi] = std::minmax_element(in.begin(), in.end());
                    for (uint8_t v : Channel(out, c)) {
                        ASSERT_GE(v, *lo) << what;
                        ASSERT_LE(v, *hi) << what;
                    }
                }
            }
            EXPECT_EQ(out.bytes, reference::Scale(*kernel, source, s.dw, s.dh).bytes) << what;
        }
    }
}

TEST(C2PassScale, NegativeLobesClampInsteadOfWrapping)
{
    // A hard edge enlarged with the Hamming kernel overshoots on both sides.
    const Picture edge = Row({ 0, 0, 0, 0, 255, 255, 255, 255 });
    const PLHammingContribDef kernel(3.0);
    const auto across = reference::Contributions(kernel, 29, 8);
    bool above = false, below = false;
    const Picture out = FastScale(kernel, edge, 29, 1);
    for (size_t x = 0; x < across.size(); ++x) {
        int64_t sum = 0;
        for (int64_t i = across[x].first; i <= across[x].last; ++i)
            sum += across[x].weights[size_t(i - across[x].first)] * edge.Pixel(i, 0)[0];
        const int64_t exact = (sum + 128) / 256;
        if (exact > 255) {
            above = true;
            EXPECT_EQ(out.Pixel(int64_t(x), 0)[0], 255) << x;
        }
        if (sum + 128 < 0) {
            below = true;
            EXPECT_EQ(out.Pixel(int64_t(x), 0)[0], 0) << x;
        }
    }
    EXPECT_TRUE(above);
    EXPECT_TRUE(below);
}

TEST(C2PassScale, ZeroSizesScaleNothing)
{
    const Picture source = RandomPicture(4, 4, 9);
    const PLBilinearContribDef kernel(0.64);
    C2PassScale<CDataRGBA_UBYTE> scaler(kernel);
    std::vector<const uint8_t*> in { source.Pixel(0, 0) };
    uint8_t untouched[16] = {};
    uint8_t* out[] = { untouched };
    const int64_t sizes[][4]
        = { { 0, 4, 4, 1 }, { 4, 0, 4, 1 }, { 4, 4, 0, 1 }, { 4, 4, 4, 0 }, { -3, 4, 4, 1 } };
    for (const auto& s : sizes) {
        EXPECT_EQ(scaler.Run(in.data(), s[0], s[1], out, s[2], s[3]), out);
        EXPECT_TRUE(
            std::all_of(std::begin(untouched), std::end(untouched), [](uint8_t b) { return b == 0; }));
    }
}

TEST(C2PassScale, ProgressCanStopTheScaling)
{
    const Picture source = RandomPicture(8, 8, 11);
    static int calls;
    calls = 0;
    const auto stopAtThird = [](uint8_t) { return ++calls < 3; };
    const PLBoxContribDef kernel(0.5);
    C2PassScale<CDataRGBA_UBYTE> scaler(kernel, stopAtThird);
    std::vector<const uint8_t*> in;
    for (int64_t y = 0; y < 8; ++y)
        in.push_back(source.Pixel(0, y));
    std::vector<uint8_t> pixels(4 * 4 * 4);
    std::vector<uint8_t*> out;
    for (int y = 0; y < 4; ++y)
        out.push_back(pixels.data() + y * 16);
    EXPECT_EQ(scaler.Run(in.data(), 8, 8, out.data(), 4, 4), nullptr);
    EXPECT_TRUE(scaler.IsAborted());
    EXPECT_EQ(calls, 3);
}

// A watched scaling reports the horizontal pass once per source row (0 to 50) and the vertical
// pass before each output row (50 to 100), and its result is the unwatched one; a stop in the
// horizontal pass leaves the destination untouched.
TEST(C2PassScale, ProgressReportsBothPassesAndAnEarlyStopWritesNothing)
{
    const Picture source = RandomPicture(4, 3, 5);
    static std::vector<int> seen;
    static size_t stopAt;
    const auto watch = [](uint8_t percent) {
        seen.push_back(percent);
        return seen.size() != stopAt;
    };
    const PLBilinearContribDef kernel(0.64);
    std::vector<const uint8_t*> in;
    for (int64_t y = 0; y < 3; ++y)
        in.push_back(source.Pixel(0, y));
    const Picture expected = reference::Scale(kernel, source, 2, 5);
    struct Case {
        size_t stopAt; // the call answered false; 0 for none
        std::vector<int> seen;
        bool written;
    };
    // 3 source rows: 0, 50/3, 100/3 truncated; 5 output rows: 50 + 10 y.
    const Case cases[] = {
        { 0, { 0, 16, 33, 50, 60, 70, 80, 90 }, true }, { 2, { 0, 16 }, false },
        { 4, { 0, 16, 33, 50 }, false },
        { 5, { 0, 16, 33, 50, 60 }, true }, // the first output row is already written
    };
    for (const Case& c : cases) {
        seen.clear();
        stopAt = c.stopAt;
        Picture out { 2, 5, std::vector<uint8_t>(2 * 5 * 4, 0xEE) };
        std::vector<uint8_t*> rows;
        for (int64_t y = 0; y < 5; ++y)
            rows.push_back(out.Pixel(0, y));
        C2PassScale<CDataRGBA_UBYTE> scaler(kernel, watch);
        EXPECT_EQ(scaler.Run(in.data(), 4, 3, rows.data(), 2, 5), c.stopAt == 0 ? rows.data() : nullptr);
        EXPECT_EQ(seen, c.seen) << c.stopAt;
        EXPECT_EQ(std::equal(out.bytes.begin(), out.bytes.begin() + 8, expected.bytes.begin()), c.written)
            << c.stopAt;
        if (c.stopAt == 0) {
            EXPECT_EQ(out.bytes, expected.bytes);
        } else if (!c.written) {
            EXPECT_TRUE(std::all_of(out.bytes.begin(), out.bytes.end(), [](uint8_t b) { return b == 0xEE; }));
        }
    }
}
