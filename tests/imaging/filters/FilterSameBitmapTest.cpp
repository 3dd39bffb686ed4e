// Every filter given one bitmap as both source and destination filters it in place: the result is
// what a distinct destination receives, never a picture read while it was being overwritten.
#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/filters/PLFilterAdjustDensity.h"
#include "imaging/filters/PLFilterColor.h"
#include "imaging/filters/PLFilterContrast.h"
#include "imaging/filters/PLFilterCrop.h"
#include "imaging/filters/PLFilterFlip.h"
#include "imaging/filters/PLFilterGrayscale.h"
#include "imaging/filters/PLFilterHSB.h"
#include "imaging/filters/PLFilterJoin.h"
#include "imaging/filters/PLFilterLightnessPercent.h"
#include "imaging/filters/PLFilterMirror.h"
#include "imaging/filters/PLFilterQuantize.h"
#include "imaging/filters/PLFilterResize.h"
#include "imaging/filters/PLFilterRotate.h"
#include "imaging/filters/PLFilterWatermark.h"
#include "imaging/filters/PLFilterWhiteBalance.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

TEST(FilterSameBitmap, EveryFilterGivesWhatADistinctDestinationGets)
{
    PLAnyBmp other;
    Fill32(other, 3, 4, [](int x, int y) {
        return PLPixel32(static_cast<uint8_t>(x * 50), 9, static_cast<uint8_t>(y), 255);
    });
    const struct {
        const char* name;
        std::shared_ptr<PLFilter> filter;
    } cases[] = {
        { "crop", std::make_shared<PLFilterCrop>(1, 1, 4, 3) },
        { "flip", std::make_shared<PLFilterFlip>() },
        { "mirror", std::make_shared<PLFilterMirror>() },
        { "rotate", std::make_shared<PLFilterRotate>(PLROTATE_90) },
        { "join", std::make_shared<PLFilterJoin>(PLJOIN_OTHER_LEFT, &other) },
        { "bilinear", std::make_shared<PLFilterResizeBilinear>(3, 7) },
        { "box", std::make_shared<PLFilterResizeBox>(9, 2) },
        { "gaussian", std::make_shared<PLFilterResizeGaussian>(4, 4, 0.8) },
        { "hamming", std::make_shared<PLFilterResizeHamming>(2, 5, 1.5) },
        { "quantize", std::make_shared<PLFilterQuantize>(PLDTHPAL_MEDIAN, PLDTH_FS) },
        { "grey", std::make_shared<PLFilterGrayscale>() },
        { "colour", std::make_shared<PLFilterColor>(30, -20, 10, true) },
        { "contrast", std::make_shared<PLFilterContrast>(1.5, 100) },
        { "hsb", std::make_shared<PLFilterHSB>(20, -10, 5) },
        { "lightness", std::make_shared<PLFilterLightnessPercent>(20, false) },
        { "density", std::make_shared<PLFilterAdjustDensity>(PLCoord(2, 1), 40, 30, 1) },
        { "white balance", std::make_shared<PLFilterWhiteBalance>(PLCoord(3, 2), 0) },
        { "watermark", std::make_shared<PLFilterWatermark>(2, &other) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PLAnyBmp source, distinct, same;
        Fill32(source, 6, 4, PositionColour);
        same.CreateCopy(source);
        c.filter->Apply(&source, &distinct);
        c.filter->Apply(&same, &same);
        EXPECT_EQ(same.GetSize(), distinct.GetSize());
        EXPECT_EQ(same.GetBitsPerPixel(), distinct.GetBitsPerPixel());
        EXPECT_TRUE(same == distinct);
        EXPECT_FALSE(distinct == source) << "the filter changed nothing, so the case shows nothing";
    }
}

} // namespace
