#include "app/view/PageDrawing.h"

#include "app/view/MoveBounds.h"
#include "app/view/PaintContext.h"
#include "app/view/ProofLoops.h"
#include "app/view/ScopedGdiObjects.h"
#include "model/Layout.h"
#include "model/LayoutUnit.h"
#include "platform/win/IntArithmetic.h"
#include "util/window/WaitCursor.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr int32_t kDefaultPictureResolution = 300;

int64_t TruncateToInt64(double value)
{
    constexpr double limit = 9.0e18;
    if (std::isnan(value))
        return 0;
    return static_cast<int64_t>(std::clamp(value, -limit, limit));
}

int32_t Positive(int32_t length)
{
    return length < 0 ? win::SaturateToInt32(-int64_t { length }) : length;
}

// Screen: the zoom, the page centred in the client area, the strips beside and above and below it
// filled with the surround grey.
LayoutConverter PlaceOnScreen(gdi::DeviceContext& dc, const PageRequest& request)
{
    LayoutConverter converter;
    converter.SetScale(request.zoom);
    win::SIZE scroll = request.scrollSize;
    win::SIZE client = request.clientSize;
    dc.DPtoLP(&scroll);
    dc.DPtoLP(&client);
    const int64_t clientWidth = Positive(client.cx);
    const int64_t clientHeight = Positive(client.cy);
    const int64_t totalWidth = std::max<int64_t>(Positive(scroll.cx), clientWidth);
    const int64_t totalHeight = std::max<int64_t>(Positive(scroll.cy), clientHeight);
    const PaperSpecs& paper = request.layout.GetPaper();
    const int64_t pageWidth = converter.ScaleLength(paper.GetPaperWidth());
    const int64_t pageHeight = converter.ScaleLengthNegated(paper.GetPaperHeight());
    const auto fill = [&](int64_t left, int64_t top, int64_t right, int64_t bottom) {
        dc.FillSolidRect({ win::SaturateToInt32(left), win::SaturateToInt32(top), win::SaturateToInt32(right),
                             win::SaturateToInt32(bottom) },
            kSurroundGrey);
    };
    if (pageWidth < clientWidth) {
        const int64_t offsetX = (clientWidth - pageWidth) / 2;
        converter.SetOffsetX(win::SaturateToInt32(offsetX));
        fill(0, 0, offsetX, -totalHeight);
        fill(offsetX + pageWidth, 0, totalWidth, -totalHeight);
    }
    if (pageHeight > -clientHeight) {
        const int64_t offsetY = (-clientHeight - pageHeight) / 2;
        converter.SetOffsetY(win::SaturateToInt32(offsetY));
        fill(0, 0, totalWidth, offsetY);
        fill(0, offsetY + pageHeight, totalWidth, -totalHeight);
    }
    return converter;
}

// Printer: true size, the layout's margin corner at the printer's origin. The printer's page
// margins are the layout's as the screen shows them on the sheet, in either orientation (see
// PreparePrinting), so the corner is (left, top) on a landscape sheet too.
LayoutConverter PlaceOnPrinter(const Layout& layout)
{
    LayoutConverter converter;
    converter.SetPrinting(true);
    const PaperSpecs& paper = layout.GetPaper();
    converter.SetOrigin({ paper.GetMarginLeft(), paper.GetMarginTop() });
    return converter;
}

// A background loaded just now is trimmed, in place, to the printable area: the excess pixels at
// the picture's resolution cut away evenly from both sides, then the rest cut to the area's aspect
// when the picture is short of it. Skipped when the margins leave no printable area.
void TrimBackground(Pellimar::DeviceIndepBitmap& picture, int64_t printableWidth, int64_t printableHeight)
{
    if (printableWidth <= 0 || printableHeight <= 0 || !picture.GetBitmap())
        return;
    const PLCoord resolution = picture.GetBitmap()->GetResolution();
    const double rx = resolution.x == 0 ? kDefaultPictureResolution : resolution.x;
    const double ry = resolution.y == 0 ? kDefaultPictureResolution : resolution.y;
    const PLCoord size = picture.GetSize();
    const int64_t excessX = size.x - TruncateToInt64(static_cast<double>(printableWidth) * (rx / 254.0));
    const int64_t excessY = size.y - TruncateToInt64(static_cast<double>(printableHeight) * (ry / 254.0));
    if (excessX > 1 || excessY > 1) {
        const int64_t halfX = excessX > 1 ? excessX / 2 : 0;
        const int64_t halfY = excessY > 1 ? excessY / 2 : 0;
        picture.Crop(win::SaturateToInt32(halfX), win::SaturateToInt32(halfY),
            win::SaturateToInt32(size.x - halfX), win::SaturateToInt32(size.y - halfY));
    }
    if (excessX < 0 || excessY < 0)
        picture.CropToAspect(
            static_cast<double>(printableHeight), static_cast<double>(printableWidth), 0, 0, 0, false, false);
}

