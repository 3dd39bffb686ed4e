#include "imaging/io/PLFileSink.h"

#include "imaging/io/PLTextException.h"
#include "imaging/io/PLWidePath.h"
#include "platform/win/FileDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Bytes gathered before they are handed to the file: encoders write in small pieces.
constexpr size_t kBufferBytes = size_t { 64 } << 10;

// The library's code for a failed file call: 3 for a missing folder, 5 for refused access, 11 for a
// full disk (not when opening: an open fails as anything else, 4).
int FileErrorCode(int error, bool opening)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return PL_ERR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
        return PL_ERR_ACCESS_DENIED;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return opening ? PL_ERR_FILE_NOT_FOUND : PL_ERR_END_OF_FILE;
    default:
        return PL_ERR_FILE_NOT_FOUND;
    }
}

// Whether the link at path may be followed, by the kernel's rule for links in shared folders
// (fs.protected_symlinks): in a sticky folder anyone may write, only a link of the user's own or
// of the folder's owner, so that another user cannot plant one where a save will go.
bool MayFollowLink(const std::filesystem::path& path)
{
    struct stat link { };
    struct stat folder { };
    const std::filesystem::path above = path.has_parent_path() ? path.parent_path() : ".";
    if (::lstat(path.c_str(), &link) != 0 || ::stat(above.c_str(), &folder) != 0)
        return false;
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

// The file a name stands for: symbolic links are followed to the name they point to, whether that
// exists or not, so that a save writes the file a link points to (as a shell's ">" does) and the
// link stays a link. Nothing, with errno set, for links that lead round in a circle (ELOOP) or a
// link another user planted in a shared folder (EACCES).
std::optional<std::string> ResolveTarget(const std::string& name)
{
    constexpr int kMaxLinks = 40;
    std::filesystem::path path(name);
    for (int link = 0; link < kMaxLinks; ++link) {
        std::error_code ec;
        const std::filesystem::path to = std::filesystem::read_symlink(path, ec);
        if (ec)
            return path.string(); // not a link, or nothing there
        if (!MayFollowLink(path)) {
            errno = EACCES;
            return std::nullopt;
        }
        path = to.is_absolute() ? to : path.parent_path() / to;
    }
    errno = ELOOP;
    return std::nullopt;
}

// The start of the hidden names of the target's temporary files: the target's own name is
// shortened so that the whole name stays within the file system's 255 bytes.
std::string TemporaryPrefix(const std::filesystem::path& target)
{
    return "." + target.filename().string().substr(0, 200) + ".";
}

// A hidden name beside the target; the attempt number changes it when the name is taken.
std::string TemporaryName(const std::string& target, unsigned attempt)
{
    const std::filesystem::path path(target);
    const std::string folder = path.has_parent_path() ? path.parent_path().string() + "/" : std::string();
    return folder + TemporaryPrefix(path) + std::to_string(::getpid()) + "-" + std::to_string(attempt)
        + ".tmp";
}

bool AllDigits(std::string_view text)
{
    return !text.empty()
        && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether name is one of TemporaryName's for the prefix: the prefix, a number, "-", a number, ".tmp".
bool IsTemporaryName(std::string_view name, std::string_view prefix)
{
    constexpr std::string_view suffix = ".tmp";
    if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) || !name.ends_with(suffix))
        return false;
    const std::string_view middle = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    const std::size_t dash = middle.find('-');
    return dash != std::string_view::npos && AllDigits(middle.substr(0, dash))
        && AllDigits(middle.substr(dash + 1));
}

// Removes the temporary file name in the folder when it is a regular file of the user's own that no
// save holds locked: one left by a save that was killed. A process id means nothing on a network
// share or across containers; the lock does.
void RemoveIfAbandoned(int folder, const char* name)
{
    const int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat held { };
    if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == ::geteuid()
        && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        // Only while the name still stands for the file that is locked.
        struct stat named { };
        if (::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == held.st_dev
            && named.st_ino == held.st_ino)
            ::unlinkat(folder, name, 0);
    }
    ::close(fd);
}

// Removes the temporary files that killed saves of the target left in its folder.
void RemoveAbandonedTemporaries(const std::string& target)
{
    const std::filesystem::path path(target);
    const std::string folder = path.has_parent_path() ? path.parent_path().string() : std::string(".");
    const std::string prefix = TemporaryPrefix(path);
    DIR* listing = ::opendir(folder.c_str());
    if (!listing)
        return;
    const int error = errno;
    while (const dirent* entry = ::readdir(listing)) {
        if (IsTemporaryName(entry->d_name, prefix))
            RemoveIfAbandoned(::dirfd(listing), entry->d_name);
    }
    ::closedir(listing);
    errno = error;
}

