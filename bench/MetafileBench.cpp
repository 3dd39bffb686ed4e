// Metafiles drawn into pictures. A hostile header: 108 bytes that describe a drawing of 15,495 x
// 15,795 pixels, drawn within the decoder's bound on the longer side; its memory is the process's
// peak resident size during one decode, above what was resident before it (goal: the picture's own
// 8,036 x 8,192 x 4 bytes, about 251 MiB, and no second picture of that size). And one drawing of
// 947 x 620 pixels (a few filled shapes) decoded at 32 bpp and, with a palette of 16 colours in the
// metafile, at 8 bpp: matching each drawn colour to the palette once, the paletted decode costs about
// what the true-colour one does.
#include <benchmark/benchmark.h>

#include "BenchApplication.h"

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/io/PLMemSource.h"
#include "imaging/metafile/PLWEMFDecoder.h"

#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& out, std::initializer_list<int64_t> values)
{
    for (const int64_t v : values)
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<uint8_t>(uint64_t(v) >> (8 * i)));
}

// An enhanced metafile: the header (frame in hundredths of a millimetre, the device in pixels and
// millimetres), the records, and the end record with the palette (0x00BBGGRR entries).
Bytes Emf(std::initializer_list<int64_t> frame, std::initializer_list<int64_t> device, const Bytes& records,
    const std::vector<uint32_t>& palette)
{
    Bytes out;
    Put(out, { 1, 88, 0, 0, 10, 10 });
    Put(out, frame);
    Put(out, { 0x464D4520, 0x10000, 0, 0, 16, 0, 0, int64_t(palette.size()) });
    Put(out, device);
    out.insert(out.end(), records.begin(), records.end());
    Put(out, { 14, 20 + 4 * int64_t(palette.size()), int64_t(palette.size()), 16 });
    for (const uint32_t entry : palette)
        Put(out, { entry });
    Put(out, { 20 + 4 * int64_t(palette.size()) });
    return out;
}

Bytes HostileEmf()
{
    return Emf({ 0, -65536, 65535, 1350 }, { 4800, 6400, 203, 271 }, {}, {});
}

// 947 x 620 pixels (one a millimetre): bands of rectangles and ellipses in eight colours.
Bytes Drawing(bool paletted)
{
    Bytes records;
    const uint32_t colours[]
        = { 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0x808080, 0x000000 };
    for (int i = 0; i < 8; ++i) {
        Put(records, { 39, 24, 1 + i, 0, colours[i], 0 }); // CreateBrushIndirect
        Put(records, { 37, 12, 1 + i }); // SelectObject
        Put(records, { i % 2 ? 42 : 43, 24, 40 + 100 * i, 20 + 60 * i, 300 + 80 * i, 200 + 50 * i });
    }
    std::vector<uint32_t> palette;
    if (paletted)
        for (uint32_t i = 0; i < 16; ++i)
            palette.push_back((i * 0x111111u) & 0xFFFFFFu);
    return Emf({ 0, 0, 94700, 62000 }, { 100, 100, 100, 100 }, records, palette);
}

double StatusMiB(std::string_view key)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with(key))
            return std::stod(line.substr(key.size())) / 1024.0;
    return 0;
}

void Decode(const Bytes& file, PLAnyBmp& bmp)
{
    PLWEMFDecoder decoder;
    decoder.DecodeMemory(file.data(), static_cast<int>(file.size()), &bmp);
}

void HostileMetafilePeakMemory(benchmark::State& state)
{
    EnsureGuiApplication();
    const Bytes file = HostileEmf();
    double peak = 0;
    for (auto _ : state) {
        const double before = StatusMiB("VmRSS:");
        std::ofstream("/proc/self/clear_refs") << "5\n"; // the peak starts again from here
        {
            PLAnyBmp bmp;
            Decode(file, bmp);
            state.counters["width"] = bmp.GetWidth();
            state.counters["height"] = bmp.GetHeight();
        }
        peak = std::max(peak, StatusMiB("VmHWM:") - before);
    }
    state.counters["peak_MiB"] = peak;
}
BENCHMARK(HostileMetafilePeakMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

void MetafileDrawing(benchmark::State& state)
{
    EnsureGuiApplication();
    const Bytes file = Drawing(state.range(0) == 8);
    PLAnyBmp bmp;
    for (auto _ : state)
        Decode(file, bmp);
    state.counters["bpp"] = bmp.GetBitsPerPixel();
}
BENCHMARK(MetafileDrawing)->Arg(32)->Arg(8)->Unit(benchmark::kMillisecond);

} // namespace
