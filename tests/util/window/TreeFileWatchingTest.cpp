#include "util/window/TreeFileCtrl.h"

#include "tests/util/TempFolder.h"
#include "tests/util/window/ApplicationFixture.h"
#include "tests/util/window/ShownEditor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <sched.h>

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

// Counts the watchers' messages as they reach the control, whatever the control makes of them.
class MessageCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        messages += event->type() >= QEvent::User && event->type() <= QEvent::MaxUser ? 1 : 0;
        return false;
    }
    int messages = 0;
};

// The threads of this process that run only when nothing else wants the processor.
int IdleThreads()
{
    int idle = 0;
    for (const auto& task : fs::directory_iterator("/proc/self/task"))
        idle += ::sched_getscheduler(std::stoi(task.path().filename().string())) == SCHED_IDLE ? 1 : 0;
    return idle;
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
    // Handles events until the next message of a watcher has reached the control.
    bool WaitForMessage()
    {
        const int before = counter_.messages;
        return WaitFor([&] { return counter_.messages > before; });
    }

    TempFolder folder_;
    CTreeFileCtrl tree_;
    MessageCounter counter_;
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

// The tree's own renames, deletions and drops come back from the watcher, and list nothing again:
// a folder left open stays open.
TEST_F(TreeFileWatching, TheTreesOwnChangesListNothingAgain)
{
    folder_.Write("photos/beta/b1.jpg", "b");
    tree_.SetMonitorChanges(true);
    tree_.SetAllowRename(true);
    tree_.SetAllowDelete(true);
    tree_.installEventFilter(&counter_);
    tree_.PathToItem(Path("alpha"))->setExpanded(true);
    const auto stillOpen = [&] {
        QTreeWidgetItem* alpha = tree_.PathToItem(Path("alpha"));
        return alpha != nullptr && alpha->isExpanded() && alpha->childCount() == 1;
    };
    const int handled = tree_.ChangesHandled();

    ASSERT_TRUE(tree_.RenameItemTo(tree_.PathToItem(Path("beta.txt")), "gamma.txt"));
    ASSERT_TRUE(WaitForMessage());
    EXPECT_TRUE(stillOpen());
    EXPECT_EQ(tree_.ChangesHandled(), handled);

    modal_->AnswerNext(win::IDYES);
    ASSERT_TRUE(tree_.DeleteItemFile(tree_.PathToItem(Path("beta")), true)); // a folder with a file
    ASSERT_TRUE(WaitForMessage());
    EXPECT_TRUE(stillOpen());
    EXPECT_EQ(tree_.ChangesHandled(), handled);

    // A copy dropped on an open folder, made beside its place first and renamed into it.
    tree_.show();
    tree_.SetAllowDragDrop(true);
    const auto centre = [&](const std::string& name) {
        return tree_.visualItemRect(tree_.PathToItem(Path(name))).center();
    };
    QTest::mousePress(tree_.viewport(), Qt::LeftButton, {}, centre("gamma.txt"));
    QTest::mouseMove(tree_.viewport(), centre("alpha"));
    QTest::mouseRelease(tree_.viewport(), Qt::LeftButton, Qt::ControlModifier, centre("alpha"));
    ASSERT_EQ(folder_.Read("photos/alpha/gamma.txt"), "b");
    ASSERT_TRUE(WaitForMessage());
    EXPECT_EQ(tree_.ChangesHandled(), handled);

    // A change from outside is listed as before.
    folder_.Write("photos/delta.txt", "d");
    ASSERT_TRUE(WaitFor([&] { return tree_.PathToItem(Path("delta.txt")) != nullptr; }));
    EXPECT_EQ(tree_.ChangesHandled(), handled + 1);
}

// A name being edited keeps its editor and what was typed while its folder changes; the folder
// is listed again once the edit is over.
TEST_F(TreeFileWatching, AChangeDuringAnEditWaitsForTheEditToEnd)
{
    tree_.SetMonitorChanges(true);
    tree_.SetAllowRename(true);
    tree_.resize(300, 300);
    tree_.show();
    tree_.installEventFilter(&counter_);
    ASSERT_NE(tree_.SetSelectedPath(Path("beta.txt"), false), nullptr);
    QTest::keyClick(&tree_, Qt::Key_F2);
    QLineEdit* editor = ShownEditor(tree_);
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClicks(editor, "XX");

    folder_.Write("photos/new.txt", "n");
    ASSERT_TRUE(WaitForMessage());
    ASSERT_EQ(ShownEditor(tree_), editor);
    EXPECT_EQ(editor->text(), "beta.txtXX");
    tree_.grab().save(QString::fromStdString(OutputPath("file-tree-edit-outlives-change.png")));
    EXPECT_EQ(tree_.PathToItem(Path("new.txt")), nullptr);

    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return tree_.PathToItem(Path("new.txt")) != nullptr; }));
    EXPECT_EQ(folder_.Read("photos/beta.txtXX"), "b");
    EXPECT_NE(tree_.PathToItem(Path("beta.txtXX")), nullptr);
}

