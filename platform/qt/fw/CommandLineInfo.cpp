#include "platform/qt/fw/CommandLineInfo.h"

namespace fw {

void CommandLineInfo::ParseParam(std::string_view param, win::BOOL flag, win::BOOL)
{
    if (flag != win::FALSE || !m_strFileName.empty())
        return;
    m_strFileName = std::string(param);
    m_nShellCommand = FileOpen;
}

} // namespace fw
