#include "util/window/ToolBarFunctions.h"

#include "platform/qt/fw/FrameWnd.h"

std::string ToolBarResourceName(win::UINT id)
{
    return ":/toolbars/" + std::to_string(id) + ".png";
}

bool CreateToolBar(fw::FrameWnd* parent, fw::ToolBar& toolBar, win::UINT id, std::string_view stripResource,
    std::span<const fw::ToolBarButton> buttons, win::DWORD windowStyle, win::DWORD)
{
    if (!toolBar.CreateEx(parent))
        return false;
    toolBar.setObjectName(QString::fromStdString("toolbar-" + std::to_string(id)));
    toolBar.setVisible((windowStyle & WS_VISIBLE) != 0);
    const std::string strip = stripResource.empty() ? ToolBarResourceName(id) : std::string(stripResource);
    return toolBar.LoadToolBar(strip, buttons) != win::FALSE;
}
