// The drawing view of the main window: shows the page of the document's layout with sample
// content, selects a unit with a click, drags it with a frame drawn over the page, nudges it with
// the arrow keys and zooms the page.
#pragma once

#include "app/view/DisplayConverter.h"
#include "app/view/DisplayCopyCache.h"
#include "app/view/PageDrawing.h"
#include "app/view/PictureSource.h"
#include "app/view/Printing.h"
#include "platform/qt/fw/ScrollView.h"
#include "platform/win/Types.h"

#include <functional>
#include <memory>
#include <set>

class COrvanelDoc;
class LayoutUnit;

class COrvanelView : public fw::ScrollView {
public:
    COrvanelView();
    ~COrvanelView() override;

    COrvanelDoc* GetDocument() const;

    void OnInitialUpdate() override;
    void OnUpdate(fw::View* sender, win::LPARAM hint) override;
    void OnDraw(gdi::DeviceContext& dc) override;

    // The zoom commands; each keeps the zoom within its limits. Fitting does nothing while the
    // window or the paper has no area.
    void ZoomIn();
    void ZoomOut();
    void Zoom100();
    void ZoomToFit();
    void UpdateScrollSizes();

    // Moves the selected unit by the key's step (an arrow key, repeat times), within its bounds.
    void NudgeSelection(win::UINT key, win::UINT repeat);

    double GetZoom() const { return zoom_; }
    const LayoutUnit* GetSelectedUnit() const { return selectedUnit_; }
    bool IsDragging() const { return dragging_; }
    bool IsFitted() const { return fitted_; }
    // The frame of the last drawing, for the mouse.
    const LayoutConverter& GetConverter() const { return converter_; }
    // The mode of the next print: 0 the margin test, 1 the layout.
    int GetPrintMode() const { return printMode_; }
    // The print dialog, then the page of the print mode on the printer chosen (nothing when the
    // dialog is cancelled). Ctrl+P before any print of the form prints the layout.
    void OnFilePrint();
    // After a print or a preview: drops what the printed page needed (see the .cpp).
    void ReleasePrintPictures(COrvanelDoc& document);
    // The same page in the print preview (the framework's preview command; nothing in the
    // window issues it).
    void OnFilePrintPreview();

    // Called with the slot (0 to 7) when the user clicks an extra text unit.
    void SetExtraTextClicked(std::function<void(int)> handler) { extraTextClicked_ = std::move(handler); }

    // Client point to layout point, and a layout rectangle to client coordinates.
    win::POINT ClientToLayout(win::POINT client) const;
    win::RECT LayoutToClient(const win::RECT& layout) const;

protected:
    void OnLButtonDown(win::UINT flags, win::POINT point) override;
    void OnLButtonUp(win::UINT flags, win::POINT point) override;
    void OnMouseMove(win::UINT flags, win::POINT point) override;
    void OnKeyDown(win::UINT nChar, win::UINT nRepCnt, win::UINT nFlags) override;
    void OnSize(win::UINT type, int cx, int cy) override;
    // The mouse is no longer ours in the middle of a drag: the drag ends without moving anything.
    void OnCaptureChanged();

    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The drag's movement to the point, within the unit's bounds; moves the drag frame.
    win::POINT TrackDrag(win::POINT point);
    void EndDrag();
    void FitOnce();
    PageContent Content() const;
    // Decodes the sample again at 1/scale of its size for the drawing under way.
    void ReloadSample(const std::string& path, int scale);
    // Decodes the samples the print decoded at full size, all but the one named, again at the
    // display scale (one the zoom needs at full size stays so).
    void ShrinkFullSizeSamples(COrvanelDoc& document, const std::string& kept);

    bool fitted_ = false;
    double zoom_ = 1.0;
    int printMode_ = kInitialPrintMode;
    LayoutUnit* selectedUnit_ = nullptr;
    LayoutConverter converter_;
    win::POINT dragStart_ {};
    win::RECT dragRect_ {};
    bool dragging_ = false;
    std::unique_ptr<PictureSource> pictures_;
    bool drawingForPrint_ = false;
    std::set<std::string> printedAtFullSize_; // the samples the print decoded at full size
    DisplayCopyCache copies_;
    std::function<void(int)> extraTextClicked_;
};
