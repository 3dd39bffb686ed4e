#include "util/FolderListing.h"

#include "util/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

// A folder of its own for each test, removed afterwards.
class FolderListing : public ::testing::Test {
protected:
    void Touch(const std::string& name) const { std::ofstream(root / name) << name; }

    TestFolder folder { "listing" };
    const fs::path root = folder.Path();
};

// The file system says what exists and what is a folder; the times come from the test's table.
// A hook runs before each look, so that a test can change the folder while it is listed.
class TableStatus : public FileStatusReader {
public:
    std::optional<FileStatus> Read(const std::string& path) const override
    {
        if (hook)
            hook(path);
        std::optional<FileStatus> status = SystemFileStatus().Read(path);
        const auto found = times.find(fs::path(path).filename().string());
        if (status && found != times.end()) {
            status->created = found->second.first;
            status->written = found->second.second;
        }
        return status;
    }

    std::map<std::string, std::pair<int64_t, int64_t>> times; // name: created, written
    std::function<void(const std::string&)> hook;
};

std::vector<std::string> Names(const std::vector<FolderListEntry>& list)
{
    std::vector<std::string> names;
    for (const auto& entry : list)
        names.push_back(entry.name);
    return names;
}

TEST_F(FolderListing, SortsInEachOfTheSixOrdersWithTiesByName)
{
    TableStatus status;
    // Equal names in different letter case, a tie on the created time and one on the written time.
    status.times = { { "b.jpg", { 300, 100 } }, { "A.jpg", { 100, 300 } }, { "a.jpg", { 200, 300 } },
        { "c.JPG", { 200, 50 } } };
    for (const auto& [name, times] : status.times)
        Touch(name);
    Touch("notes.txt");
    fs::create_directory(root / "sub.jpg"); // a folder matching the mask is never listed

    const struct {
        int order;
        std::vector<std::string> names;
    } cases[] = {
        { kListByNameAscending, { "A.jpg", "a.jpg", "b.jpg", "c.JPG" } },
        { kListByNameDescending, { "c.JPG", "b.jpg", "a.jpg", "A.jpg" } },
        { kListByCreatedOldestFirst, { "A.jpg", "a.jpg", "c.JPG", "b.jpg" } },
        { kListByCreatedNewestFirst, { "b.jpg", "a.jpg", "c.JPG", "A.jpg" } },
        { kListByWrittenOldestFirst, { "c.JPG", "b.jpg", "A.jpg", "a.jpg" } },
        { kListByWrittenNewestFirst, { "A.jpg", "a.jpg", "b.jpg", "c.JPG" } },
    };
    for (const auto& c : cases) {
        std::vector<FolderListEntry> list;
        ListFolderFiles(root.string(), "*.jpg", list, false, c.order, status);
        EXPECT_EQ(Names(list), c.names) << "order " << c.order;
        for (const auto& entry : list) {
            EXPECT_EQ(entry.created, status.times[entry.name].first) << entry.name;
            EXPECT_EQ(entry.written, status.times[entry.name].second) << entry.name;
        }
    }
    // Another order leaves the entries as the folder gives them: the same files, in any order.
    for (const int order : { 0, 7 }) {
        std::vector<FolderListEntry> list;
        ListFolderFiles(root.string(), "*.JPG", list, false, order, status);
        const std::vector<std::string> names = Names(list);
        EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
            (std::set<std::string> { "A.jpg", "a.jpg", "b.jpg", "c.JPG" }))
            << "order " << order;
    }
}

TEST_F(FolderListing, AppendsTitlesAndAcceptsATrailingSeparator)
{
    Touch("a.b.jpg");
    Touch("plain");
    Touch(".hidden");
    for (const std::string& folder : { root.string(), root.string() + "/", root.string() + "\\" }) {
        std::vector<FolderListEntry> list { { "kept", 1, 2 } };
        ListFolderFiles(folder, "*", list, true, kListByNameAscending);
        EXPECT_EQ(Names(list), (std::vector<std::string> { "kept", ".hidden", "a.b", "plain" })) << folder;
    }
}

TEST_F(FolderListing, AddsNothingWhenNothingCanBeListed)
{
    Touch("a.jpg");
    const struct {
        std::string folder;
        std::string mask;
    } cases[] = {
        { root.string(), "*.png" }, // a mask that matches nothing
        { (root / "missing").string(), "*" }, // a folder that does not exist
        { (root / "a.jpg").string(), "*" }, // a file, not a folder
        { "", "*" },
    };
    for (const auto& c : cases) {
        std::vector<FolderListEntry> list;
        ListFolderFiles(c.folder, c.mask, list, false, kListByNameAscending);
        EXPECT_TRUE(list.empty()) << c.folder << " " << c.mask;
    }
}

TEST_F(FolderListing, SkipsAFileRemovedWhileTheFolderIsListed)
{
    for (const char* name : { "a.jpg", "b.jpg", "c.jpg" })
        Touch(name);
    TableStatus status;
    std::string removed;
    status.hook = [&](const std::string& path) {
        if (!removed.empty())
            return;
        // On the first look, one of the other files goes.
        const std::string self = fs::path(path).filename().string();
        removed = self == "b.jpg" ? "c.jpg" : "b.jpg";
        fs::remove(root / removed);
    };
    std::vector<FolderListEntry> list;
    ListFolderFiles(root.string(), "*.jpg", list, false, kListByNameAscending, status);
    std::vector<std::string> expected { "a.jpg", "b.jpg", "c.jpg" };
    std::erase(expected, removed);
    EXPECT_EQ(Names(list), expected);
}

TEST_F(FolderListing, TakesTheFileSystemsTimes)
{
    const int64_t before = ::time(nullptr);
    Touch("photo.jpg");
    const int64_t after = ::time(nullptr);
    const timespec times[2] = { { 1000000000, 0 }, { 1234567890, 0 } }; // access, modification
    ASSERT_EQ(::utimensat(AT_FDCWD, (root / "photo.jpg").c_str(), times, 0), 0);
    std::vector<FolderListEntry> list;
    ListFolderFiles(root.string(), "PHOTO.*", list, false, kListByNameAscending);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].written, 1234567890);
    // The birth time, or where there is none the status change: both happened during this test
    // (setting the times is a status change, so the bound is taken after it).
    EXPECT_GE(list[0].created, before);
    EXPECT_LE(list[0].created, std::max<int64_t>(after, ::time(nullptr)));
}

} // namespace
