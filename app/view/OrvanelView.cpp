#include "app/view/OrvanelView.h"

#include "app/dialogs/ProgramOptions.h"
#include "app/document/DocumentHints.h"
#include "app/document/LayoutUnitUndo.h"
#include "app/document/OrvanelDoc.h"
#include "app/document/UndoManager.h"
#include "app/view/BarcodeUnitPainter.h"
#include "app/view/MoveBounds.h"
#include "app/view/MoveClamp.h"
#include "app/view/Printing.h"
#include "app/view/ZoomRules.h"
#include "imaging/wrapper/ImageCache.h"
#include "model/Layout.h"
#include "model/LayoutUnit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/qt/QtDeviceContext.h"
#include "platform/qt/fw/ClientDC.h"
#include "platform/qt/fw/CommandIds.h"

#include <QPalette>

#include <malloc.h>

#include <algorithm>
#include <charconv>
#include <string_view>

namespace {

constexpr std::string_view kExtraTextName = "ExtraTxt";

// The slot (0 to 7) of an extra text unit's name, or -1.
int ExtraTextSlot(std::string_view name)
{
    if (!name.starts_with(kExtraTextName) || name.size() != kExtraTextName.size() + 1)
        return -1;
    const char digit = name.back();
    return digit >= '1' && digit <= '8' ? digit - '1' : -1;
}

win::SIZE PaperExtent(const Layout& layout)
{
    return { layout.GetPaper().GetPaperWidth(), layout.GetPaper().GetPaperHeight() };
}

win::RECT Offset(win::RECT rect, win::POINT delta)
{
    return { rect.left + delta.x, rect.top + delta.y, rect.right + delta.x, rect.bottom + delta.y };
}

} // namespace

COrvanelView::COrvanelView()
{
    setFocusPolicy(Qt::StrongFocus);
    // The page is not filled by the drawing: the window's white shows through.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    OnCommand(fw::ID_FILE_PRINT, &COrvanelView::OnFilePrint);
    OnCommand(fw::ID_FILE_PRINT_DIRECT, &COrvanelView::OnFilePrint);
    OnCommand(fw::ID_FILE_PRINT_PREVIEW, &COrvanelView::OnFilePrintPreview);
}

COrvanelView::~COrvanelView() = default;

COrvanelDoc* COrvanelView::GetDocument() const
{
    return dynamic_cast<COrvanelDoc*>(fw::View::GetDocument());
}

void COrvanelView::OnInitialUpdate()
{
    fw::ScrollView::OnInitialUpdate();
    // A placeholder size until the first fit; after it (a new or opened layout) the page's own.
    if (fitted_)
        UpdateScrollSizes();
    else
        SetScrollSizes(gdi::MM_LOMETRIC, { 100, 100 });
}

void COrvanelView::OnUpdate(fw::View*, win::LPARAM hint)
{
    if (hint == hint::everything || (hint & hint::layoutValues) != 0) {
        UpdateScrollSizes();
        update();
    }
    if ((hint & hint::layoutReplaced) != 0) {
        EndDrag();
        selectedUnit_ = nullptr;
        UpdateScrollSizes();
        update();
    }
    // The form's Margin Test and Print buttons: the page they ask for, printed at once.
    if ((hint & hint::printMarginTest) != 0) {
        printMode_ = kPrintMarginTest;
        OnFilePrint();
    }
    if ((hint & hint::printLayout) != 0) {
        printMode_ = kPrintLayout;
        OnFilePrint();
    }
}

void COrvanelView::OnFilePrint()
{
    if (COrvanelDoc* document = GetDocument()) {
        PrintOnePage(document->GetLayout(), printMode_, [this](gdi::DeviceContext& dc) { OnDraw(dc); });
        ReleasePrintPictures(*document);
    }
}

void COrvanelView::ReleasePrintPictures(COrvanelDoc& document)
{
    // The full-size sample the print decoded last is let go with the display copies (the print
    // keeps none of its own); the screen's samples come back at the display scale (and finer again
    // only where the zoom needs it).
    copies_.Clear();
    ShrinkFullSizeSamples(document, {});
    malloc_trim(0); // the print engine's freed buffers go back to the system
    update();
}

void COrvanelView::ShrinkFullSizeSamples(COrvanelDoc& document, const std::string& kept)
{
    ImageCache& cache = GetImageCache();
    for (auto path = printedAtFullSize_.begin(); path != printedAtFullSize_.end();) {
        if (*path == kept) {
            ++path;
            continue;
        }
        if (cache.Contains(*path) && cache.GetDecodeScale(*path) == 1)
            document.ReloadSampleImage(*path, COrvanelDoc::kSampleDisplayScale);
        path = printedAtFullSize_.erase(path);
    }
}

