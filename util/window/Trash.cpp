#include "util/window/Trash.h"

#include "platform/qt/FilePath.h"
#include "platform/win/LastError.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>

bool MoveToTrash(const std::string& path)
{
    // The trash lives in the user's data folder, which a new account may not have yet: it is
    // made when first needed. Without it Qt would put the "trashed" file into a trash folder
    // relative to the working folder, so nothing is moved when it cannot be made.
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataFolder.isEmpty() || !QDir::isAbsolutePath(dataFolder) || !QDir().mkpath(dataFolder)) {
        win::SetLastError(ENOENT);
        return false;
    }
    if (QFile::moveToTrash(fw::FromFilePath(path)))
        return true;
    win::SetLastError(EIO);
    return false;
}
