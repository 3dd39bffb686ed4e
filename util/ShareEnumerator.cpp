#include "util/ShareEnumerator.h"

#include "util/PathText.h"
#include "util/ShareLists.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// The regular files of a folder whose names pass the filter, in name order (so that the first of
// two shares of one path is always the same one).
template <typename Filter> std::vector<fs::path> FilesOf(const std::string& folder, Filter keep)
{
    std::vector<fs::path> files;
    std::error_code error;
    if (folder.empty())
        return files;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) && keep(it->path()))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The shares a reader finds in a file; nothing when it is missing or not a regular file (a pipe
// would block the reader).
template <typename Reader>
std::vector<ShareEnumerator::Share> ReadRegularFile(const fs::path& file, Reader read)
{
    std::error_code error;
    if (file.empty() || !fs::is_regular_file(file, error))
        return {};
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return {};
    return read(in);
}

} // namespace

ShareSources DefaultShareSources()
{
    return { "/etc/samba/smb.conf", "/var/lib/samba/usershares", "/etc/exports", "/etc/exports.d" };
}

ShareEnumerator::ShareEnumerator(ShareSources sources)
    : m_sources(std::move(sources))
{
    Refresh();
}

void ShareEnumerator::Add(Share share)
{
    const bool known
        = std::any_of(m_shares.begin(), m_shares.end(), [&](const Share& s) { return s.path == share.path; });
    if (!known)
        m_shares.push_back(std::move(share));
}

void ShareEnumerator::Refresh()
{
    m_shares.clear();
    const auto addAll = [this](std::vector<Share> shares) {
        for (auto& share : shares)
            Add(std::move(share));
    };
    const auto readSamba = [](std::istream& in) { return share_lists::ReadSambaConfig(in); };
    const auto readNfs = [](std::istream& in) { return share_lists::ReadNfsExports(in); };
    addAll(ReadRegularFile(m_sources.sambaConfig, readSamba));
    for (const auto& file : FilesOf(m_sources.sambaUserShares, [](const fs::path&) { return true; })) {
        const std::string name = file.filename().string();
        addAll(ReadRegularFile(
            file, [&](std::istream& in) { return share_lists::ReadSambaUserShare(in, name); }));
    }
    addAll(ReadRegularFile(m_sources.nfsExports, readNfs));
    for (const auto& file :
        FilesOf(m_sources.nfsExportsFolder, [](const fs::path& p) { return p.extension() == ".exports"; }))
        addAll(ReadRegularFile(file, readNfs));
}

bool ShareEnumerator::IsShared(std::string_view path) const
{
    path = WithoutTrailingSlashes(path);
    return std::any_of(m_shares.begin(), m_shares.end(), [&](const Share& s) { return s.path == path; });
}

namespace {
// Built during static initialisation, before the application starts, as the file tree expects.
ShareEnumerator processShares;
} // namespace

ShareEnumerator& GetShareEnumerator()
{
    return processShares;
}
