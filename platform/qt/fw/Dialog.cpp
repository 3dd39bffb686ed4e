#include "platform/qt/fw/Dialog.h"

#include "platform/qt/Cp1252.h"
#include "platform/qt/fw/ControlPanel.h"
#include "platform/qt/fw/FrameWnd.h"
#include "platform/qt/fw/Guard.h"
#include "platform/qt/fw/UserNotifications.h"
#include "platform/qt/fw/WinApp.h"
#include "platform/win/AppContext.h"

#include <QDialog>

namespace fw {

// The dialog's window: its reject (Escape, the close button) is the dialog's cancel, which may
// keep it open.
class Dialog::Window : public QDialog {
public:
    Window(Dialog& owner, QWidget* parent)
        : QDialog(parent)
        , owner_(owner)
    {
    }
    void reject() override
    {
        GuardedCall([this] { owner_.OnCancel(); });
    }

private:
    Dialog& owner_;
};

Dialog::Dialog(DialogTemplate dialogTemplate, QWidget* parent)
    : template_(std::move(dialogTemplate))
    , parent_(parent)
{
    OnCommand(win::IDOK, [this] { OnOK(); });
    OnCommand(win::IDCANCEL, [this] { OnCancel(); });
}

Dialog::~Dialog() = default;

int Dialog::DoModal()
{
    ended_ = false;
    endCode_ = win::IDCANCEL;
    // Without a parent the dialog belongs to the main window, as the original's does.
    QWidget* parent = parent_.data();
    if (parent == nullptr && AfxGetApp() != nullptr)
        parent = AfxGetApp()->GetMainWnd();
    auto window = std::make_unique<Window>(*this, parent);
    window->setWindowTitle(FromCp1252(template_.caption));
    const ControlPanel* panel = CreateControls(template_, *this, window.get());
    window->setFixedSize(panel->size());
    window_ = window.get();
    int result = -1;
    bool initialised = false;
    GuardedCall([&] {
        OnInitDialog();
        initialised = true;
    });
    if (initialised) // OnInitDialog may have ended the dialog already
        result = ended_ ? endCode_ : win::AppContext::Instance().Modal().RunDialog(*this);
    window_ = nullptr;
    return result;
}

win::BOOL Dialog::OnInitDialog()
{
    UpdateData(win::FALSE);
    return win::TRUE;
}

void Dialog::OnOK()
{
    if (UpdateData(win::TRUE))
        EndDialog(win::IDOK);
}

void Dialog::OnCancel()
{
    EndDialog(win::IDCANCEL);
}

void Dialog::EndDialog(int result)
{
    ended_ = true;
    endCode_ = result;
    if (window_ != nullptr)
        window_->done(result);
}

win::BOOL Dialog::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN || msg->wParam != win::VK_RETURN)
        return win::FALSE;
    const Control* from = GetDlgItem(msg->idFrom);
    if (from != nullptr
        && (from->GetKind() == ControlKind::button || from->GetWidget()->inherits("QPlainTextEdit")))
        return win::FALSE; // a button presses itself; a multi-line edit takes the line break
    win::UINT defaultId = win::IDOK;
    for (const ControlSpec& spec : template_.controls)
        if (spec.kind == ControlKind::button && (spec.style & BS_DEFPUSHBUTTON) != 0)
            defaultId = spec.id;
    const Control* button = GetDlgItem(defaultId);
    if (button == nullptr || !button->IsWindowEnabled())
        return win::TRUE;
    SendNotification(defaultId, BN_CLICKED);
    return win::TRUE;
}

int Dialog::RunModalLoop()
{
    if (window_ == nullptr)
        return win::IDCANCEL;
    window_->exec();
    return ended_ ? endCode_ : win::IDCANCEL;
}

void Dialog::Show()
{
    if (window_ != nullptr)
        window_->show();
}

void Dialog::Dismiss()
{
    GuardedCall([this] { OnCancel(); });
}

} // namespace fw
