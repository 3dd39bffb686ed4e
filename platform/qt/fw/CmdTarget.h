// Command routing: every object that can take a command (the application, the document, a
// frame, a view, a dialog) keeps a handler map of its own, filled by its constructor, and passes
// what it does not handle along a fixed route (a view to its document, a frame to its active
// view, itself and the application).
//
// Control notifications travel the same maps under their notification code. They are sent only
// for what the user did (typing, choosing, clicking): controls connect Qt's user-action signals
// to SendNotification (see UserNotifications.h), never their value-changed signals, so that code
// setting a value never fires a handler.
#pragma once

#include "platform/win/Types.h"

#include <functional>
#include <map>
#include <utility>

namespace fw {

class CmdUI;

class CmdTarget {
public:
    using Handler = std::function<void()>;
    using UpdateHandler = std::function<void(CmdUI&)>;

    CmdTarget() = default;
    CmdTarget(const CmdTarget&) = delete;
    CmdTarget& operator=(const CmdTarget&) = delete;
    virtual ~CmdTarget() = default;

    // Runs the handler of the command (code CN_COMMAND or a notification code) or the update
    // handler (CN_UPDATE_COMMAND_UI, with the CmdUI) of this target or of the next one on its
    // route. With probe set nothing runs: the answer says whether a handler exists.
    // True when a handler was found.
    virtual bool OnCmdMsg(win::UINT id, int code, CmdUI* ui = nullptr, bool probe = false);

    // Sends a control's notification to this target and its route. Exceptions from the handler
    // are reported and stop here (see Guard.h). True when a handler was found.
    bool SendNotification(win::UINT id, int code);

protected:
    // The handler maps.
    void OnCommand(win::UINT id, Handler handler);
    void OnNotify(win::UINT id, int code, Handler handler);
    void OnUpdateCommandUI(win::UINT id, UpdateHandler handler);

    // Member-function forms, for handlers of the derived class.
    template <class T> void OnCommand(win::UINT id, void (T::*handler)())
    {
        OnCommand(id, [this, handler] { (static_cast<T*>(this)->*handler)(); });
    }
    template <class T> void OnNotify(win::UINT id, int code, void (T::*handler)())
    {
        OnNotify(id, code, [this, handler] { (static_cast<T*>(this)->*handler)(); });
    }
    template <class T> void OnUpdateCommandUI(win::UINT id, void (T::*handler)(CmdUI&))
    {
        OnUpdateCommandUI(id, [this, handler](CmdUI& ui) { (static_cast<T*>(this)->*handler)(ui); });
    }

    // This target's own maps only, without the route.
    bool HandleOwn(win::UINT id, int code, CmdUI* ui, bool probe);

private:
    std::map<std::pair<win::UINT, int>, Handler> handlers_;
    std::map<win::UINT, UpdateHandler> updateHandlers_;
};

} // namespace fw