// Takes the lock a save holds on its new temporary file. False when the file is no longer the
// save's own: a cleaner took it for a killed save's file between its creation and the lock.
bool LockNewTemporary(int fd)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return errno != EWOULDBLOCK; // a file system without locks: the file is not cleaned either
    struct stat info { };
    return ::fstat(fd, &info) != 0 || info.st_nlink > 0;
}

} // namespace

PLFileSink::PLFileSink(const PLFileCalls& calls)
    : m_Calls(calls)
{
}

PLFileSink::~PLFileSink()
{
    Abandon();
}

int PLFileSink::OpenFile(const char* name, int64_t maxSize)
{
    Abandon();
    if (!name || !*name) {
        errno = ENOENT;
        return PL_ERR_FILE_NOT_FOUND;
    }
    const int error = Begin(name);
    if (error == 0) {
        Open(name);
        m_MaxSize = std::max<int64_t>(maxSize, 0);
    }
    return error;
}

int PLFileSink::OpenFileW(const wchar_t* name, int64_t maxSize)
{
    Abandon();
    if (!name || !*name) {
        errno = ENOENT;
        return PL_ERR_FILE_NOT_FOUND;
    }
    const int error = Begin(Utf8Path(name));
    if (error == 0) {
        OpenW(name);
        m_MaxSize = std::max<int64_t>(maxSize, 0);
    }
    return error;
}

int PLFileSink::Begin(const std::string& name)
{
    const std::optional<std::string> resolved = ResolveTarget(name);
    if (!resolved)
        return FileErrorCode(errno, true);
    const std::string& target = *resolved;
    struct stat old { };
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        errno = S_ISDIR(old.st_mode) ? EISDIR : EACCES;
        return PL_ERR_ACCESS_DENIED;
    }
    // A file the user may not write is refused before anything is written, never replaced behind
    // its protection (renaming over it needs only the folder's permission).
    if (exists && m_Calls.access(target.c_str(), W_OK) != 0)
        return FileErrorCode(errno, true);
    RemoveAbandonedTemporaries(target);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        std::string temp = TemporaryName(target, attempt);
        const int fd = m_Calls.open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd >= 0 && !LockNewTemporary(fd)) {
            m_Calls.close(fd);
            continue;
        }
        if (fd < 0 && exists && (errno == EACCES || errno == EPERM))
            return BeginInPlace(target);
        if (fd < 0)
            return FileErrorCode(errno, true);
        // The new file keeps the permissions of the one it replaces.
        if (exists)
            ::fchmod(fd, old.st_mode & 07777);
        Adopt(fd, target, std::move(temp));
        return 0;
    }
    return PL_ERR_FILE_NOT_FOUND;
}

int PLFileSink::BeginInPlace(const std::string& target)
{
    // The folder takes no new file but the file itself may be written: the new contents are
    // gathered in memory and written over it at Close, so only a save interrupted then loses the
    // old contents.
    const int fd = m_Calls.openInPlace(target.c_str());
    if (fd < 0)
        return FileErrorCode(errno, true);
    Adopt(fd, target, std::string());
    return 0;
}

void PLFileSink::Adopt(int fd, const std::string& target, std::string temp)
{
    m_Fd = fd;
    m_Target = target;
    m_Temp = std::move(temp);
    m_Buffer.resize(kBufferBytes);
    m_Used = 0;
    m_FileOffset = 0;
}

int64_t PLFileSink::Capacity() const
{
    return m_MaxSize;
}

void PLFileSink::Store(const uint8_t* data, size_t n)
{
    if (m_Fd < 0)
        throw PLTextException(PL_ERR_INTERNAL, "Invalid write to a data sink.\n");
    if (InPlace()) {
        if (m_Used + n > m_Buffer.size())
            m_Buffer.resize(m_Used + n);
        std::memcpy(m_Buffer.data() + m_Used, data, n);
        m_Used += n;
        return;
    }
    if (m_Used + n > m_Buffer.size() && !Flush())
        Fail("Writing", errno);
    if (n >= m_Buffer.size()) {
        // Large blocks go straight to the file.
        if (!WriteAll(data, n))
            Fail("Writing", errno);
        return;
    }
    std::memcpy(m_Buffer.data() + m_Used, data, n);
    m_Used += n;
}

