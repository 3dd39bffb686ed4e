#include "app/dialogs/ProfileValues.h"
#include "app/form/FormFixture.h"
#include "platform/qt/fw/PathText.h"
#include "records/SharedFunctions.h"

#include <QComboBox>

namespace formtest {
namespace {

std::string Entry(int i)
{
    return "RecentFilePath" + FormatZeroPadded(static_cast<unsigned>(i), 2);
}

std::deque<std::string> Paths(int from, int to)
{
    std::deque<std::string> paths;
    for (int i = to; i >= from; --i)
        paths.push_back("/layouts/l" + std::to_string(i) + ".csv");
    return paths;
}

TEST_F(FormTest, RecentListKeepsTheFifteenNewestAndMovesARepeatToTheTop)
{
    for (int i = 1; i <= 16; ++i)
        form->AddRecentPath("/layouts/l" + std::to_string(i) + ".csv");
    EXPECT_EQ(form->recentPaths, Paths(2, 16));
    form->AddRecentPath("/layouts/l5.csv");
    ASSERT_EQ(form->recentPaths.size(), 15u);
    EXPECT_EQ(form->recentPaths.front(), "/layouts/l5.csv");
    EXPECT_EQ(form->recentPaths.back(), "/layouts/l2.csv");
    EXPECT_EQ(form->recentCombo.GetCount(), 15);
    EXPECT_EQ(form->recentCombo.GetCurSel(), 0);
    EXPECT_EQ(Text(1009), "/layouts/l5.csv");
}

TEST_F(FormTest, RecentListPersistsAcrossAFreshFormAndLeavesNoStaleEntries)
{
    for (int i = 1; i <= 5; ++i)
        form->AddRecentPath("/layouts/l" + std::to_string(i) + ".csv");
    CloseForm();
    OpenForm();
    EXPECT_EQ(form->recentPaths, Paths(1, 5));
    // A shorter list written at exit: the entries it left are cleared, not read back next time.
    form->RemoveRecentPath("/layouts/l5.csv");
    form->RemoveRecentPath("/layouts/l4.csv");
    CloseForm();
    EXPECT_EQ(Stored("Settings", Entry(2)), "/layouts/l1.csv");
    EXPECT_EQ(Stored("Settings", Entry(3)), "");
    EXPECT_EQ(Stored("Settings", Entry(4)), "");
    OpenForm();
    EXPECT_EQ(form->recentPaths, Paths(1, 3));
}

TEST_F(FormTest, RecentEntriesAfterAGapAreReadAndARepeatedInitialUpdateReadsNothingAgain)
{
    CloseForm();
    GetTheApp().WriteProfileString("Settings", Entry(0), "/a.csv");
    GetTheApp().WriteProfileString("Settings", Entry(1), "/b.csv");
    GetTheApp().WriteProfileString("Settings", Entry(7), "/h.csv");
    OpenForm();
    EXPECT_EQ(form->recentPaths, (std::deque<std::string> { "/a.csv", "/b.csv", "/h.csv" }));
    form->OnInitialUpdate(); // File New sends it again
    EXPECT_EQ(form->recentPaths, (std::deque<std::string> { "/a.csv", "/b.csv", "/h.csv" }));
}

TEST_F(FormTest, AFailedOpenDropsThePathAndLeavesNoSelection)
{
    const std::string missing = (Folder() / "gone.csv").string();
    form->AddRecentPath(missing);
    form->AddRecentPath("/layouts/other.csv");
    modal->AnswerNext(win::IDOK); // the document's "Could not open file: " message
    document->OpenLayout(missing);
    EXPECT_EQ(form->recentPaths, (std::deque<std::string> { "/layouts/other.csv" }));
    EXPECT_EQ(form->recentCombo.GetCurSel(), fw::CB_ERR);
}

TEST_F(FormTest, ASavedPathComesToTheTopOfTheList)
{
    form->AddRecentPath("/layouts/other.csv");
    const std::string path = (Folder() / "saved.csv").string();
    modal->AnswerNextFile(win::IDOK, path);
    form->OnSaveAs();
    EXPECT_EQ(form->recentPaths.front(), path);
    EXPECT_EQ(Text(1009), path);
}

TEST_F(FormTest, ChoosingARecentEntryOpensIt)
{
    const std::string path = (Folder() / "saved.csv").string();
    ASSERT_TRUE(document->WriteLayout(path));
    form->AddRecentPath(path);
    form->AddRecentPath("/layouts/other.csv");
    document->GetLayout().SetOverprintWord("Changed");
    form->recentCombo.SetCurSel(1);
    form->OnRecentSelChange();
    EXPECT_EQ(document->GetPath(), path);
    EXPECT_EQ(form->recentPaths.front(), path);
}

// A recent layout shows its name as the file system has it (UTF-8, or byte by byte where it is
// not UTF-8) and opens by its very bytes.
TEST_F(FormTest, RecentEntriesShowTheirPathsAndOpenByTheirBytes)
{
    const std::string accented = (Folder() / "été.csv").string();
    const std::string notUtf8 = (Folder() / "\xE9t\xE9.csv").string();
    for (const std::string& path : { accented, notUtf8 })
        ASSERT_TRUE(document->WriteLayout(path));
    form->AddRecentPath(notUtf8);
    form->AddRecentPath(accented);
    const auto* combo = qobject_cast<QComboBox*>(form->recentCombo.GetWidget());
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->itemText(0), QString::fromStdString(accented));
    EXPECT_EQ(combo->itemText(1), fw::PathToText(notUtf8));
    form->recentCombo.SetCurSel(1);
    form->OnRecentSelChange();
    EXPECT_EQ(document->GetPath(), notUtf8);
    EXPECT_EQ(form->recentPaths.front(), notUtf8);
    EXPECT_EQ(form->recentCombo.GetCurSel(), 0);
}

} // namespace
} // namespace formtest
