// The mounted file systems a user works with, read from the system's mount table (tests point it
// elsewhere), without the pseudo file systems of the kernel; the file tree shows them as drives.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The drive kinds of the file tree, with their bits in its drive hide mask.
enum class DriveKind : unsigned {
    removable = 0x01,
    fixed = 0x02,
    remote = 0x04,
    cdRom = 0x10,
    ramDisk = 0x20
};

struct MountPoint {
    std::string device; // the block device or remote source
    std::string path; // where it is mounted, without a trailing '/' (except "/")
    std::string type; // the file-system type
    bool network = false; // a network file system (NFS, SMB, SSH and the like)
    DriveKind kind = DriveKind::fixed;
};

// The system's own table of mounts.
inline constexpr std::string_view kSystemMountTable = "/proc/self/mounts";

// The real file systems of the table, each mount point once (the last mount over it wins), in
// the order of the table. An unreadable table gives none.
// The kind comes from the file-system type and, for a block device, from whether the kernel marks
// it (or the disk of a partition) removable under the block-device folder.
std::vector<MountPoint> ReadMountTable(
    const std::string& tablePath, const std::string& blockDevices = "/sys/class/block");

// The file-system id of the volume holding the path, the drive's serial; none when unreadable.
std::optional<unsigned long long> VolumeSerial(const std::string& path);

// The mount that holds the path: the one with the longest mount point that is the path or a
// folder above it; null when none is.
const MountPoint* MountOfPath(const std::vector<MountPoint>& mounts, std::string_view path);
// Its mount point; empty when none holds the path.
std::string DriveOfPath(const std::vector<MountPoint>& mounts, std::string_view path);

// Whether the path is the folder or lies inside it (a sibling that only shares a prefix does not).
bool PathIsInside(std::string_view path, std::string_view folder);
