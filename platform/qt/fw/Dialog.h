// A modal dialog made from a template. The program's dialog derives from it, adds its handlers
// to the handler map in its constructor (OnNotify(id, BN_CLICKED, ...), OnCommand for buttons)
// and overrides DoDataExchange, OnInitDialog, OnOK and OnCancel as needed.
//
// DoModal builds the window and its controls, calls OnInitDialog and lets the modal services run
// the dialog: the program's services run its modal loop; the tests' scripted services hand it to
// a script (ScriptedModalServices::AnswerNextDialog), which fills the controls and presses the
// buttons with QTest, without a loop. The window and its controls are gone when DoModal returns;
// the member values hold what OnOK took.
//
// OK (id IDOK, and Enter, which presses the default button) runs OnOK: UpdateData(TRUE) and, when that
// succeeded, EndDialog(IDOK). Cancel (IDCANCEL, Escape, the window's close button) runs OnCancel:
// EndDialog(IDCANCEL).
#pragma once

#include "platform/qt/fw/CmdTarget.h"
#include "platform/qt/fw/ControlHost.h"
#include "platform/qt/fw/DialogTemplate.h"
#include "platform/win/ModalServices.h"
#include "platform/win/Types.h"

#include <QDialog>
#include <QPointer>

#include <memory>
#include <string>

class QWidget;

namespace fw {

class Dialog : public CmdTarget, public ControlHost, public win::ModalDialog {
public:
    // A null parent: the application's main window, when there is one.
    explicit Dialog(DialogTemplate dialogTemplate, QWidget* parent = nullptr);
    ~Dialog() override;

    // IDOK, IDCANCEL or what EndDialog was given; -1 when the dialog could not be made.
    virtual int DoModal();
    // After the controls exist: by default puts the values into them. TRUE lets the first
    // control take the focus.
    virtual win::BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // Ends the dialog: DoModal returns the result.
    void EndDialog(int result);
    // Enter outside a button and a multi-line edit presses the default button (in an editable
    // combo box too, where Qt would keep the key), as the original's dialogs do.
    win::BOOL PreTranslateMessage(MSG* msg) override;

    // The dialog's window while DoModal runs, else null.
    QDialog* GetWindow() const { return window_.data(); }
    const DialogTemplate& GetTemplate() const { return template_; }

    // win::ModalDialog, for the modal services.
    win::UINT GetDialogId() const override { return template_.id; }
    std::string GetCaption() const override { return template_.caption; }
    int RunModalLoop() override;
    void Show() override;
    bool HasEnded() const override { return ended_; }
    int GetEndCode() const override { return endCode_; }
    void Dismiss() override;

private:
    class Window;

    DialogTemplate template_;
    QPointer<QWidget> parent_;
    QPointer<QDialog> window_;
    bool ended_ = false;
    int endCode_ = win::IDCANCEL;
};

} // namespace fw
