// The system calls through which a file sink writes its file. The sink takes them as a value, so
// that a test can hand it calls that fail the way a full disk or a refused folder does.
#pragma once

#include <cstdint>
#include <sys/types.h>

struct PLFileCalls {
    // Each behaves as the POSIX call of the same name: -1 with errno set on failure.
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*write)(int fd, const void* data, size_t n);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
    // Writes the file's data through to the disk (fsync); a file system that cannot do so (EINVAL,
    // ENOTSUP) counts as done.
    int (*sync)(int fd);
    // Whether the user may use the file in the given way (R_OK, W_OK), judged by the effective ids
    // (faccessat with AT_EACCESS): 0, or -1 with errno (EACCES, EROFS).
    int (*access)(const char* path, int mode);
    // Opens an existing file for writing in place, its contents left as they are; never creates one.
    int (*openInPlace)(const char* path);
    // Makes sure the disk holds room for the file's first length bytes, without changing its length
    // or contents (fallocate, keeping the size), so that writing them cannot run out of space:
    // 0, or -1 with errno (ENOSPC, EDQUOT, or EFBIG beyond the process's file size limit;
    // EOPNOTSUPP where the file system cannot reserve space).
    int (*reserve)(int fd, off_t length);

    // The real calls.
    static const PLFileCalls& Posix();
};

// Whether a file written up to end bytes would pass the process's file size limit (`ulimit -f`),
// where the kernel would end the process with SIGXFSZ unless it ignores the signal.
bool PastFileSizeLimit(int64_t end);
