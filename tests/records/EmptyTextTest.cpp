#include "records/EmptyText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Taken while this file's static objects are built, in whatever order the files are initialised.
const std::string* const emptyTextSeenEarly = &EmptyText();
const std::string copiedEarly = EmptyText() + "kept";

TEST(EmptyText, IsOneEmptyTextThatStaticObjectsOfOtherFilesCanAlreadyRead)
{
    EXPECT_EQ(emptyTextSeenEarly, &EmptyText());
    EXPECT_TRUE(emptyTextSeenEarly->empty());
    EXPECT_EQ(copiedEarly, "kept");
}

} // namespace
