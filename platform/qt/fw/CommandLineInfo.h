// The command line as the framework reads it: no argument asks for File New, the first plain
// argument is a file to open. Arguments starting with '-' are options, ignored here (a path
// starts with '/' on this system, so '/' cannot mark an option).
#pragma once

#include "platform/win/Types.h"

#include <string>
#include <string_view>

namespace fw {

class CommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen };

    virtual ~CommandLineInfo() = default;
    // One argument; flag is set for an option (given without its '-').
    virtual void ParseParam(std::string_view param, win::BOOL flag, win::BOOL last);

    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;
};

} // namespace fw
