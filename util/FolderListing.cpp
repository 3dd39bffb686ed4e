#include "util/FolderListing.h"

#include "util/Wildcard.h"

#include <algorithm>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

class StatxFileStatus : public FileStatusReader {
public:
    std::optional<FileStatus> Read(const std::string& path) const override
    {
        struct statx info { };
        if (statx(AT_FDCWD, path.c_str(), 0, STATX_TYPE | STATX_MTIME | STATX_CTIME | STATX_BTIME, &info)
            != 0)
            return std::nullopt;
        const bool hasBirth = (info.stx_mask & STATX_BTIME) != 0;
        return FileStatus { S_ISDIR(info.stx_mode), hasBirth ? info.stx_btime.tv_sec : info.stx_ctime.tv_sec,
            info.stx_mtime.tv_sec };
    }
};

// The name without its extension; a name whose only dot leads it (a hidden file) has none.
std::string TitleOf(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// Orders by one key; equal keys go by name, so that the result does not depend on the order in
// which the folder gives its entries.
template <typename Key> void SortBy(std::vector<FolderListEntry>& entries, Key key, bool descending)
{
    std::sort(entries.begin(), entries.end(), [&](const FolderListEntry& a, const FolderListEntry& b) {
        const auto ka = key(a);
        const auto kb = key(b);
        if (ka != kb)
            return descending ? kb < ka : ka < kb;
        return a.name < b.name;
    });
}

void SortEntries(std::vector<FolderListEntry>& entries, int order)
{
    const auto name = [](const FolderListEntry& e) -> const std::string& { return e.name; };
    const auto created = [](const FolderListEntry& e) { return e.created; };
    const auto written = [](const FolderListEntry& e) { return e.written; };
    switch (order) {
    case kListByNameAscending:
    case kListByNameDescending:
        SortBy(entries, name, order == kListByNameDescending);
        break;
    case kListByCreatedOldestFirst:
    case kListByCreatedNewestFirst:
        SortBy(entries, created, order == kListByCreatedNewestFirst);
        break;
    case kListByWrittenOldestFirst:
    case kListByWrittenNewestFirst:
        SortBy(entries, written, order == kListByWrittenNewestFirst);
        break;
    default:
        break;
    }
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

} // namespace

const FileStatusReader& SystemFileStatus()
{
    static const StatxFileStatus reader;
    return reader;
}

void ListFolderFiles(const std::string& folder, const std::string& mask, std::vector<FolderListEntry>& list,
    bool titles, int order, const FileStatusReader& status)
{
    if (folder.empty())
        return;
    const bool hasSeparator = folder.back() == '/' || folder.back() == '\\';
    const std::string prefix = hasSeparator ? folder.substr(0, folder.size() - 1) + '/' : folder + '/';
    const std::unique_ptr<DIR, DirCloser> dir(opendir(prefix.c_str()));
    if (!dir)
        return;
    std::vector<FolderListEntry> entries;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || !WildcardMatchNoCase(mask, name))
            continue;
        const std::optional<FileStatus> file = status.Read(prefix + name);
        if (!file || file->folder)
            continue;
        entries.push_back({ titles ? TitleOf(name) : name, file->created, file->written });
    }
    SortEntries(entries, order);
    list.reserve(list.size() + entries.size());
    list.insert(list.end(), entries.begin(), entries.end());
}
