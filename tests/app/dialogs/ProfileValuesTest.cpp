#include "app/dialogs/ProfileValues.h"
#include "app/dialogs/DialogsFixture.h"
#include "records/SharedFunctions.h"

#include <ostream>

namespace dialogstest {
namespace {

struct PaddingCase {
    unsigned value;
    int width;
    const char* expected;
};

void PrintTo(const PaddingCase& c, std::ostream* os)
{
    *os << c.value << " in width " << c.width;
}

class FormatZeroPaddedTest : public ::testing::TestWithParam<PaddingCase> { };

TEST_P(FormatZeroPaddedTest, FillsWithLeadingZerosToTheWidth)
{
    EXPECT_EQ(FormatZeroPadded(GetParam().value, GetParam().width), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, FormatZeroPaddedTest,
    ::testing::Values(PaddingCase { 7, 2, "07" }, PaddingCase { 123, 2, "123" }, PaddingCase { 0, 2, "00" },
        PaddingCase { 15, 2, "15" }, PaddingCase { 99, 2, "99" }, PaddingCase { 5, 0, "5" },
        PaddingCase { 5, -3, "5" }, PaddingCase { 4294967295u, 12, "004294967295" }));

using GetProfileStringValueTest = DialogsTest;

TEST_F(GetProfileStringValueTest, GivesTheStoredTextOrTheDefaultWhenAbsent)
{
    GetTheApp().WriteProfileString("Settings", "ImageViewer", "/usr/bin/eog");
    GetTheApp().WriteProfileString("Settings", "Blank", "");
    GetTheApp().WriteProfileString("PersistentCombos", "PackCsv00", "/p/Packs.csv");
    struct Case {
        const char* section;
        const char* entry;
        const char* defaultValue;
        const char* expected;
    };
    for (const Case& c : {
             Case { "Settings", "ImageViewer", "none", "/usr/bin/eog" },
             Case { "Settings", "Missing", "none", "none" },
             Case { "Settings", "Blank", "none", "" }, // stored empty is not absent
             Case { "PersistentCombos", "PackCsv00", "", "/p/Packs.csv" },
             Case { "Other", "PackCsv00", "", "" },
         })
        EXPECT_EQ(GetProfileStringValue(c.section, c.entry, c.defaultValue), c.expected)
            << c.section << "/" << c.entry;
}

using ProfileWrappersTest = DialogsTest;

TEST_F(ProfileWrappersTest, WrittenValuesReadBackThroughTheWrappersAndTheProfileFunctions)
{
    EXPECT_TRUE(WriteProfileStringValue("Settings", "ImageViewer", "/usr/bin/eog"));
    EXPECT_TRUE(WriteProfileIntegerValue("Settings", "Updater", -7));
    EXPECT_TRUE(WriteProfileIntegerValue("Settings", "Flag", 2));
    EXPECT_EQ(GetProfileStringValue("Settings", "ImageViewer", ""), "/usr/bin/eog");
    EXPECT_EQ(GetTheApp().GetProfileString("Settings", "ImageViewer", ""), "/usr/bin/eog");
    EXPECT_EQ(GetProfileIntegerValue("Settings", "Updater", 1), -7);
    EXPECT_EQ(GetTheApp().GetProfileInt("Settings", "Updater", 1), -7);
    EXPECT_EQ(GetProfileIntegerValue("Settings", "Missing", 42), 42);
    struct Case {
        const char* entry;
        bool defaultValue;
        bool expected;
    };
    for (const Case& c : { Case { "Flag", false, true }, Case { "Updater", false, true },
             Case { "Missing", true, true }, Case { "Missing", false, false } })
        EXPECT_EQ(GetProfileBoolValue("Settings", c.entry, c.defaultValue), c.expected) << c.entry;
    EXPECT_TRUE(WriteProfileIntegerValue("Settings", "Flag", 0));
    EXPECT_FALSE(GetProfileBoolValue("Settings", "Flag", true));
}

} // namespace
} // namespace dialogstest
