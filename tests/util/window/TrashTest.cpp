// The trash on folders standing in for a volume: what another user plants there is never followed,
// a fresh trash is the user's alone, paths are written relative to the volume, long names fit. One
// test runs on a real memory file system mounted in the test's own mount namespace.
#include "util/window/Trash.h"
#include "tests/util/TempFolder.h"

#include "platform/win/LastError.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr uid_t kOtherUser = 65534;

void WriteText(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

mode_t ModeOf(const fs::path& path)
{
    struct stat info { };
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// The path an info file names, decoded.
std::string InfoPath(const std::string& info)
{
    const std::size_t start = info.find("\nPath=");
    if (start == std::string::npos)
        return "<none>";
    const std::size_t end = info.find('\n', start + 1);
    return QByteArray::fromPercentEncoding(QByteArray::fromStdString(info.substr(start + 6, end - start - 6)))
        .toStdString();
}

// A folder of another user's, with "files" and "info" anyone may write: where a planted link
// would send the deleted files.
void MakeOthersFolder(const fs::path& folder)
{
    for (const fs::path& made : { folder, folder / "files", folder / "info" }) {
        fs::create_directory(made);
        fs::permissions(made, fs::perms::all);
        ASSERT_EQ(::chown(made.c_str(), kOtherUser, kOtherUser), 0);
    }
}

TEST(Trash, AFreshVolumeTrashIsTheUsersAloneAndWritesPathsRelativeToTheVolume)
{
    TempFolder volume;
    volume.Write("photos/a b.jpg", "a");
    volume.Write("other/a b.jpg", "b");
    const TrashPlaces places { std::nullopt, volume.Path().string() };
    ASSERT_TRUE(MoveToTrashIn(volume / "photos/a b.jpg", places));
    ASSERT_TRUE(MoveToTrashIn(volume / "other/a b.jpg", places));
    const std::string trash = ".Trash-" + std::to_string(::getuid());
    for (const std::string& folder : { trash, trash + "/files", trash + "/info" })
        EXPECT_EQ(ModeOf(volume.Path() / folder), 0700u) << folder;
    EXPECT_EQ(volume.Read(trash + "/files/a b.jpg"), "a");
    EXPECT_EQ(volume.Read(trash + "/files/a b 2.jpg"), "b");
    const std::string info = volume.Read(trash + "/info/a b.jpg.trashinfo");
    EXPECT_NE(info.find("\nPath=photos/a%20b.jpg\n"), std::string::npos) << info;
    EXPECT_EQ(InfoPath(volume.Read(trash + "/info/a b 2.jpg.trashinfo")), "other/a b.jpg");
}

// A name so long that its info file's name would not fit goes under a shorter name that keeps
// its extension and whole characters; the info file keeps the whole path.
TEST(Trash, ALongNameIsShortenedBetweenCharactersKeepingItsExtension)
{
    TempFolder volume;
    std::string accents;
    for (int i = 0; i < 122; ++i)
        accents += "\xC3\xA9"; // é
    const std::string name = "x" + accents + ".jpeg";
    ASSERT_EQ(name.size(), 250u);
    volume.Write("one/" + name, "1");
    volume.Write("two/" + name, "2");
    const TrashPlaces places { std::nullopt, volume.Path().string() };
    ASSERT_TRUE(MoveToTrashIn(volume / ("one/" + name), places)) << win::GetLastError();
    ASSERT_TRUE(MoveToTrashIn(volume / ("two/" + name), places)) << win::GetLastError();
    const std::string trash = ".Trash-" + std::to_string(::getuid());
    const std::string first = "x" + accents.substr(0, 2 * 119) + ".jpeg"; // 244 bytes
    const std::string second = "x" + accents.substr(0, 2 * 118) + " 2.jpeg"; // 244 bytes
    EXPECT_EQ(volume.Read(trash + "/files/" + first), "1");
    EXPECT_EQ(volume.Read(trash + "/files/" + second), "2");
    EXPECT_EQ(InfoPath(volume.Read(trash + "/info/" + first + ".trashinfo")), "one/" + name);
    EXPECT_EQ(InfoPath(volume.Read(trash + "/info/" + second + ".trashinfo")), "two/" + name);
}

struct PlantedCase {
    const char* what;
    std::function<void(const fs::path& top, const std::string& uid)> plant;
    const char* landsIn; // the folder the file goes to, relative to the top; empty when refused
};

// Another user's folders and links on a shared volume: a trash that is a link, lies behind one,
// or is someone else's is never used; the user's folder in the shared ".Trash" only when that is
// a real folder with the sticky bit.
TEST(Trash, WhatAnotherUserPlantsOnTheVolumeIsNeverFollowed)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "making another user's folders needs root";
    const auto sticky = [](const fs::path& folder) {
        fs::create_directory(folder);
        ::chmod(folder.c_str(), 01777);
    };
    const std::vector<PlantedCase> cases = {
        { "a link as .Trash-uid",
            [](const fs::path& top, const std::string& uid) {
                fs::create_directory_symlink("attacker", top / (".Trash-" + uid));
            },
            "" },
        { "another user's .Trash-uid",
            [](const fs::path& top, const std::string& uid) { MakeOthersFolder(top / (".Trash-" + uid)); },
            "" },
        { "a link as files in .Trash-uid",
            [](const fs::path& top, const std::string& uid) {
                fs::create_directory(top / (".Trash-" + uid));
                fs::create_directory_symlink("../attacker/files", top / (".Trash-" + uid) / "files");
            },
            "" },
        { "a link as .Trash/uid",
            [&](const fs::path& top, const std::string& uid) {
                sticky(top / ".Trash");
                fs::create_directory_symlink("../attacker", top / ".Trash" / uid);
            },
            ".Trash-0/files" },
        { "another user's .Trash/uid",
            [&](const fs::path& top, const std::string& uid) {
                sticky(top / ".Trash");
                MakeOthersFolder(top / ".Trash" / uid);
            },
            ".Trash-0/files" },
        { "a .Trash without the sticky bit",
            [](const fs::path& top, const std::string& uid) {
                fs::create_directories(top / ".Trash" / uid);
                fs::permissions(top / ".Trash", fs::perms::all);
            },
            ".Trash-0/files" },
        { "a link as .Trash",
            [&](const fs::path& top, const std::string&) {
                sticky(top / "attacker/shared");
                fs::create_directory_symlink("attacker/shared", top / ".Trash");
            },
            ".Trash-0/files" },
        { "a sticky .Trash", [&](const fs::path& top, const std::string&) { sticky(top / ".Trash"); },
            ".Trash/0/files" },
    };
    for (const PlantedCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder volume;
        ::chmod(volume.Path().c_str(), 01777);
        MakeOthersFolder(volume.Path() / "attacker");
        c.plant(volume.Path(), std::to_string(::getuid()));
        volume.Write("photos/a.jpg", "a");
        win::SetLastError(0);
        const bool moved = MoveToTrashIn(volume / "photos/a.jpg", { std::nullopt, volume.Path().string() });
        EXPECT_EQ(moved, *c.landsIn != '\0');
        if (moved)
            EXPECT_EQ(volume.Read(std::string(c.landsIn) + "/a.jpg"), "a");
        else {
            EXPECT_EQ(volume.Read("photos/a.jpg"), "a");
            EXPECT_EQ(win::GetLastError(), static_cast<win::DWORD>(EPERM));
        }
        EXPECT_TRUE(fs::is_empty(volume.Path() / "attacker/files"));
        EXPECT_TRUE(fs::is_empty(volume.Path() / "attacker/info"));
    }
}

// What the child found, as its exit code.
enum MountedOutcome : int {
    kTrashedSafely = 0,
    kCannotMount = 10,
    kNotTrashed,
    kWrongTrash,
    kLinkFollowed,
    kOtherReason,
};

// In a child process, on a memory file system shared by all (mode 1777) and mounted where only
// this process sees it: the file goes to the volume's own fresh trash with a relative path; then,
// as another user, into whose trash's name a link was planted, a deletion is refused and nothing
// goes through the link.
MountedOutcome TrashOnAMountedVolume(const fs::path& folder)
{
    const fs::path volume = folder / "volume";
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
        || ::mount("orvanel-trash", volume.c_str(), "tmpfs", 0, "size=1m,mode=1777") != 0)
        return kCannotMount;
    std::error_code error;
    fs::create_directories(volume / "photos", error);
    WriteText(volume / "photos/a.jpg", "a");
    ::setenv("HOME", (folder / "home").c_str(), 1);
    ::unsetenv("XDG_DATA_HOME");
    if (!MoveToTrash((volume / "photos/a.jpg").string()))
        return kNotTrashed;
    const fs::path trash = volume / (".Trash-" + std::to_string(::getuid()));
    if (ReadText(trash / "files/a.jpg") != "a" || ModeOf(trash) != 0700
        || InfoPath(ReadText(trash / "info/a.jpg.trashinfo")) != "photos/a.jpg")
        return kWrongTrash;

    // Another user's turn: the link was planted by someone else (root here, whose folder anyone
    // may write).
    for (const fs::path& made :
        { volume / "attacker", volume / "attacker/files", volume / "attacker/info" }) {
        fs::create_directory(made, error);
        ::chmod(made.c_str(), 0777);
    }
    fs::create_directory_symlink("attacker", volume / (".Trash-" + std::to_string(kOtherUser)), error);
    WriteText(volume / "photos/b.jpg", "b");
    if (::chown((volume / "photos/b.jpg").c_str(), kOtherUser, kOtherUser) != 0 || ::setgid(kOtherUser) != 0
        || ::setuid(kOtherUser) != 0)
        return kCannotMount;
    ::unsetenv("HOME");
    if (MoveToTrash((volume / "photos/b.jpg").string()) || !fs::is_empty(volume / "attacker/files", error)
        || ReadText(volume / "photos/b.jpg") != "b")
        return kLinkFollowed;
    if (win::GetLastError() != static_cast<win::DWORD>(EPERM))
        return kOtherReason;
    return kTrashedSafely;
}

TEST(Trash, OnAMountedVolumeTheVolumesOwnTrashIsUsedAndAPlantedLinkIsNot)
{
    TempFolder folder;
    fs::permissions(folder.Path(), fs::perms(0755)); // the other user reaches the volume
    fs::create_directories(folder.Path() / "volume");
    fs::create_directories(folder.Path() / "home");
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0)
        _exit(TrashOnAMountedVolume(folder.Path()));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kCannotMount)
        GTEST_SKIP() << "cannot mount a file system of the test's own here";
    EXPECT_EQ(WEXITSTATUS(status), kTrashedSafely);
    EXPECT_FALSE(fs::exists(folder.Path() / "home/.local/share/Trash/files/a.jpg"));
}

} // namespace
