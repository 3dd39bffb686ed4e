// A disk with a given number of free bytes, behind the file-call seam of the file sink. A write
// that needs more than is free writes what fits and then fails with ENOSPC, as on a real full disk;
// a reservation that needs more than is free fails with ENOSPC and takes nothing. A file takes as
// much as the greater of its length and the length reserved for it. The folder can refuse new files
// (so that a save is written in place) and the file system can be one that cannot reserve.
#pragma once

#include "imaging/io/PLFileCalls.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace modelleddisk {

struct Disk {
    int64_t freeBytes = 0;
    bool canReserve = true;
    bool refuseNewFiles = false;
    std::map<int, int64_t> reserved; // by descriptor
};

// The one disk the calls see (their seam takes plain functions).
inline Disk& TheDisk()
{
    static Disk disk;
    return disk;
}

// A disk with freeBytes free, whose folder refuses new files or not.
inline void Reset(int64_t freeBytes, bool refuseNewFiles, bool canReserve = true)
{
    TheDisk() = Disk { freeBytes, canReserve, refuseNewFiles, {} };
}

inline int64_t Taken(int fd)
{
    struct stat file { };
    ::fstat(fd, &file);
    const auto found = TheDisk().reserved.find(fd);
    return std::max<int64_t>(file.st_size, found == TheDisk().reserved.end() ? 0 : found->second);
}

inline PLFileCalls Calls()
{
    PLFileCalls calls = PLFileCalls::Posix();
    calls.open = [](const char* path, int flags, mode_t mode) {
        if (TheDisk().refuseNewFiles && (flags & O_CREAT) != 0) {
            errno = EACCES;
            return -1;
        }
        return PLFileCalls::Posix().open(path, flags, mode);
    };
    calls.write = [](int fd, const void* data, size_t n) -> ssize_t {
        const int64_t at = ::lseek(fd, 0, SEEK_CUR);
        const int64_t room = Taken(fd) + TheDisk().freeBytes - at;
        if (room <= 0) {
            errno = ENOSPC;
            return -1;
        }
        const size_t fits = std::min(n, static_cast<size_t>(room));
        const int64_t grows = std::max<int64_t>(0, at + static_cast<int64_t>(fits) - Taken(fd));
        const ssize_t put = PLFileCalls::Posix().write(fd, data, fits);
        if (put == static_cast<ssize_t>(fits))
            TheDisk().freeBytes -= grows;
        return put;
    };
    calls.reserve = [](int fd, off_t length) {
        if (!TheDisk().canReserve) {
            errno = EOPNOTSUPP;
            return -1;
        }
        const int64_t grows = length - Taken(fd);
        if (grows > TheDisk().freeBytes) {
            errno = ENOSPC;
            return -1;
        }
        if (grows > 0) {
            TheDisk().freeBytes -= grows;
            TheDisk().reserved[fd] = length;
        }
        return 0;
    };
    calls.close = [](int fd) {
        TheDisk().reserved.erase(fd);
        return PLFileCalls::Posix().close(fd);
    };
    return calls;
}

} // namespace modelleddisk
