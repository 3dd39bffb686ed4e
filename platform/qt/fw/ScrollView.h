// A view that scrolls a drawing larger than its window (the drawing view). SetScrollSizes gives
// the drawing's total size in logical units of a mapping mode; the scroll bars appear when the
// window is smaller than that. Painting prepares the device context with the mapping mode and
// the scroll offset (OnPrepareDC) before OnDraw, so OnDraw draws in the drawing's own
// coordinates. Mouse points reach the view in client coordinates: add GetDeviceScrollPosition
// to find the drawing's point.
#pragma once

#include "platform/qt/fw/View.h"
#include "platform/win/Types.h"

class QScrollBar;

namespace fw {

class ScrollView : public View {
public:
    explicit ScrollView(QWidget* parent = nullptr);

    // The mapping mode (gdi::MM_TEXT or gdi::MM_LOMETRIC) and the total size in its logical
    // units. A page step is the client area's width or height (Qt sizes the handle by it, so the
    // handle shows the share of the drawing in view); a line is a hundredth of the total, as the
    // original's default (a tenth of its default page of a tenth of the total).
    void SetScrollSizes(int mapMode, win::SIZE total);
    int GetMapMode() const { return mapMode_; }
    // The total size in logical units, and in pixels.
    win::SIZE GetTotalSize() const { return total_; }
    win::SIZE GetDeviceTotalSize() const { return deviceTotal_; }
    // The scroll position in pixels, and in logical units.
    win::POINT GetDeviceScrollPosition() const;
    win::POINT GetScrollPosition() const;
    // Scrolls so that the logical point is at the window's top-left corner (within range).
    void ScrollToPosition(win::POINT logical);
    // The window's client area without the scroll bars.
    void GetClientRect(win::RECT* rect) const;

    // Sets the mapping mode and moves the viewport origin by the scroll position.
    virtual void OnPrepareDC(gdi::DeviceContext& dc);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void UpdateBars();

    int mapMode_ = 1; // MM_TEXT
    win::SIZE total_ { 0, 0 };
    win::SIZE deviceTotal_ { 0, 0 };
    win::SIZE line_ { 0, 0 };
    QScrollBar* horizontal_;
    QScrollBar* vertical_;
    QWidget* corner_; // the square between the two bars, in the window's colour
};

} // namespace fw
