// The local computer's shared folders, so that the file tree can mark shared folders. On Linux the
// shares are those of Samba (its configuration file and the user shares it keeps in a folder of
// their own) and the NFS exports; the files are read as text, defensively, since users edit them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Where the share lists are read from; tests point them at files of their own.
struct ShareSources {
    std::string sambaConfig; // "[name]" sections with "path =" entries
    std::string sambaUserShares; // a folder with one file per user share
    std::string nfsExports; // "/path host(options) ..." lines
    std::string nfsExportsFolder; // further "*.exports" files of the same form
};

// The system's own places for the share lists.
ShareSources DefaultShareSources();

class ShareEnumerator {
public:
    enum class ShareType { Disk = 0, PrintQueue = 1 };
    struct Share {
        std::string name; // the Samba share name, or the path for an NFS export
        std::string path; // the local path, without a trailing '/'
        ShareType type = ShareType::Disk;
    };

    explicit ShareEnumerator(ShareSources sources = DefaultShareSources());

    // Reads the share lists again.
    void Refresh();
    // Whether the path is the local path of a disk or print share, compared exactly (letter case
    // matters on Linux); a trailing '/' on the path is ignored.
    bool IsShared(std::string_view path) const;
    // The shares of the last Refresh, each local path once, in the order they were found.
    const std::vector<Share>& GetShares() const { return m_shares; }

private:
    void Add(Share share);

    ShareSources m_sources;
    std::vector<Share> m_shares;
};

// The process-wide share list, built during static initialisation as the file tree expects.
ShareEnumerator& GetShareEnumerator();
