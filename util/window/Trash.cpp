#include "util/window/Trash.h"

#include "platform/win/LastError.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>

bool MoveToTrash(const std::string& path)
{
    // The trash lives in the user's data folder, which a new account may not have yet; the
    // trash is made there when it is first needed.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    if (QFile::moveToTrash(QFile::decodeName(QByteArray::fromStdString(path))))
        return true;
    win::SetLastError(EIO);
    return false;
}
