#include "app/dialogs/ProgramFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ProgramFolder, IsThePathUpToItsLastSlash)
{
    struct Case {
        const char* path;
        const char* folder;
    };
    for (const Case& c : {
             Case { "/opt/orvanel/bin/orvanel", "/opt/orvanel/bin/" },
             Case { "/home/studio/My Programs/orvanel", "/home/studio/My Programs/" },
             Case { "/orvanel", "/" },
         })
        EXPECT_EQ(ProgramFolderOf(c.path), c.folder) << c.path;
}

TEST(ProgramFolder, OfABareNameIsTheRunningProgramsNotTheCurrentFolder)
{
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path("/");
    const std::string folder = ProgramFolderOf("orvanel");
    std::filesystem::current_path(previous);
    EXPECT_EQ(folder, RunningProgramFolder());
    EXPECT_NE(folder, "/");
}

TEST(ProgramFolder, OfTheRunningProgramHoldsItsExecutable)
{
    const std::string folder = RunningProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(folder + "app_tests"));
}

} // namespace
