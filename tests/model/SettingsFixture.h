// A fresh in-memory settings store on the application object for each test, which also records
// the order in which integers are read.
#pragma once

#include "UnexpectedModals.h"
#include "platform/win/AppContext.h"
#include "platform/win/ProfileStore.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class ReadRecordingStore : public win::MemoryProfileStore {
public:
    int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const override
    {
        reads.push_back(std::string(section) + "/" + std::string(entry));
        return MemoryProfileStore::GetProfileInt(section, entry, defaultValue);
    }
    mutable std::vector<std::string> reads;
};

class SettingsFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        win::AppContext::Instance().Reset();
        win::AppContext::Instance().SetProfileStore(store);
    }
    void TearDown() override
    {
        ExpectNoUnexpectedModals();
        win::AppContext::Instance().Reset();
    }

    std::shared_ptr<ReadRecordingStore> store = std::make_shared<ReadRecordingStore>();
};
