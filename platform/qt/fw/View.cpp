#include "platform/qt/fw/View.h"

#include "platform/qt/QtDeviceContext.h"
#include "platform/qt/fw/Document.h"
#include "platform/qt/fw/FrameWnd.h"
#include "platform/qt/fw/Guard.h"
#include "platform/qt/fw/Keys.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>

#include <algorithm>

namespace fw {

namespace {
win::UINT MouseFlags(const QMouseEvent& event)
{
    win::UINT flags = 0;
    if (event.buttons() & Qt::LeftButton)
        flags |= win::MK_LBUTTON;
    if (event.buttons() & Qt::RightButton)
        flags |= win::MK_RBUTTON;
    if (event.modifiers() & Qt::ShiftModifier)
        flags |= win::MK_SHIFT;
    if (event.modifiers() & Qt::ControlModifier)
        flags |= win::MK_CONTROL;
    return flags;
}

win::POINT ClientPoint(const QMouseEvent& event)
{
    const QPoint p = event.position().toPoint();
    return { p.x(), p.y() };
}

} // namespace

View::View(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

View::~View()
{
    if (document_ != nullptr)
        document_->RemoveView(this);
}

FrameWnd* View::GetParentFrame() const
{
    for (QWidget* widget = parentWidget(); widget != nullptr; widget = widget->parentWidget())
        if (auto* frame = dynamic_cast<FrameWnd*>(widget))
            return frame;
    return nullptr;
}

void View::OnInitialUpdate()
{
    OnUpdate(nullptr, 0);
}

void View::OnUpdate(View*, win::LPARAM)
{
    update();
}

void View::OnDraw(gdi::DeviceContext&) { }

bool View::OnCmdMsg(win::UINT id, int code, CmdUI* ui, bool probe)
{
    if (HandleOwn(id, code, ui, probe))
        return true;
    return document_ != nullptr && document_->OnCmdMsg(id, code, ui, probe);
}

void View::OnLButtonDown(win::UINT, win::POINT) { }
void View::OnLButtonUp(win::UINT, win::POINT) { }
void View::OnMouseMove(win::UINT, win::POINT) { }
void View::OnKeyDown(win::UINT, win::UINT, win::UINT) { }
void View::OnSize(win::UINT, int, int) { }

void View::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        GuardedCall([&] { OnLButtonDown(MouseFlags(*event), ClientPoint(*event)); });
}

void View::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        GuardedCall([&] { OnLButtonUp(MouseFlags(*event), ClientPoint(*event)); });
}

void View::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    GuardedCall([&] { OnMouseMove(MouseFlags(*event), ClientPoint(*event)); });
}

void View::keyPressEvent(QKeyEvent* event)
{
    const win::UINT repeat = static_cast<win::UINT>(std::max(1, event->count()));
    GuardedCall([&] { OnKeyDown(VirtualKeyOf(event->key()), repeat, 0); });
    QWidget::keyPressEvent(event);
}

void View::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    GuardedCall([&] { OnSize(win::SIZE_RESTORED, event->size().width(), event->size().height()); });
}

void View::paintEvent(QPaintEvent*)
{
    gdi::QtDeviceContext dc(*this);
    GuardedCall([&] { OnDraw(dc); });
}

} // namespace fw
