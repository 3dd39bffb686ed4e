// Keys in the original's terms: the virtual-key codes of the keys the program and its
// accelerators name, to and from Qt's key codes.
#pragma once

#include "platform/win/Types.h"

namespace fw {

// 0 for a key the program has no code for.
win::UINT VirtualKeyOf(int qtKey);
// Qt::Key_unknown for a code without a key here.
int QtKeyOf(win::UINT virtualKey);

} // namespace fw
