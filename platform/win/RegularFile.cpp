#include "platform/win/RegularFile.h"

#include "platform/win/FileDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace win {

namespace {

RegularFileBytes Refused(RegularFileStatus status, int error)
{
    RegularFileBytes result;
    result.status = status;
    result.error = error;
    return result;
}

} // namespace

RegularFileBytes ReadRegularFile(const std::string& path, std::uint64_t maxBytes)
{
    // O_NONBLOCK: opening a FIFO with no writer, or a device, would otherwise wait; the kind of
    // file is only known safely once it is open (a name checked first could change in between).
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.Get() < 0)
        return Refused(RegularFileStatus::cannotOpen, errno);
    struct stat info { };
    if (::fstat(file.Get(), &info) != 0)
        return Refused(RegularFileStatus::cannotOpen, errno);
    if (S_ISDIR(info.st_mode))
        return Refused(RegularFileStatus::cannotOpen, EISDIR);
    if (!S_ISREG(info.st_mode))
        return Refused(RegularFileStatus::cannotOpen, EINVAL);
    if (info.st_size < 0 || static_cast<std::uint64_t>(info.st_size) > maxBytes)
        return Refused(RegularFileStatus::tooLarge, EFBIG);
    // Reading goes on past the length fstat gave, up to a byte past the bound, so that a file that
    // grows while it is read is seen.
    RegularFileBytes result;
    result.status = RegularFileStatus::read;
    result.bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == result.bytes.size()) {
            if (done > maxBytes)
                return Refused(RegularFileStatus::tooLarge, EFBIG);
            result.bytes.resize(std::min<std::uint64_t>(done * 2, maxBytes + 1));
        }
        const ssize_t got = ::read(file.Get(), result.bytes.data() + done, result.bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Refused(RegularFileStatus::cannotOpen, errno);
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    if (done > maxBytes)
        return Refused(RegularFileStatus::tooLarge, EFBIG);
    result.bytes.resize(done);
    return result;
}

} // namespace win
