#include "records/SharedFunctions.h"

#include "UnexpectedModals.h"
#include "platform/win/LastError.h"
#include "platform/win/ScriptedModalServices.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

class SharedFunctions : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetTheApp().Reset();
        modal_ = std::make_shared<win::ScriptedModalServices>();
        GetTheApp().SetModalServices(modal_);
        win::SetLastError(0);
    }
    void TearDown() override
    {
        ExpectNoUnexpectedModals();
        GetTheApp().Reset();
    }

    std::shared_ptr<win::ScriptedModalServices> modal_;
};

TEST_F(SharedFunctions, ErrorMessageAfterAFailedOpenNamesTheCause)
{
    const std::string path = "/nonexistent-folder/missing.lay";
    std::FILE* file = std::fopen(path.c_str(), "r");
    ASSERT_EQ(file, nullptr);
    win::CaptureLastError();
    errno = 0; // later calls may change errno; the captured code stays

    modal_->AnswerNext(win::IDOK);
    ShowErrorMessage("Could not open file: " + path, "");
    ASSERT_EQ(modal_->Messages().size(), 1u);
    EXPECT_EQ(modal_->Messages()[0].text, "Could not open file: " + path + "\nNo such file or directory");
    EXPECT_EQ(modal_->Messages()[0].flags, win::MB_OK);
}

TEST_F(SharedFunctions, ErrorMessageLayout)
{
    struct Case {
        std::string prefix, suffix, shown;
    };
    for (const auto& c : std::vector<Case> { { "Prefix", "Suffix", "Prefix\nReason not known\nSuffix" },
             { "", "Suffix", "Reason not known\nSuffix" }, { "", "", "Reason not known" } }) {
        modal_->AnswerNext(win::IDOK);
        ShowErrorMessage(c.prefix, c.suffix);
        EXPECT_EQ(modal_->Messages().back().text, c.shown);
    }
}

TEST_F(SharedFunctions, LastErrorTextIsPerThread)
{
    win::SetLastError(EACCES);
    std::string other;
    std::thread([&] { GetLastErrorText(other); }).join();
    std::string mine;
    GetLastErrorText(mine);
    EXPECT_EQ(other, "Reason not known");
    EXPECT_EQ(mine, "Permission denied");
    win::SetLastError(999999);
    GetLastErrorText(mine);
    EXPECT_EQ(mine, "Reason not known") << "a code the system has no text for";
}

TEST_F(SharedFunctions, SettingsGoThroughOneApplicationObject)
{
    EXPECT_EQ(&GetTheApp(), &GetTheApp());
    GetTheApp().WriteProfileInt("Settings", "Updater", 0);
    EXPECT_EQ(GetProfileIntValue("Updater", 1, "Settings"), 0);
    EXPECT_EQ(GetProfileIntValue("Missing", 5, "Settings"), 5);
}

TEST(FileOrFolderExists, FilesFoldersAndWildcards)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("orvanel-exists-" + std::to_string(::getpid()));
    fs::create_directories(root / "sub");
    std::ofstream(root / "proof-01.jpg") << "x";
    const std::string folder = root.string();

    struct Case {
        std::string path;
        bool exists;
    };
    const std::vector<Case> cases = {
        { "", false },
        { folder, true },
        { folder + "/", true },
        { folder + "\\", true },
        { folder + "/sub/", true },
        { folder + "/proof-01.jpg", true },
        { folder + "/proof-02.jpg", false },
        { folder + "/*.jpg", true },
        { folder + "/proof-??.jpg", true },
        { folder + "/proof-?.jpg", false },
        { folder + "/*.png", false },
        { folder + "/sub/*", false }, // an empty folder matches nothing
        { folder + "/missing/*", false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileOrFolderExists(c.path), c.exists) << c.path;
    fs::remove_all(root);
}

TEST(NoCase, FindAndCompare)
{
    EXPECT_EQ(FindNoCase("Portrait NoMount pack", "nomount"), 9u);
    EXPECT_EQ(FindNoCase("Portrait", ""), 0u);
    EXPECT_EQ(FindNoCase("Portrait", "x"), std::string::npos);
    EXPECT_EQ(FindNoCase("Portrait", "TRAIT"), 3u);
    EXPECT_EQ(FindNoCase("\xE9t\xE9", "\xC9T\xC9"), std::string::npos) << "only ASCII letters fold";
    EXPECT_EQ(FindNoCase("\xE9t\xE9", "T\xE9"), 1u);

    struct CompareCase {
        std::string a, b;
        int sign;
    };
    for (const auto& c : std::vector<CompareCase> { { "abc", "ABC", 0 }, { "abc", "abd", -1 },
             { "b", "A", 1 }, { "ab", "abc", -1 }, { "abc", "ab", 1 }, { "", "", 0 }, { "\xE9", "a", 1 },
             { "\xC9", "\xE9", -1 } }) {
        const int result = CompareNoCase(c.a, c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " vs " << c.b;
    }
    EXPECT_EQ(CompareNoCase("abc", "abd"), 'C' - 'D');

    EXPECT_EQ(CompareNoCase("Pack Gold Deluxe", 5, 4, "GOLD"), 0);
    EXPECT_LT(CompareNoCase("Pack Gold", 5, 4, "silver"), 0);
    EXPECT_THROW(CompareNoCase("abc", 4, 1, "a"), std::out_of_range);
}

} // namespace
