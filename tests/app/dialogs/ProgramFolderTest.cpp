#include "app/dialogs/ProgramFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ProgramFolder, OfTheRunningProgramHoldsItsExecutable)
{
    const std::string folder = RunningProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(folder + "app_tests"));
}

} // namespace
