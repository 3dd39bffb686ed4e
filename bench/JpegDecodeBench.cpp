// Decoding a JPEG from memory: our decoder into the wrapper's 32-bit bitmap, beside libjpeg called
// directly with the same settings (float inverse DCT, no fancy upsampling, blue-green-red-alpha
// rows), so that the cost of the decoder's own work shows as the difference.
#include <benchmark/benchmark.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "imaging/PLJPEGDecoder.h"
#include "imaging/PLWinBmp.h"

// After the library's headers: libjpeg defines TRUE and FALSE as macros.
#include <jpeglib.h>

namespace {

struct Jump {
    jpeg_error_mgr pub;
    std::jmp_buf buf;
};

[[noreturn]] void JumpOut(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<Jump*>(cinfo->err)->buf, 1);
}

bool CompressInto(jpeg_compress_struct* c, const std::vector<uint8_t>& rgb, int w, int h, unsigned char** out,
    unsigned long* size)
{
    if (setjmp(reinterpret_cast<Jump*>(c->err)->buf))
        return false;
    jpeg_mem_dest(c, out, size);
    c->image_width = static_cast<JDIMENSION>(w);
    c->image_height = static_cast<JDIMENSION>(h);
    c->input_components = 3;
    c->in_color_space = JCS_RGB;
    jpeg_set_defaults(c);
    jpeg_set_quality(c, 92, TRUE);
    jpeg_start_compress(c, TRUE);
    while (c->next_scanline < c->image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.data() + static_cast<size_t>(c->next_scanline) * w * 3);
        jpeg_write_scanlines(c, &row, 1);
    }
    jpeg_finish_compress(c);
    return true;
}

// A 4:2:0 photograph-like picture: smooth shading with fine noise.
const std::vector<uint8_t>& Photo(int w, int h)
{
    static std::vector<uint8_t> jpeg;
    if (!jpeg.empty())
        return jpeg;
    std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
    uint32_t noise = 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                noise = noise * 1664525u + 1013904223u;
                rgb[(static_cast<size_t>(y) * w + x) * 3 + c]
                    = static_cast<uint8_t>((x * (c + 1) / 9 + y / 7 + (noise >> 27)) & 0xFF);
            }
    jpeg_compress_struct c {};
    Jump err {};
    c.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = JumpOut;
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    if (CompressInto(&c, rgb, w, h, &out, &size))
        jpeg.assign(out, out + size);
    jpeg_destroy_compress(&c);
    std::free(out);
    return jpeg;
}

constexpr int kWidth = 3000;
constexpr int kHeight = 2000;

void OurDecoder(benchmark::State& state)
{
    const std::vector<uint8_t>& jpeg = Photo(kWidth, kHeight);
    PLJPEGDecoder decoder;
    PLWinBmp bmp;
    for (auto _ : state) {
        decoder.DecodeMemory(jpeg.data(), static_cast<int>(jpeg.size()), &bmp, 32);
        benchmark::DoNotOptimize(bmp.GetLineArray());
    }
    state.counters["Mpx/s"]
        = benchmark::Counter(double(kWidth) * kHeight / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

bool DecodeDirect(jpeg_decompress_struct* d, const std::vector<uint8_t>& jpeg, std::vector<uint8_t>& pixels,
    std::vector<JSAMPROW>& rows)
{
    if (setjmp(reinterpret_cast<Jump*>(d->err)->buf))
        return false;
    jpeg_mem_src(d, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(d, TRUE);
    d->out_color_space = JCS_EXT_BGRA;
    d->dct_method = JDCT_FLOAT;
    d->do_fancy_upsampling = FALSE;
    jpeg_start_decompress(d);
    pixels.resize(static_cast<size_t>(d->output_width) * d->output_height * 4);
    rows.resize(d->output_height);
    for (JDIMENSION y = 0; y < d->output_height; ++y)
        rows[y] = pixels.data() + static_cast<size_t>(y) * d->output_width * 4;
    while (d->output_scanline < d->output_height)
        jpeg_read_scanlines(d, rows.data() + d->output_scanline, d->output_height - d->output_scanline);
    jpeg_finish_decompress(d);
    return true;
}

void LibjpegDirect(benchmark::State& state)
{
    const std::vector<uint8_t>& jpeg = Photo(kWidth, kHeight);
    jpeg_decompress_struct d {};
    Jump err {};
    d.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = JumpOut;
    jpeg_create_decompress(&d);
    std::vector<uint8_t> pixels;
    std::vector<JSAMPROW> rows;
    for (auto _ : state) {
        if (!DecodeDirect(&d, jpeg, pixels, rows))
            state.SkipWithError("libjpeg failed");
        benchmark::DoNotOptimize(pixels.data());
    }
    jpeg_destroy_decompress(&d);
    state.counters["Mpx/s"]
        = benchmark::Counter(double(kWidth) * kHeight / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace

BENCHMARK(OurDecoder)->Unit(benchmark::kMillisecond);
BENCHMARK(LibjpegDirect)->Unit(benchmark::kMillisecond);
