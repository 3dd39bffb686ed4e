// Decoding a 6000x4000 JPEG from memory: our decoder into the wrapper's 32-bit bitmap, beside
// libjpeg called directly with the same settings (float inverse DCT, no fancy upsampling,
// blue-green-red-alpha rows), so that the cost of the decoder's own work shows as the difference.
// Two pairs, each like for like: into fresh memory every time (a new bitmap, as a program decoding
// a new picture gets; libjpeg into a new block from the same allocator), and into memory that is
// already there (the same bitmap, or the same buffer, decoded into again).
#include <benchmark/benchmark.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/io/PLBmpPixelBlock.h"
#include "imaging/io/PLMemSource.h"
#include "imaging/jpeg/PLJPEGDecoder.h"

// After the library's headers: libjpeg defines TRUE and FALSE as macros.
#include "PhotoJpeg.h"

namespace {

using benchphoto::Jump;
using benchphoto::JumpOut;
using benchphoto::Photo;

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

void SetRate(benchmark::State& state)
{
    state.counters["Mpx/s"]
        = benchmark::Counter(double(kWidth) * kHeight / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// Creates the bitmap anew for every picture, as the image wrapper does.
void OurDecoderFreshBitmap(benchmark::State& state)
{
    const std::vector<uint8_t>& jpeg = Photo(kWidth, kHeight);
    PLJPEGDecoder decoder;
    for (auto _ : state) {
        PLWinBmp bmp;
        decoder.DecodeMemory(jpeg.data(), static_cast<int>(jpeg.size()), &bmp, 32);
        benchmark::DoNotOptimize(bmp.GetLineArray());
    }
    SetRate(state);
}

// Decodes into the same bitmap again.
void OurDecoderSameBitmap(benchmark::State& state)
{
    const std::vector<uint8_t>& jpeg = Photo(kWidth, kHeight);
    PLJPEGDecoder decoder;
    PLWinBmp bmp;
    decoder.DecodeMemory(jpeg.data(), static_cast<int>(jpeg.size()), &bmp, 32);
    for (auto _ : state) {
        PLMemSource source;
        source.OpenMemory(jpeg.data(), static_cast<int>(jpeg.size()));
        decoder.Open(&source);
        decoder.DecodeImage(&bmp);
        decoder.Close();
        source.Close();
        benchmark::DoNotOptimize(bmp.GetLineArray());
    }
    SetRate(state);
}

// rows must hold output_height pointers to rows of output_width x 4 bytes, set by setRows once the
// output size is known.
template <typename SetRows>
bool DecodeDirect(
    jpeg_decompress_struct* d, const std::vector<uint8_t>& jpeg, std::vector<JSAMPROW>& rows, SetRows setRows)
{
    if (setjmp(reinterpret_cast<Jump*>(d->err)->buf))
        return false;
    jpeg_mem_src(d, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(d, TRUE);
    d->out_color_space = JCS_EXT_BGRA;
    d->dct_method = JDCT_FLOAT;
    d->do_fancy_upsampling = FALSE;
    jpeg_start_decompress(d);
    rows.resize(d->output_height);
    setRows(d->output_width, d->output_height);
    while (d->output_scanline < d->output_height)
        jpeg_read_scanlines(d, rows.data() + d->output_scanline, d->output_height - d->output_scanline);
    jpeg_finish_decompress(d);
    return true;
}

// fresh: a new block for every picture; otherwise one buffer decoded into again.
void LibjpegDirect(benchmark::State& state, bool fresh)
{
    const std::vector<uint8_t>& jpeg = Photo(kWidth, kHeight);
    jpeg_decompress_struct d {};
    Jump err {};
    d.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = JumpOut;
    jpeg_create_decompress(&d);
    PLBmpPixelBlock pixels;
    std::vector<JSAMPROW> rows;
    for (auto _ : state) {
        const auto setRows = [&](JDIMENSION w, JDIMENSION h) {
            const size_t rowBytes = static_cast<size_t>(w) * 4;
            if (fresh || pixels.size() != rowBytes * h)
                pixels = PLBmpPixelBlock(rowBytes * h);
            for (JDIMENSION y = 0; y < h; ++y)
                rows[y] = pixels.get() + y * rowBytes;
        };
        if (!DecodeDirect(&d, jpeg, rows, setRows))
            state.SkipWithError("libjpeg failed");
        benchmark::DoNotOptimize(pixels.get());
    }
    jpeg_destroy_decompress(&d);
    SetRate(state);
}

void LibjpegDirectFreshBuffer(benchmark::State& state)
{
    LibjpegDirect(state, true);
}

void LibjpegDirectSameBuffer(benchmark::State& state)
{
    LibjpegDirect(state, false);
}

} // namespace

BENCHMARK(OurDecoderFreshBitmap)->Unit(benchmark::kMillisecond);
BENCHMARK(LibjpegDirectFreshBuffer)->Unit(benchmark::kMillisecond);
BENCHMARK(OurDecoderSameBitmap)->Unit(benchmark::kMillisecond);
BENCHMARK(LibjpegDirectSameBuffer)->Unit(benchmark::kMillisecond);
