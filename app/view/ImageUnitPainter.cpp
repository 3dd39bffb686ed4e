#include "app/view/ImageUnitPainter.h"

#include "app/view/ScopedGdiObjects.h"
#include "imaging/resize/FitWithinBox.h"
#include "model/Layout.h"
#include "model/LayoutUnit.h"
#include "model/RgbHex.h"
#include "platform/win/IntArithmetic.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int32_t kOverprintStartSize = 600;

// The quarter turns that bring the picture upright (portrait) or on its side (group).
int StandingTurns(const Pellimar::DeviceIndepBitmap& picture, bool portrait)
{
    if (portrait)
        return picture.IsLandscape() ? 3 : 0;
    return picture.IsLandscape() ? 0 : 1;
}

int32_t Sum(int64_t a, int64_t b)
{
    return win::SaturateToInt32(a + b);
}

win::POINT DevicePoint(const DisplayConverter& converter, int64_t x, int64_t y)
{
    win::POINT point { win::SaturateToInt32(x), win::SaturateToInt32(y) };
    converter.ToDevice(point);
    return point;
}

void DrawOverprint(const PaintContext& context, const LayoutBox& box)
{
    const Layout& layout = context.layout;
    gdi::DeviceContext& dc = context.dc;
    const win::COLORREF colour = ParseRgbHex(layout.GetOverprintColour());
    const win::COLORREF previousColour = dc.SetTextColor(colour);
    const int64_t width = int64_t { box.right } - box.left;
    const int64_t height = int64_t { box.bottom } - box.top;
    const int64_t strip = height / 5;
    const int64_t inset = width / 16;
    const std::string text = OverprintText(layout.GetOverprintWord());
    DrawTextInBox(dc, context.converter, text,
        { Sum(box.left, inset), box.top, Sum(box.right, -inset), Sum(box.top, strip) }, kOverprintStartSize,
        kPainterFace);
    DrawTextInBox(dc, context.converter, text,
        { Sum(box.left, inset), Sum(box.bottom, -strip), Sum(box.right, -inset), box.bottom },
        kOverprintStartSize, kPainterFace);
    dc.SetTextColor(win::RGB(0, 0, 0));
    if (layout.GetOverprintDiagonal()) {
        const int64_t rise = (2 * strip) / 3;
        const win::POINT from
            = DevicePoint(context.converter, int64_t { box.left } + inset, box.bottom - rise);
        const win::POINT to = DevicePoint(context.converter, int64_t { box.right } - inset, box.top + rise);
        const ScopedPen pen(dc, layout.GetOverprintDiagWidth(), colour);
        dc.MoveTo(from.x, from.y);
        dc.LineTo(to.x, to.y);
    }
    dc.SetTextColor(previousColour);
}

} // namespace

LayoutBox ImageUnitBox(const LayoutUnit& unit)
{
    const win::POINT anchor = unit.GetAbsolutePosition(0);
    const int64_t x = anchor.x;
    const int64_t y = anchor.y;
    const int64_t w = unit.GetWidth();
    const int64_t h = unit.GetHeight();
    const auto box = [](int64_t l, int64_t t, int64_t r, int64_t b) {
        return LayoutBox { win::SaturateToInt32(l), win::SaturateToInt32(t), win::SaturateToInt32(r),
            win::SaturateToInt32(b) };
    };
    switch (unit.GetAbsoluteQuarterTurns()) {
    case 1:
        return box(x - h, y, x, y + w);
    case 2:
        return box(x - w, y - h, x, y);
    case 3:
        return box(x, y - w, x + h, y);
    default:
        return box(x, y, x + w, y + h);
    }
}

std::string OverprintText(const std::string& word)
{
    return "\xA9   " + word + "   \xA9";
}

namespace {

// Where a picture of the given size lands in the unit box, turned by the quarter turns.
struct Placement {
    int64_t x0 = 0;
    int64_t y0 = 0;
    win::SIZE fitted {};
};

Placement PlacePicture(const PLCoord& size, int turns, const LayoutBox& box)
{
    const bool across = turns % 2 == 1;
    const win::SIZE fitted = FitWithinBox(across ? size.y : size.x, across ? size.x : size.y,
        win::SaturateToInt32(int64_t { box.right } - box.left),
        win::SaturateToInt32(int64_t { box.bottom } - box.top));
    return { box.left + (int64_t { box.right } - fitted.cx - box.left) / 2,
        box.top + (int64_t { box.bottom } - fitted.cy - box.top) / 2, fitted };
}

} // namespace

int SampleScaleNeeded(int decodeScale, PLCoord turnedSize, win::SIZE drawnPixels, bool printing)
{
    if (printing)
        return 1;
    // A pixel short counts as enough: the finer decode's crop is rounded a little differently.
    const auto covers = [&](int scale) {
        return int64_t { turnedSize.x } * decodeScale / scale + 1
            >= kSampleOversampling * std::abs(int64_t { drawnPixels.cx })
            && int64_t { turnedSize.y } * decodeScale / scale + 1
            >= kSampleOversampling * std::abs(int64_t { drawnPixels.cy });
    };
    int scale = std::max(decodeScale, 1);
    while (scale > 1 && !covers(scale))
        scale /= 2;
    return scale;
}

void DrawImageUnit(
    const PaintContext& context, const LayoutUnit& unit, const std::string& samplePath, bool portrait)
{
    if (!unit.IsShown())
        return;
    if (!context.pictures.Contains(samplePath))
        context.pictures.LoadSampleImages();
    ImageResult result;
    PictureSource::Picture picture = context.pictures.GetImage(samplePath, result);
    if (!picture || result.severity != 0)
        return;
    // The cached picture is never turned: the display copy carries the turns.
    const int turns
        = win::NormalQuarterTurns(StandingTurns(*picture, portrait) + unit.GetAbsoluteQuarterTurns());
    const LayoutBox box = ImageUnitBox(unit);
    Placement place = PlacePicture(picture->GetSize(), turns, box);
    if (picture->GetBitmap() && picture->GetDecodeScale() > 1) {
        // A sample decoded at a reduced scale is decoded again when the drawing needs more pixels.
        const PLCoord size = picture->GetSize();
        const PLCoord turned = turns % 2 == 1 ? PLCoord(size.y, size.x) : size;
        const win::POINT corner = DevicePoint(context.converter, place.x0, place.y0);
        const win::SIZE drawn
            = DeviceExtent(context, corner.x, corner.y, context.converter.ScaleLength(place.fitted.cx),
                context.converter.ScaleLengthNegated(place.fitted.cy));
        const int scale
            = SampleScaleNeeded(picture->GetDecodeScale(), turned, drawn, context.dc.IsPrinting());
        if (scale < picture->GetDecodeScale()) {
            context.pictures.ReloadSample(samplePath, scale);
            result = {};
            PictureSource::Picture finer = context.pictures.GetImage(samplePath, result);
            if (finer && result.severity == 0 && finer->GetBitmap()) {
                picture = std::move(finer);
                place = PlacePicture(picture->GetSize(), turns, box);
            }
        }
    }
    if (picture->GetBitmap()) {
        const win::POINT corner = DevicePoint(context.converter, place.x0, place.y0);
        DrawPictureCopy(context, picture, turns, corner.x, corner.y,
            context.converter.ScaleLength(place.fitted.cx),
            context.converter.ScaleLengthNegated(place.fitted.cy));
    }
    if (context.layout.GetOverprintCopyright())
        DrawOverprint(context, box);
}
