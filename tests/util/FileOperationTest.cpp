// The requests the file engine refuses, checked with a deletion that only records: nothing
// outside the test's folder may ever be touched, whatever the path.
#include "TempFolder.h"

#include "util/FileOperation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

// Fails the test and cancels at any step outside the allowed folder.
class GuardedProgress : public FileOperationProgress {
public:
    explicit GuardedProgress(std::string allowed)
        : allowed_(std::move(allowed))
    {
    }
    void Start(std::size_t) override { }
    bool Step(const std::string& path) override
    {
        steps.push_back(path);
        const bool inside = path.starts_with(allowed_ + "/");
        EXPECT_TRUE(inside) << "a step outside the test folder: " << path;
        return inside;
    }
    std::vector<std::string> steps;

private:
    std::string allowed_;
};

TEST(FileOperation, RefusesDeletionsOfEmptyRelativeAndRootPaths)
{
    TempFolder folder;
    folder.Write("keep.txt", "kept");
    std::string toRoot = folder.Path().string();
    for (std::size_t depth = std::count(toRoot.begin(), toRoot.end(), '/'); depth > 0; --depth)
        toRoot += "/..";
    const std::vector<std::string> refused = { "", "/*", "*", "keep.txt", "./keep.txt", "/", "//", toRoot,
        toRoot + "/", toRoot + "/*", std::string(PATH_MAX, '/') + "keep.txt" };

    const std::string previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    for (const std::string& path : refused) {
        GuardedProgress progress(folder.Path().string());
        std::vector<std::string> discarded;
        const FileOperationResult result = RunFileOperation(
            { FileOperationKind::remove, path, {} }, progress, [&discarded](const std::string& item) {
                discarded.push_back(item);
                return false;
            });
        EXPECT_EQ(result, FileOperationResult::refused) << path;
        EXPECT_TRUE(discarded.empty()) << path;
        // Nor is the root moved anywhere.
        EXPECT_EQ(
            RunFileOperation({ FileOperationKind::move, path, folder / "moved" }, progress, DiscardForGood),
            FileOperationResult::refused)
            << path;
    }
    std::filesystem::current_path(previous);
    EXPECT_EQ(folder.Read("keep.txt"), "kept");
}

TEST(FileOperation, ResultsOfRequestsThatCannotBeDone)
{
    TempFolder folder;
    folder.Write("a.txt", "a");
    struct Case {
        FileOperationKind kind;
        std::string source, target;
        FileOperationResult expected;
    };
    const std::vector<Case> cases = {
        { FileOperationKind::copy, folder / "missing.txt", folder / "b.txt", FileOperationResult::failed },
        { FileOperationKind::copy, folder / "a.txt", folder / "a.txt", FileOperationResult::refused },
        { FileOperationKind::move, folder / "a.txt", folder.Path().string() + "/",
            FileOperationResult::refused },
        { FileOperationKind::copy, folder / "a.txt", "b.txt", FileOperationResult::refused },
        { FileOperationKind::copy, folder / "a.txt", "", FileOperationResult::refused },
        { FileOperationKind::copy, folder / "a.txt", folder / "a.txt/b.txt", FileOperationResult::failed },
    };
    for (const Case& c : cases) {
        GuardedProgress progress(folder.Path().string());
        EXPECT_EQ(RunFileOperation({ c.kind, c.source, c.target }, progress, DiscardForGood), c.expected)
            << c.source << " to " << c.target;
    }
    EXPECT_EQ(folder.Read("a.txt"), "a");
    EXPECT_FALSE(folder.Exists("b.txt"));
}

TEST(FileOperation, ACancelledDeletionDeletesNothingMore)
{
    TempFolder folder;
    folder.Write("a.txt", "a");
    folder.Write("b.txt", "b");
    class CancelAtSecond : public FileOperationProgress {
    public:
        void Start(std::size_t) override { }
        bool Step(const std::string&) override { return ++steps < 2; }
        int steps = 0;
    } progress;
    EXPECT_EQ(RunFileOperation({ FileOperationKind::remove, folder / "*", {} }, progress, DiscardForGood),
        FileOperationResult::cancelled);
    EXPECT_FALSE(folder.Exists("a.txt"));
    EXPECT_EQ(folder.Read("b.txt"), "b");
}

TEST(FileOperation, DeletesForGoodWhatTheWildcardMatches)
{
    TempFolder folder;
    for (const char* name : { "a.jpg", "b.jpg", ".c.jpg", "d.txt", "sub/e.jpg" })
        folder.Write(name, "x");
    GuardedProgress progress(folder.Path().string());
    EXPECT_EQ(RunFileOperation({ FileOperationKind::remove, folder / "*.jpg", {} }, progress, DiscardForGood),
        FileOperationResult::done);
    EXPECT_EQ(
        progress.steps, (std::vector<std::string> { folder / ".c.jpg", folder / "a.jpg", folder / "b.jpg" }));
    EXPECT_TRUE(folder.Exists("d.txt"));
    EXPECT_TRUE(folder.Exists("sub/e.jpg"));
}

TEST(FileOperation, AReadOnlyFolderIsCopiedWithItsContentsAndKeepsItsPermissions)
{
    namespace fs = std::filesystem;
    TempFolder folder;
    folder.Write("photos/sub/a.jpg", "a");
    fs::permissions(folder.Path() / "photos/sub", fs::perms(0555));
    fs::permissions(folder.Path() / "photos", fs::perms(0555));
    // The copy runs as an ordinary user (when the tests run as root, who may write anywhere), in a
    // folder that user may write to.
    fs::permissions(folder.Path(), fs::perms::all);
    const auto copyAsUser = [&] {
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            std::_Exit(2);
        GuardedProgress progress(folder.Path().string());
        const FileOperationResult result = RunFileOperation(
            { FileOperationKind::copy, folder / "photos", folder / "copy" }, progress, DiscardForGood);
        std::_Exit(result == FileOperationResult::done ? 0 : 1);
    };
    EXPECT_EXIT(copyAsUser(), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(folder.Read("copy/sub/a.jpg"), "a");
    std::error_code ignored;
    for (const char* copied : { "copy", "copy/sub" }) {
        EXPECT_EQ(fs::status(folder.Path() / copied).permissions(), fs::perms(0555)) << copied;
        fs::permissions(folder.Path() / copied, fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    for (const char* source : { "photos", "photos/sub" })
        fs::permissions(folder.Path() / source, fs::perms::owner_all, fs::perm_options::add, ignored);
}

} // namespace
