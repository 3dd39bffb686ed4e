#include "app/dialogs/ProgramFolder.h"

#include <QCoreApplication>

#include <filesystem>
#include <system_error>

std::string RunningProgramFolder()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && executable.has_parent_path())
        return executable.parent_path().string() + "/";
    if (QCoreApplication::instance()) {
        const QString folder = QCoreApplication::applicationDirPath();
        if (!folder.isEmpty())
            return folder.toStdString() + "/";
    }
    return {};
}
