// Reads a PPM into a 32-bpp bitmap, resizes it with one of the library's resize filters and writes
// the result as PPM:
//   resize <bilinear|box|gaussian|hamming> <input.ppm> <output.ppm> <width> <height> [radius]
//   resize --weights <bilinear|box|gaussian|hamming> [radius]
// The second form prints the kernel's weights from 0 to its width in steps of 0.01, divided by the
// weight at 0, in the form of ImageMagick's `-define filter:verbose=1`, so that the peer script
// pairs a kernel with an ImageMagick filter only where their weights match. The peer script times
// the first form beside ImageMagick doing the same work.

#include "bench/PpmBitmap.h"
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/filters/PLFilterResize.h"
#include "imaging/io/PLTextException.h"
#include "imaging/resize/PLContribDef.h"

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

// The kernels of the filters above, with the widths the filters give them.
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

int PrintWeights(std::string_view name, double radius)
{
    const auto kernel = KernelNamed(name, radius);
    if (!kernel || !(kernel->Weight(0.0) != 0.0)) {
        std::fprintf(stderr, "resize: unknown kernel\n");
        return 2;
    }
    std::printf("# support = %g\n", kernel->GetWidth());
    const double centre = kernel->Weight(0.0);
    for (int step = 0; step <= static_cast<int>(kernel->GetWidth() * 100.0 + 1e-9); ++step) {
        const double x = step / 100.0;
        std::printf("%5.2f\t%g\n", x, kernel->Weight(x) / centre);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::string_view(argv[1]) == "--weights")
        return PrintWeights(argv[2], argc > 3 ? std::atof(argv[3]) : 1.0);
    if (argc < 6) {
        std::fprintf(stderr,
            "usage: resize <bilinear|box|gaussian|hamming> <in.ppm> <out.ppm> <width> <height> [radius]\n");
        return 2;
    }
    const auto filter
        = FilterNamed(argv[1], std::atoi(argv[4]), std::atoi(argv[5]), argc > 6 ? std::atof(argv[6]) : 1.0);
    if (!filter) {
        std::fprintf(stderr, "resize: unknown filter\n");
        return 2;
    }
    try {
        PLAnyBmp source, result;
        if (!bench::ReadPpmBitmap(argv[2], source)) {
            std::fprintf(stderr, "resize: cannot read %s\n", argv[2]);
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
