#include "imaging/io/PLFileCalls.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

int OpenFile(const char* path, int flags, mode_t mode)
{
    return ::open(path, flags, mode);
}

int SyncFile(int fd)
{
    int result = 0;
    do
        result = ::fsync(fd);
    while (result != 0 && errno == EINTR);
    if (result != 0 && (errno == EINVAL || errno == ENOTSUP || errno == EOPNOTSUPP))
        return 0;
    return result;
}

int CanAccess(const char* path, int mode)
{
    return ::faccessat(AT_FDCWD, path, mode, AT_EACCESS);
}

int OpenInPlace(const char* path)
{
    // Not cut when opened: the sink cuts it to the new length once the new contents are written.
    return ::open(path, O_WRONLY | O_CLOEXEC | O_NOCTTY);
}

int ReserveSpace(int fd, off_t length)
{
    // A reservation that keeps the size is not held to the process's file size limit, but the
    // writes that follow are: a length beyond it is refused here.
    if (PastFileSizeLimit(length)) {
        errno = EFBIG;
        return -1;
    }
    int result = 0;
    do
        result = ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, length);
    while (result != 0 && errno == EINTR);
    if (result != 0 && errno == ENOSYS)
        errno = EOPNOTSUPP;
    return result;
}

} // namespace

bool PastFileSizeLimit(int64_t end)
{
    rlimit limit {};
    return ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
        && static_cast<uint64_t>(end) > static_cast<uint64_t>(limit.rlim_cur);
}

const PLFileCalls& PLFileCalls::Posix()
{
    static constexpr PLFileCalls calls { OpenFile, ::write, ::close, std::rename, SyncFile, CanAccess,
        OpenInPlace, ReserveSpace };
    return calls;
}
