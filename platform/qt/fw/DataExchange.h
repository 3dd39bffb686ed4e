// Data exchange between a dialog's controls and its member values, in the original's terms. A
// dialog's DoDataExchange calls the DDX_ functions (one control and one value each) and the DDV_
// functions (a check of the value just taken) in order; the direction is m_bSaveAndValidate:
// false puts the values into the controls, true takes them from the controls.
//
// When a value taken from a control fails (not a number, out of the value's range, outside the
// DDV limits) the user gets the original's message through the modal services, the focus goes
// to that control (an edit's text selected) and Fail throws UserException, which UpdateData
// turns into FALSE: values before the failing one have been taken, values after it have not.
//
// Numbers are read and written in the "C" form whatever the locale: a signed or unsigned
// decimal integer with optional blanks around it, a double as strtod reads it (finite only).
// A number outside its member's range fails with the member's message, never wrapping.
#pragma once

#include "platform/qt/fw/Guard.h"
#include "platform/win/Types.h"

#include <QString>

#include <string>
#include <string_view>

namespace fw {

class Control;
class ControlHost;

// The framework's messages, shown with MB_OK | MB_ICONEXCLAMATION.
inline constexpr std::string_view kParseInt = "Enter an integer.";
inline constexpr std::string_view kParseUInt = "Enter a positive integer.";
inline constexpr std::string_view kParseReal = "Enter a number.";
inline constexpr std::string_view kParseIntRange = "Enter an integer between %1 and %2.";
inline constexpr std::string_view kParseStringSize = "Enter no more than %1 characters.";

class DataExchange {
public:
    DataExchange(ControlHost& host, win::BOOL saveAndValidate);

    // The control of the id, remembered as the one a later failure puts the focus on. Throws
    // std::logic_error when the window has no such control (a fault of the table or the code).
    Control& PrepareCtrl(win::UINT id);
    Control& PrepareEditCtrl(win::UINT id);
    // The control prepared last (the one a DDV_ call checks), or null.
    Control* LastControl() const;
    // Focus to the last prepared control, then UserException.
    [[noreturn]] void Fail();

    const win::BOOL m_bSaveAndValidate;
    ControlHost* const m_pDlgWnd;

private:
    win::UINT lastControl_ = 0;
    bool lastIsEdit_ = false;
};

// The text with %1 and %2 replaced.
std::string FormatMessageText(std::string_view text, std::string_view first, std::string_view second = {});

void DDX_Text(DataExchange& dx, win::UINT id, std::string& value);
// The text of an edit as it shows it, every character kept (the single-byte form above keeps only
// what code page 1252 holds); an edit that already shows the value is left alone.
void DDX_Text(DataExchange& dx, win::UINT id, QString& value);
void DDX_Text(DataExchange& dx, win::UINT id, int& value);
void DDX_Text(DataExchange& dx, win::UINT id, win::UINT& value);
void DDX_Text(DataExchange& dx, win::UINT id, double& value);
void DDX_Check(DataExchange& dx, win::UINT id, int& value);
// The index of the ticked radio of the group that begins with the id; -1: none.
void DDX_Radio(DataExchange& dx, win::UINT id, int& value);
// The selected item's index; -1: none.
void DDX_CBIndex(DataExchange& dx, win::UINT id, int& value);
// Taking: the combo's text. Putting: the first item that begins with the text (letter case
// ignored; an empty text therefore selects the first item) is selected; when none does, an
// editable combo shows the text in its edit.
void DDX_CBString(DataExchange& dx, win::UINT id, std::string& value);
// Makes the control member stand for the control of the id.
void DDX_Control(DataExchange& dx, win::UINT id, Control& control);

void DDV_MinMaxInt(DataExchange& dx, int value, int minValue, int maxValue);
void DDV_MinMaxUInt(DataExchange& dx, win::UINT value, win::UINT minValue, win::UINT maxValue);
// Putting: limits the edit to that many characters. Taking: a longer text fails.
void DDV_MaxChars(DataExchange& dx, const std::string& value, int maxChars);

} // namespace fw
