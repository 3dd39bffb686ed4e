// Helpers for the scripts that answer a dialog of the program's own in tests: the script gets
// the dialog as its own class and acts as a user would, with QTest events on the real controls.
//
//   qttest::ScriptDialog<ProgramOptionsDlg>(*modal, 135, [](ProgramOptionsDlg& dlg) {
//       qttest::TypeInto(dlg, 1018, "/photos/portrait.jpg");
//       qttest::Click(dlg, IDOK);
//   });
//   EXPECT_EQ(dialog.DoModal(), IDOK);
#pragma once

#include "platform/qt/fw/ControlHost.h"
#include "platform/win/ScriptedModalServices.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace qttest {

// Queues the script of the next dialog with the template id; the dialog must be a Dialog.
template <class Dialog>
void ScriptDialog(win::ScriptedModalServices& modal, win::UINT dialogId, std::function<void(Dialog&)> script)
{
    modal.AnswerNextDialog(dialogId, [script = std::move(script)](win::ModalDialog& dialog) {
        auto* typed = dynamic_cast<Dialog*>(&dialog);
        ASSERT_NE(typed, nullptr) << "dialog " << dialog.GetDialogId() << " is not of the scripted class";
        script(*typed);
    });
}

// Replaces the text of an edit or an editable combo box as the user would: focus, select all, type.
inline void TypeInto(fw::ControlHost& host, win::UINT id, const QString& text)
{
    fw::Control* control = host.GetDlgItem(id);
    ASSERT_NE(control, nullptr) << id;
    QWidget* widget = control->GetWidget();
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo != nullptr && combo->lineEdit() != nullptr)
        widget = combo->lineEdit();
    control->SetFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->selectAll();
    QTest::keyClicks(widget, text);
}

// Clicks a button, check box or radio button.
inline void Click(fw::ControlHost& host, win::UINT id)
{
    fw::Control* control = host.GetDlgItem(id);
    ASSERT_NE(control, nullptr) << id;
    QTest::mouseClick(control->GetWidget(), Qt::LeftButton);
}

} // namespace qttest
