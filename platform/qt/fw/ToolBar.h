// The frame's toolbar: buttons from a table of command ids (ID_SEPARATOR for a gap) with their
// 16 x 15 pictures cut in order from one strip image of the program's own (a Qt resource, never
// an icon theme). Each button issues its command through the frame's routing and is enabled and
// labelled by the command's update handler at idle time. The prompt string of a command holds
// the status text, a line feed and the tooltip.
//
//   const fw::ToolBarButton buttons[] = { { fw::ID_FILE_NEW, "Create a new document\nNew" },
//       { fw::ID_SEPARATOR, "" }, { 101, "Zoom in\nZoom In" } };
//   toolBar.CreateEx(this);
//   toolBar.LoadToolBar(":/fw/MainToolBar.png", buttons);
#pragma once

#include "platform/win/Types.h"

#include <QToolBar>

#include <span>
#include <string_view>

namespace fw {

class FrameWnd;

constexpr win::UINT ID_SEPARATOR = 0;

struct ToolBarButton {
    win::UINT id = ID_SEPARATOR;
    std::string_view prompt; // "status text\ntooltip"
};

class ToolBar : public QToolBar {
public:
    ToolBar();

    // Puts the toolbar at the top of the frame.
    win::BOOL CreateEx(FrameWnd* parent);
    // The buttons of the table; the strip holds one 16 x 15 picture per button, separators
    // excepted. False when the strip cannot be read or is too short.
    win::BOOL LoadToolBar(std::string_view stripResource, std::span<const ToolBarButton> buttons);

    // The action of the button of that command, or null.
    QAction* GetButtonAction(win::UINT id) const;

    static constexpr int buttonWidth = 16;
    static constexpr int buttonHeight = 15;

private:
    FrameWnd* frame_ = nullptr;
};

} // namespace fw
