// The mounted file systems a user works with, read from the system's mount table (tests point it
// elsewhere), without the pseudo file systems of the kernel; the file tree shows them as drives.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct MountPoint {
    std::string device; // the block device or remote source
    std::string path; // where it is mounted, without a trailing '/' (except "/")
    std::string type; // the file-system type
    bool network = false; // a network file system (NFS, SMB, SSH and the like)
};

// The system's own table of mounts.
inline constexpr std::string_view kSystemMountTable = "/proc/self/mounts";

// The real file systems of the table, each mount point once (the last mount over it wins), in
// the order of the table. An unreadable table gives none.
std::vector<MountPoint> ReadMountTable(const std::string& tablePath);

// The mount point that holds the path: the longest mount point that is the path or a folder
// above it; empty when none is.
std::string DriveOfPath(const std::vector<MountPoint>& mounts, std::string_view path);

// Whether the path is the folder or lies inside it (a sibling that only shares a prefix does not).
bool PathIsInside(std::string_view path, std::string_view folder);
