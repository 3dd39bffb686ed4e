#include "imaging/io/PLFileSink.h"

#include "imaging/io/PLTextException.h"
#include "imaging/io/PLWidePath.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <limits>
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

// The file a name stands for: a symbolic link is followed, so that saving replaces the file it
// points to and not the link.
std::string ResolveTarget(const std::string& name)
{
    std::error_code ec;
    if (std::filesystem::is_symlink(name, ec)) {
        const std::filesystem::path real = std::filesystem::weakly_canonical(name, ec);
        if (!ec)
            return real.string();
    }
    return name;
}

// A hidden name beside the target; the attempt number changes it when the name is taken. The
// target's own name is shortened so that the result stays within the file system's 255 bytes.
std::string TemporaryName(const std::string& target, unsigned attempt)
{
    const std::filesystem::path path(target);
    const std::string folder = path.has_parent_path() ? path.parent_path().string() + "/" : std::string();
    return folder + "." + path.filename().string().substr(0, 200) + "." + std::to_string(::getpid()) + "-"
        + std::to_string(attempt) + ".tmp";
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

int PLFileSink::OpenFile(const char* name)
{
    Abandon();
    if (!name || !*name) {
        errno = ENOENT;
        return PL_ERR_FILE_NOT_FOUND;
    }
    const int error = Begin(name);
    if (error == 0)
        Open(name);
    return error;
}

int PLFileSink::OpenFileW(const wchar_t* name)
{
    Abandon();
    if (!name || !*name) {
        errno = ENOENT;
        return PL_ERR_FILE_NOT_FOUND;
    }
    const int error = Begin(Utf8Path(name));
    if (error == 0)
        OpenW(name);
    return error;
}

int PLFileSink::Begin(const std::string& name)
{
    const std::string target = ResolveTarget(name);
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
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        std::string temp = TemporaryName(target, attempt);
        const int fd = m_Calls.open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
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
}

int64_t PLFileSink::Capacity() const
{
    return std::numeric_limits<int64_t>::max();
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
        while (n > 0) {
            const ssize_t put = m_Calls.write(m_Fd, data, n);
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                Fail("Writing", put == 0 ? ENOSPC : errno);
            data += put;
            n -= static_cast<size_t>(put);
        }
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
}

bool PLFileSink::Flush()
{
    size_t done = 0;
    while (done < m_Used) {
        const ssize_t put = m_Calls.write(m_Fd, m_Buffer.data() + done, m_Used - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            if (put == 0)
                errno = ENOSPC;
            return false;
        }
        done += static_cast<size_t>(put);
    }
    m_Used = 0;
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
