// What an update handler is given: the command's id and the means to enable and label whatever
// issues the command (a toolbar button or accelerator action, or nothing when only a test asks).
#pragma once

#include "platform/win/Types.h"

#include <string>
#include <string_view>

class QAction;

namespace fw {

class CmdTarget;

class CmdUI {
public:
    explicit CmdUI(win::UINT id, QAction* action = nullptr);

    void Enable(win::BOOL on = win::TRUE);
    // The text in code page 1252; a tab separates the shortcut shown beside it.
    void SetText(std::string_view text);

    bool IsEnabled() const { return enabled_; }
    const std::string& Text() const { return text_; }

    // Asks the routing from the target for the command's update handler. When nothing handles
    // the update, the command is enabled exactly when some target on the routing handles the
    // command itself. Returns whether an update handler ran.
    bool DoUpdate(CmdTarget& target);

    const win::UINT m_nID;

private:
    QAction* action_;
    bool enabled_ = true;
    std::string text_;
};

} // namespace fw
