// The frame window the user is working in.
#pragma once

#include "platform/win/Types.h"

namespace fw {
class FrameWnd;
}

// The application's main window when it is a frame window, else null.
fw::FrameWnd* GetActiveFrameWindow();
// That frame's window rectangle in screen coordinates; an empty rectangle when there is none.
void GetActiveFrameRect(win::RECT& rect);
