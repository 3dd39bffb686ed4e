// Reads a PPM into a 32-bpp bitmap, resizes it with one of the library's resize filters and writes
// the result as PPM:
//   resize <bilinear|box|gaussian|hamming> <input.ppm> <output.ppm> <width> <height> [radius]
// The peer script times it beside ImageMagick and libvips doing the same work.

#include "bench/PpmFile.h"
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/filters/PLFilterResize.h"
#include "imaging/io/PLTextException.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

std::unique_ptr<PLFilter> FilterNamed(std::string_view name, int width, int height, double radius)
{
    if (name == "bilinear")
        return std::make_unique<PLFilterResizeBilinear>(width, height);
    if (name == "box")
        return std::make_unique<PLFilterResizeBox>(width, height);
    if (name == "gaussian")
        return std::make_unique<PLFilterResizeGaussian>(width, height, radius);
    if (name == "hamming")
        return std::make_unique<PLFilterResizeHamming>(width, height, radius);
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 6) {
        std::fprintf(stderr,
            "usage: resize <bilinear|box|gaussian|hamming> <in.ppm> <out.ppm> <width> <height> [radius]\n");
        return 2;
    }
    const auto filter
        = FilterNamed(argv[1], std::atoi(argv[4]), std::atoi(argv[5]), argc > 6 ? std::atof(argv[6]) : 1.0);
    auto input = bench::PpmInput::Open(argv[2]);
    if (!filter || !input) {
        std::fprintf(stderr, "resize: unknown filter or unreadable input\n");
        return 2;
    }
    try {
        PLAnyBmp source, result;
        source.CreateForOverwrite(
            static_cast<int>(input->Width()), static_cast<int>(input->Height()), 32, false, false);
        if (!input->ReadRows(source.GetLineArray())) {
            std::fprintf(stderr, "resize: %s is cut short\n", argv[2]);
            return 1;
        }
        filter->Apply(&source, &result);
        if (!bench::WritePpm(argv[3], result.GetWidth(), result.GetHeight(), result.GetLineArray())) {
            std::fprintf(stderr, "resize: cannot write %s\n", argv[3]);
            return 1;
        }
    } catch (const PLTextException& e) {
        std::fprintf(stderr, "resize: %s\n", e.GetText());
        return 1;
    }
    return 0;
}
