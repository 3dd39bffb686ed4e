#include "platform/qt/fw/View.h"

#include "platform/qt/QtDeviceContext.h"
#include "platform/qt/fw/Document.h"
#include "platform/qt/fw/FrameWnd.h"
#include "platform/qt/fw/Guard.h"

namespace fw {

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

void View::paintEvent(QPaintEvent*)
{
    gdi::QtDeviceContext dc(*this);
    GuardedCall([&] { OnDraw(dc); });
}

} // namespace fw
