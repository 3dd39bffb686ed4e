#include "imaging/io/PLFileCalls.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int OpenFile(const char* path, int flags, mode_t mode)
{
    return ::open(path, flags, mode);
}

} // namespace

const PLFileCalls& PLFileCalls::Posix()
{
    static constexpr PLFileCalls calls { OpenFile, ::write, ::close, std::rename, ::fsync };
    return calls;
}