void DrawBackground(const PaintContext& context)
{
    const Layout& layout = context.layout;
    const std::string& path = layout.GetBackgroundImage();
    if (path.empty() || (context.converter.IsPrinting() && layout.GetBackgroundPOD()))
        return;
    const bool wasLoaded = context.pictures.Contains(path);
    // Loading a background the cache does not hold takes a while: the wait cursor says so.
    std::optional<WaitCursor> waiting;
    if (!wasLoaded)
        waiting.emplace();
    ImageResult result;
    const PictureSource::Picture picture = context.pictures.GetImage(path, result);
    if (!picture || result.severity != 0)
        return;
    const win::RECT printable = layout.GetPaper().GetPrintableRect();
    const int64_t width = int64_t { printable.right } - printable.left;
    const int64_t height = int64_t { printable.bottom } - printable.top;
    if (!wasLoaded)
        TrimBackground(*picture, width, height);
    win::POINT corner { printable.left, printable.top };
    context.converter.ToDevice(corner);
    const double scale = context.converter.GetScale();
    DrawPictureCopy(context, picture, 0, corner.x, corner.y,
        win::SaturateToInt32(static_cast<double>(width) * scale),
        win::SaturateToInt32(-static_cast<double>(height) * scale));
}

void DrawExtraTexts(const PaintContext& context, const PageContent& content, LayoutUnit& root)
{
    for (int n = 1; n <= 8; ++n) {
        LayoutUnit* unit = root.FindByName("ExtraTxt" + std::to_string(n));
        if (!unit || !unit->IsShown())
            continue;
        const ScopedFont font(
            context.dc, context.converter, unit->GetFontSize(), TextEscapement(unit->GetAbsoluteAngle()));
        const std::string& sample = content.extraTexts[static_cast<std::size_t>(n - 1)];
        context.converter.DrawUnitText(
            *unit, sample.empty() ? unit->GetCaption() : sample, context.dc, true, 0);
    }
}

void DrawProofUnits(const PaintContext& context, const PageContent& content, LayoutUnit& root)
{
    switch (context.layout.GetLayoutType()) {
    case 0:
        DrawPortraitProof(context, content, root);
        break;
    case 1:
        DrawGroupProof(context, content, root);
        break;
    case 2:
        DrawCombinedProof(context, content, root);
        break;
    default:
        break;
    }
}

} // namespace

LayoutConverter DrawPage(gdi::DeviceContext& dc, const PageRequest& request)
{
    Layout& layout = request.layout;
    dc.SetStretchBltMode(gdi::COLORONCOLOR);
    const LayoutConverter converter = dc.IsPrinting() ? PlaceOnPrinter(layout) : PlaceOnScreen(dc, request);
    OneDrawingPictures pictures(request.pictures);
    const PaintContext context { converter, dc, layout, pictures, request.copies, request.content.reference,
        request.packs };
    DrawBackground(context);
    dc.SetBkMode(gdi::TRANSPARENT);
    LayoutUnit& root = *layout.GetRootUnit();
    DrawProofUnits(context, request.content, root);
    DrawExtraTexts(context, request.content, root);
    root.FitToChildren();
    if (!dc.IsPrinting() && request.selectedUnit)
        DrawSelectionFrame(dc, converter, layout, *request.selectedUnit, !request.selectionDragged);
    return converter;
}

void DrawSelectionFrame(gdi::DeviceContext& dc, const LayoutConverter& converter, const Layout& layout,
    const LayoutUnit& unit, bool ownFrame)
{
    win::RECT bounds = GetMoveBounds(layout, unit);
    converter.ToDeviceRect(bounds);
    {
        const ScopedPen pen(dc, 2, kMoveBoundsColour);
        dc.MoveTo(bounds.left, bounds.top);
        dc.LineTo(bounds.right, bounds.top);
        dc.LineTo(bounds.right, bounds.bottom);
        dc.LineTo(bounds.left, bounds.bottom);
        dc.LineTo(bounds.left, bounds.top);
    }
    // The unit's frame: the platform's drag rectangle, a border of kSelectionBorder device pixels
    // inside its bounds, inverted through the 50 % halftone pattern, so that it shows over dark and
    // light pictures alike while the unit's own pixels show between its dots. Every paint draws the
    // page afresh before the frame, so an inversion never falls on an earlier frame to erase it.
    if (!ownFrame)
        return;
    win::RECT frame = unit.GetBounds();
    converter.ToDeviceRect(frame);
    dc.LPtoDP(&frame);
    dc.DrawDragRect(frame, { kSelectionBorder, kSelectionBorder }, nullptr, {});
}
