#pragma once

// Pictures and kernels shared by the scaler tests.

#include "imaging/resize/C2PassScale.h"
#include "imaging/resize/PLContribDef.h"
#include "imaging/resize/ReferenceScaler.h"

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace scaler_test {

enum class Kernel { Bilinear, Box, Gaussian, Hamming };

struct KernelCase {
    Kernel kind;
    double width;
    const char* name;
};

inline std::unique_ptr<PLContribDef> MakeKernel(const KernelCase& k)
{
    switch (k.kind) {
    case Kernel::Bilinear:
        return std::make_unique<PLBilinearContribDef>(k.width);
    case Kernel::Box:
        return std::make_unique<PLBoxContribDef>(k.width);
    case Kernel::Gaussian:
        return std::make_unique<PLGaussianContribDef>(k.width);
    case Kernel::Hamming:
        return std::make_unique<PLHammingContribDef>(k.width);
    }
    return nullptr;
}

// Every kernel with the widths the resize filters use, and further radii for the two that take one.
inline const std::vector<KernelCase>& AllKernels()
{
    static const std::vector<KernelCase> kernels {
        { Kernel::Bilinear, 0.64, "bilinear" },
        { Kernel::Box, 0.5, "box" },
        { Kernel::Gaussian, 0.6, "gaussian0.6" },
        { Kernel::Gaussian, 1.0, "gaussian1" },
        { Kernel::Gaussian, 2.5, "gaussian2.5" },
        { Kernel::Hamming, 0.5, "hamming0.5" },
        { Kernel::Hamming, 2.0, "hamming2" },
        { Kernel::Hamming, 3.0, "hamming3" },
    };
    return kernels;
}

inline reference::Picture RandomPicture(int64_t width, int64_t height, uint32_t seed)
{
    std::mt19937 random(seed);
    reference::Picture p { width, height, std::vector<uint8_t>(size_t(width * height * 4)) };
    for (auto& b : p.bytes)
        b = uint8_t(random());
    return p;
}

inline reference::Picture FilledPicture(int64_t width, int64_t height, const uint8_t (&pixel)[4])
{
    reference::Picture p { width, height, std::vector<uint8_t>(size_t(width * height * 4)) };
    for (size_t i = 0; i < p.bytes.size(); ++i)
        p.bytes[i] = pixel[i % 4];
    return p;
}

// Runs the library's scaler over packed rows.
inline reference::Picture FastScale(
    const PLContribDef& kernel, const reference::Picture& source, int64_t width, int64_t height)
{
    reference::Picture result { width, height, std::vector<uint8_t>(size_t(width * height * 4), 0xCD) };
    std::vector<const uint8_t*> in;
    for (int64_t y = 0; y < source.height; ++y)
        in.push_back(source.Pixel(0, y));
    std::vector<uint8_t*> out;
    for (int64_t y = 0; y < height; ++y)
        out.push_back(result.Pixel(0, y));
    C2PassScale<CDataRGBA_UBYTE> scaler(kernel);
    scaler.Run(in.data(), source.width, source.height, out.data(), width, height);
    return result;
}

} // namespace scaler_test
