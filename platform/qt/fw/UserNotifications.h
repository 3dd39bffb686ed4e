// Connects a Qt control to the command routing so that its notifications reach the handler
// maps, and only for what the user did: Qt's user-action signals (textEdited, activated,
// clicked) are used, never the value-changed ones that also fire when code sets a value.
#pragma once

#include "platform/win/Types.h"

class QAbstractButton;
class QComboBox;
class QLineEdit;

namespace fw {

class CmdTarget;

// Notification codes.
constexpr int BN_CLICKED = 0;
constexpr int CBN_SELCHANGE = 1;
constexpr int CBN_KILLFOCUS = 4; // the focus left the combo box (its edit and list included)
constexpr int CBN_EDITCHANGE = 5;
constexpr int LBN_SELCHANGE = 1;
constexpr int EN_CHANGE = 0x0300;

// EN_CHANGE when the user edits the text.
void RouteUserEdits(QLineEdit& edit, CmdTarget& target, win::UINT id);
// BN_CLICKED when the user clicks the button.
void RouteUserClicks(QAbstractButton& button, CmdTarget& target, win::UINT id);
// CBN_SELCHANGE when the user picks an item of the list; CBN_EDITCHANGE when the user edits
// the text of an editable combo box.
void RouteUserSelections(QComboBox& combo, CmdTarget& target, win::UINT id);

} // namespace fw
