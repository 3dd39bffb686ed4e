#include "platform/qt/fw/CmdTarget.h"

#include "platform/qt/fw/CmdUI.h"
#include "platform/qt/fw/CommandIds.h"
#include "platform/qt/fw/Guard.h"

namespace fw {

void CmdTarget::OnCommand(win::UINT id, Handler handler)
{
    OnNotify(id, CN_COMMAND, std::move(handler));
}

void CmdTarget::OnNotify(win::UINT id, int code, Handler handler)
{
    handlers_[{ id, code }] = std::move(handler);
}

void CmdTarget::OnUpdateCommandUI(win::UINT id, UpdateHandler handler)
{
    updateHandlers_[id] = std::move(handler);
}

bool CmdTarget::HandleOwn(win::UINT id, int code, CmdUI* ui, bool probe)
{
    if (code == CN_UPDATE_COMMAND_UI) {
        const auto it = updateHandlers_.find(id);
        if (it == updateHandlers_.end() || ui == nullptr)
            return false;
        if (!probe)
            it->second(*ui);
        return true;
    }
    const auto it = handlers_.find({ id, code });
    if (it == handlers_.end())
        return false;
    if (!probe) {
        // A copy: the handler may replace its own map entry while it runs.
        const Handler handler = it->second;
        handler();
    }
    return true;
}

bool CmdTarget::OnCmdMsg(win::UINT id, int code, CmdUI* ui, bool probe)
{
    return HandleOwn(id, code, ui, probe);
}

bool CmdTarget::SendNotification(win::UINT id, int code)
{
    bool handled = false;
    GuardedCall([&] { handled = OnCmdMsg(id, code); });
    return handled;
}

} // namespace fw
