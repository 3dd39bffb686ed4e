// In-process timing of the resize filters with every kernel on the sizes the peer script uses.

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/filters/PLFilterResize.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

namespace {

PLAnyBmp& Source(int width, int height)
{
    static std::vector<std::unique_ptr<PLAnyBmp>> made;
    for (const auto& p : made)
        if (p->GetWidth() == width && p->GetHeight() == height)
            return *p;
    auto p = std::make_unique<PLAnyBmp>();
    p->Create(width, height, 32, false, false);
    std::mt19937 random(5);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 4; ++x)
            p->GetRow(y)[x] = static_cast<uint8_t>(random());
    made.push_back(std::move(p));
    return *made.back();
}

std::unique_ptr<PLFilter> Filter(int64_t which, int width, int height)
{
    switch (which) {
    case 0:
        return std::make_unique<PLFilterResizeBilinear>(width, height);
    case 1:
        return std::make_unique<PLFilterResizeBox>(width, height);
    case 2:
        return std::make_unique<PLFilterResizeGaussian>(width, height, 1.0);
    default:
        return std::make_unique<PLFilterResizeHamming>(width, height, 2.0);
    }
}

void BM_Resize(benchmark::State& state)
{
    PLAnyBmp& source = Source(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const auto filter
        = Filter(state.range(4), static_cast<int>(state.range(2)), static_cast<int>(state.range(3)));
    PLAnyBmp dest;
    for (auto _ : state) {
        filter->Apply(&source, &dest);
        benchmark::DoNotOptimize(dest.GetRow(0));
    }
    state.counters["Mpix/s"] = benchmark::Counter(static_cast<double>(state.range(0) * state.range(1)),
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
