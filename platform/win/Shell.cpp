#include "platform/win/Shell.h"

#include "platform/win/AppContext.h"

namespace win {

bool RecordingShell::Execute(std::string_view verb, std::string_view file, std::string_view parameters,
    std::string_view directory, int showCommand)
{
    calls_.push_back({ std::string(verb), std::string(file), std::string(parameters), std::string(directory),
        showCommand });
    return true;
}

bool RecordingShell::OpenWithDesktop(std::string_view path, std::function<void(bool opened)> ended)
{
    opened_.emplace_back(path);
    if (openStarts_ && ended)
        ended(openSucceeds_);
    return openStarts_;
}

int ShellExecuteA(const void*, std::string_view verb, std::string_view file, std::string_view parameters,
    std::string_view directory, int showCommand)
{
    constexpr int started = 33;
    constexpr int fileNotFound = 2;
    return AppContext::Instance().GetShell().Execute(verb, file, parameters, directory, showCommand)
        ? started
        : fileNotFound;
}

} // namespace win
