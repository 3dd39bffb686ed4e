#include "util/FileTimes.h"

#include "platform/win/FileFind.h"

#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

// The path itself, or with wildcards in its last component the first match in name order.
std::optional<std::string> FirstMatch(const std::string& path)
{
    const fs::path given(path);
    const std::string pattern = given.filename().string();
    if (pattern.find_first_of("*?") == std::string::npos) {
        struct stat status { };
        return ::stat(path.c_str(), &status) == 0 ? std::optional(path) : std::nullopt;
    }
    std::error_code error;
    std::optional<std::string> first;
    const fs::path folder = given.has_parent_path() ? given.parent_path() : fs::path(".");
    // A folder that fails midway ends the search with what was found (it never throws).
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        if (win::WildcardMatch(pattern, name) && (!first || name < *first))
            first = std::move(name);
    }
    if (!first)
        return std::nullopt;
    return (folder / *first).string();
}

DateTime LocalDateTime(time_t seconds)
{
    struct tm local { };
    DateTime value;
    if (::localtime_r(&seconds, &local) != nullptr)
        value.Set(
            local.tm_mday, local.tm_mon + 1, local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    return value;
}

enum class FileTime { creation, write };

DateTime GetFileDateTime(const std::string& path, FileTime which)
{
    const std::optional<std::string> match = FirstMatch(path);
    if (!match)
        return {};
    struct statx status { };
    if (::statx(AT_FDCWD, match->c_str(), 0, STATX_BTIME | STATX_MTIME, &status) != 0)
        return {};
    const bool hasBirth = (status.stx_mask & STATX_BTIME) != 0;
    return LocalDateTime(
        which == FileTime::creation && hasBirth ? status.stx_btime.tv_sec : status.stx_mtime.tv_sec);
}

} // namespace

DateTime GetFileCreationDateTime(const std::string& path)
{
    return GetFileDateTime(path, FileTime::creation);
}

DateTime GetFileWriteDateTime(const std::string& path)
{
    return GetFileDateTime(path, FileTime::write);
}
