#include "util/window/Trash.h"

#include "platform/win/LastError.h"

#include <QByteArray>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>

namespace {

namespace fs = std::filesystem;

// Makes the folder (and those above it) when missing, the new one for the user alone; true when
// it is there, else false with the last error set.
bool MakeFolder(const fs::path& folder)
{
    std::error_code error;
    if (fs::create_directories(folder, error))
        fs::permissions(folder, fs::perms::owner_all, error);
    struct stat info { };
    if (::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return true;
    win::SetLastError(error ? static_cast<win::DWORD>(error.value()) : ENOTDIR);
    return false;
}

// A trash is a folder with "files" and "info" in it, on the same file system as what goes there
// (so that going there is a rename). Nothing, with the last error set, when it cannot be used.
std::optional<fs::path> UsableTrash(const fs::path& trash, dev_t device)
{
    struct stat info { };
    if (!MakeFolder(trash / "files") || !MakeFolder(trash / "info"))
        return std::nullopt;
    if (::stat(trash.c_str(), &info) != 0 || info.st_dev != device) {
        win::SetLastError(EXDEV);
        return std::nullopt;
    }
    return trash;
}

// The user's own trash in the data folder ($XDG_DATA_HOME, else ~/.local/share); nothing without
// a home.
std::optional<fs::path> HomeTrash()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (dataHome != nullptr && dataHome[0] == '/')
        return fs::path(dataHome) / "Trash";
    if (home != nullptr && home[0] == '/')
        return fs::path(home) / ".local/share/Trash";
    return std::nullopt;
}

// The file system a path is (or would be made) on: that of its nearest existing folder.
std::optional<dev_t> DeviceOf(fs::path path)
{
    for (;; path = path.parent_path()) {
        struct stat info { };
        if (::stat(path.c_str(), &info) == 0)
            return info.st_dev;
        if (path == path.parent_path())
            return std::nullopt;
    }
}

// The top folder of the file system holding the path.
fs::path TopFolder(const fs::path& path, dev_t device)
{
    fs::path top = path;
    for (fs::path up = path.parent_path(); up != top; up = up.parent_path()) {
        struct stat info { };
        if (::lstat(up.c_str(), &info) != 0 || info.st_dev != device)
            break;
        top = up;
    }
    return top;
}

// The trash of the file system holding the path: the user's folder in its shared ".Trash" (a real
// folder with the sticky bit, so users cannot take each other's), else its ".Trash-<uid>".
std::optional<fs::path> VolumeTrash(const fs::path& path, dev_t device)
{
    const fs::path top = TopFolder(path, device);
    const std::string uid = std::to_string(::getuid());
    struct stat shared { };
    if (::lstat((top / ".Trash").c_str(), &shared) == 0 && S_ISDIR(shared.st_mode)
        && (shared.st_mode & S_ISVTX) != 0) {
        if (auto trash = UsableTrash(top / ".Trash" / uid, device))
            return trash;
    }
    return UsableTrash(top / (".Trash-" + uid), device);
}

// The path as the trash's info file writes it: every byte but letters, digits, "-._~/" as %XX.
std::string EscapedPath(const std::string& path)
{
    return QByteArray::fromStdString(path).toPercentEncoding("/").toStdString();
}

std::string InfoText(const std::string& path)
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    char date[32] = "";
    if (::localtime_r(&now, &local) != nullptr)
        std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    return "[Trash Info]\nPath=" + EscapedPath(path) + "\nDeletionDate=" + date + "\n";
}

bool WriteAll(int descriptor, const std::string& text)
{
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(descriptor, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// Claims a free name in the trash by creating its info file (which no other deletion can then
// take); the name is the item's own, or with " 2", " 3" ... before its extension. The info
// file's path, or nothing with the last error set.
std::optional<fs::path> ClaimInfoFile(const fs::path& trash, const fs::path& item)
{
    const fs::path name = item.filename();
    for (int number = 1; number < 10000; ++number) {
        const fs::path candidate = number == 1
            ? name
            : fs::path(name.stem().string() + " " + std::to_string(number) + name.extension().string());
        struct stat existing { };
        if (::lstat((trash / "files" / candidate).c_str(), &existing) == 0)
            continue;
        const fs::path info = trash / "info" / (candidate.string() + ".trashinfo");
        const int descriptor = ::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (descriptor < 0 && errno == EEXIST)
            continue;
        if (descriptor < 0) {
            win::CaptureLastError();
            return std::nullopt;
        }
        const bool written = WriteAll(descriptor, InfoText(item.string()));
        if (!written)
            win::CaptureLastError();
        if (::close(descriptor) != 0 || !written) {
            if (written)
                win::CaptureLastError();
            ::unlink(info.c_str());
            return std::nullopt;
        }
        return info;
    }
    win::SetLastError(EEXIST);
    return std::nullopt;
}

} // namespace

bool MoveToTrash(const std::string& path)
{
    // Worked on by the path's own bytes, whatever their encoding: the item goes into the trash of
    // its own file system (the user's, when that is where it lies) by a rename, so nothing is
    // copied and a refusal leaves it where it was.
    std::error_code error;
    const fs::path item = fs::absolute(path, error).lexically_normal();
    if (error || !item.has_filename()) {
        win::SetLastError(error ? static_cast<win::DWORD>(error.value()) : EINVAL);
        return false;
    }
    struct stat info { };
    if (::lstat(item.c_str(), &info) != 0) {
        win::CaptureLastError();
        return false;
    }
    // The user's own trash for what lies on its file system, the volume's for the rest.
    const std::optional<fs::path> home = HomeTrash();
    const std::optional<fs::path> trash = home && DeviceOf(*home) == info.st_dev
        ? UsableTrash(*home, info.st_dev)
        : VolumeTrash(item, info.st_dev);
    if (!trash)
        return false;
    const std::optional<fs::path> infoFile = ClaimInfoFile(*trash, item);
    if (!infoFile)
        return false;
    const fs::path target = *trash / "files" / infoFile->stem();
    if (::rename(item.c_str(), target.c_str()) == 0)
        return true;
    win::CaptureLastError();
    ::unlink(infoFile->c_str());
    return false;
}
