// Accelerator tables: keys that issue commands through the frame's routing, in the original's
// terms (FrameWnd::LoadAccelTable). A command whose update handler disables it does nothing.
//
//   const fw::Accel keys[] = { { fw::FVIRTKEY | fw::FCONTROL, 'N', fw::ID_FILE_NEW },
//       { fw::FVIRTKEY | fw::FALT, win::VK_BACK, fw::ID_EDIT_UNDO } };
//   LoadAccelTable(keys);
#pragma once

#include "platform/win/Types.h"

#include <QKeySequence>

namespace fw {

constexpr win::BYTE FVIRTKEY = 0x01;
constexpr win::BYTE FSHIFT = 0x04;
constexpr win::BYTE FCONTROL = 0x08;
constexpr win::BYTE FALT = 0x10;

struct Accel {
    win::BYTE fVirt = FVIRTKEY; // the modifiers; the key is always a virtual-key code here
    win::WORD key = 0;
    win::UINT cmd = 0;
};

// The key with its modifiers; empty for a key without a Qt equivalent.
QKeySequence KeySequenceOf(const Accel& accel);

} // namespace fw
