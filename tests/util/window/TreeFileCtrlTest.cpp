#include "util/window/TreeFileCtrl.h"

#include "platform/win/AppContext.h"
#include "tests/util/TempFolder.h"
#include "tests/util/window/ApplicationFixture.h"

#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace {

namespace fs = std::filesystem;

class TreeFileCtrlTest : public ApplicationFixture {
protected:
    TreeFileCtrlTest()
    {
        folder_.Write("photos/Beta/b1.jpg", "b");
        folder_.Write("photos/alpha/a1.jpg", "a");
        folder_.Write("photos/Zeta.txt", "z");
        folder_.Write("photos/apple.txt", "p");
        folder_.Write("photos/.hidden", "h");
        fs::create_directories(folder_.Path() / "photos/empty");
        folder_.Write("other/x.txt", "x");
        tree_ = CTreeFileCtrl::CreateObject();
        tree_->resize(320, 360);
    }

    std::vector<std::string> Texts(QTreeWidgetItem* parent) const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < parent->childCount(); ++i)
            texts.push_back(parent->child(i)->text(0).toStdString());
        return texts;
    }
    std::string Root() const { return folder_ / "photos"; }

    TempFolder folder_;
    std::unique_ptr<CTreeFileCtrl> tree_;
};

TEST_F(TreeFileCtrlTest, ListsLazilyFoldersFirstWithoutRegardToCaseAndFilesOnAndOff)
{
    tree_->SetRootFolder(Root() + "/");
    EXPECT_EQ(tree_->GetRootFolder(), Root());
    EXPECT_EQ(Texts(tree_->invisibleRootItem()),
        (std::vector<std::string> { "alpha", "Beta", "empty", "apple.txt", "Zeta.txt" }));
    QTreeWidgetItem* alpha = tree_->topLevelItem(0);
    EXPECT_EQ(alpha->childCount(), 0); // not listed before it is expanded
    EXPECT_EQ(alpha->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    // Files never show an expand button; an empty folder loses it once listed.
    EXPECT_EQ(tree_->topLevelItem(3)->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
    alpha->setExpanded(true);
    EXPECT_EQ(Texts(alpha), (std::vector<std::string> { "a1.jpg" }));
    QTreeWidgetItem* empty = tree_->topLevelItem(2);
    empty->setExpanded(true);
    EXPECT_EQ(empty->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);

    // Collapsing forgets the listing: expanding again reads the folder afresh.
    alpha->setExpanded(false);
    EXPECT_EQ(alpha->childCount(), 0);
    folder_.Write("photos/alpha/a2.jpg", "a");
    alpha->setExpanded(true);
    EXPECT_EQ(Texts(alpha), (std::vector<std::string> { "a1.jpg", "a2.jpg" }));

    tree_->SetFileNameMask("*.txt");
    tree_->SetExtensionMode(0);
    EXPECT_EQ(Texts(tree_->invisibleRootItem()),
        (std::vector<std::string> { "alpha", "Beta", "empty", "apple", "Zeta" }));
    EXPECT_NE(tree_->PathToItem(Root() + "/Zeta.txt"), nullptr); // found by its full name
    tree_->SetFileNameMask("*.*");
    EXPECT_EQ(tree_->PathToItem(Root() + "/.hidden"), nullptr);
    tree_->SetAttributeHideMask(0);
    EXPECT_NE(tree_->PathToItem(Root() + "/.hidden"), nullptr);

    tree_->SetFlags(0x3E); // every allowance, no files
    EXPECT_EQ(Texts(tree_->invisibleRootItem()), (std::vector<std::string> { "alpha", "Beta", "empty" }));
    EXPECT_EQ(tree_->PathToItem(Root() + "/alpha")->childCount(), 0);
    EXPECT_TRUE(tree_->DeleteItemFile(tree_->PathToItem(Root() + "/empty"), true));
}

TEST_F(TreeFileCtrlTest, FindsAndSelectsPathsExactlyInsideTheRootOnly)
{
    fs::create_directories(folder_.Path() / "photos2/alpha");
    tree_->SetRootFolder(Root());
    EXPECT_EQ(tree_->PathToItem(Root() + "/alpha/a1.jpg"), nullptr); // not listed yet
    QTreeWidgetItem* item = tree_->SetSelectedPath(Root() + "/alpha/a1.jpg", false);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(tree_->GetSelectedPath(), Root() + "/alpha/a1.jpg");
    EXPECT_EQ(tree_->PathToItem(Root() + "/alpha/a1.jpg"), item);
    EXPECT_TRUE(tree_->PathToItem(Root() + "/alpha")->isExpanded());
    // Letter case matters; a sibling folder sharing the root's name as a prefix is outside.
    EXPECT_EQ(tree_->SetSelectedPath(Root() + "/ALPHA", false), nullptr);
    EXPECT_EQ(tree_->SetSelectedPath(folder_ / "photos2/alpha", false), nullptr);
    EXPECT_EQ(tree_->SetSelectedPath(Root() + "/missing/x", false), nullptr);
    EXPECT_EQ(tree_->SetSelectedPath("", false), nullptr);

    tree_->SetShowRootItem(true);
    ASSERT_EQ(tree_->topLevelItemCount(), 1);
    EXPECT_TRUE(tree_->RootItem()->isExpanded());
    EXPECT_EQ(tree_->PathToItem(Root()), tree_->RootItem());
    // The selection survives the rebuild.
    EXPECT_EQ(tree_->GetSelectedPath(), Root() + "/alpha/a1.jpg");
}

TEST_F(TreeFileCtrlTest, ComputerItemListsTheMountsOfTheTableAndFindsPathsUnderThem)
{
    fs::create_directories(folder_.Path() / "share/jobs");
    folder_.Write("mounts",
        "/dev/sda1 " + (folder_ / "other") + " ext4 rw 0 0\nproc /proc proc rw 0 0\n/dev/sda2 " + Root()
            + " ext4 rw 0 0\nserver:/jobs " + (folder_ / "share") + " nfs4 rw 0 0\n");
    tree_->SetMountTable(folder_ / "mounts");
    ASSERT_NE(tree_->ComputerItem(), nullptr);
    ASSERT_NE(tree_->NetworkItem(), nullptr);
    EXPECT_EQ(tree_->topLevelItemCount(), 2);
    QTreeWidgetItem* jobs = tree_->SetSelectedPath(folder_ / "share/jobs", false);
    ASSERT_NE(jobs, nullptr);
    EXPECT_EQ(jobs->parent()->parent(), tree_->NetworkItem());
    QTreeWidgetItem* item = tree_->SetSelectedPath(Root() + "/Beta/b1.jpg", false);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(Texts(tree_->ComputerItem()), (std::vector<std::string> { folder_ / "other", Root() }));
    EXPECT_EQ(item->parent()->parent()->text(0).toStdString(), Root());

    tree_->SetShowNetwork(false);
    tree_->SetShowMyComputer(false);
    EXPECT_EQ(Texts(tree_->invisibleRootItem()), (std::vector<std::string> { folder_ / "other", Root() }));
}

TEST_F(TreeFileCtrlTest, AVanishedItemGoesAndItsParentKeepsTheButtonWhileSiblingsRemain)
{
    tree_->SetRootFolder(Root());
    tree_->SetAllowDelete(true);
    tree_->SetSelectedPath(Root() + "/Beta/b1.jpg", false);
    folder_.Write("photos/Beta/b2.jpg", "b");
    tree_->Refresh();
    QTreeWidgetItem* beta = tree_->PathToItem(Root() + "/Beta");
    ASSERT_EQ(beta->childCount(), 2);
    EXPECT_TRUE(tree_->DeleteItemFile(beta->child(0), true));
    EXPECT_EQ(beta->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    EXPECT_TRUE(tree_->DeleteItemFile(beta->child(0), true));
    EXPECT_EQ(beta->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);

    // Selecting or expanding an item whose file went outside the control removes it.
    fs::remove_all(folder_.Path() / "photos/alpha");
    fs::remove(folder_.Path() / "photos/apple.txt");
    tree_->setCurrentItem(tree_->PathToItem(Root() + "/apple.txt"));
    tree_->PathToItem(Root() + "/alpha")->setExpanded(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(Texts(tree_->invisibleRootItem()), (std::vector<std::string> { "Beta", "empty", "Zeta.txt" }));
}

TEST_F(TreeFileCtrlTest, HistoryKeepsPathsDropsVanishedOnesAndSurvivesRebuild)
{
    tree_->SetRootFolder(Root());
    for (const char* path : { "/alpha", "/Beta", "/Zeta.txt", "/Beta/b1.jpg" })
        tree_->SetSelectedPath(Root() + path, false);
    EXPECT_EQ(tree_->GetBackCount(), 3);
    tree_->Refresh(); // frees every item; the history holds paths
    tree_->GoBack();
    EXPECT_EQ(tree_->GetSelectedPath(), Root() + "/Zeta.txt");
    EXPECT_EQ(tree_->GetForwardItemPath(0), Root() + "/Beta/b1.jpg");
    fs::remove_all(folder_.Path() / "photos/Beta");
    tree_->Refresh();
    tree_->GoBack(); // "Beta" is gone: dropped, "alpha" selected
    EXPECT_EQ(tree_->GetSelectedPath(), Root() + "/alpha");
    EXPECT_FALSE(tree_->CanGoBack());
    tree_->GoForward();
    EXPECT_EQ(tree_->GetSelectedPath(), Root() + "/Zeta.txt");

    // The back history holds at most the limit plus one; a lower limit keeps the oldest.
    tree_->SetMaxHistory(2);
    for (int i = 0; i < 6; ++i)
        tree_->SetSelectedPath(Root() + (i % 2 == 0 ? "/alpha" : "/empty"), false);
    EXPECT_EQ(tree_->GetBackCount(), 3);
}

TEST_F(TreeFileCtrlTest, ExpandAllEndsOnALinkLoopAndNeverEntersLinks)
{
    fs::create_symlink(folder_.Path() / "photos", folder_.Path() / "photos/alpha/loop");
    tree_->SetRootFolder(Root());
    tree_->ExpandAll();
    QTreeWidgetItem* loop = tree_->PathToItem(Root() + "/alpha/loop");
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->childCount(), 0);
    EXPECT_FALSE(loop->isExpanded());
    EXPECT_TRUE(tree_->PathToItem(Root() + "/Beta")->isExpanded());
    tree_->CollapseAll();
    EXPECT_FALSE(tree_->PathToItem(Root() + "/Beta")->isExpanded());

    tree_->show();
    tree_->SetSelectedPath(Root() + "/Beta/b1.jpg", false);
    tree_->grab().save(QString::fromStdString(OutputPath("file-tree.png")));
}

} // namespace
