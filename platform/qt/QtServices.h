// The interactive services of the running program (message boxes and dialogs, starting other
// programs), installed into the application context for as long as this object lives.
#pragma once

namespace fw {

class QtServices {
public:
    QtServices();
    // Puts the context back to its stand-ins while Qt is still there. The context itself is a
    // function-local static that outlives main: left to it, the dialogs' scratch settings folder
    // would be put away at process exit, after Qt's own globals are gone, and the program would
    // crash on its way out.
    ~QtServices();
    QtServices(const QtServices&) = delete;
    QtServices& operator=(const QtServices&) = delete;
};

} // namespace fw
