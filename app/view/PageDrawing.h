// Drawing one page of a layout with sample content, on screen or on a printer: the page placed
// (zoomed and centred on a grey surround on screen, at true size from the printer's margin corner
// on paper), the background picture, the units of the layout's proof type, the extra texts, and
// on screen the frame of the selected unit on top. The view's OnDraw hands over what it holds and
// keeps the converter of a screen drawing for the mouse:
//     const LayoutConverter used = DrawPage(dc, { doc.GetLayout(), content_, pictures_, copies_, zoom_,
//         totalScrollSizeInPixels, clientSizeInPixels, selectedUnit_, &doc.GetPacks() });
//     if (!dc.IsPrinting())
//         converter_ = used;
// with content_ from the program options (sample paths and texts, kSampleReference), pictures_ a
// CachePictureSource over GetImageCache() that loads the document's sample images, and copies_
// the view's DisplayCopyCache.
#pragma once

#include "app/view/DisplayConverter.h"
#include "app/view/DisplayCopyCache.h"
#include "app/view/PictureSource.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/win/Types.h"

#include <array>
#include <string>

class Layout;
class PacksCollection;
class LayoutUnit;

// The grey around the page on screen.
inline constexpr win::COLORREF kSurroundGrey = win::RGB(214, 211, 206);
// The border of the selected unit's frame, device pixels.
inline constexpr int kSelectionBorder = 3;
inline constexpr win::COLORREF kMoveBoundsColour = win::RGB(255, 0, 0);

// The sample content of the page: the program options' sample pictures and extra texts, and the
// sample reference.
struct PageContent {
    std::string portraitSamplePath;
    std::string groupSamplePath;
    std::array<std::string, 8> extraTexts;
    std::string reference;
};

// What the view hands over for one drawing.
struct PageRequest {
    Layout& layout;
    const PageContent& content;
    PictureSource& pictures;
    DisplayCopyCache& copies;
    // Screen only: the zoom (logical units per layout unit), the view's total scroll size and its
    // client size, both in device pixels, and the selected unit (may be null).
    double zoom = 1.0;
    win::SIZE scrollSize {};
    win::SIZE clientSize {};
    const LayoutUnit* selectedUnit = nullptr;
    // The packs of the document's pack template (may be null: no packs are listed).
    const PacksCollection* packs = nullptr;
    // Whether the selected unit is being dragged: the view then draws its frame as the drag frame,
    // and the page only its move bounds (two inverting frames on the same pixels would cancel).
    bool selectionDragged = false;
};

// Draws the page on a device context in the metric mapping (a printing device context places the
// page from the paper's margins at true size and draws no selection). Returns the converter of
// the drawing.
LayoutConverter DrawPage(gdi::DeviceContext& dc, const PageRequest& request);

// The frame of the selected unit, drawn over the page: its move bounds outlined in red (pen width
// 2) and, unless ownFrame is false, its own bounds framed by the drag rectangle: a border of
// kSelectionBorder device pixels inverted through the halftone pattern (every other pixel),
// through which the unit shows.
void DrawSelectionFrame(gdi::DeviceContext& dc, const LayoutConverter& converter, const Layout& layout,
    const LayoutUnit& unit, bool ownFrame = true);
