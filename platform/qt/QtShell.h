// The shell of the running program: starts another program detached, without waiting for it, and
// opens files and folders through the desktop's opener, xdg-open.
#pragma once

#include "platform/win/Shell.h"

namespace fw {

class QtShell : public win::Shell {
public:
    // The file is started as given (a path with a folder is never looked up in PATH) with the
    // parameters split as a shell would, in the folder. A program that cannot be started gives
    // false and nothing else: callers that do not look at the result notice nothing.
    bool Execute(std::string_view verb, std::string_view file, std::string_view parameters,
        std::string_view directory, int showCommand) override;
    // xdg-open with the path's own bytes; it succeeds when it ends with 0.
    bool OpenWithDesktop(std::string_view path, std::function<void(bool opened)> ended) override;
};

} // namespace fw
