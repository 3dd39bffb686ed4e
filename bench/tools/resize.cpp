// Reads a PPM, resizes it with one of the library's resize kernels and writes the result as PPM:
//   resize <bilinear|box|gaussian|hamming> <input.ppm> <output.ppm> <width> <height> [radius]
// The peer script times it beside ImageMagick and libvips doing the same work.

#include "bench/PpmFile.h"
#include "imaging/C2PassScale.h"
#include "imaging/PLContribDef.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::unique_ptr<PLContribDef> KernelNamed(std::string_view name, double radius)
{
    if (name == "bilinear")
        return std::make_unique<PLBilinearContribDef>(0.64);
    if (name == "box")
        return std::make_unique<PLBoxContribDef>(0.5);
    if (name == "gaussian")
        return std::make_unique<PLGaussianContribDef>(radius);
    if (name == "hamming")
        return std::make_unique<PLHammingContribDef>(radius);
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 6) {
        std::fprintf(stderr, "usage: resize <bilinear|box|gaussian|hamming> <in.ppm> <out.ppm> <width> <height> [radius]\n");
        return 2;
    }
    const auto kernel = KernelNamed(argv[1], argc > 6 ? std::atof(argv[6]) : 1.0);
    const long width = std::atol(argv[4]);
    const long height = std::atol(argv[5]);
    if (!kernel || width <= 0 || height <= 0) {
        std::fprintf(stderr, "resize: bad kernel or size\n");
        return 2;
    }
    const auto input = bench::PpmInput::Open(argv[2]);
    if (!input) {
        std::fprintf(stderr, "resize: cannot read %s\n", argv[2]);
        return 1;
    }
    const int64_t sw = input->Width(), sh = input->Height();
    std::vector<uint8_t> source(static_cast<size_t>(sw * sh * 4));
    std::vector<const uint8_t*> in;
    for (int64_t y = 0; y < sh; ++y) {
        input->ReadRow(y, source.data() + y * sw * 4);
        in.push_back(source.data() + y * sw * 4);
    }
    std::vector<uint8_t> pixels(static_cast<size_t>(width * height * 4));
    std::vector<uint8_t*> out;
    for (long y = 0; y < height; ++y)
        out.push_back(pixels.data() + y * width * 4);
    C2PassScale<CDataRGBA_UBYTE>(*kernel).Run(in.data(), sw, sh, out.data(), width, height);
    if (!bench::WritePpm(argv[3], width, height, out.data())) {
        std::fprintf(stderr, "resize: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
