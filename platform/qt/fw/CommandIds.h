// Command ids of the framework's standard commands, with the numbers the program's toolbar,
// accelerators and handler maps use, and the codes under which commands travel the routing.
#pragma once

#include "platform/win/Types.h"

namespace fw {

using win::UINT;

constexpr UINT ID_FILE_NEW = 57600;
constexpr UINT ID_FILE_OPEN = 57601;
constexpr UINT ID_FILE_CLOSE = 57602;
constexpr UINT ID_FILE_SAVE = 57603;
constexpr UINT ID_FILE_SAVE_AS = 57604;
constexpr UINT ID_FILE_PRINT_SETUP = 57606;
constexpr UINT ID_FILE_PRINT = 57607;
constexpr UINT ID_FILE_PRINT_DIRECT = 57608;
constexpr UINT ID_FILE_PRINT_PREVIEW = 57609;
constexpr UINT ID_EDIT_COPY = 57634;
constexpr UINT ID_EDIT_CUT = 57635;
constexpr UINT ID_EDIT_PASTE = 57637;
constexpr UINT ID_EDIT_UNDO = 57643;
constexpr UINT ID_APP_ABOUT = 57664;
constexpr UINT ID_APP_EXIT = 57665;
constexpr UINT ID_NEXT_PANE = 57680;
constexpr UINT ID_PREV_PANE = 57681;

// A command to carry out (also the code of a button's click notification).
constexpr int CN_COMMAND = 0;
// A request to the command's update handler to enable and label it.
constexpr int CN_UPDATE_COMMAND_UI = -1;

} // namespace fw
