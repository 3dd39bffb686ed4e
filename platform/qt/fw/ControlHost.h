// What a dialog and a form view have in common (the original's window functions for windows
// made from a template): their controls by id, the data exchange between controls and member
// values, and a look at each key before its control gets it.
//
// A dialog or form overrides DoDataExchange with its DDX_ and DDV_ calls (DataExchange.h);
// UpdateData(FALSE) puts the values into the controls, UpdateData(TRUE) takes them back,
// stopping at the first value that fails (the user has been told, the focus is on its control).
#pragma once

#include "platform/qt/fw/Control.h"
#include "platform/qt/fw/ControlPanel.h"
#include "platform/qt/fw/DialogTemplate.h"
#include "platform/win/Types.h"

#include <QPointer>

#include <vector>

namespace fw {

class CmdTarget;
class DataExchange;

// A key press, as PreTranslateMessage sees it.
constexpr win::UINT WM_KEYDOWN = 0x0100;
struct MSG {
    win::UINT message = 0;
    win::UINT wParam = 0; // the virtual-key code
    win::UINT idFrom = 0; // the id of the control the key was pressed in
};

class ControlHost {
public:
    ControlHost() = default;
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;
    // Destroys the controls, silenced first, while the owner is still whole.
    virtual ~ControlHost();

    // The control of that id, or null (no such control, or the window is closed).
    Control* GetDlgItem(win::UINT id) const;
    // The control that has the keyboard focus within this window, or null.
    Control* GetFocus() const;
    // The ids of the radio group that begins at the given radio, in template order.
    std::vector<win::UINT> GetRadioGroup(win::UINT firstId) const;

    // FALSE puts the values into the controls, TRUE takes them from the controls. False when
    // a value failed (or there are no controls).
    win::BOOL UpdateData(win::BOOL saveAndValidate = win::TRUE);
    virtual void DoDataExchange(DataExchange& dx);

    // A key about to reach one of the controls; TRUE keeps it from going further.
    virtual win::BOOL PreTranslateMessage(MSG* msg);

    ControlPanel* GetPanel() const { return panel_.data(); }

protected:
    // Builds the controls of the template in a panel inside the parent; their notifications go
    // to the target's handler maps.
    ControlPanel* CreateControls(const DialogTemplate& dialogTemplate, CmdTarget& target, QWidget* parent);

private:
    QPointer<ControlPanel> panel_;
};

} // namespace fw
