#include "util/window/TreeFileCtrl.h"

#include "platform/qt/fw/CmdTarget.h"
#include "platform/qt/fw/CmdUI.h"
#include "platform/qt/fw/Control.h"
#include "platform/qt/fw/ControlHost.h"
#include "platform/qt/fw/DataExchange.h"
#include "platform/qt/fw/DialogTemplate.h"
#include "platform/win/AppContext.h"
#include "tests/util/TempFolder.h"
#include "tests/util/window/ApplicationFixture.h"
#include "util/window/SystemImageList.h"
#include "util/window/TreeFileItemIcon.h"

#include <QGuiApplication>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
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
    modal_->AnswerNext(win::IDYES);
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

TEST_F(TreeFileCtrlTest, ADiscDriveWithoutAMediumListsNothing)
{
    const std::string disc = folder_ / "disc"; // its mount point gone: no medium answers
    folder_.Write("mounts",
        "/dev/sr0 " + disc + " iso9660 ro 0 0\n/dev/sr1 " + Root() + " udf ro 0 0\n/dev/sda1 "
            + (folder_ / "other") + " ext4 rw 0 0\n");
    tree_->SetMountTable(folder_ / "mounts");
    EXPECT_FALSE(tree_->CanAccessDrive(disc));
    EXPECT_TRUE(tree_->CanAccessDrive(Root() + "/alpha"));
    EXPECT_TRUE(tree_->CanAccessDrive(folder_ / "other"));
    tree_->ComputerItem()->setExpanded(true);
    QTreeWidgetItem* empty = tree_->PathToItem(disc);
    ASSERT_NE(empty, nullptr);
    empty->setExpanded(true);
    EXPECT_FALSE(empty->isExpanded());
    EXPECT_EQ(empty->childCount(), 0);
    QTreeWidgetItem* present = tree_->PathToItem(Root());
    present->setExpanded(true);
    EXPECT_GT(present->childCount(), 0);
}

// Answers volume serials from a table, so that a test can put media in and take them out.
class ScriptedSerialTree : public CTreeFileCtrl {
public:
    std::optional<unsigned long long> GetVolumeSerial(const std::string& path) override
    {
        asked.push_back(path);
        const auto found = serials.find(path);
        return found != serials.end() ? std::optional(found->second) : std::nullopt;
    }
    std::map<std::string, unsigned long long> serials;
    std::vector<std::string> asked;
};

TEST_F(TreeFileCtrlTest, KeepsTheLastSerialReadPerDriveOnOpeningADiscAndOnSelectingADrive)
{
    const std::string disc = Root(), fixed = folder_ / "other";
    folder_.Write("mounts", "/dev/sr0 " + disc + " udf ro 0 0\n/dev/sda1 " + fixed + " ext4 rw 0 0\n");
    ScriptedSerialTree tree;
    tree.SetMountTable(folder_ / "mounts");
    constexpr unsigned long long none = CTreeFileCtrl::kNoVolumeSerial;
    EXPECT_EQ(tree.StoredVolumeSerial(disc), none);

    tree.serials[disc] = 0x1234ABCD;
    EXPECT_TRUE(tree.CanAccessDrive(disc + "/alpha"));
    EXPECT_EQ(tree.StoredVolumeSerial(disc + "/Beta/b1.jpg"), 0x1234ABCDU); // kept under the drive
    EXPECT_TRUE(tree.CanAccessDrive(fixed)); // a fixed drive is not asked
    EXPECT_EQ(tree.asked, std::vector<std::string> { disc });
    EXPECT_EQ(tree.StoredVolumeSerial(fixed), none);

    tree.serials.erase(disc); // the disc taken out: its old serial is forgotten
    EXPECT_FALSE(tree.CanAccessDrive(disc));
    EXPECT_EQ(tree.StoredVolumeSerial(disc), none);
    tree.serials[disc] = 0x5678; // another disc, read on opening the drive
    tree.ComputerItem()->setExpanded(true);
    tree.PathToItem(disc)->setExpanded(true);
    EXPECT_EQ(tree.StoredVolumeSerial(disc), 0x5678U);

    // Selecting a drive of any kind reads its serial; a failed read leaves the item as it is.
    tree.serials[fixed] = 0x42;
    tree.setCurrentItem(tree.PathToItem(fixed));
    EXPECT_EQ(tree.StoredVolumeSerial(fixed), 0x42U);
    tree.serials.erase(fixed);
    tree.setCurrentItem(tree.PathToItem(disc));
    tree.setCurrentItem(tree.PathToItem(fixed));
    QCoreApplication::processEvents();
    EXPECT_EQ(tree.StoredVolumeSerial(fixed), none);
    EXPECT_EQ(tree.GetSelectedPath(), fixed);
    // Selecting a folder reads nothing, and a path on no drive has no entry.
    tree.asked.clear();
    tree.setCurrentItem(tree.PathToItem(disc + "/alpha"));
    EXPECT_EQ(tree.asked, std::vector<std::string> {});
    EXPECT_EQ(tree.StoredVolumeSerial("/nowhere"), none);
}

