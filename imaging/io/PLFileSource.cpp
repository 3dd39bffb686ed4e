#include "imaging/io/PLFileSource.h"

#include "imaging/io/PLTextException.h"
#include "imaging/io/PLWidePath.h"
#include "platform/win/FileDescriptor.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The library's code for a failed open: a missing folder differs from a missing file.
int OpenErrorCode(int error, const std::string& path)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return PL_ERR_ACCESS_DENIED;
    case ENOTDIR:
        return PL_ERR_PATH_NOT_FOUND;
    case ENOENT: {
        std::filesystem::path folder = std::filesystem::path(path).parent_path();
        if (folder.empty())
            return PL_ERR_FILE_NOT_FOUND;
        std::error_code ec;
        return std::filesystem::is_directory(folder, ec) ? PL_ERR_FILE_NOT_FOUND : PL_ERR_PATH_NOT_FOUND;
    }
    default:
        return PL_ERR_FILE_NOT_FOUND;
    }
}

// Whether a process (this one included) holds the file open for writing, as one does while a
// photograph is still being copied in. Linux refuses a read lease while any descriptor of the file
// is open for writing; granted, the lease on this read-only descriptor is given back at once.
// Where no lease is granted for other reasons (another owner's file without CAP_LEASE, leases
// switched off, a file system without them) nothing can be told, and the file counts as complete.
// The descriptor has no owner (F_SETOWN), so a lease broken in the moment it is held signals
// nobody.
bool HeldOpenForWriting(int fd)
{
    if (::fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
        return false;
    }
    return errno == EAGAIN;
}

} // namespace

PLFileSource::~PLFileSource()
{
    Close();
}

int PLFileSource::OpenFile(const char* name)
{
    Close();
    if (!name)
        return PL_ERR_FILE_NOT_FOUND;
    const int error = MapOrReadFile(name);
    if (error != 0)
        return error;
    Open(name, static_cast<int>(m_ContentSize));
    SetData(Contents());
    return 0;
}

int PLFileSource::OpenFileW(const wchar_t* name)
{
    Close();
    if (!name)
        return PL_ERR_FILE_NOT_FOUND;
    const int error = MapOrReadFile(Utf8Path(name));
    if (error != 0)
        return error;
    OpenW(name, static_cast<int>(m_ContentSize));
    SetData(Contents());
    return 0;
}

void PLFileSource::Close()
{
    PLDataSource::Close();
    m_Mapping.reset();
    m_Contents.reset();
    m_ContentSize = 0;
    if (m_MappedFd >= 0)
        ::close(m_MappedFd);
    m_MappedFd = -1;
}

bool PLFileSource::IsIntact() const
{
    if (m_Mapping.Damaged())
        return false;
    struct stat now { };
    return m_MappedFd < 0
        || (::fstat(m_MappedFd, &now) == 0 && now.st_size == m_MappedSize
            && now.st_mtim.tv_sec == m_Modified.tv_sec && now.st_mtim.tv_nsec == m_Modified.tv_nsec);
}

const uint8_t* PLFileSource::Contents() const
{
    return m_Mapping.data() ? m_Mapping.data() : m_Contents.get();
}

int PLFileSource::MapOrReadFile(const std::string& path)
{
    // Non-blocking, so that a pipe or a device given as a picture cannot hang the open.
    win::FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.Get() < 0)
        return OpenErrorCode(errno, path);
    struct stat info { };
    if (::fstat(file.Get(), &info) != 0)
        return PL_ERR_FILE_NOT_FOUND;
    if (!S_ISREG(info.st_mode) || info.st_size == 0 || HeldOpenForWriting(file.Get()))
        return PL_ERR_ACCESS_DENIED;
    if (info.st_size > INT_MAX)
        return PL_ERR_DIB_TOO_LARGE; // beyond the 32-bit sizes of a source
    const auto size = static_cast<size_t>(info.st_size);
    if (m_Mapping.Map(file.Get(), size)) {
        m_ContentSize = size;
        // The mapping shows what is written to the file later: its state now tells a change.
        m_MappedFd = ::fcntl(file.Get(), F_DUPFD_CLOEXEC, 0);
        m_Modified = info.st_mtim;
        m_MappedSize = info.st_size;
        return 0;
    }
    return ReadWholeFile(file.Get(), size);
}

int PLFileSource::ReadWholeFile(int fd, size_t size)
{
    PLBmpPixelBlock contents;
    try {
        contents = PLBmpPixelBlock::ForOverwrite(size);
    } catch (const std::bad_alloc&) {
        return PL_ERR_NO_MEMORY;
    }
    // A file that shrinks meanwhile gives what it still has; one that grows gives its first bytes.
    size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, contents.get() + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return PL_ERR_ACCESS_DENIED;
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    if (got == 0)
        return PL_ERR_ACCESS_DENIED;
    m_Contents = std::move(contents);
    m_ContentSize = got;
    return 0;
}
