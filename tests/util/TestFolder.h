// A temporary folder of the running test's own (named after the process and the test, so that
// parallel runs do not meet), emptied when made and removed when the object goes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

class TestFolder {
public:
    explicit TestFolder(const std::string& kind)
        : path_(std::filesystem::temp_directory_path()
            / ("orvanel-" + kind + "-" + std::to_string(::getpid()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TestFolder() { std::filesystem::remove_all(path_); }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};
