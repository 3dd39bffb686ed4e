// Making a frame's toolbar in one call.
#pragma once

#include "platform/qt/fw/ToolBar.h"
#include "platform/win/Types.h"

#include <span>
#include <string>
#include <string_view>

namespace fw {
class FrameWnd;
}

// The window style bit that shows a toolbar once it is made.
constexpr win::DWORD WS_VISIBLE = 0x10000000;

// The resource name of the button strip of a toolbar id: ":/toolbars/<id>.png".
std::string ToolBarResourceName(win::UINT id);

// Creates the toolbar at the top of the frame, shown when the window style has WS_VISIBLE,
// under the id, and loads its buttons with their pictures from the strip resource (the id's own
// strip when the resource is empty). The bar style has nothing more to add: the bars are flat.
// False when the bar could not be made or the strip could not be loaded.
bool CreateToolBar(fw::FrameWnd* parent, fw::ToolBar& toolBar, win::UINT id, std::string_view stripResource,
    std::span<const fw::ToolBarButton> buttons, win::DWORD windowStyle, win::DWORD barStyle);