void PLFileSink::MoveTo(int64_t position)
{
    if (m_Fd < 0)
        throw PLTextException(PL_ERR_INTERNAL, "Invalid seek in a data sink.\n");
    if (InPlace()) {
        m_Used = static_cast<size_t>(position);
        return;
    }
    if (!Flush())
        Fail("Writing", errno);
    if (::lseek(m_Fd, static_cast<off_t>(position), SEEK_SET) < 0)
        Fail("Writing", errno);
    m_FileOffset = position;
}

bool PLFileSink::Flush()
{
    if (!WriteAll(m_Buffer.data(), m_Used))
        return false;
    m_Used = 0;
    return true;
}

bool PLFileSink::WriteAll(const uint8_t* data, size_t n)
{
    if (n == 0)
        return true;
    // The kernel would end the process with SIGXFSZ for a write past the limit, unless the
    // program ignores the signal: any program that uses the library gets a refusal instead.
    if (PastFileSizeLimit(m_FileOffset + static_cast<int64_t>(n))) {
        errno = EFBIG;
        return false;
    }
    while (n > 0) {
        const ssize_t put = m_Calls.write(m_Fd, data, n);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            if (put == 0)
                errno = ENOSPC;
            return false;
        }
        data += put;
        n -= static_cast<size_t>(put);
        m_FileOffset += put;
    }
    return true;
}

bool PLFileSink::ReserveInPlace(int64_t length)
{
    // A disk that ran full halfway through would leave neither the old file nor the new one.
    if (length == 0 || m_Calls.reserve(m_Fd, static_cast<off_t>(length)) == 0)
        return true;
    if (errno != EOPNOTSUPP)
        return false;
    // Where the file system cannot reserve, only a file no longer than the old one is sure to fit
    // in the space the old one holds.
    struct stat old { };
    if (::fstat(m_Fd, &old) != 0)
        return false;
    if (length <= old.st_size)
        return true;
    errno = ENOSPC;
    return false;
}

void PLFileSink::Close()
{
    if (m_Fd < 0) {
        PLDataSink::Close();
        return;
    }
    if (InPlace()) {
        // The whole file, over the old one from its start, which is then cut to the new length.
        m_Used = static_cast<size_t>(GetBytesWritten());
        if (!ReserveInPlace(GetBytesWritten()) || !Flush()
            || ::ftruncate(m_Fd, static_cast<off_t>(GetBytesWritten())) != 0)
            Fail("Writing", errno);
    } else if (!Flush()) {
        Fail("Writing", errno);
    }
    // The data is on the disk before the new name is: a crash just after the rename must not leave
    // an empty or partial file where the old one was.
    if (m_Calls.sync(m_Fd) != 0)
        Fail("Writing", errno);
    const int fd = m_Fd;
    m_Fd = -1;
    // The lock goes with the last descriptor of the file: a copy keeps the temporary file locked
    // until it has its new name, so that no other save takes it for a killed save's file.
    const win::FileDescriptor lock(m_Temp.empty() ? -1 : ::fcntl(fd, F_DUPFD_CLOEXEC, 0));
    // A failing close can report a write that the kernel deferred (on network file systems).
    if (m_Calls.close(fd) != 0) {
        const int error = errno;
        if (!m_Temp.empty())
            ::unlink(m_Temp.c_str());
        m_Temp.clear();
        Fail("Writing", error);
    }
    // A file written in place (no temporary name) is complete once synced and closed.
    if (!m_Temp.empty() && m_Calls.rename(m_Temp.c_str(), m_Target.c_str()) != 0)
        Fail("Replacing", errno);
    m_Temp.clear();
    m_Buffer = {};
    PLDataSink::Close();
}

void PLFileSink::Discard()
{
    const int error = errno;
    if (m_Fd >= 0)
        m_Calls.close(m_Fd);
    m_Fd = -1;
    if (!m_Temp.empty())
        ::unlink(m_Temp.c_str());
    m_Temp.clear();
    m_Buffer = {};
    m_Used = 0;
    errno = error;
}

void PLFileSink::Abandon()
{
    Discard();
    PLDataSink::Close();
}

void PLFileSink::Fail(const char* step, int error)
{
    const std::string text = std::string(step) + " " + m_Target + " failed: " + std::strerror(error) + "\n";
    Abandon();
    throw PLTextException(FileErrorCode(error, false), text.c_str());
}
