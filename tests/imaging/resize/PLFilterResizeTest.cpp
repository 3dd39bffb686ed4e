#include "imaging/filters/PLFilterResize.h"
#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/resize/ScalerTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>

using namespace scaler_test;

namespace {

void FromPicture(PLBmp& bmp, const reference::Picture& p, bool alpha = false)
{
    bmp.Create(int(p.width), int(p.height), 32, alpha, false, p.bytes.data());
}

reference::Picture ToPicture(const PLBmp& bmp)
{
    reference::Picture p { bmp.GetWidth(), bmp.GetHeight(), {} };
    for (int y = 0; y < bmp.GetHeight(); ++y)
        p.bytes.insert(p.bytes.end(), bmp.GetRow(y), bmp.GetRow(y) + bmp.GetWidth() * 4);
    return p;
}

// A binary PPM (P6, maxval 255, no comments) as a 32-bpp bitmap.
bool ReadPpm(const std::string& path, PLBmp& bmp)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxval = 0;
    in >> magic >> width >> height >> maxval;
    in.get();
    if (magic != "P6" || maxval != 255 || width <= 0 || height <= 0)
        return false;
    std::vector<char> rgb(size_t(width * height * 3));
    if (!in.read(rgb.data(), std::streamsize(rgb.size())))
        return false;
    bmp.Create(width, height, 32, false, false);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const char* c = &rgb[size_t((y * width + x) * 3)];
            bmp.GetRow32(y)[x] = PLPixel32(uint8_t(c[0]), uint8_t(c[1]), uint8_t(c[2]));
        }
    return true;
}

struct FilterCase {
    const char* name;
    std::function<std::unique_ptr<PLFilter>(int, int)> make;
    KernelCase kernel;
};

const std::vector<FilterCase>& Filters()
{
    static const std::vector<FilterCase> filters {
        { "bilinear", [](int w, int h) { return std::make_unique<PLFilterResizeBilinear>(w, h); },
            { Kernel::Bilinear, 0.64, "" } },
        { "box", [](int w, int h) { return std::make_unique<PLFilterResizeBox>(w, h); },
            { Kernel::Box, 0.5, "" } },
        { "gaussian", [](int w, int h) { return std::make_unique<PLFilterResizeGaussian>(w, h, 1.7); },
            { Kernel::Gaussian, 1.7, "" } },
        { "hamming", [](int w, int h) { return std::make_unique<PLFilterResizeHamming>(w, h, 2.5); },
            { Kernel::Hamming, 2.5, "" } },
    };
    return filters;
}

} // namespace

TEST(PLFilterResize, EachFilterScalesWithItsKernelAndKeepsTheDescription)
{
    const reference::Picture source = RandomPicture(29, 19, 21);
    for (const FilterCase& f : Filters()) {
        PLAnyBmp src, dst;
        FromPicture(src, source, true);
        src.SetResolution(PLCoord(300, 150));
        f.make(13, 31)->Apply(&src, &dst);
        EXPECT_EQ(dst.GetSize(), PLCoord(13, 31)) << f.name;
        EXPECT_EQ(dst.GetBitsPerPixel(), 32) << f.name;
        EXPECT_TRUE(dst.HasAlpha()) << f.name;
        EXPECT_EQ(dst.GetResolution(), PLCoord(300, 150)) << f.name;
        EXPECT_EQ(ToPicture(dst).bytes, reference::Scale(*MakeKernel(f.kernel), source, 13, 31).bytes)
            << f.name;

        // In place through the bitmap gives the same pixels.
        src.ApplyFilter(*f.make(13, 31));
        EXPECT_EQ(ToPicture(src).bytes, ToPicture(dst).bytes) << f.name;
    }
}

