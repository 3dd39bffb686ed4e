#include "platform/qt/QtShell.h"

#include <QFile>
#include <QProcess>

namespace fw {

bool QtShell::Execute(
    std::string_view, std::string_view file, std::string_view parameters, std::string_view directory, int)
{
    if (file.empty())
        return false;
    const QString program = QFile::decodeName(std::string(file).c_str());
    const QStringList arguments = QProcess::splitCommand(
        QString::fromLocal8Bit(parameters.data(), static_cast<qsizetype>(parameters.size())));
    return QProcess::startDetached(program, arguments, QFile::decodeName(std::string(directory).c_str()));
}

} // namespace fw
