#include "util/MountTable.h"

#include "tests/util/TempFolder.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>

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

TEST(MountTable, TheVolumeSerialIsTheFileSystemIdStatReports)
{
    TempFolder folder;
    const std::string command = "stat -f -c %i '" + folder.Path().string() + "' > '" + (folder / "id") + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    // stat prints the two 32-bit words of the id the other way round.
    const unsigned long long printed = std::stoull(folder.Read("id"), nullptr, 16);
    EXPECT_EQ(VolumeSerial(folder.Path().string()), std::rotl(printed, 32));
    EXPECT_EQ(VolumeSerial(folder / "missing"), std::nullopt);
}

TEST(MountTable, TellsTheDriveKindFromTheTypeAndTheRemovableFlag)
{
    TempFolder folder;
    // As the kernel lays them out: a partition's entry links into its disk's folder.
    folder.Write("devices/sdb/removable", "1\n");
    folder.Write("devices/sdb/sdb1/partition", "1\n");
    folder.Write("devices/sda/removable", "0\n");
    folder.Write("devices/sda/sda1/partition", "1\n");
    std::filesystem::create_directories(folder.Path() / "block");
    for (const char* name : { "sda/sda1", "sdb/sdb1" })
        std::filesystem::create_symlink(folder.Path() / "devices" / name,
            folder.Path() / "block" / std::filesystem::path(name).filename());
    folder.Write("mounts",
        "/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 /media/card vfat rw 0 0\n/dev/sr0 /media/cd iso9660 ro 0 0\n"
        "tmpfs /tmp tmpfs rw 0 0\n//server/jobs /mnt/jobs cifs rw 0 0\n");
    std::vector<DriveKind> kinds;
    for (const MountPoint& mount : ReadMountTable(folder / "mounts", folder / "block"))
        kinds.push_back(mount.kind);
    EXPECT_EQ(kinds,
        (std::vector<DriveKind> { DriveKind::fixed, DriveKind::removable, DriveKind::cdRom,
            DriveKind::ramDisk, DriveKind::remote }));
}

} // namespace