// A drive mounted inside another (a removable one, not shown as a drive of its own): a change on
// it lists its folder again where the other drive shows it, and leaves the computer item alone.
TEST_F(TreeFileWatching, AChangeOnADriveMountedInsideAnotherListsItsFolderWhereItIsShown)
{
    folder_.Write("block-real/sdc/removable", "1\n");
    fs::create_directories(folder_.Path() / "block");
    fs::create_directories(folder_.Path() / "block-real/sdc/sdc1");
    fs::create_symlink(folder_.Path() / "block-real/sdc/sdc1", folder_.Path() / "block/sdc1");
    folder_.Write("mounts",
        "/dev/sda1 " + (folder_ / "photos") + " ext4 rw 0 0\n/dev/sdc1 " + Path("alpha") + " vfat rw 0 0\n");
    tree_.SetRootFolder("");
    tree_.SetMountTable(folder_ / "mounts", folder_ / "block");
    tree_.SetDriveHideMask(static_cast<unsigned>(DriveKind::removable));
    tree_.SetMonitorChanges(true);
    tree_.installEventFilter(&counter_);
    // Opened by hand, as a user does: Computer, the outer drive, the folder the other is mounted on.
    tree_.ComputerItem()->setExpanded(true);
    ASSERT_EQ(tree_.ComputerItem()->childCount(), 1);
    QTreeWidgetItem* photos = tree_.ComputerItem()->child(0);
    photos->setExpanded(true);
    EXPECT_EQ(photos->child(0)->text(0), "alpha"); // its own name, not the drive's
    photos->child(0)->setExpanded(true);
    ASSERT_EQ(photos->child(0)->child(0)->text(0), "a1.jpg");
    tree_.setCurrentItem(photos->child(0)->child(0));
    EXPECT_EQ(tree_.WatchedDrives(), (std::vector<std::string> { folder_ / "photos", Path("alpha") }));

    folder_.Write("photos/alpha/new.jpg", "n");
    ASSERT_TRUE(WaitFor([&] { return tree_.PathToItem(Path("alpha/new.jpg")) != nullptr; }));
    EXPECT_EQ(tree_.GetSelectedPath(), Path("alpha/a1.jpg"));
    ASSERT_EQ(tree_.topLevelItemCount(), 2);
    EXPECT_EQ(tree_.topLevelItem(0), tree_.ComputerItem());
    tree_.resize(420, 200);
    tree_.grab().save(QString::fromStdString(OutputPath("file-tree-nested-drive.png")));

    // Not shown anywhere now: nothing is listed.
    tree_.ComputerItem()->child(0)->setExpanded(false);
    const int handled = tree_.ChangesHandled();
    folder_.Write("photos/alpha/more.jpg", "m");
    ASSERT_TRUE(WaitForMessage());
    EXPECT_EQ(tree_.ChangesHandled(), handled + 1);
    ASSERT_EQ(tree_.topLevelItemCount(), 2);
    EXPECT_EQ(tree_.topLevelItem(0), tree_.ComputerItem());
    EXPECT_EQ(tree_.ComputerItem()->child(0)->childCount(), 0);
}

TEST_F(TreeFileWatching, WatchersRunAtIdlePriority)
{
    const int before = IdleThreads();
    tree_.SetMonitorChanges(true);
    ASSERT_EQ(tree_.WatchedDrives().size(), 1U);
    EXPECT_TRUE(WaitFor([&] { return IdleThreads() == before + 1; }));
}

} // namespace
