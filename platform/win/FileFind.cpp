#include "platform/win/FileFind.h"

#include "platform/win/LastError.h"

#include <cerrno>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace win {

bool WildcardMatch(std::string_view pattern, std::string_view name)
{
    // Greedy matching with one backtrack point: the position after the last '*' seen.
    std::size_t p = 0, n = 0;
    std::size_t starAt = std::string_view::npos, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

namespace {
bool HasWildcards(std::string_view text)
{
    return text.find_first_of("*?") != std::string_view::npos;
}

bool AnyEntryMatches(const std::string& folder, std::string_view pattern)
{
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) {
        CaptureLastError();
        return false;
    }
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (WildcardMatch(pattern, name))
            return true;
    }
    SetLastError(ENOENT);
    return false;
}
} // namespace

bool FindFile(std::string_view path)
{
    if (path.empty())
        return false;
    const std::size_t slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (!HasWildcards(name)) {
        struct stat info { };
        if (stat(std::string(path).c_str(), &info) == 0)
            return true;
        CaptureLastError();
        return false;
    }
    // Wildcards in the folder part are not expanded, as the original finder does not expand them.
    const std::string folder = slash == std::string_view::npos ? std::string(".")
        : slash == 0                                           ? std::string("/")
                                                               : std::string(path.substr(0, slash));
    return AnyEntryMatches(folder, name);
}

} // namespace win
