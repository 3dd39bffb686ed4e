#include "util/window/Trash.h"

#include "platform/win/FileDescriptor.h"
#include "platform/win/LastError.h"

#include <QByteArray>

#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <utility>

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kInfoExtension = ".trashinfo";

// A trash opened for a deletion: its "files" and "info" folders, held open so that nothing
// swapped in by name afterwards can redirect the move, and the folder the info file's path is
// written relative to (empty for the home trash, whose paths are absolute).
struct OpenTrash {
    win::FileDescriptor files;
    win::FileDescriptor info;
    fs::path relativeTo;
};

// Opens a folder by its path, following links: the folders above a trash are used as they are.
std::optional<win::FileDescriptor> OpenFolder(const fs::path& path)
{
    win::FileDescriptor folder(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Valid())
        return folder;
    win::CaptureLastError();
    return std::nullopt;
}

// Opens the folder of the name inside another, never through a link.
win::FileDescriptor OpenRealFolderAt(int at, const char* name)
{
    return win::FileDescriptor(::openat(at, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// The user's own folder of the name inside another, made for the user alone when missing. A link
// (another user could have planted it to take the files), anything but a folder, or a folder
// another user owns is refused, with EPERM as the reason.
std::optional<win::FileDescriptor> OwnFolderAt(int at, const char* name)
{
    const bool made = ::mkdirat(at, name, 0700) == 0;
    if (!made && errno != EEXIST) {
        win::CaptureLastError();
        return std::nullopt;
    }
    win::FileDescriptor folder = OpenRealFolderAt(at, name);
    if (!folder.Valid()) {
        if (errno == ELOOP || errno == ENOTDIR)
            win::SetLastError(EPERM);
        else
            win::CaptureLastError();
        return std::nullopt;
    }
    struct stat info { };
    if (::fstat(folder.Get(), &info) != 0) {
        win::CaptureLastError();
        return std::nullopt;
    }
    if (info.st_uid != ::geteuid() || !S_ISDIR(info.st_mode)) {
        win::SetLastError(EPERM);
        return std::nullopt;
    }
    if (made) // whatever the process's file mode mask
        ::fchmod(folder.Get(), 0700);
    return folder;
}

// The trash of the name inside a folder, with its "files" and "info", all the user's own real
// folders, on the file system of what goes there (so that going there is a rename). Nothing, with
// the last error set, when it cannot be used.
std::optional<OpenTrash> TrashAt(int at, const std::string& name, dev_t device, fs::path relativeTo)
{
    std::optional<win::FileDescriptor> trash = OwnFolderAt(at, name.c_str());
    std::optional<win::FileDescriptor> files = trash ? OwnFolderAt(trash->Get(), "files") : std::nullopt;
    std::optional<win::FileDescriptor> info = files ? OwnFolderAt(trash->Get(), "info") : std::nullopt;
    if (!info)
        return std::nullopt;
    struct stat where { };
    if (::fstat(files->Get(), &where) != 0 || where.st_dev != device) {
        win::SetLastError(EXDEV);
        return std::nullopt;
    }
    return OpenTrash { std::move(*files), std::move(*info), std::move(relativeTo) };
}

// The user's own trash, the folders above it made when missing.
std::optional<OpenTrash> HomeTrash(const fs::path& trash, dev_t device)
{
    std::error_code error;
    fs::create_directories(trash.parent_path(), error);
    std::optional<win::FileDescriptor> above = OpenFolder(trash.parent_path());
    if (!above)
        return std::nullopt;
    return TrashAt(above->Get(), trash.filename().string(), device, {});
}

// The trash of a volume: the user's folder in its shared ".Trash" (a real folder with the sticky
// bit, so that users cannot take each other's), else its ".Trash-<uid>".
std::optional<OpenTrash> VolumeTrash(const fs::path& top, dev_t device)
{
    std::optional<win::FileDescriptor> topFolder = OpenFolder(top);
    if (!topFolder)
        return std::nullopt;
    const std::string uid = std::to_string(::getuid());
    const win::FileDescriptor shared = OpenRealFolderAt(topFolder->Get(), ".Trash");
    struct stat info { };
    if (shared.Valid() && ::fstat(shared.Get(), &info) == 0 && (info.st_mode & S_ISVTX) != 0) {
        if (std::optional<OpenTrash> trash = TrashAt(shared.Get(), uid, device, top))
            return trash;
    }
    return TrashAt(topFolder->Get(), ".Trash-" + uid, device, top);
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

// The path as the trash's info file writes it: every byte but letters, digits, "-._~/" as %XX.
// In a volume's trash it is relative to the volume's top, so that the volume can be mounted
// elsewhere.
std::string EscapedPath(const fs::path& item, const fs::path& relativeTo)
{
    fs::path written = item;
    if (!relativeTo.empty()) {
        const fs::path relative = item.lexically_relative(relativeTo);
        if (!relative.empty() && *relative.begin() != "..")
            written = relative;
    }
    return QByteArray::fromStdString(written.string()).toPercentEncoding("/").toStdString();
}

std::string InfoText(const fs::path& item, const fs::path& relativeTo)
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    char date[32] = "";
    if (::localtime_r(&now, &local) != nullptr)
        std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    return "[Trash Info]\nPath=" + EscapedPath(item, relativeTo) + "\nDeletionDate=" + date + "\n";
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

// The text cut to at most size bytes, never inside a UTF-8 character.
std::string_view CutBetweenCharacters(std::string_view text, std::size_t size)
{
    if (text.size() <= size)
        return text;
    while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80)
        --size;
    return text.substr(0, size);
}

// The name of the number'th item of a name in the trash: the name itself, or with " 2", " 3" ...
// before its extension; shortened before the extension so that its info file's name fits the
// file system's limit.
std::string TrashName(const std::string& name, int number)
{
    const fs::path path(name);
    std::string stem = path.stem().string();
    std::string extension = path.extension().string();
    const std::string suffix = number == 1 ? "" : " " + std::to_string(number);
    const std::size_t room = NAME_MAX - kInfoExtension.size();
    if (extension.size() + suffix.size() > room / 2) { // too long to be an extension
        stem = name;
        extension.clear();
    }
    return std::string(CutBetweenCharacters(stem, room - suffix.size() - extension.size())) + suffix
        + extension;
}

// Claims a free name in the trash by creating its info file (which no other deletion can then
// take). The name, or nothing with the last error set.
std::optional<std::string> ClaimInfoFile(const OpenTrash& trash, const fs::path& item)
{
    const std::string name = item.filename().string();
    for (int number = 1; number < 10000; ++number) {
        const std::string candidate = TrashName(name, number);
        struct stat existing { };
        if (::fstatat(trash.files.Get(), candidate.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0)
            continue;
        const std::string info = candidate + std::string(kInfoExtension);
        const int descriptor = ::openat(
            trash.info.Get(), info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (descriptor < 0 && errno == EEXIST)
            continue;
        if (descriptor < 0) {
            win::CaptureLastError();
            return std::nullopt;
        }
        const bool written = WriteAll(descriptor, InfoText(item, trash.relativeTo));
        if (!written)
            win::CaptureLastError();
        if (::close(descriptor) != 0 || !written) {
            if (written)
                win::CaptureLastError();
            ::unlinkat(trash.info.Get(), info.c_str(), 0);
            return std::nullopt;
        }
        return candidate;
    }
    win::SetLastError(EEXIST);
    return std::nullopt;
}

// Moves the item into the trash's files under the name, never over another item.
bool MoveInto(const fs::path& item, const OpenTrash& trash, const std::string& name)
{
    if (::renameat2(AT_FDCWD, item.c_str(), trash.files.Get(), name.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if ((errno == EINVAL || errno == ENOSYS)
        && ::renameat(AT_FDCWD, item.c_str(), trash.files.Get(), name.c_str()) == 0)
        return true;
    win::CaptureLastError();
    return false;
}

} // namespace

TrashPlaces DesktopTrashPlaces()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (dataHome != nullptr && dataHome[0] == '/')
        return { (fs::path(dataHome) / "Trash").string(), std::nullopt };
    if (home != nullptr && home[0] == '/')
        return { (fs::path(home) / ".local/share/Trash").string(), std::nullopt };
    return {};
}

bool MoveToTrash(const std::string& path)
{
    return MoveToTrashIn(path, DesktopTrashPlaces());
}

bool MoveToTrashIn(const std::string& path, const TrashPlaces& places)
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
    const std::optional<fs::path> home
        = places.home ? std::optional<fs::path>(fs::path(*places.home).lexically_normal()) : std::nullopt;
    const fs::path top = places.volumeTop ? fs::path(*places.volumeTop) : TopFolder(item, info.st_dev);
    const std::optional<OpenTrash> trash = home && home->has_filename() && DeviceOf(*home) == info.st_dev
        ? HomeTrash(*home, info.st_dev)
        : VolumeTrash(top, info.st_dev);
    if (!trash)
        return false;
    const std::optional<std::string> name = ClaimInfoFile(*trash, item);
    if (!name)
        return false;
    if (MoveInto(item, *trash, *name))
        return true;
    ::unlinkat(trash->info.Get(), (*name + std::string(kInfoExtension)).c_str(), 0);
    return false;
}
