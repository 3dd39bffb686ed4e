// Saving a window's position, size and state to the settings and restoring it: section "WndPos",
// ten integers named by the caller's prefix and "WpFlags", "WpShow", "WpMinx", "WpMiny", "WpMaxx",
// "WpMaxy", "WpNorL", "WpNorT", "WpNorR", "WpNorB".
//
// Over Qt: the normal rectangle is the window's normal geometry (right and bottom exclusive), the
// show command is 1, 2 or 3 from the window's state (normal, minimised, maximised) and the flags are
// 0. Qt has no minimised and maximised positions: a window keeps those it was given, -1 until then.
#pragma once

#include "platform/win/Types.h"

#include <string_view>
#include <vector>

class QWidget;

struct WINDOWPLACEMENT {
    win::UINT flags = 0;
    win::UINT showCmd = win::SW_SHOWNORMAL;
    win::POINT ptMinPosition { -1, -1 };
    win::POINT ptMaxPosition { -1, -1 };
    win::RECT rcNormalPosition;
    friend bool operator==(const WINDOWPLACEMENT&, const WINDOWPLACEMENT&) = default;
};

WINDOWPLACEMENT GetWindowPlacement(const QWidget& window);
// Gives the window the normal rectangle (brought onto the nearest screen when it lies off every
// screen; an empty rectangle keeps the current one), then shows it in the state of the show
// command: 0 hides it, 2, 6 and 7 minimise it, 3 maximises it, any other shows it normal.
void SetWindowPlacement(QWidget& window, const WINDOWPLACEMENT& placement);

// Each of the ten values read from the settings, the field's current content being the default.
void LoadWindowPlacement(WINDOWPLACEMENT& placement, std::string_view prefix);
// The window's placement overwritten by what the settings hold, then applied.
void RestoreWindowPlacement(QWidget& window, std::string_view prefix);
// The window's placement written as the ten values.
void SaveWindowPlacement(const QWidget& window, std::string_view prefix);

// The rectangle unchanged when it overlaps a screen (or there is none); else moved, and cut to its
// size, into the screen nearest to it.
win::RECT BringOntoScreens(const win::RECT& rect, const std::vector<win::RECT>& screens);