void COrvanelView::ReloadSample(const std::string& path, int scale)
{
    COrvanelDoc* document = GetDocument();
    if (document == nullptr)
        return;
    // A print has one sample at full size at a time: the page draws every copy of one sample
    // before the next, so the sample printed before goes back to the display scale first.
    if (drawingForPrint_ && scale == 1) {
        ShrinkFullSizeSamples(*document, path);
        printedAtFullSize_.insert(path);
    }
    document->ReloadSampleImage(path, scale);
}

void COrvanelView::OnFilePrintPreview()
{
    if (COrvanelDoc* document = GetDocument()) {
        PreviewOnePage(document->GetLayout(), printMode_, [this](gdi::DeviceContext& dc) { OnDraw(dc); });
        ReleasePrintPictures(*document);
    }
}

PageContent COrvanelView::Content() const
{
    const ProgramOptions& options = ProgramOptions::Instance();
    PageContent content;
    content.portraitSamplePath = options.portraitSamplePath;
    content.groupSamplePath = options.groupSamplePath;
    std::copy(options.extraText.begin(), options.extraText.end(), content.extraTexts.begin());
    content.reference = kSampleReference;
    return content;
}

void COrvanelView::OnDraw(gdi::DeviceContext& dc)
{
    COrvanelDoc* document = GetDocument();
    if (document == nullptr)
        return;
    document->FinishSamplePrefetch(); // the samples start loading at start-up before the window shows
    if (!pictures_)
        pictures_ = std::make_unique<CachePictureSource>(
            GetImageCache(),
            [this] {
                if (COrvanelDoc* doc = GetDocument())
                    doc->LoadSampleImages();
            },
            [this](const std::string& path, int scale) { ReloadSample(path, scale); });
    win::RECT client {};
    GetClientRect(&client);
    const PageContent content = Content();
    drawingForPrint_ = dc.IsPrinting();
    const LayoutConverter used = DrawPage(dc,
        { document->GetLayout(), content, *pictures_, copies_, zoom_, GetDeviceTotalSize(),
            { client.right, client.bottom }, selectedUnit_, &document->GetPacks(), dragging_ });
    drawingForPrint_ = false;
    if (!dc.IsPrinting())
        converter_ = used;
}

void COrvanelView::paintEvent(QPaintEvent* event)
{
    fw::ScrollView::paintEvent(event);
    if (!dragging_)
        return;
    // The drag frame over the page just drawn, as the platform draws it: the halftone border
    // inverting what lies under it. The page is drawn afresh on every paint, so the frame of the
    // last paint is gone already and none is given to erase.
    gdi::QtDeviceContext dc(*this);
    dc.DrawDragRect(dragRect_, { kSelectionBorder, kSelectionBorder }, nullptr, {});
}

win::POINT COrvanelView::ClientToLayout(win::POINT client) const
{
    const win::POINT scroll = GetDeviceScrollPosition();
    win::POINT point { client.x + scroll.x, client.y + scroll.y };
    fw::ClientDC dc(*this);
    dc->SetMapMode(gdi::MM_LOMETRIC);
    dc->DPtoLP(&point);
    converter_.ToLayout(point);
    return point;
}

win::RECT COrvanelView::LayoutToClient(const win::RECT& layout) const
{
    win::RECT rect = layout;
    converter_.ToDeviceRect(rect);
    fw::ClientDC dc(*this);
    dc->SetMapMode(gdi::MM_LOMETRIC);
    dc->LPtoDP(&rect);
    const win::POINT scroll = GetDeviceScrollPosition();
    return Offset(rect, { -scroll.x, -scroll.y });
}

void COrvanelView::OnLButtonDown(win::UINT, win::POINT point)
{
    EndDrag();
    selectedUnit_ = nullptr;
    COrvanelDoc* document = GetDocument();
    if (document == nullptr)
        return;
    const win::POINT at = ClientToLayout(point);
    selectedUnit_ = document->GetLayout().GetRootUnit()->HitTest(at);
    if (selectedUnit_ != nullptr) {
        dragRect_ = LayoutToClient(selectedUnit_->GetBounds());
        dragStart_ = at;
        dragging_ = true;
        const int slot = ExtraTextSlot(selectedUnit_->GetName());
        if (slot >= 0 && extraTextClicked_)
            extraTextClicked_(slot);
    }
    update();
}

win::POINT COrvanelView::TrackDrag(win::POINT point)
{
    const win::POINT at = ClientToLayout(point);
    const win::POINT raw { at.x - dragStart_.x, at.y - dragStart_.y };
    // The mouse back where it was pressed moves nothing, even a unit that lies outside its bounds
    // (which any other move brings back onto them).
    if (raw.x == 0 && raw.y == 0)
        return raw;
    const win::RECT bounds = selectedUnit_->GetBounds();
    const win::POINT delta
        = ClampMove(GetMoveBounds(GetDocument()->GetLayout(), *selectedUnit_), bounds, raw);
    dragRect_ = LayoutToClient(Offset(bounds, delta));
    update();
    return delta;
}

