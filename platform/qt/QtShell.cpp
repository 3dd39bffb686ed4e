#include "platform/qt/QtShell.h"

#include "platform/qt/FilePath.h"

#include <QProcess>

namespace fw {

bool QtShell::Execute(
    std::string_view, std::string_view file, std::string_view parameters, std::string_view directory, int)
{
    if (file.empty())
        return false;
    const QString program = FromFilePath(file);
    const QStringList arguments = QProcess::splitCommand(
        QString::fromLocal8Bit(parameters.data(), static_cast<qsizetype>(parameters.size())));
    return QProcess::startDetached(program, arguments, FromFilePath(directory));
}

} // namespace fw
