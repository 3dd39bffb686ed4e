// The widget that holds a dialog's or form's controls, built from its template: every control
// placed at its template position (dialog units of the template's font), radio groups made
// exclusive for the user, and each control's user actions sent to the handler maps of its
// owner under the control's id: BN_CLICKED (buttons, check boxes, radios), EN_CHANGE (edits),
// CBN_SELCHANGE, CBN_EDITCHANGE, CBN_KILLFOCUS (combo boxes), LBN_SELCHANGE (list boxes). Code
// that sets a value sends nothing. Key presses in any control are offered to the owner's
// PreTranslateMessage first.
#pragma once

#include "platform/qt/fw/Control.h"
#include "platform/qt/fw/DialogTemplate.h"
#include "platform/qt/fw/DialogUnits.h"
#include "platform/win/Types.h"

#include <QWidget>

#include <map>
#include <vector>

namespace fw {

class CmdTarget;
class ControlHost;

class ControlPanel : public QWidget {
public:
    ControlPanel(const DialogTemplate& dialogTemplate, CmdTarget& target, ControlHost& host, QWidget* parent);

    // Null when the template has no control of that id.
    Control* GetDlgItem(win::UINT id);
    // The control that holds the widget (or one of its parts, like a combo's edit), or null.
    Control* ControlOf(const QWidget* widget);
    // The ids of the radio group that begins with the radio of the given id, in template order;
    // empty when that control is not a radio.
    std::vector<win::UINT> RadioGroup(win::UINT firstId) const;
    const DialogBaseUnits& BaseUnits() const { return base_; }
    // Sends nothing more: the owner is going away (a control losing the focus as it is
    // destroyed must not reach handlers of an object half destroyed).
    void Silence();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* MakeWidget(const ControlSpec& spec, CmdTarget& target);
    void WatchKeys(QWidget* widget);
    void ClearGroupOf(win::UINT id);

    ControlHost& host_;
    DialogBaseUnits base_;
    std::vector<ControlSpec> specs_;
    std::map<win::UINT, Control> controls_;
};

} // namespace fw
