// A dialog template: the table of a dialog's or a form's controls, in the original's terms. Each
// control has its id, its kind, its caption and its place in dialog units (x and y of its top-left
// corner, width and height), with the style bits the program relies on. ControlPanel turns the
// table into Qt widgets; the dialog units are converted with the average character size of the
// template's font as it is on this machine (see DialogUnits.h), so that a table written with the
// original's sizes fits its texts.
//
// Example, a dialog with one edit and the OK and Cancel buttons:
//   const fw::DialogTemplate kNameDialog { 130, "Name", 160, 50, {
//       { 1000, fw::ControlKind::staticText, "Name:", 7, 9, 30, 8 },
//       { 1001, fw::ControlKind::edit, "", 40, 7, 113, 14 },
//       { win::IDOK, fw::ControlKind::button, "OK", 49, 29, 50, 14, fw::BS_DEFPUSHBUTTON },
//       { win::IDCANCEL, fw::ControlKind::button, "Cancel", 103, 29, 50, 14 } } };
#pragma once

#include "platform/win/Types.h"

#include <string>
#include <vector>

namespace fw {

enum class ControlKind {
    edit, // a one-line edit; ES_MULTILINE makes it a multi-line one
    staticText,
    button,
    checkBox,
    radioButton, // a group runs from a radio with WS_GROUP to the next control with WS_GROUP
    dropDown, // an editable combo box
    dropDownList, // a combo box whose text is one of its items
    listBox,
    groupBox,
    swatch, // a frame filled with a colour (Control::SetColor)
    tree, // the place of a tree control that code attaches to it, filling it
    icon, // the picture the caption names (a Qt resource path), at its own size, top left
};

// Style bits of a control (the original's values where it has them).
constexpr win::UINT WS_GROUP = 0x00020000; // starts a group (of radios)
constexpr win::UINT WS_DISABLED = 0x08000000; // created disabled
constexpr win::UINT WS_HIDDEN = 0x00000800; // created hidden (the original's lack of WS_VISIBLE)
constexpr win::UINT WS_VSCROLL = 0x00200000; // a multi-line edit or list with a vertical scroll bar
constexpr win::UINT ES_MULTILINE = 0x0004;
constexpr win::UINT ES_READONLY = 0x0800;
constexpr win::UINT SS_RIGHT = 0x0002; // static text aligned right
constexpr win::UINT BS_DEFPUSHBUTTON = 0x0001; // the button Enter presses in a dialog

struct ControlSpec {
    win::UINT id = 0; // 0xFFFF (IDC_STATIC) or any id no code asks for, for labels
    ControlKind kind = ControlKind::staticText;
    std::string caption; // code page 1252
    int x = 0; // dialog units
    int y = 0;
    int cx = 0;
    int cy = 0;
    win::UINT style = 0;
};

constexpr win::UINT IDC_STATIC = 0xFFFF;

struct DialogTemplate {
    win::UINT id = 0;
    std::string caption;
    int cx = 0; // client size in dialog units
    int cy = 0;
    std::vector<ControlSpec> controls;
    std::string fontName = "MS Shell Dlg"; // "Arial" is Liberation Sans here, others DejaVu Sans
    int pointSize = 8;
};

} // namespace fw
