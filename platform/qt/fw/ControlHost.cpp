#include "platform/qt/fw/ControlHost.h"

#include "platform/qt/fw/ControlPanel.h"
#include "platform/qt/fw/DataExchange.h"
#include "platform/qt/fw/Guard.h"

namespace fw {

ControlHost::~ControlHost()
{
    if (panel_ != nullptr) {
        panel_->Silence();
        delete panel_.data(); // owned by its parent widget, which is still there
    }
}

Control* ControlHost::GetDlgItem(win::UINT id) const
{
    return panel_ != nullptr ? panel_->GetDlgItem(id) : nullptr;
}

Control* ControlHost::GetFocus() const
{
    if (panel_ == nullptr)
        return nullptr;
    return panel_->ControlOf(panel_->window()->focusWidget());
}

std::vector<win::UINT> ControlHost::GetRadioGroup(win::UINT firstId) const
{
    return panel_ != nullptr ? panel_->RadioGroup(firstId) : std::vector<win::UINT> {};
}

win::BOOL ControlHost::UpdateData(win::BOOL saveAndValidate)
{
    if (panel_ == nullptr)
        return win::FALSE;
    DataExchange dx(*this, saveAndValidate);
    try {
        DoDataExchange(dx);
    } catch (const UserException&) {
        return win::FALSE; // the user has been told; the focus is on the control
    }
    return win::TRUE;
}

void ControlHost::DoDataExchange(DataExchange&) { }

win::BOOL ControlHost::PreTranslateMessage(MSG*)
{
    return win::FALSE;
}

ControlPanel* ControlHost::CreateControls(
    const DialogTemplate& dialogTemplate, CmdTarget& target, QWidget* parent)
{
    panel_ = new ControlPanel(dialogTemplate, target, *this, parent); // the parent widget owns it
    return panel_.data();
}

} // namespace fw
