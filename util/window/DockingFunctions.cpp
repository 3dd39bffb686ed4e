#include "util/window/DockingFunctions.h"

#include "platform/qt/fw/Docking.h"
#include "platform/qt/fw/FrameWnd.h"

void DockControlBarLeftOf(QToolBar& bar, QToolBar& neighbour, win::UINT dockBarId)
{
    if (fw::FrameWnd* const frame = fw::GetDockingFrame(neighbour))
        fw::DockControlBarBeside(*frame, bar, neighbour, dockBarId);
}

void DockToolBar(
    fw::FrameWnd& frame, QToolBar& bar, win::UINT dockBarId, QToolBar* neighbour, win::DWORD sides)
{
    fw::EnableDocking(bar, sides);
    if (neighbour != nullptr)
        fw::DockControlBarBeside(frame, bar, *neighbour, dockBarId);
    else
        fw::DockControlBar(frame, bar, dockBarId);
}
