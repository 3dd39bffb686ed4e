#include "util/FolderCreation.h"

#include "platform/win/LastError.h"
#include "records/SharedFunctions.h"

#include <cerrno>
#include <sys/stat.h>

namespace {

bool IsFolder(const std::string& path)
{
    struct stat status { };
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// Makes the folder; true when it was made or already is a folder, else false with the last
// error set (a file in the way keeps the "exists" error).
bool MakeFolder(const std::string& path)
{
    if (::mkdir(path.c_str(), 0777) == 0)
        return true;
    win::CaptureLastError();
    return errno == EEXIST && IsFolder(path);
}

} // namespace

bool CreateFolderWithRetry(
    const std::string& path, const std::string& description, bool showMessage, const Pause& pause)
{
    const bool made = MakeFolder(path);
    if (!made && showMessage)
        ShowErrorMessage("Could not create the " + description + " folder: " + path,
            "Please fix the problem and try again");
    constexpr int kLooks = 4;
    for (int look = 1; look <= kLooks && !FileOrFolderExists(path); ++look) {
        if (look < kLooks)
            pause(std::chrono::seconds(1));
    }
    return made;
}
