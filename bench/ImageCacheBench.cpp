// The image cache on a 6000x4000 photograph: a miss decodes the file into a free slot and keeps a
// pristine copy of it; a hit hands back the picture already there. The two figures compare a lookup
// with a decode, which says what the cache saves, not that it is fast: a hit is a lookup in a few
// slots, and drawing the picture it returns costs the same whether it was a hit or a miss.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "imaging/wrapper/ImageCache.h"

#include "PhotoJpeg.h"

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

// The photograph as a file, written once per run.
const std::string& PhotoFile()
{
    static const std::string path = [] {
        const std::string name = (std::filesystem::temp_directory_path()
            / ("orvanel-cache-bench-" + std::to_string(::getpid()) + ".jpg"))
                                     .string();
        const std::vector<uint8_t>& jpeg = benchphoto::Photo(kWidth, kHeight);
        std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()), jpeg.size());
        std::atexit([] { std::remove(PhotoFile().c_str()); });
        return name;
    }();
    return path;
}

// Each request finds the name gone (its slot freed, as after the slot was reused) and loads the file.
void CacheMiss(benchmark::State& state)
{
    const std::string& path = PhotoFile();
    ImageCache cache;
    cache.SetSize(5, true); // as the tool sets it
    ImageResult result;
    for (auto _ : state) {
        cache.Remove(path);
        benchmark::DoNotOptimize(cache.GetImage(path, result));
    }
    if (result.severity != 0)
        state.SkipWithError(result.message.c_str());
}

// Each request finds the picture in its slot.
void CacheHit(benchmark::State& state)
{
    const std::string& path = PhotoFile();
    ImageCache cache;
    ImageResult result;
    cache.GetImage(path, result);
    for (auto _ : state)
        benchmark::DoNotOptimize(cache.GetImage(path, result));
    if (result.severity != 0)
        state.SkipWithError(result.message.c_str());
}

} // namespace

BENCHMARK(CacheMiss)->Unit(benchmark::kMillisecond);
BENCHMARK(CacheHit)->Unit(benchmark::kMicrosecond);