void COrvanelView::OnMouseMove(win::UINT, win::POINT point)
{
    if (selectedUnit_ != nullptr && dragging_)
        TrackDrag(point);
}

void COrvanelView::OnLButtonUp(win::UINT, win::POINT point)
{
    if (selectedUnit_ != nullptr && dragging_) {
        const win::POINT delta = TrackDrag(point);
        EndDrag();
        if (delta.x != 0 || delta.y != 0) {
            GetUndoManager().AddUndo(std::make_unique<LayoutUnitUndo>(*selectedUnit_));
            selectedUnit_->MoveBy(delta);
            GetDocument()->UnitMoved(true);
        }
    }
    EndDrag();
}

void COrvanelView::EndDrag()
{
    if (dragging_)
        update();
    dragging_ = false;
}

void COrvanelView::OnCaptureChanged()
{
    EndDrag();
}

void COrvanelView::focusOutEvent(QFocusEvent* event)
{
    fw::ScrollView::focusOutEvent(event);
    OnCaptureChanged();
}

void COrvanelView::hideEvent(QHideEvent* event)
{
    fw::ScrollView::hideEvent(event);
    OnCaptureChanged();
}

void COrvanelView::OnKeyDown(win::UINT nChar, win::UINT nRepCnt, win::UINT nFlags)
{
    if (nChar == win::VK_LEFT || nChar == win::VK_UP || nChar == win::VK_RIGHT || nChar == win::VK_DOWN)
        NudgeSelection(nChar, nRepCnt);
    fw::ScrollView::OnKeyDown(nChar, nRepCnt, nFlags);
}

void COrvanelView::NudgeSelection(win::UINT key, win::UINT repeat)
{
    COrvanelDoc* document = GetDocument();
    if (selectedUnit_ == nullptr || document == nullptr)
        return;
    const int n = static_cast<int>(std::min<win::UINT>(repeat, 10000));
    win::POINT raw {};
    if (key == win::VK_LEFT)
        raw.x = -n;
    else if (key == win::VK_RIGHT)
        raw.x = n;
    else if (key == win::VK_UP)
        raw.y = -n;
    else if (key == win::VK_DOWN)
        raw.y = n;
    if (raw.x == 0 && raw.y == 0)
        return; // no step asked: a unit outside its bounds stays where it is
    const win::POINT delta
        = ClampMove(GetMoveBounds(document->GetLayout(), *selectedUnit_), selectedUnit_->GetBounds(), raw);
    if (delta.x == 0 && delta.y == 0)
        return;
    selectedUnit_->MoveBy(delta);
    document->UnitMoved(false);
    update();
}

void COrvanelView::ZoomIn()
{
    zoom_ = LimitZoom(zoom_ * kZoomInFactor);
    UpdateScrollSizes();
    update();
}

void COrvanelView::ZoomOut()
{
    zoom_ = LimitZoom(zoom_ * kZoomOutFactor);
    UpdateScrollSizes();
    update();
}

void COrvanelView::Zoom100()
{
    zoom_ = 1.0;
    UpdateScrollSizes();
    update();
}

void COrvanelView::ZoomToFit()
{
    COrvanelDoc* document = GetDocument();
    if (document == nullptr)
        return;
    // Twice: the scroll bars may appear or vanish with the new sizes.
    for (int pass = 0; pass < 2; ++pass) {
        win::RECT client {};
        GetClientRect(&client);
        win::SIZE size { client.right, client.bottom };
        fw::ClientDC dc(*this);
        dc->SetMapMode(gdi::MM_LOMETRIC);
        dc->DPtoLP(&size);
        const auto zoom
            = FitZoom({ std::abs(size.cx), std::abs(size.cy) }, PaperExtent(document->GetLayout()));
        if (!zoom)
            return;
        zoom_ = *zoom;
        UpdateScrollSizes();
    }
    update();
}

void COrvanelView::UpdateScrollSizes()
{
    if (COrvanelDoc* document = GetDocument())
        SetScrollSizes(gdi::MM_LOMETRIC, ScrollSizeAt(PaperExtent(document->GetLayout()), zoom_));
}

void COrvanelView::FitOnce()
{
    if (fitted_ || !isVisible() || width() <= 0 || height() <= 0)
        return;
    win::RECT client {};
    GetClientRect(&client);
    if (client.right <= 0 || client.bottom <= 0)
        return;
    ZoomToFit();
    fitted_ = true;
}

void COrvanelView::OnSize(win::UINT type, int cx, int cy)
{
    fw::ScrollView::OnSize(type, cx, cy);
    if (fitted_)
        UpdateScrollSizes();
    else
        FitOnce();
}

void COrvanelView::showEvent(QShowEvent* event)
{
    fw::ScrollView::showEvent(event);
    FitOnce();
}
