#include "platform/qt/fw/CmdUI.h"

#include "platform/qt/Cp1252.h"
#include "platform/qt/fw/CmdTarget.h"
#include "platform/qt/fw/CommandIds.h"

#include <QAction>

namespace fw {

CmdUI::CmdUI(win::UINT id, QAction* action)
    : m_nID(id)
    , action_(action)
{
    if (action_ != nullptr)
        enabled_ = action_->isEnabled();
}

void CmdUI::Enable(win::BOOL on)
{
    enabled_ = on != win::FALSE;
    if (action_ != nullptr)
        action_->setEnabled(enabled_);
}

void CmdUI::SetText(std::string_view text)
{
    text_ = std::string(text);
    if (action_ != nullptr)
        action_->setText(FromCp1252(text));
}

bool CmdUI::DoUpdate(CmdTarget& target)
{
    if (target.OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this))
        return true;
    Enable(target.OnCmdMsg(m_nID, CN_COMMAND, nullptr, true) ? win::TRUE : win::FALSE);
    return false;
}

} // namespace fw
