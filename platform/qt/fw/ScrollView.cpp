#include "platform/qt/fw/ScrollView.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/qt/QtDeviceContext.h"
#include "platform/qt/fw/ClientDC.h"
#include "platform/qt/fw/Guard.h"
#include "platform/win/IntArithmetic.h"

#include <QApplication>
#include <QPaintEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstdint>

namespace fw {

ScrollView::ScrollView(QWidget* parent)
    : View(parent)
    , horizontal_(new QScrollBar(Qt::Horizontal, this)) // both owned by the view
    , vertical_(new QScrollBar(Qt::Vertical, this))
    , corner_(new QWidget(this))
{
    horizontal_->hide();
    vertical_->hide();
    // The corner keeps the application's window colour whatever the view's own palette (the
    // drawing view's is the page's white), so that no part of the drawing shows there.
    QPalette palette = corner_->palette();
    palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    corner_->setPalette(palette);
    corner_->setAutoFillBackground(true);
    corner_->hide();
    for (QScrollBar* bar : { horizontal_, vertical_ })
        QObject::connect(bar, &QScrollBar::valueChanged, this, [this] { update(); });
}

void ScrollView::SetScrollSizes(int mapMode, win::SIZE total)
{
    mapMode_ = mapMode;
    total_ = total;
    ClientDC dc(*this);
    dc->SetMapMode(mapMode);
    win::SIZE device = total;
    dc->LPtoDP(&device);
    deviceTotal_ = { std::abs(device.cx), std::abs(device.cy) };
    line_ = { deviceTotal_.cx / 100, deviceTotal_.cy / 100 };
    UpdateBars();
    update();
}

void ScrollView::UpdateBars()
{
    // A bar takes room from the other direction, so whether each is needed is asked twice.
    bool needH = false;
    bool needV = false;
    for (int pass = 0; pass < 2; ++pass) {
        const int w = width() - (needV ? vertical_->sizeHint().width() : 0);
        const int h = height() - (needH ? horizontal_->sizeHint().height() : 0);
        needH = deviceTotal_.cx > w;
        needV = deviceTotal_.cy > h;
    }
    const int barW = needV ? vertical_->sizeHint().width() : 0;
    const int barH = needH ? horizontal_->sizeHint().height() : 0;
    const int clientW = std::max(0, width() - barW);
    const int clientH = std::max(0, height() - barH);
    horizontal_->setVisible(needH);
    vertical_->setVisible(needV);
    horizontal_->setGeometry(0, height() - barH, clientW, barH);
    vertical_->setGeometry(width() - barW, 0, barW, clientH);
    corner_->setGeometry(clientW, clientH, barW, barH);
    corner_->setVisible(needH && needV);
    horizontal_->setRange(0, needH ? deviceTotal_.cx - clientW : 0);
    vertical_->setRange(0, needV ? deviceTotal_.cy - clientH : 0);
    horizontal_->setPageStep(std::max(1, clientW));
    vertical_->setPageStep(std::max(1, clientH));
    horizontal_->setSingleStep(std::max(1, line_.cx));
    vertical_->setSingleStep(std::max(1, line_.cy));
}

win::POINT ScrollView::GetDeviceScrollPosition() const
{
    return { horizontal_->value(), vertical_->value() };
}

win::POINT ScrollView::GetScrollPosition() const
{
    ClientDC dc(*this);
    dc->SetMapMode(mapMode_);
    win::SIZE offset { horizontal_->value(), vertical_->value() };
    dc->DPtoLP(&offset);
    // y grows downward in the window: in a mode with y up the logical position is negative.
    return { offset.cx, mapMode_ == gdi::MM_TEXT ? offset.cy : -offset.cy };
}

void ScrollView::ScrollToPosition(win::POINT logical)
{
    ClientDC dc(*this);
    dc->SetMapMode(mapMode_);
    win::SIZE offset { logical.x, logical.y };
    dc->LPtoDP(&offset);
    horizontal_->setValue(std::abs(offset.cx));
    vertical_->setValue(std::abs(offset.cy));
}

void ScrollView::GetClientRect(win::RECT* rect) const
{
    if (rect == nullptr)
        return;
    // isHidden: the bars' own state, also while the view itself is not shown yet.
    const int w = width() - (!vertical_->isHidden() ? vertical_->width() : 0);
    const int h = height() - (!horizontal_->isHidden() ? horizontal_->height() : 0);
    *rect = { 0, 0, std::max(0, w), std::max(0, h) };
}

void ScrollView::OnPrepareDC(gdi::DeviceContext& dc)
{
    dc.SetMapMode(mapMode_);
    const win::POINT position = GetDeviceScrollPosition();
    dc.SetViewportOrg(-position.x, -position.y);
}

void ScrollView::paintEvent(QPaintEvent*)
{
    gdi::QtDeviceContext dc(*this);
    GuardedCall([&] {
        OnPrepareDC(dc);
        OnDraw(dc);
    });
}

void ScrollView::resizeEvent(QResizeEvent* event)
{
    UpdateBars();
    View::resizeEvent(event);
}

void ScrollView::wheelEvent(QWheelEvent* event)
{
    QScrollBar* bar = event->angleDelta().y() != 0 ? vertical_ : horizontal_;
    const int delta = event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    // Three lines a notch of 120, and the finer steps of touchpads and smooth wheels in proportion
    // (counted in whole notches they would scroll nothing).
    const int64_t pixels = static_cast<int64_t>(delta) * 3 * bar->singleStep() / 120;
    bar->setValue(win::SaturateToInt32(bar->value() - pixels));
    event->accept();
}

} // namespace fw
