// In-process timing of the two-pass scaler with every kernel on the sizes the peer script uses.

#include "imaging/C2PassScale.h"
#include "imaging/PLContribDef.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

namespace {

struct Picture {
    int64_t width, height;
    std::vector<uint8_t> bytes;
    std::vector<uint8_t*> rows;

    Picture(int64_t w, int64_t h)
        : width(w)
        , height(h)
        , bytes(static_cast<size_t>(w * h * 4))
    {
        for (int64_t y = 0; y < h; ++y)
            rows.push_back(bytes.data() + y * w * 4);
    }
};

const Picture& Source(int64_t width, int64_t height)
{
    static std::vector<std::unique_ptr<Picture>> made;
    for (const auto& p : made)
        if (p->width == width && p->height == height)
            return *p;
    auto p = std::make_unique<Picture>(width, height);
    std::mt19937 random(5);
    for (auto& b : p->bytes)
        b = static_cast<uint8_t>(random());
    made.push_back(std::move(p));
    return *made.back();
}

std::unique_ptr<PLContribDef> Kernel(int64_t which)
{
    switch (which) {
    case 0:
        return std::make_unique<PLBilinearContribDef>(0.64);
    case 1:
        return std::make_unique<PLBoxContribDef>(0.5);
    case 2:
        return std::make_unique<PLGaussianContribDef>(1.0);
    default:
        return std::make_unique<PLHammingContribDef>(2.0);
    }
}

void BM_Resize(benchmark::State& state)
{
    const Picture& source = Source(state.range(0), state.range(1));
    const auto kernel = Kernel(state.range(4));
    Picture dest(state.range(2), state.range(3));
    const std::vector<const uint8_t*> in(source.rows.begin(), source.rows.end());
    for (auto _ : state) {
        C2PassScale<CDataRGBA_UBYTE>(*kernel).Run(in.data(), source.width, source.height, dest.rows.data(),
            dest.width, dest.height);
        benchmark::DoNotOptimize(dest.bytes.data());
    }
    state.counters["Mpix/s"] = benchmark::Counter(static_cast<double>(source.width * source.height),
        benchmark::Counter::kIsIterationInvariantRate, benchmark::Counter::kIs1000);
    static const char* const names[] = { "bilinear", "box", "gaussian1", "hamming2" };
    state.SetLabel(names[state.range(4)]);
}

void Sizes(benchmark::internal::Benchmark* b)
{
    b->ArgNames({ "sw", "sh", "dw", "dh", "kernel" });
    for (int64_t kernel = 0; kernel < 4; ++kernel) {
        b->Args({ 6000, 4000, 3000, 2000, kernel });
        b->Args({ 6000, 4000, 1500, 1000, kernel });
        b->Args({ 6000, 4000, 630, 420, kernel });
        b->Args({ 640, 480, 1920, 1440, kernel });
    }
}

BENCHMARK(BM_Resize)->Apply(Sizes)->Unit(benchmark::kMillisecond);

} // namespace
