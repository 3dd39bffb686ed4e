#include "platform/qt/QtShell.h"

#include "platform/qt/DetachedProcess.h"
#include "platform/qt/FilePath.h"

#include <QProcess>

namespace fw {

bool QtShell::Execute(
    std::string_view, std::string_view file, std::string_view parameters, std::string_view directory, int)
{
    if (file.empty())
        return false;
    std::vector<std::string> arguments;
    for (const QString& argument : QProcess::splitCommand(
             QString::fromLocal8Bit(parameters.data(), static_cast<qsizetype>(parameters.size()))))
        arguments.push_back(ToFilePath(argument));
    return StartDetached(std::string(file), arguments, std::string(directory));
}

bool QtShell::OpenWithDesktop(std::string_view path, std::function<void(bool opened)> ended)
{
    if (path.empty())
        return false;
    return StartWatched("xdg-open", { std::string(path) }, [ended = std::move(ended)](int exitCode) {
        if (ended)
            ended(exitCode == 0);
    });
}

} // namespace fw
