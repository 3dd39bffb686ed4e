// Docking of toolbars at the sides of a frame, in the original's terms: the sides a bar may dock
// at, the dock bars (one per side of the frame) by their ids, and docking a bar beside another.
// Qt's main window keeps the bars in rows along each side; a bar docked beside another goes
// into the other's row, right after it (below it on the left and right sides).
#pragma once

#include "platform/win/Types.h"

class QToolBar;

namespace fw {

class FrameWnd;

// The sides a bar may dock at.
constexpr win::DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr win::DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr win::DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr win::DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr win::DWORD CBRS_ALIGN_ANY = 0xF000;

// The dock bars of a frame's sides.
constexpr win::UINT AFX_IDW_DOCKBAR_TOP = 0xE81B;
constexpr win::UINT AFX_IDW_DOCKBAR_LEFT = 0xE81C;
constexpr win::UINT AFX_IDW_DOCKBAR_RIGHT = 0xE81D;
constexpr win::UINT AFX_IDW_DOCKBAR_BOTTOM = 0xE81E;

// The bar may be dragged by its gripper to the given sides, or off them to float; 0 keeps it
// where it is, without a gripper.
void EnableDocking(QToolBar& bar, win::DWORD sides);
// Docks the bar at the end of the last row of the dock bar's side of the frame (the top for an
// unknown id).
void DockControlBar(FrameWnd& frame, QToolBar& bar, win::UINT dockBarId);
// Docks the bar in the neighbour's row, right after it; where the neighbour is not docked in the
// frame, as DockControlBar at the dock bar's side.
void DockControlBarBeside(FrameWnd& frame, QToolBar& bar, QToolBar& neighbour, win::UINT dockBarId);
// The frame a bar is docked in, or null.
FrameWnd* GetDockingFrame(const QToolBar& bar);

} // namespace fw
