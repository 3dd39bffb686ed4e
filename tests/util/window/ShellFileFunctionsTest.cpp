// Copy, move and delete of files and trees on temporary folders, with the progress window
// answered through the progress hook and deletions going to a trash inside the test's folder.
#include "../ScopedEnv.h"
#include "../TempFolder.h"
#include "ApplicationFixture.h"

#include "util/window/FileProgressDialog.h"
#include "util/window/ShellFileFunctions.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

class ShellFileFunctions : public ApplicationFixture {
protected:
    ShellFileFunctions() { fs::create_directories(folder_.Path() / "home"); }

    std::string Trashed(const std::string& name) const
    {
        return folder_.Read("home/.local/share/Trash/files/" + name);
    }
    // Every step must stay inside the test's folder; one outside fails the test and cancels.
    bool Inside(const std::string& path) const
    {
        const bool inside = path.starts_with(folder_.Path().string() + "/");
        EXPECT_TRUE(inside) << "a step outside the test folder: " << path;
        return inside;
    }
    void WriteTree(const std::string& root) const
    {
        folder_.Write(root + "/a.txt", "a");
        folder_.Write(root + "/sub/b.txt", "b");
        folder_.Write(root + "/sub/deeper/c.txt", "c");
        fs::create_symlink("a.txt", folder_.Path() / root / "link");
    }

    TempFolder folder_;
    // The trash of a home inside the test's folder, on the same file system as the files.
    const ScopedEnv home_ { "HOME", folder_ / "home" };
    const ScopedEnv dataHome_ { "XDG_DATA_HOME", std::nullopt };
};

TEST_F(ShellFileFunctions, CopyOverwritesAClashAndAReadOnlyTargetOrTakesAFreeName)
{
    folder_.Write("source.txt", "new");
    folder_.Write("target.txt", "old");
    folder_.Write("locked.txt", "old");
    fs::permissions(folder_.Path() / "locked.txt", fs::perms(0444));
    EXPECT_TRUE(ShellCopyFiles(folder_ / "source.txt", folder_ / "target.txt", false));
    EXPECT_TRUE(ShellCopyFilesEx(folder_ / "source.txt", folder_ / "locked.txt", false, true));
    EXPECT_EQ(folder_.Read("target.txt"), "new");
    EXPECT_EQ(folder_.Read("locked.txt"), "new");

    folder_.Write("target.txt", "old");
    EXPECT_TRUE(ShellCopyFilesEx(folder_ / "source.txt", folder_ / "target.txt", true, false));
    EXPECT_EQ(folder_.Read("target.txt"), "old");
    EXPECT_EQ(folder_.Read("Copy of target.txt"), "new");
    // Onto itself: only with a free name.
    EXPECT_FALSE(ShellCopyFilesEx(folder_ / "source.txt", folder_ / "source.txt", false, true));
    EXPECT_TRUE(ShellCopyFilesEx(folder_ / "source.txt", folder_.Path().string() + "/", true, true));
    EXPECT_EQ(folder_.Read("Copy of source.txt"), "new");
}

TEST_F(ShellFileFunctions, CopiesTreesWithLinksAsLinks)
{
    WriteTree("tree");
    fs::create_directory(folder_.Path() / "existing");
    EXPECT_TRUE(ShellCopyFiles(folder_ / "tree/", folder_ / "copy/", false)); // a new name
    EXPECT_TRUE(ShellCopyFiles(folder_ / "tree", folder_ / "existing", false)); // into a folder
    EXPECT_TRUE(ShellCopyFilesEx(folder_ / "tree/sub/*.txt", folder_ / "flat", false, true)); // matches
    for (const std::string root : { "copy", "existing/tree" }) {
        EXPECT_EQ(folder_.Read(root + "/a.txt"), "a");
        EXPECT_EQ(folder_.Read(root + "/sub/deeper/c.txt"), "c");
        ASSERT_TRUE(fs::is_symlink(folder_.Path() / root / "link")) << root;
        EXPECT_EQ(fs::read_symlink(folder_.Path() / root / "link"), "a.txt");
    }
    EXPECT_EQ(folder_.Read("flat/b.txt"), "b");
    EXPECT_FALSE(folder_.Exists("flat/deeper"));
    EXPECT_EQ(folder_.Read("tree/sub/b.txt"), "b");

    // A link copied onto a file of its name replaces it, and nothing else is left beside it.
    folder_.Write("plain/link", "a file");
    EXPECT_TRUE(ShellCopyFiles(folder_ / "tree/link", folder_ / "plain", false));
    EXPECT_EQ(fs::read_symlink(folder_.Path() / "plain/link"), "a.txt");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_.Path() / "plain"), fs::directory_iterator()), 1);
}

