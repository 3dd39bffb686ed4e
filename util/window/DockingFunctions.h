// Placing toolbars at the sides of a frame.
#pragma once

#include "platform/win/Types.h"

class QToolBar;

namespace fw {
class FrameWnd;
}

// Docks the bar beside the neighbour (right after it in its row) in the neighbour's frame; at
// the dock bar's side when the neighbour is not docked.
void DockControlBarLeftOf(QToolBar& bar, QToolBar& neighbour, win::UINT dockBarId);
// Lets the bar dock at the given sides (CBRS_ALIGN_*), then docks it beside the neighbour, or,
// without one, at the dock bar's side of the frame.
void DockToolBar(
    fw::FrameWnd& frame, QToolBar& bar, win::UINT dockBarId, QToolBar* neighbour, win::DWORD sides);