TEST_F(TreeFileCtrlTest, DrivesShowTheLabelOfTheirVolumeWhenNamesAreOn)
{
    folder_.Write("dev/sdz1", "");
    folder_.Write("dev/sdz2", "");
    fs::create_directories(folder_.Path() / "labels");
    // Both names as the system writes them: a blank of the label as "\x20", of the mount point as "\040".
    fs::create_directory_symlink("../dev/sdz1", folder_.Path() / "labels/Studio\\x20Card");
    fs::create_directories(folder_.Path() / "photo card");
    folder_.Write("mounts",
        (folder_ / "dev/sdz1") + " " + Root() + " ext4 rw 0 0\n" + (folder_ / "dev/sdz2") + " "
            + (folder_ / "photo\\040card") + " ext4 rw 0 0\n");
    tree_->SetVolumeLabels(folder_ / "labels");
    tree_->SetMountTable(folder_ / "mounts");
    EXPECT_EQ(tree_->GetDriveDisplayName(Root()), "Studio Card (" + Root() + ")");
    EXPECT_EQ(tree_->GetDriveDisplayName(folder_ / "photo card"), folder_ / "photo card");
    tree_->ComputerItem()->setExpanded(true);
    EXPECT_EQ(Texts(tree_->ComputerItem()),
        (std::vector<std::string> { "Studio Card (" + Root() + ")", folder_ / "photo card" }));
    EXPECT_NE(tree_->SetSelectedPath(Root() + "/alpha", false), nullptr); // found by path, not by the text
    tree_->SetShowDriveNames(false);
    tree_->ComputerItem()->setExpanded(true);
    EXPECT_EQ(Texts(tree_->ComputerItem()), (std::vector<std::string> { Root(), folder_ / "photo card" }));
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
    modal_->AnswerNext(win::IDYES);
    EXPECT_TRUE(tree_->DeleteItemFile(beta->child(0), true));
    EXPECT_EQ(beta->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    modal_->AnswerNext(win::IDYES);
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
    for (const char* path : { "/alpha", "/Beta/b1.jpg", "/Zeta.txt" })
        tree_->SetSelectedPath(Root() + path, false);
    // The folder on the way was selected too.
    EXPECT_EQ(tree_->GetBackCount(), 3);
    EXPECT_EQ(tree_->GetBackItemPath(1), Root() + "/Beta");
    tree_->Refresh(); // frees every item; the history holds paths
    EXPECT_EQ(tree_->GetBackCount(), 3);
    tree_->GoBack();
    EXPECT_EQ(tree_->GetSelectedPath(), Root() + "/Beta/b1.jpg");
    EXPECT_EQ(tree_->GetForwardItemPath(0), Root() + "/Zeta.txt");
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

namespace {

class CountingUpTree : public CTreeFileCtrl {
public:
    void OnUpOneLevel() override { ++ups; }
    int ups = 0;
};

struct UpdateStates {
    bool back;
    bool forward;
    bool up;
};

UpdateStates Updates(const CTreeFileCtrl& tree)
{
    fw::CmdUI back(1), forward(2), up(3);
    tree.OnUpdateGoBack(back);
    tree.OnUpdateGoForward(forward);
    tree.OnUpdateUpOneLevel(up);
    return { back.IsEnabled(), forward.IsEnabled(), up.IsEnabled() };
}

TEST_F(TreeFileCtrlTest, UpdateHandlersFollowTheHistoryAndTheParentAndBackspaceCallsTheUpHook)
{
    CountingUpTree tree;
    tree.SetRootFolder(Root());
    UpdateStates states = Updates(tree);
    EXPECT_FALSE(states.back || states.forward || states.up); // nothing selected, no history

    ASSERT_NE(tree.SetSelectedPath(Root() + "/alpha/a1.jpg", false), nullptr);
    states = Updates(tree);
    EXPECT_TRUE(states.back); // the folder on the way was selected first
    EXPECT_TRUE(states.up);

    tree.SelectParentItem();
    EXPECT_EQ(tree.GetSelectedPath(), Root() + "/alpha");
    states = Updates(tree);
    EXPECT_TRUE(states.back);
    EXPECT_FALSE(states.up); // a top-level item has no parent
    tree.SelectParentItem(); // so this leaves the selection alone
    EXPECT_EQ(tree.GetSelectedPath(), Root() + "/alpha");

    tree.GoBack();
    states = Updates(tree);
    EXPECT_TRUE(states.forward);

    QTest::keyClick(&tree, Qt::Key_Backspace);
    EXPECT_EQ(tree.ups, 1);
    EXPECT_EQ(tree.GetSelectedPath(), Root() + "/alpha/a1.jpg"); // the hook decides; the base does nothing
}

TEST_F(TreeFileCtrlTest, ItemsKeepTheirIconIndexesAndFoldersHaveAnOpenOne)
{
    tree_->SetRootFolder(Root());
    QTreeWidgetItem* alpha = tree_->PathToItem(Root() + "/alpha");
    QTreeWidgetItem* apple = tree_->PathToItem(Root() + "/apple.txt");
    ASSERT_NE(alpha, nullptr);
    ASSERT_NE(apple, nullptr);
    EXPECT_EQ(CTreeFileCtrl::GetItemIconIndex(alpha), CTreeFileCtrl::GetIconIndex(Root() + "/alpha"));
    EXPECT_EQ(CTreeFileCtrl::GetItemOpenIconIndex(alpha), CTreeFileCtrl::GetOpenIconIndex(Root() + "/Beta"));
    EXPECT_NE(CTreeFileCtrl::GetItemOpenIconIndex(alpha), CTreeFileCtrl::GetItemIconIndex(alpha));
    EXPECT_FALSE(GetSystemImageList().GetIcon(CTreeFileCtrl::GetItemOpenIconIndex(alpha)).isNull());
    EXPECT_EQ(CTreeFileCtrl::GetItemOpenIconIndex(apple), CTreeFileCtrl::GetItemIconIndex(apple));
    EXPECT_NE(CTreeFileCtrl::GetItemIconIndex(apple), CTreeFileCtrl::GetItemIconIndex(alpha));
    EXPECT_EQ(CTreeFileCtrl::GetItemIconIndex(nullptr), -1);
    EXPECT_EQ(CTreeFileCtrl::GetItemOpenIconIndex(nullptr), -1);
}

// Whether the opaque pixels of the picture appear, unchanged, somewhere in the area of the image.
bool Shows(const QImage& image, const QRect& area, const QImage& picture)
{
    const QImage sought = picture.convertToFormat(QImage::Format_ARGB32);
    const QImage seen = image.convertToFormat(QImage::Format_ARGB32);
    const auto matchesAt = [&](int left, int top) {
        for (int y = 0; y < sought.height(); ++y) {
            for (int x = 0; x < sought.width(); ++x) {
                if (qAlpha(sought.pixel(x, y)) == 255 && seen.pixel(left + x, top + y) != sought.pixel(x, y))
                    return false;
            }
        }
        return true;
    };
    for (int top = area.top(); top + sought.height() <= area.bottom() + 1; ++top) {
        for (int left = area.left(); left + sought.width() <= area.right() + 1; ++left) {
            if (matchesAt(left, top))
                return true;
        }
    }
    return false;
}

QImage Picture(int index)
{
    return GetSystemImageList().GetIcon(index).pixmap(16, 16).toImage();
}

TEST_F(TreeFileCtrlTest, AFolderShowsItsOpenIconWhileSelectedWhetherExpandedOrNot)
{
    tree_->SetRootFolder(Root());
    tree_->show();
    QTreeWidgetItem* alpha = tree_->PathToItem(Root() + "/alpha");
    const QImage closed = Picture(CTreeFileCtrl::GetItemIconIndex(alpha));
    const QImage open = Picture(CTreeFileCtrl::GetItemOpenIconIndex(alpha));
    ASSERT_NE(closed, open);
    const auto shown = [&](const QImage& picture) {
        return Shows(tree_->viewport()->grab().toImage(), tree_->visualItemRect(alpha), picture);
    };
    EXPECT_TRUE(shown(closed));
    EXPECT_FALSE(shown(open));
    tree_->setCurrentItem(alpha);
    EXPECT_TRUE(shown(open));
    EXPECT_FALSE(shown(closed));
    alpha->setExpanded(true);
    EXPECT_TRUE(shown(open));
    tree_->grab().save(QString::fromStdString(OutputPath("file-tree-open-folder.png")));
    tree_->setCurrentItem(tree_->PathToItem(Root() + "/apple.txt"));
    EXPECT_TRUE(alpha->isExpanded());
    EXPECT_TRUE(shown(closed));
    EXPECT_FALSE(shown(open));
}

TEST_F(TreeFileCtrlTest, TheShareOverlayMarksBothIconsOfASharedFolder)
{
    tree_->SetRootFolder(Root());
    QTreeWidgetItem* alpha = tree_->PathToItem(Root() + "/alpha");
    const int image = CTreeFileCtrl::GetItemIconIndex(alpha);
    const int openImage = CTreeFileCtrl::GetItemOpenIconIndex(alpha);
    const QIcon plain = TreeFileItemIcon(image, openImage, false);
    const QIcon shared = TreeFileItemIcon(image, openImage, true);
    for (const QIcon::Mode mode : { QIcon::Normal, QIcon::Selected }) {
        SCOPED_TRACE(mode);
        const QImage marked = shared.pixmap(16, 16, mode).toImage();
        EXPECT_NE(marked, plain.pixmap(16, 16, mode).toImage());
        EXPECT_EQ(marked.pixelColor(2, 11), QColor(0x1F, 0x5F, 0xBF)); // inside the overlay's disc
    }
    EXPECT_EQ(plain.pixmap(16, 16, QIcon::Normal).toImage(), Picture(image));
    EXPECT_EQ(plain.pixmap(16, 16, QIcon::Selected).toImage(), Picture(openImage));
    EXPECT_TRUE(TreeFileItemIcon(-1, -1, true).isNull());
}

TEST_F(TreeFileCtrlTest, CopiesAnItemAfterAnotherAndABranchWithItsChildren)
{
    tree_->SetRootFolder(Root());
    QTreeWidgetItem* alpha = tree_->PathToItem(Root() + "/alpha");
    alpha->setExpanded(true);
    QTreeWidgetItem* apple = tree_->PathToItem(Root() + "/apple.txt");

    QTreeWidgetItem* copy = tree_->CopyItem(apple, nullptr, alpha);
    EXPECT_EQ(tree_->indexOfTopLevelItem(copy), 1);
    EXPECT_EQ(tree_->ItemToPath(copy), Root() + "/apple.txt");
    EXPECT_TRUE(tree_->ItemIsFile(copy));
    EXPECT_EQ(CTreeFileCtrl::GetItemIconIndex(copy), CTreeFileCtrl::GetItemIconIndex(apple));

    QTreeWidgetItem* beta = tree_->PathToItem(Root() + "/Beta");
    QTreeWidgetItem* last = tree_->CopyItem(apple, beta, nullptr);
    EXPECT_EQ(beta->indexOfChild(last), beta->childCount() - 1);

    // Copied into itself, the branch is copied once: its one child and the copy.
    QTreeWidgetItem* branch = tree_->CopyBranch(alpha, alpha, nullptr);
    EXPECT_EQ(Texts(alpha), (std::vector<std::string> { "a1.jpg", "alpha" }));
    EXPECT_EQ(Texts(branch), (std::vector<std::string> { "a1.jpg" }));
    EXPECT_EQ(tree_->ItemToPath(branch->child(0)), Root() + "/alpha/a1.jpg");
    EXPECT_EQ(branch->childIndicatorPolicy(), alpha->childIndicatorPolicy());
    EXPECT_EQ(tree_->CopyBranch(nullptr, beta, nullptr), nullptr);
}

} // namespace

namespace {

constexpr win::UINT kTreeId = 1001;

// A window with a tree control and a button made from a template, exchanging one path.
class TreeHost : public fw::CmdTarget, public fw::ControlHost {
public:
    TreeHost()
    {
        const fw::DialogTemplate form { 400, "Folders", 160, 120,
            { { kTreeId, fw::ControlKind::tree, "", 7, 7, 146, 86 },
                { win::IDOK, fw::ControlKind::button, "OK", 103, 99, 50, 14 } } };
        CreateControls(form, *this, &window);
    }
    void DoDataExchange(fw::DataExchange& dx) override { DDX_TreeFilePath(dx, kTreeId, path); }

    QWidget window;
    std::string path;
};

TEST_F(TreeFileCtrlTest, AttachesToATemplatesTreeControlAndExchangesTheSelectedPath)
{
    TreeHost host;
    const fw::Control& control = *host.GetDlgItem(kTreeId);
    EXPECT_EQ(CTreeFileCtrl::Attach(CTreeFileCtrl::CreateObject(), *host.GetDlgItem(win::IDOK)), nullptr);
    EXPECT_EQ(CTreeFileCtrl::FromControl(control), nullptr);
    CTreeFileCtrl* tree = CTreeFileCtrl::Attach(CTreeFileCtrl::CreateObject(), control);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(CTreeFileCtrl::FromControl(control), tree);
    EXPECT_EQ(CTreeFileCtrl::Attach(CTreeFileCtrl::CreateObject(), control), nullptr); // one tree only
    host.window.show();
    control.GetWidget()->layout()->activate();
    EXPECT_EQ(tree->geometry(), control.GetWidget()->rect()); // it fills the control

    tree->SetRootFolder(Root());
    host.path = Root() + "/alpha/a1.jpg";
    EXPECT_TRUE(host.UpdateData(win::FALSE));
    EXPECT_EQ(tree->GetSelectedPath(), Root() + "/alpha/a1.jpg");
    tree->SetSelectedPath(Root() + "/Beta", false);
    EXPECT_TRUE(host.UpdateData(win::TRUE));
    EXPECT_EQ(host.path, Root() + "/Beta");
}

// Drives mounted after the tree was built appear once their item is closed and opened again, and
// drives gone since disappear: opening reads the mount table afresh.
TEST_F(TreeFileCtrlTest, ReopeningTheComputerOrNetworkItemReadsTheDrivesAgain)
{
    fs::create_directories(folder_.Path() / "share");
    fs::create_directories(folder_.Path() / "old share");
    folder_.Write("mounts",
        "/dev/sda1 " + (folder_ / "other") + " ext4 rw 0 0\nserver:/old " + (folder_ / "old\\040share")
            + " nfs4 rw 0 0\n");
    tree_->SetMountTable(folder_ / "mounts");
    QTreeWidgetItem* computer = tree_->ComputerItem();
    QTreeWidgetItem* network = tree_->NetworkItem();
    computer->setExpanded(true);
    network->setExpanded(true);
    EXPECT_EQ(Texts(computer), (std::vector<std::string> { folder_ / "other" }));
    EXPECT_EQ(Texts(network), (std::vector<std::string> { folder_ / "old share" }));

    folder_.Write("mounts",
        "/dev/sdb1 " + Root() + " ext4 rw 0 0\nserver:/jobs " + (folder_ / "share") + " nfs4 rw 0 0\n");
    for (QTreeWidgetItem* item : { computer, network }) {
        item->setExpanded(false);
        EXPECT_EQ(item->childCount(), 0);
        EXPECT_TRUE(tree_->ItemHasChildFlag(item));
        item->setExpanded(true);
    }
    EXPECT_EQ(Texts(computer), (std::vector<std::string> { Root() }));
    EXPECT_EQ(Texts(network), (std::vector<std::string> { folder_ / "share" }));
}

// Drive names are for the drives' own items: a drive mounted inside a folder shows its own name
// there, with or without a label.
TEST_F(TreeFileCtrlTest, AMountPointInsideAFolderShowsItsOwnName)
{
    folder_.Write("dev/sdz1", "");
    folder_.Write("dev/sdz2", "");
    fs::create_directories(folder_.Path() / "labels");
    fs::create_directory_symlink("../dev/sdz2", folder_.Path() / "labels/Card");
    folder_.Write("mounts",
        (folder_ / "dev/sdz1") + " " + Root() + " ext4 rw 0 0\n" + (folder_ / "dev/sdz2") + " " + Root()
            + "/alpha ext4 rw 0 0\n");
    tree_->SetVolumeLabels(folder_ / "labels");
    tree_->SetMountTable(folder_ / "mounts");
    tree_->ComputerItem()->setExpanded(true);
    EXPECT_EQ(
        Texts(tree_->ComputerItem()), (std::vector<std::string> { Root(), "Card (" + Root() + "/alpha)" }));
    QTreeWidgetItem* photos = tree_->ComputerItem()->child(0);
    photos->setExpanded(true);
    EXPECT_EQ(
        Texts(photos), (std::vector<std::string> { "alpha", "Beta", "empty", "apple.txt", "Zeta.txt" }));
    EXPECT_TRUE(tree_->HasChildWithText(photos, "alpha"));

    tree_->SetRootFolder(Root());
    EXPECT_EQ(Texts(tree_->invisibleRootItem()),
        (std::vector<std::string> { "alpha", "Beta", "empty", "apple.txt", "Zeta.txt" }));
}

// Records what the control does and whether the wait cursor shows meanwhile.
class WatchedTree : public CTreeFileCtrl {
public:
    void DisplayPath(const std::string& path, QTreeWidgetItem* parent) override
    {
        Note("list " + path);
        CTreeFileCtrl::DisplayPath(path, parent);
    }
    void DisplayDrives(QTreeWidgetItem* parent) override
    {
        Note("drives");
        CTreeFileCtrl::DisplayDrives(parent);
    }
    void OnSelectionChanged(QTreeWidgetItem*, const std::string& path) override { selected.push_back(path); }
    void Note(const std::string& what)
    {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        const bool waiting = cursor != nullptr && cursor->shape() == Qt::WaitCursor;
        listed.push_back(what + (waiting ? " (waiting)" : ""));
    }
    std::vector<std::string> listed;
    std::vector<std::string> selected;
};

TEST_F(TreeFileCtrlTest, TheWaitCursorShowsWhileTheTreeIsBuiltOrAFolderListed)
{
    folder_.Write("mounts", "/dev/sda1 " + Root() + " ext4 rw 0 0\n");
    WatchedTree tree;
    tree.SetMountTable(folder_ / "mounts");
    tree.ComputerItem()->setExpanded(true);
    tree.SetRootFolder(Root());
    tree.PathToItem(Root() + "/alpha")->setExpanded(true);
    EXPECT_EQ(tree.listed,
        (std::vector<std::string> {
            "drives (waiting)", "list " + Root() + " (waiting)", "list " + Root() + "/alpha (waiting)" }));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// Selecting a path selects each folder on the way, as a user going there would; a rebuild brings
// the selection back the same way, and the selection hook hears of each.
TEST_F(TreeFileCtrlTest, SelectingAPathSelectsEachFolderOnTheWayAndARebuildDoesSoAgain)
{
    folder_.Write("photos/alpha/deep/d1.jpg", "d");
    WatchedTree tree;
    tree.SetRootFolder(Root());
    ASSERT_NE(tree.SetSelectedPath(Root() + "/alpha/deep/d1.jpg", false), nullptr);
    const std::vector<std::string> walk { Root() + "/alpha", Root() + "/alpha/deep",
        Root() + "/alpha/deep/d1.jpg" };
    EXPECT_EQ(tree.selected, walk);
    EXPECT_EQ(tree.GetBackCount(), 2);
    tree.selected.clear();
    tree.Refresh();
    EXPECT_EQ(tree.selected, walk);
    EXPECT_EQ(tree.GetSelectedPath(), Root() + "/alpha/deep/d1.jpg");
}

} // namespace
