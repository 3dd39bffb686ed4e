#include "util/MountTable.h"

#include "util/NameEscapes.h"
#include "util/PathText.h"

#include <sys/statvfs.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// Kernel and container file systems that hold no user files.
constexpr std::array kPseudoTypes
    = { "proc", "sysfs", "devtmpfs", "devpts", "cgroup", "cgroup2", "securityfs", "debugfs", "tracefs",
          "pstore", "bpf", "mqueue", "hugetlbfs", "configfs", "fusectl", "binfmt_misc", "autofs",
          "rpc_pipefs", "nsfs", "efivarfs", "selinuxfs", "fuse.gvfsd-fuse", "fuse.portal" };

constexpr std::array kNetworkTypes = { "nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs", "sshfs", "ceph",
    "glusterfs", "fuse.glusterfs", "afs", "9p", "davfs", "fuse.davfs2" };

bool IsPseudo(const std::string& type)
{
    return std::find(kPseudoTypes.begin(), kPseudoTypes.end(), type) != kPseudoTypes.end();
}

bool Removable(const std::string& device, const std::string& blockDevices)
{
    if (!device.starts_with("/dev/"))
        return false;
    const std::filesystem::path node = std::filesystem::path(blockDevices) / device.substr(5);
    for (const auto& flag : { node / "removable", node / ".." / "removable" }) {
        char value = '0';
        if (std::ifstream(flag) >> value)
            return value == '1';
    }
    return false;
}

DriveKind KindOf(const MountPoint& mount, const std::string& blockDevices)
{
    if (mount.network)
        return DriveKind::remote;
    if (mount.type == "iso9660" || mount.type == "udf")
        return DriveKind::cdRom;
    if (mount.type == "tmpfs" || mount.type == "ramfs")
        return DriveKind::ramDisk;
    return Removable(mount.device, blockDevices) ? DriveKind::removable : DriveKind::fixed;
}

} // namespace

std::optional<unsigned long long> VolumeSerial(const std::string& path)
{
    struct statvfs info { };
    if (::statvfs(path.c_str(), &info) != 0)
        return std::nullopt;
    return info.f_fsid;
}

bool PathIsInside(std::string_view path, std::string_view folder)
{
    if (!path.starts_with(folder))
        return false;
    return path.size() == folder.size() || folder.ends_with('/') || path[folder.size()] == '/';
}

std::vector<MountPoint> ReadMountTable(const std::string& tablePath, const std::string& blockDevices)
{
    std::vector<MountPoint> mounts;
    std::ifstream table(tablePath);
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        MountPoint mount;
        if (!(fields >> mount.device >> mount.path >> mount.type) || IsPseudo(mount.type))
            continue;
        mount.device = DecodeMountTableName(mount.device);
        mount.path = DecodeMountTableName(mount.path);
        mount.network
            = std::find(kNetworkTypes.begin(), kNetworkTypes.end(), mount.type) != kNetworkTypes.end();
        if (mount.path.empty() || mount.path.front() != '/')
            continue;
        mount.kind = KindOf(mount, blockDevices);
        mount.path.resize(WithoutTrailingSlashes(mount.path).size());
        std::erase_if(mounts, [&](const MountPoint& other) { return other.path == mount.path; });
        mounts.push_back(mount);
    }
    return mounts;
}

const MountPoint* MountOfPath(const std::vector<MountPoint>& mounts, std::string_view path)
{
    const MountPoint* best = nullptr;
    for (const MountPoint& mount : mounts) {
        if (PathIsInside(path, mount.path) && (best == nullptr || mount.path.size() > best->path.size()))
            best = &mount;
    }
    return best;
}

std::string DriveOfPath(const std::vector<MountPoint>& mounts, std::string_view path)
{
    const MountPoint* mount = MountOfPath(mounts, path);
    return mount != nullptr ? mount->path : std::string();
}
