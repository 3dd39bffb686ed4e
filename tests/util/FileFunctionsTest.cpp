// File attributes, file times, folder creation and free duplicate names, on temporary folders.
#include "TempFolder.h"

#include "platform/win/AppContext.h"
#include "platform/win/ScriptedModalServices.h"
#include "util/DuplicateName.h"
#include "util/FileAttributes.h"
#include "util/FileTimes.h"
#include "util/FolderCreation.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

class FileFunctions : public ::testing::Test {
protected:
    FileFunctions() { win::AppContext::Instance().SetModalServices(modal_); }
    ~FileFunctions() override
    {
        EXPECT_TRUE(modal_->Unexpected().empty());
        win::AppContext::Instance().Reset();
    }

    TempFolder folder_;
    const std::shared_ptr<win::ScriptedModalServices> modal_ = std::make_shared<win::ScriptedModalServices>();
};

TEST_F(FileFunctions, AttributesFromTheFileStatus)
{
    folder_.Write("plain.txt", "x");
    folder_.Write(".hidden", "x");
    folder_.Write("locked.txt", "x");
    fs::permissions(folder_.Path() / "locked.txt", fs::perms(0444));
    fs::create_directory(folder_.Path() / "photos");

    const std::vector<std::pair<std::string, win::DWORD>> cases = {
        { "plain.txt", FILE_ATTRIBUTE_NORMAL },
        { ".hidden", FILE_ATTRIBUTE_HIDDEN },
        { "locked.txt", FILE_ATTRIBUTE_READONLY },
        { "photos", FILE_ATTRIBUTE_DIRECTORY },
        { "photos/", FILE_ATTRIBUTE_DIRECTORY },
        { "missing", INVALID_FILE_ATTRIBUTES },
    };
    for (const auto& [name, attributes] : cases)
        EXPECT_EQ(GetFileAttributes(folder_ / name), attributes) << name;
}

TEST_F(FileFunctions, ReadOnlyIsSetAndClearedOnlyWhenItChanges)
{
    folder_.Write("sheet.csv", "x");
    const std::string path = folder_ / "sheet.csv";
    EXPECT_EQ(ClearReadOnly(path), static_cast<int>(FILE_ATTRIBUTE_NORMAL)); // nothing to clear
    EXPECT_EQ(SetReadOnly(path), 1);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(SetReadOnly(path), static_cast<int>(FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(ClearReadOnly(path), 1);
    EXPECT_EQ(GetFileAttributes(path), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ClearReadOnly(folder_ / "missing"), -1);
    EXPECT_EQ(SetReadOnly(folder_ / "missing"), -1);
}

TEST_F(FileFunctions, FileTimesInLocalTimeOfTheFirstMatch)
{
    // Two files with write times a day apart; the wildcard takes the first name.
    struct tm local = {};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 5;
    local.tm_hour = 14;
    local.tm_min = 7;
    local.tm_sec = 9;
    local.tm_isdst = -1;
    const time_t when = ::mktime(&local);
    for (const auto& [name, time] : { std::pair { "a.txt", when }, std::pair { "b.txt", when + 86400 } }) {
        folder_.Write(name, "x");
        const struct timespec times[2] = { { time, 0 }, { time, 0 } };
        ASSERT_EQ(::utimensat(AT_FDCWD, (folder_ / name).c_str(), times, 0), 0);
    }
    DateTime expected;
    ASSERT_TRUE(expected.Set(5, 3, 2024, 14, 7, 9));
    EXPECT_EQ(GetFileWriteDateTime(folder_ / "a.txt"), expected);
    EXPECT_EQ(GetFileWriteDateTime(folder_ / "*.txt"), expected);
    ASSERT_TRUE(expected.Set(6, 3, 2024, 14, 7, 9));
    EXPECT_EQ(GetFileWriteDateTime(folder_ / "b.*"), expected);

    // Created just now: this year, whether the file system keeps a creation time or not.
    EXPECT_FALSE(GetFileCreationDateTime(folder_ / "a.txt").IsNull());
    EXPECT_TRUE(GetFileWriteDateTime(folder_ / "*.jpg").IsNull());
    EXPECT_TRUE(GetFileCreationDateTime(folder_ / "missing.txt").IsNull());
}

TEST_F(FileFunctions, FolderCreationSucceedsForANewOrExistingFolder)
{
    int pauses = 0;
    const Pause countPauses = [&pauses](std::chrono::milliseconds) { ++pauses; };
    EXPECT_TRUE(CreateFolderWithRetry(folder_ / "proofs", "proofs", true, countPauses));
    EXPECT_TRUE(fs::is_directory(folder_.Path() / "proofs"));
    EXPECT_TRUE(CreateFolderWithRetry(folder_ / "proofs", "proofs", true, countPauses));
    EXPECT_EQ(pauses, 0);
    EXPECT_TRUE(modal_->Messages().empty());
}

TEST_F(FileFunctions, FolderCreationFailsWithItsMessageAndLooksFourTimes)
{
    folder_.Write("proofs", "a file in the way");
    struct Case {
        std::string path;
        int pauses; // a second each, between the looks for the folder
    };
    // A file in the way is a failure, not a folder that already exists; it is seen at once.
    const std::vector<Case> cases = { { folder_ / "proofs", 0 }, { folder_ / "missing/proofs", 3 } };
    for (const Case& c : cases) {
        std::vector<std::chrono::milliseconds> pauses;
        modal_->AnswerNext(win::IDOK);
        EXPECT_FALSE(CreateFolderWithRetry(
            c.path, "proofs", true, [&pauses](std::chrono::milliseconds pause) { pauses.push_back(pause); }));
        EXPECT_EQ(pauses, std::vector<std::chrono::milliseconds>(c.pauses, std::chrono::seconds(1)))
            << c.path;
        ASSERT_FALSE(modal_->Messages().empty());
        const std::string& text = modal_->Messages().back().text;
        EXPECT_TRUE(text.starts_with("Could not create the proofs folder: " + c.path + "\n")) << text;
        EXPECT_TRUE(text.ends_with("\nPlease fix the problem and try again")) << text;
    }
    EXPECT_EQ(folder_.Read("proofs"), "a file in the way");
    // Without the message nothing is shown.
    EXPECT_FALSE(
        CreateFolderWithRetry(folder_ / "proofs", "proofs", false, [](std::chrono::milliseconds) {}));
    EXPECT_EQ(modal_->Messages().size(), 2u);
}

TEST_F(FileFunctions, FreeDuplicateNames)
{
    for (const char* name : { "report.txt", "Copy of report.txt", "reportc.txt", "my.photos/readme" })
        folder_.Write(name, "x");
    const std::vector<std::tuple<std::string, bool, std::string>> cases = {
        { "report.txt", false, "Copy of Copy of report.txt" }, { "report.txt", true, "reportcc.txt" },
        { "my.photos/readme", true, "my.photos/readmec" }, // the folder's dot is no extension
        { "my.photos/readme", false, "my.photos/Copy of readme" },
        { "new.txt", false, "new.txt" }, // a free name stays
    };
    for (const auto& [name, mark, expected] : cases)
        EXPECT_EQ(FreeDuplicateName(folder_ / name, mark), folder_ / expected) << name;
}

} // namespace
