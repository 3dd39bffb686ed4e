#include "util/window/ActiveFrame.h"

#include "platform/qt/fw/FrameWnd.h"
#include "platform/qt/fw/WinApp.h"

fw::FrameWnd* GetActiveFrameWindow()
{
    const fw::WinApp* const app = fw::AfxGetApp();
    return app != nullptr ? app->GetMainWnd() : nullptr;
}

void GetActiveFrameRect(win::RECT& rect)
{
    rect = {};
    if (const fw::FrameWnd* const frame = GetActiveFrameWindow()) {
        const QRect geometry = frame->frameGeometry();
        rect = { geometry.left(), geometry.top(), geometry.right() + 1, geometry.bottom() + 1 };
    }
}
