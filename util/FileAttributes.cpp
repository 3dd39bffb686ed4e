#include "util/FileAttributes.h"

#include "platform/win/LastError.h"
#include "util/PathText.h"

#include <sys/stat.h>

namespace {

bool IsHiddenName(const std::string& path)
{
    std::string_view name = WithoutTrailingSlashes(path);
    name.remove_prefix(name.rfind('/') == std::string_view::npos ? 0 : name.rfind('/') + 1);
    return name.starts_with('.') && name != "." && name != "..";
}

// Writes the attributes back with the read-only bit as wanted; 1 or 0 when it wrote, else the
// attributes read (-1 when unreadable).
int ChangeReadOnly(const std::string& path, bool readOnly)
{
    const win::DWORD attributes = GetFileAttributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return -1;
    if (((attributes & FILE_ATTRIBUTE_READONLY) != 0) == readOnly)
        return static_cast<int>(attributes);
    const win::DWORD changed
        = readOnly ? attributes | FILE_ATTRIBUTE_READONLY : attributes & ~FILE_ATTRIBUTE_READONLY;
    return SetFileAttributes(path, changed) ? 1 : 0;
}

} // namespace

win::DWORD GetFileAttributes(const std::string& path)
{
    struct stat status { };
    if (path.empty() || ::stat(path.c_str(), &status) != 0) {
        win::CaptureLastError();
        return INVALID_FILE_ATTRIBUTES;
    }
    win::DWORD attributes = 0;
    if ((status.st_mode & S_IWUSR) == 0)
        attributes |= FILE_ATTRIBUTE_READONLY;
    if (IsHiddenName(path))
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    if (S_ISDIR(status.st_mode))
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

bool SetFileAttributes(const std::string& path, win::DWORD attributes)
{
    struct stat status { };
    if (path.empty() || ::stat(path.c_str(), &status) != 0) {
        win::CaptureLastError();
        return false;
    }
    constexpr mode_t writeBits = S_IWUSR | S_IWGRP | S_IWOTH;
    const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? status.st_mode & ~writeBits
                                                                    : status.st_mode | S_IWUSR;
    if (::chmod(path.c_str(), mode & 07777) != 0) {
        win::CaptureLastError();
        return false;
    }
    return true;
}

int ClearReadOnly(const std::string& path)
{
    return ChangeReadOnly(path, false);
}

int SetReadOnly(const std::string& path)
{
    return ChangeReadOnly(path, true);
}
