#include "util/window/TreeFileCtrl.h"

#include "tests/util/TempFolder.h"
#include "tests/util/window/ApplicationFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

namespace fs = std::filesystem;

// Handles events as they come until the condition holds, for at most a few seconds.
bool WaitFor(const std::function<bool()>& condition)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > 5000)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    return true;
}

class TreeFileWatching : public ApplicationFixture {
protected:
    TreeFileWatching()
    {
        folder_.Write("photos/alpha/a1.jpg", "a");
        folder_.Write("photos/beta.txt", "b");
        tree_.SetRootFolder(folder_ / "photos");
    }
    std::string Path(const std::string& name) const { return folder_ / ("photos/" + name); }

    TempFolder folder_;
    CTreeFileCtrl tree_;
};

TEST_F(TreeFileWatching, ChangesOutsideTheControlAppearAfterTheWatchersMessage)
{
    tree_.SetMonitorChanges(true);
    EXPECT_EQ(tree_.WatchedDrives(), (std::vector<std::string> { Path("").substr(0, Path("").size() - 1) }));
    ASSERT_NE(tree_.SetSelectedPath(Path("alpha/a1.jpg"), false), nullptr);

    folder_.Write("photos/alpha/new.jpg", "n");
    ASSERT_TRUE(WaitFor([&] { return tree_.PathToItem(Path("alpha/new.jpg")) != nullptr; }));
    EXPECT_EQ(tree_.GetSelectedPath(), Path("alpha/a1.jpg")); // restored after the re-listing

    fs::rename(Path("beta.txt"), Path("gamma.txt"));
    ASSERT_TRUE(WaitFor([&] { return tree_.PathToItem(Path("gamma.txt")) != nullptr; }));
    EXPECT_EQ(tree_.PathToItem(Path("beta.txt")), nullptr);

    // The control's own deletion is not reported, and the watch goes on after it.
    tree_.SetAllowDelete(true);
    const int handled = tree_.ChangesHandled();
    modal_->AnswerNext(win::IDYES);
    ASSERT_TRUE(tree_.DeleteItemFile(tree_.PathToItem(Path("alpha/new.jpg")), true));
    fs::remove(Path("gamma.txt"));
    ASSERT_TRUE(WaitFor([&] { return tree_.PathToItem(Path("gamma.txt")) == nullptr; }));
    EXPECT_GT(tree_.ChangesHandled(), handled);
}

TEST_F(TreeFileWatching, NothingIsWatchedWhenMonitoringIsOff)
{
    EXPECT_TRUE(tree_.WatchedDrives().empty());
    tree_.PathToItem(Path("alpha"))->setExpanded(true);
    EXPECT_TRUE(tree_.WatchedDrives().empty());
    folder_.Write("photos/new.txt", "n");
    QCoreApplication::processEvents();
    EXPECT_EQ(tree_.PathToItem(Path("new.txt")), nullptr);
    EXPECT_EQ(tree_.ChangesHandled(), 0);
}

TEST_F(TreeFileWatching, CollapsingADriveStopsItsWatcherAndExpandingStartsOne)
{
    folder_.Write("mounts", "/dev/sda1 " + (folder_ / "photos") + " ext4 rw 0 0\n");
    tree_.SetRootFolder("");
    tree_.SetMountTable(folder_ / "mounts");
    tree_.SetMonitorChanges(true);
    tree_.ComputerItem()->setExpanded(true);
    QTreeWidgetItem* drive = tree_.ComputerItem()->child(0);
    drive->setExpanded(true);
    EXPECT_EQ(tree_.WatchedDrives().size(), 1U);
    drive->setExpanded(false);
    EXPECT_TRUE(tree_.WatchedDrives().empty());
    drive->setExpanded(true);
    EXPECT_EQ(tree_.WatchedDrives().size(), 1U);
    EXPECT_TRUE(tree_.CanMonitor(Path("alpha")));
    folder_.Write("photos/new.txt", "n");
    EXPECT_TRUE(WaitFor([&] { return tree_.PathToItem(Path("new.txt")) != nullptr; }));
}

TEST_F(TreeFileWatching, StoppingTheFirstOfThreeWatchersLeavesTheOtherTwoReporting)
{
    std::string table;
    // Each drive holds a file: the root of an empty fixed drive shows no expand button to open.
    for (const char* name : { "one", "two", "three" }) {
        folder_.Write(std::string(name) + "/kept.txt", "k");
        table += "/dev/sd" + std::string(name) + " " + (folder_ / name) + " ext4 rw 0 0\n";
    }
    folder_.Write("mounts", table);
    tree_.SetRootFolder("");
    tree_.SetMountTable(folder_ / "mounts");
    tree_.SetMonitorChanges(true);
    tree_.ComputerItem()->setExpanded(true);
    for (int i = 0; i < 3; ++i)
        tree_.ComputerItem()->child(i)->setExpanded(true);
    ASSERT_EQ(tree_.WatchedDrives().size(), 3U);
    tree_.PathToItem(folder_ / "one")->setExpanded(false);
    EXPECT_EQ(tree_.WatchedDrives(), (std::vector<std::string> { folder_ / "three", folder_ / "two" }));

    // Each change is listed under its own drive, never under a drive that took its place.
    folder_.Write("three/new.txt", "n");
    ASSERT_TRUE(WaitFor([&] { return tree_.PathToItem(folder_ / "three/new.txt") != nullptr; }));
    folder_.Write("two/new.txt", "n");
    ASSERT_TRUE(WaitFor([&] { return tree_.PathToItem(folder_ / "two/new.txt") != nullptr; }));
    EXPECT_EQ(tree_.PathToItem(folder_ / "one")->childCount(), 0);
}

TEST_F(TreeFileWatching, ARootFolderOnARemovableDriveIsNotWatched)
{
    folder_.Write("block-real/sdc/removable", "1\n");
    fs::create_directories(folder_.Path() / "block");
    fs::create_directories(folder_.Path() / "block-real/sdc/sdc1");
    fs::create_symlink(folder_.Path() / "block-real/sdc/sdc1", folder_.Path() / "block/sdc1");
    folder_.Write("mounts", "/dev/sdc1 " + (folder_ / "photos") + " vfat rw 0 0\n");
    tree_.SetMountTable(folder_ / "mounts", folder_ / "block");
    tree_.SetMonitorChanges(true);
    EXPECT_FALSE(tree_.CanMonitor(Path("alpha")));
    EXPECT_TRUE(tree_.WatchedDrives().empty());

    tree_.SetRootFolder("");
    tree_.SetDriveHideMask(static_cast<unsigned>(DriveKind::removable));
    tree_.ComputerItem()->setExpanded(true);
    EXPECT_EQ(tree_.ComputerItem()->childCount(), 0);
}

} // namespace