TEST(PLFilterResize, ZeroSizesResizeNothingAndRaiseNothing)
{
    for (const FilterCase& f : Filters()) {
        PLAnyBmp src, dst;
        FromPicture(src, RandomPicture(6, 4, 2));
        EXPECT_NO_THROW(f.make(0, 5)->Apply(&src, &dst)) << f.name;
        EXPECT_EQ(dst.GetSize(), PLCoord(0, 5));
        EXPECT_NO_THROW(f.make(5, 0)->Apply(&src, &dst)) << f.name;
        EXPECT_EQ(dst.GetSize(), PLCoord(5, 0));

        PLAnyBmp empty;
        empty.Create(0, 0, 32, false, false);
        EXPECT_NO_THROW(f.make(3, 2)->Apply(&empty, &dst)) << f.name;
        ASSERT_EQ(dst.GetSize(), PLCoord(3, 2));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(dst.GetRow32(y)[x], PLPixel32(0, 0, 0, 255)) << f.name;
    }
}

TEST(PLFilterResize, RefusesWhatItCannotScale)
{
    PLAnyBmp src32, src8, dst;
    FromPicture(src32, RandomPicture(4, 4, 3));
    src8.Create(4, 4, 8, false, true);
    dst.Create(2, 2, 32, false, false);
    const double badRadii[] = { 0.0, -1.0, std::nan(""), std::numeric_limits<double>::infinity() };
    for (double r : badRadii) {
        EXPECT_EQ(ErrorCodeOf([&] { PLFilterResizeGaussian(2, 2, r).Apply(&src32, &dst); }),
            PL_ERR_FORMAT_NOT_SUPPORTED)
            << r;
        EXPECT_EQ(ErrorCodeOf([&] { PLFilterResizeHamming(2, 2, r).Apply(&src32, &dst); }),
            PL_ERR_FORMAT_NOT_SUPPORTED)
            << r;
    }
    for (const FilterCase& f : Filters())
        EXPECT_EQ(ErrorCodeOf([&] { f.make(2, 2)->Apply(&src8, &dst); }), PL_ERR_FORMAT_NOT_SUPPORTED)
            << f.name;
    EXPECT_EQ(dst.GetSize(), PLCoord(2, 2)); // a refused request leaves the destination alone
    EXPECT_EQ(ErrorCodeOf([&] { PLFilterResizeBox(-1, 2).Apply(&src32, &dst); }), PL_ERR_NO_MEMORY);
}

TEST(PLFilterResize, IntermediateTooLargeIsOutOfMemory)
{
    // One tall column squeezed into one long row would need every intermediate row at once.
    PLAnyBmp src, dst;
    src.Create(1, PL_MAX_SIDE, 32, false, false);
    EXPECT_EQ(
        ErrorCodeOf([&] { PLFilterResizeBilinear(PL_MAX_SIDE, 1).Apply(&src, &dst); }), PL_ERR_NO_MEMORY);
}

TEST(PLFilterResize, BilinearIsWithinTwoLevelsOfImageMagickOnGradients)
{
    // Made by tests/data/resize/make-bilinear-golden.sh (Triangle filter, blur 0.64).
    const std::string folder = std::string(ORVANEL_TEST_DATA) + "/resize/";
    PLAnyBmp source;
    ASSERT_TRUE(ReadPpm(folder + "gradient.ppm", source));
    const PLCoord sizes[] = { { 16, 12 }, { 24, 18 }, { 19, 30 }, { 48, 36 }, { 64, 48 }, { 40, 20 } };
    bool boxStrays = false;
    for (const PLCoord& size : sizes) {
        const std::string name = "gradient-" + std::to_string(size.x) + "x" + std::to_string(size.y) + ".ppm";
        PLAnyBmp expected, ours;
        ASSERT_TRUE(ReadPpm(folder + name, expected)) << name;
        PLFilterResizeBilinear(size.x, size.y).Apply(&source, &ours);
        ASSERT_EQ(ours.GetSize(), expected.GetSize()) << name;
        EXPECT_TRUE(ours.AlmostEqual(expected, 2)) << name;

        // The golden tells kernels apart: the box kernel strays further at these factors.
        PLAnyBmp box;
        PLFilterResizeBox(size.x, size.y).Apply(&source, &box);
        boxStrays = boxStrays || !box.AlmostEqual(expected, 2);
    }
    EXPECT_TRUE(boxStrays);
}