TEST_F(ShellFileFunctions, MoveMergesIntoAnExistingFolderAndLeavesNoSource)
{
    WriteTree("tree");
    folder_.Write("target/tree/sub/b.txt", "old b");
    folder_.Write("target/tree/other.txt", "other");
    EXPECT_TRUE(ShellMoveFiles(folder_ / "tree", folder_ / "target", false));
    EXPECT_FALSE(folder_.Exists("tree"));
    EXPECT_EQ(folder_.Read("target/tree/sub/b.txt"), "b");
    EXPECT_EQ(folder_.Read("target/tree/sub/deeper/c.txt"), "c");
    EXPECT_EQ(folder_.Read("target/tree/other.txt"), "other");
    EXPECT_TRUE(fs::is_symlink(folder_.Path() / "target/tree/link"));

    EXPECT_TRUE(ShellMoveFilesEx(folder_ / "target/tree/other.txt", folder_ / "renamed.txt", false, true));
    EXPECT_EQ(folder_.Read("renamed.txt"), "other");
}

TEST_F(ShellFileFunctions, MovesAcrossFileSystemsByCopyingFirst)
{
    // /dev/shm is a file system of its own where there is one.
    std::string other = "/dev/shm/orvanel-move-XXXXXX";
    if (!fs::is_directory("/dev/shm") || ::mkdtemp(other.data()) == nullptr)
        GTEST_SKIP() << "no second file system to move to";
    struct stat here = {}, there = {};
    ::stat(folder_.Path().c_str(), &here);
    ::stat(other.c_str(), &there);
    if (here.st_dev == there.st_dev) {
        fs::remove_all(other);
        GTEST_SKIP() << "/dev/shm is on the same file system";
    }
    WriteTree("tree");
    std::vector<std::string> steps;
    ScopedFileProgressHook guard([&](FileProgressDialog*, const std::string& path) {
        steps.push_back(path);
        return path.starts_with(other + "/") || Inside(path);
    });
    EXPECT_TRUE(ShellMoveFiles(folder_ / "tree", other, false));
    // One step an item, as the progress counted them.
    std::sort(steps.begin(), steps.end());
    EXPECT_EQ(std::adjacent_find(steps.begin(), steps.end()), steps.end());
    EXPECT_FALSE(folder_.Exists("tree"));
    EXPECT_TRUE(fs::is_symlink(other + "/tree/link"));
    std::ifstream moved(other + "/tree/sub/deeper/c.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(moved), {}), "c");
    fs::remove_all(other);
}

TEST_F(ShellFileFunctions, RefusesAFolderIntoItselfOrBelowItself)
{
    WriteTree("tree");
    for (const std::string target : { "tree", "tree/", "tree/sub", "tree/new" }) {
        EXPECT_FALSE(ShellCopyFilesEx(folder_ / "tree", folder_ / target, false, true)) << target;
        EXPECT_FALSE(ShellMoveFilesEx(folder_ / "tree", folder_ / target, false, true)) << target;
    }
    EXPECT_FALSE(folder_.Exists("tree/tree"));
    EXPECT_FALSE(folder_.Exists("tree/sub/tree"));
    EXPECT_FALSE(folder_.Exists("tree/new"));
    EXPECT_EQ(folder_.Read("tree/sub/deeper/c.txt"), "c");
}

TEST_F(ShellFileFunctions, DeletesToTheTrash)
{
    WriteTree("tree");
    folder_.Write("single.txt", "single");
    folder_.Write("full/one.txt", "1");
    folder_.Write("full/.two", "2");
    EXPECT_TRUE(ShellDeleteFiles(folder_ / "single.txt", false, false));
    EXPECT_TRUE(ShellDeleteFiles(folder_ / "tree/", false, false));
    EXPECT_TRUE(ShellDeleteFiles(folder_ / "full", false, true));
    EXPECT_FALSE(folder_.Exists("single.txt"));
    EXPECT_FALSE(folder_.Exists("tree"));
    EXPECT_TRUE(fs::is_empty(folder_.Path() / "full"));
    EXPECT_EQ(Trashed("single.txt"), "single");
    EXPECT_EQ(Trashed("tree/sub/deeper/c.txt"), "c");
    EXPECT_EQ(Trashed("one.txt"), "1");
    EXPECT_EQ(Trashed(".two"), "2");

    // A link goes as a link; the folder it points at stays.
    folder_.Write("kept/photo.jpg", "photo");
    fs::create_directory_symlink(folder_.Path() / "kept", folder_.Path() / "shortcut");
    EXPECT_TRUE(ShellDeleteFiles(folder_ / "shortcut/", false, false));
    EXPECT_FALSE(folder_.Exists("shortcut"));
    EXPECT_EQ(folder_.Read("kept/photo.jpg"), "photo");
    EXPECT_TRUE(fs::is_symlink(folder_.Path() / "home/.local/share/Trash/files/shortcut"));

    folder_.Write("locked.txt", "locked");
    fs::permissions(folder_.Path() / "locked.txt", fs::perms(0444));
    EXPECT_TRUE(ShellDeleteFilesQuiet(folder_ / "locked.txt", true));
    EXPECT_FALSE(folder_.Exists("locked.txt"));
}

TEST_F(ShellFileFunctions, WithoutATrashNothingIsDeleted)
{
    // A home below a regular file can hold no trash; the file stays where it is, and no trash
    // folder appears in the working folder instead.
    folder_.Write("not-a-folder", "");
    folder_.Write("work/photo.jpg", "photo");
    ::setenv("HOME", (folder_ / "not-a-folder/home").c_str(), 1);
    const fs::path previous = fs::current_path();
    fs::current_path(folder_.Path() / "work");
    EXPECT_FALSE(ShellDeleteFiles(folder_ / "work/photo.jpg", false, false));
    fs::current_path(previous);
    EXPECT_EQ(folder_.Read("work/photo.jpg"), "photo");
    EXPECT_FALSE(folder_.Exists("work/files"));
}

TEST_F(ShellFileFunctions, EmptyOrRelativeDeletesAreRefusedAndTheFolderStays)
{
    // Run from the test folder: a delete of "" taken as "everything here" or "everything in the
    // root" would empty it. Any step outside the folder fails the test before it is deleted.
    folder_.Write("keep.txt", "kept");
    ScopedFileProgressHook guard(
        [this](FileProgressDialog*, const std::string& path) { return Inside(path); });
    const fs::path previous = fs::current_path();
    fs::current_path(folder_.Path());
    for (const bool contentsOnly : { true, false }) {
        modal_->AnswerNext(win::IDOK);
        EXPECT_FALSE(ShellDeleteFiles("", true, contentsOnly));
        EXPECT_FALSE(ShellDeleteFiles("keep.txt", false, contentsOnly));
        EXPECT_FALSE(ShellDeleteFilesQuiet("", false));
    }
    fs::current_path(previous);
    EXPECT_EQ(folder_.Read("keep.txt"), "kept");
    EXPECT_EQ(modal_->Messages().size(), 2u);
    EXPECT_FALSE(folder_.Exists("home/.local/share/Trash/files"));
}

TEST_F(ShellFileFunctions, CancelInTheProgressWindowStopsTheCopy)
{
    for (const char* name : { "1.txt", "2.txt", "3.txt", "4.txt", "5.txt" })
        folder_.Write(std::string("photos/") + name, name);
    int steps = 0;
    bool grabbed = false;
    ScopedFileProgressHook cancelAtThird([&](FileProgressDialog* dialog, const std::string& path) {
        EXPECT_NE(dialog, nullptr);
        if (dialog != nullptr && ++steps == 3) {
            EXPECT_TRUE(dialog->isVisible());
            grabbed = dialog->grab().save(QString::fromStdString(OutputPath("file-progress-dialog.png")));
            QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
        }
        return Inside(path);
    });
    EXPECT_FALSE(ShellCopyFiles(folder_ / "photos", folder_ / "copy", false));
    EXPECT_TRUE(grabbed);
    // The folder, 1.txt and 2.txt were copied before the third step was cancelled.
    EXPECT_EQ(folder_.Read("copy/1.txt"), "1.txt");
    EXPECT_FALSE(folder_.Exists("copy/2.txt") && folder_.Exists("copy/3.txt"));
    EXPECT_FALSE(folder_.Exists("copy/5.txt"));
    EXPECT_EQ(steps, 3);
}

TEST_F(ShellFileFunctions, AFileRemovedMidwayFailsTheCopyButNotTheRest)
{
    for (const char* name : { "1.txt", "2.txt", "3.txt" })
        folder_.Write(std::string("photos/") + name, name);
    ScopedFileProgressHook removeSecond([this](FileProgressDialog*, const std::string& path) {
        if (path.ends_with("/1.txt"))
            fs::remove(folder_.Path() / "photos/2.txt");
        return Inside(path);
    });
    modal_->AnswerNext(win::IDOK);
    EXPECT_FALSE(ShellCopyFiles(folder_ / "photos", folder_ / "copy", true));
    EXPECT_EQ(folder_.Read("copy/1.txt"), "1.txt");
    EXPECT_FALSE(folder_.Exists("copy/2.txt"));
    EXPECT_EQ(folder_.Read("copy/3.txt"), "3.txt");
    ASSERT_EQ(modal_->Messages().size(), 1u);
    EXPECT_TRUE(modal_->Messages()[0].text.starts_with("Could not copy " + (folder_ / "photos") + "\n"));
    // Without error dialogs nothing is shown.
    EXPECT_FALSE(ShellCopyFilesEx(folder_ / "missing", folder_ / "copy", false, false));
    EXPECT_EQ(modal_->Messages().size(), 1u);
}

TEST_F(ShellFileFunctions, PathsBeyondTheSystemLimitAreRefused)
{
    folder_.Write("a.txt", "a");
    const std::string tooLong = folder_.Path().string() + std::string(PATH_MAX, '/') + "a.txt";
    EXPECT_FALSE(ShellCopyFilesEx(tooLong, folder_ / "b.txt", false, true));
    EXPECT_FALSE(ShellCopyFilesEx(folder_ / "a.txt", tooLong + "b", false, true));
    EXPECT_FALSE(folder_.Exists("b.txt"));
    // Long within the limit is fine.
    const std::string longName(200, 'n');
    EXPECT_TRUE(ShellCopyFilesEx(folder_ / "a.txt", folder_ / (longName + "/" + longName), false, true));
    EXPECT_EQ(folder_.Read(longName + "/" + longName), "a");
}

TEST_F(ShellFileFunctions, DuplicatesUnderAFreeName)
{
    folder_.Write("report.txt", "report");
    folder_.Write("Copy of report.txt", "first copy");
    EXPECT_TRUE(DuplicateFileUnderFreeName(folder_ / "report.txt", false));
    EXPECT_EQ(folder_.Read("Copy of Copy of report.txt"), "report");
    EXPECT_EQ(folder_.Read("Copy of report.txt"), "first copy");
    EXPECT_TRUE(DuplicateFileUnderFreeName(folder_ / "report.txt", true));
    EXPECT_EQ(folder_.Read("reportc.txt"), "report");
}

} // namespace
