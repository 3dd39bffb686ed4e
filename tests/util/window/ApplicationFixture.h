// An application object with windows for the test's lifetime (offscreen), scripted modal
// services that fail the test on a modal nobody expected, and the folder for pictures to look at.
#pragma once

#include "platform/win/AppContext.h"
#include "platform/win/ScriptedModalServices.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

class ApplicationFixture : public ::testing::Test {
protected:
    ApplicationFixture() { win::AppContext::Instance().SetModalServices(modal_); }
    ~ApplicationFixture() override
    {
        EXPECT_TRUE(modal_->Unexpected().empty());
        win::AppContext::Instance().Reset();
    }

    static std::string OutputPath(const std::string& name)
    {
        std::filesystem::create_directories(ORVANEL_TEST_OUTPUT);
        return std::string(ORVANEL_TEST_OUTPUT) + "/" + name;
    }

    int argc_ = 1;
    char name_[16] = "util_tests";
    char* argv_[2] = { name_, nullptr };
    QApplication app_ { argc_, argv_ };
    const std::shared_ptr<win::ScriptedModalServices> modal_ = std::make_shared<win::ScriptedModalServices>();
};
