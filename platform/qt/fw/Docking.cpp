#include "platform/qt/fw/Docking.h"

#include "platform/qt/fw/FrameWnd.h"

#include <QToolBar>

namespace fw {

namespace {

Qt::ToolBarArea AreaOf(win::UINT dockBarId)
{
    switch (dockBarId) {
    case AFX_IDW_DOCKBAR_LEFT:
        return Qt::LeftToolBarArea;
    case AFX_IDW_DOCKBAR_RIGHT:
        return Qt::RightToolBarArea;
    case AFX_IDW_DOCKBAR_BOTTOM:
        return Qt::BottomToolBarArea;
    default:
        return Qt::TopToolBarArea;
    }
}

} // namespace

void EnableDocking(QToolBar& bar, win::DWORD sides)
{
    Qt::ToolBarAreas areas;
    if (sides & CBRS_ALIGN_LEFT)
        areas |= Qt::LeftToolBarArea;
    if (sides & CBRS_ALIGN_TOP)
        areas |= Qt::TopToolBarArea;
    if (sides & CBRS_ALIGN_RIGHT)
        areas |= Qt::RightToolBarArea;
    if (sides & CBRS_ALIGN_BOTTOM)
        areas |= Qt::BottomToolBarArea;
    bar.setAllowedAreas(areas);
    // A bar that docks has its gripper and may be torn off to float as well.
    const bool docks = areas != Qt::ToolBarAreas();
    bar.setMovable(docks);
    bar.setFloatable(docks);
}

void DockControlBar(FrameWnd& frame, QToolBar& bar, win::UINT dockBarId)
{
    frame.addToolBar(AreaOf(dockBarId), &bar); // the frame owns the bar from here
}

void DockControlBarBeside(FrameWnd& frame, QToolBar& bar, QToolBar& neighbour, win::UINT dockBarId)
{
    if (&bar == &neighbour || neighbour.parentWidget() != &frame
        || frame.toolBarArea(&neighbour) == Qt::NoToolBarArea) {
        DockControlBar(frame, bar, dockBarId);
        return;
    }
    // Qt inserts a bar only before another: the bar goes before the neighbour, then the
    // neighbour before the bar, which leaves both in the neighbour's row in that order.
    frame.insertToolBar(&neighbour, &bar);
    frame.insertToolBar(&bar, &neighbour);
}

FrameWnd* GetDockingFrame(const QToolBar& bar)
{
    return dynamic_cast<FrameWnd*>(bar.parentWidget());
}

} // namespace fw
