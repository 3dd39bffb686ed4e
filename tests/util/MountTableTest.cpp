#include "util/MountTable.h"

#include "tests/util/TempFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(MountTable, KeepsRealFileSystemsAndFindsTheLongestMountPointOfAPath)
{
    TempFolder folder;
    folder.Write("mounts",
        "/dev/sda1 / ext4 rw 0 0\n"
        "proc /proc proc rw 0 0\n"
        "sysfs /sys sysfs rw 0 0\n"
        "/dev/sdb1 /media/photo\\040card vfat rw 0 0\n"
        "/dev/sda2 /home ext4 rw 0 0\n"
        "server:/export /mnt/nfs nfs4 rw 0 0\n"
        "garbage\n");
    const std::vector<MountPoint> mounts = ReadMountTable(folder / "mounts");
    std::vector<std::string> paths;
    for (const MountPoint& mount : mounts)
        paths.push_back(mount.path);
    EXPECT_EQ(paths, (std::vector<std::string> { "/", "/media/photo card", "/home", "/mnt/nfs" }));

    EXPECT_EQ(DriveOfPath(mounts, "/home/studio/a.jpg"), "/home");
    EXPECT_EQ(DriveOfPath(mounts, "/home"), "/home");
    // A sibling that only shares the prefix lies on the root file system.
    EXPECT_EQ(DriveOfPath(mounts, "/homework/a.jpg"), "/");
    EXPECT_EQ(DriveOfPath(mounts, "/media/photo card/DCIM"), "/media/photo card");
    EXPECT_EQ(DriveOfPath({}, "/home"), "");
    EXPECT_TRUE(ReadMountTable(folder / "missing").empty());
}

} // namespace
