#include "imaging/io/PLFileCalls.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
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

} // namespace

const PLFileCalls& PLFileCalls::Posix()
{
    static constexpr PLFileCalls calls { OpenFile, ::write, ::close, std::rename, SyncFile };
    return calls;
}
