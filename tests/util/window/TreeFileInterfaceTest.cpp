#include "util/window/TreeFileCtrl.h"

#include "tests/util/TempFolder.h"
#include "tests/util/window/ApplicationFixture.h"
#include "util/FolderListing.h"
#include "util/window/TreeFileItemIcon.h"

#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace {

namespace fs = std::filesystem;

std::string Name(const std::string& path)
{
    return fs::path(path).filename().string();
}

// A tree whose hooks refuse what the test names and record what they hear, whose attribute and
// share queries answer from the test's sets, and whose listing and watching operations count
// their calls before doing the base work.
class HookedTree : public CTreeFileCtrl {
public:
    bool CanDisplayFile(const fs::directory_entry& entry) const override
    {
        return !hiddenNames.contains(entry.path().filename().string())
            && CTreeFileCtrl::CanDisplayFile(entry);
    }
    bool CanDisplayFolder(const fs::directory_entry& entry) const override
    {
        return !hiddenNames.contains(entry.path().filename().string())
            && CTreeFileCtrl::CanDisplayFolder(entry);
    }
    bool CanDisplayDrive(const std::string& path) const override
    {
        return !hiddenNames.contains(Name(path)) && CTreeFileCtrl::CanDisplayDrive(path);
    }
    bool CanDisplayNetworkItem(const MountPoint& mount) const override
    {
        return !hiddenNames.contains(Name(mount.path));
    }
    void OnSelectionChanged(QTreeWidgetItem* item, const std::string& path) override
    {
        EXPECT_EQ(ItemToPath(item), path);
        selected.push_back(path);
    }
    void OnFileRenamed(const std::string& target, const std::string& source) override
    {
        heard.push_back("renamed " + Name(source) + " to " + Name(target));
    }
    void OnFileDeleted(const std::string& path) override { heard.push_back("deleted " + Name(path)); }
    bool IsCompressed(const std::string& path) const override { return compressed.contains(Name(path)); }
    bool IsEncrypted(const std::string& path) const override { return encrypted.contains(Name(path)); }
    bool IsShared(const std::string& path) const override { return shared.contains(Name(path)); }

    void DisplayPath(const std::string& path, QTreeWidgetItem* parent) override
    {
        Count("DisplayPath");
        CTreeFileCtrl::DisplayPath(path, parent);
    }
    void DisplayDrives(QTreeWidgetItem* parent) override
    {
        Count("DisplayDrives");
        CTreeFileCtrl::DisplayDrives(parent);
    }
    bool EnumNetworkResources(QTreeWidgetItem* parent) override
    {
        Count("EnumNetworkResources");
        return CTreeFileCtrl::EnumNetworkResources(parent);
    }
    QTreeWidgetItem* InsertFileItem(QTreeWidgetItem* parent, CTreeFileCtrlItemInfo info, bool isShared,
        int image, int openImage, bool checkChildren) override
    {
        Count("InsertFileItem");
        return CTreeFileCtrl::InsertFileItem(parent, info, isShared, image, openImage, checkChildren);
    }
    void StartWatchingFolder(const std::string& path) override
    {
        Count("StartWatchingFolder");
        CTreeFileCtrl::StartWatchingFolder(path);
    }
    void StopWatchingFolder(const std::string& path) override
    {
        Count("StopWatchingFolder " + Name(path));
        CTreeFileCtrl::StopWatchingFolder(path);
    }
    void StopAllWatchers() override
    {
        Count("StopAllWatchers");
        CTreeFileCtrl::StopAllWatchers();
    }

    void Count(const std::string& call) { calls.insert(call); }

    std::set<std::string> hiddenNames, compressed, encrypted, shared;
    std::vector<std::string> selected, heard;
    std::set<std::string> calls;
};

class TreeFileInterface : public ApplicationFixture {
protected:
    TreeFileInterface()
    {
        folder_.Write("photos/alpha/a1.jpg", "a");
        folder_.Write("photos/beta/b1.jpg", "b");
        folder_.Write("photos/apple.txt", "p");
        folder_.Write("photos/Zeta.TXT", "z");
        folder_.Write("photos/notes.Txt", "n");
        folder_.Write("photos/picture.jpg", "j");
        folder_.Write("photos/.hidden.txt", "h");
        fs::create_directories(folder_.Path() / "photos/empty");
        fs::create_directories(folder_.Path() / "card");
        folder_.Write("card/.only-hidden", "h");
        fs::create_directories(folder_.Path() / "disc");
        fs::create_directories(folder_.Path() / "jobs");
        fs::create_directories(folder_.Path() / "prints");
        tree_.resize(320, 300);
    }
    std::string Path(const std::string& name) const { return folder_ / ("photos/" + name); }
    QTreeWidgetItem* Item(const std::string& name) const { return tree_.PathToItem(Path(name)); }
    std::vector<std::string> Texts(QTreeWidgetItem* parent) const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < parent->childCount(); ++i)
            texts.push_back(parent->child(i)->text(0).toStdString());
        return texts;
    }
    // Mounts: the photos on a fixed disk, a card with only a hidden file, a disc, and two
    // network file systems.
    void UseMounts()
    {
        folder_.Write("mounts",
            "/dev/sda1 " + (folder_ / "photos") + " ext4 rw 0 0\n/dev/sda2 " + (folder_ / "card")
                + " ext4 rw 0 0\n/dev/sr0 " + (folder_ / "disc") + " iso9660 ro 0 0\nserver:/jobs "
                + (folder_ / "jobs") + " nfs4 rw 0 0\n//server/prints " + (folder_ / "prints")
                + " cifs rw 0 0\n");
        tree_.SetRootFolder("");
        tree_.SetMountTable(folder_ / "mounts");
    }
    static QImage IconImage(const QIcon& icon) { return icon.pixmap(16, 16).toImage(); }

    TempFolder folder_;
    HookedTree tree_;
};

TEST_F(TreeFileInterface, RefusingDisplayHooksHideTheirItemsAndTheOtherHooksHearWhatHappens)
{
    tree_.hiddenNames = { "apple.txt", "beta", "card", "prints" };
    tree_.SetRootFolder(folder_ / "photos");
    EXPECT_EQ(Texts(tree_.invisibleRootItem()),
        (std::vector<std::string> { "alpha", "empty", "notes.Txt", "picture.jpg", "Zeta.TXT" }));

    tree_.SetSelectedPath(Path("alpha/a1.jpg"), false);
    tree_.SetSelectedPath(Path("picture.jpg"), false);
    tree_.GoBack();
    EXPECT_EQ(tree_.selected,
        (std::vector<std::string> {
            Path("alpha"), Path("alpha/a1.jpg"), Path("picture.jpg"), Path("alpha/a1.jpg") }));

    tree_.SetAllowRename(true);
    tree_.SetAllowDelete(true);
    EXPECT_TRUE(tree_.RenameItemTo(Item("picture.jpg"), "portrait.jpg"));
    modal_->AnswerNext(win::IDOK); // the refusal is told
    EXPECT_FALSE(tree_.RenameItemTo(Item("portrait.jpg"), "sub/x.jpg"));
    modal_->AnswerNext(win::IDNO);
    EXPECT_FALSE(tree_.DeleteItemFile(Item("notes.Txt"), false));
    EXPECT_TRUE(fs::exists(Path("notes.Txt")));
    EXPECT_EQ(tree_.heard,
        (std::vector<std::string> {
            "renamed picture.jpg to portrait.jpg", "renamed portrait.jpg to x.jpg", "deleted notes.Txt" }));

    UseMounts();
    tree_.ComputerItem()->setExpanded(true);
    tree_.NetworkItem()->setExpanded(true);
    EXPECT_EQ(
        Texts(tree_.ComputerItem()), (std::vector<std::string> { folder_ / "photos", folder_ / "disc" }));
    EXPECT_EQ(Texts(tree_.NetworkItem()), std::vector<std::string> { folder_ / "jobs" });
}

TEST_F(TreeFileInterface, ASubclassSeesTheListingAndWatchingOperationsCalled)
{
    UseMounts();
    tree_.SetMonitorChanges(true);
    tree_.ComputerItem()->setExpanded(true);
    tree_.NetworkItem()->setExpanded(true);
    QTreeWidgetItem* photos = tree_.PathToItem(folder_ / "photos");
    ASSERT_NE(photos, nullptr);
    photos->setExpanded(true);
    photos->setExpanded(false);
    EXPECT_EQ(tree_.calls,
        (std::set<std::string> { "DisplayDrives", "DisplayPath", "EnumNetworkResources", "InsertFileItem",
            "StartWatchingFolder", "StopAllWatchers", "StopWatchingFolder photos" }));
    EXPECT_TRUE(tree_.WatchedDrives().empty());
}

TEST_F(TreeFileInterface, QueriesOnPathsAndItems)
{
    UseMounts();
    const std::string photos = folder_ / "photos", disc = folder_ / "disc";
    tree_.SetSelectedPath(Path("alpha"), false);
    tree_.SetSelectedPath(Path("alpha/a1.jpg"), false);
    QTreeWidgetItem* alpha = Item("alpha");
    QTreeWidgetItem* apple = Item("apple.txt");
    ASSERT_NE(alpha, nullptr);
    ASSERT_NE(apple, nullptr);

    EXPECT_TRUE(tree_.IsFile(Path("apple.txt")));
    EXPECT_TRUE(tree_.IsFile(apple));
    EXPECT_FALSE(tree_.IsFile(alpha));
    EXPECT_TRUE(tree_.IsFolder(alpha));
    EXPECT_FALSE(tree_.IsFolder(apple));
    EXPECT_FALSE(tree_.IsFile(Path("missing")));
    EXPECT_FALSE(tree_.IsFolder(Path("missing")));
    EXPECT_TRUE(tree_.IsDrive(tree_.PathToItem(photos)));
    EXPECT_FALSE(tree_.IsDrive(alpha));
    EXPECT_TRUE(tree_.IsFixedDrive(photos));
    EXPECT_FALSE(tree_.IsRemovableDrive(photos));
    EXPECT_TRUE(tree_.IsRemovableDrive(disc));
    EXPECT_FALSE(tree_.IsFixedDrive(disc));
    EXPECT_FALSE(tree_.IsFixedDrive(Path("alpha"))); // not a drive at all
    EXPECT_FALSE(tree_.CTreeFileCtrl::IsCompressed(Path("apple.txt")));
    EXPECT_FALSE(tree_.CTreeFileCtrl::IsEncrypted(Path("apple.txt")));

    // Only a fixed drive is searched for an expand button: the card holds a hidden file only.
    EXPECT_FALSE(tree_.HasSubItems(folder_ / "card"));
    EXPECT_TRUE(tree_.HasSubItems(photos));
    EXPECT_TRUE(tree_.HasSubItems(disc)); // not looked at
    EXPECT_TRUE(tree_.HasSubItems(Path("empty"))); // a folder: settled on expanding
    EXPECT_FALSE(tree_.ItemHasChildFlag(tree_.PathToItem(folder_ / "card")));
    tree_.SetAttributeHideMask(0);
    EXPECT_TRUE(tree_.HasSubItems(folder_ / "card"));
    tree_.SetAttributeHideMask(0x1106);

    QTreeWidgetItem* parent = tree_.PathToItem(photos);
    EXPECT_TRUE(tree_.HasChildWithText(parent, "ZETA.txt"));
    EXPECT_FALSE(tree_.HasChildWithText(parent, "a1.jpg"));
    EXPECT_EQ(tree_.GetChildCount(parent), 7);
    EXPECT_TRUE(tree_.IsItemExpanded(parent));
    EXPECT_TRUE(tree_.IsBackAvailable());
    EXPECT_FALSE(tree_.IsForwardAvailable());
    tree_.GoBack();
    EXPECT_TRUE(tree_.IsForwardAvailable());

    alpha = Item("alpha");
    alpha->setExpanded(true);
    EXPECT_EQ(tree_.DeleteChildren(alpha, false), 1);
    EXPECT_TRUE(tree_.ItemHasChildFlag(alpha)); // left alone
    EXPECT_EQ(tree_.DeleteChildren(alpha, true), 0);
    EXPECT_FALSE(tree_.ItemHasChildFlag(alpha)); // there were none
    tree_.SetItemChildFlag(alpha, true);
    EXPECT_TRUE(tree_.ItemHasChildFlag(alpha));
    QTreeWidgetItem* beta = Item("beta");
    beta->setExpanded(true);
    EXPECT_EQ(tree_.DeleteChildren(beta, true), 1);
    EXPECT_TRUE(tree_.ItemHasChildFlag(beta));
    EXPECT_EQ(tree_.GetChildCount(beta), 0);
    EXPECT_FALSE(tree_.ItemHasChildFlag(Item("apple.txt")));
}

struct DisplayNameCase {
    int mode;
    std::string name;
    std::string shown;
    bool extensionHidden;
};

TEST_F(TreeFileInterface, TheDisplayNameFollowsTheExtensionModeForFilesOnly)
{
    fs::create_directories(folder_.Path() / "photos/folder.d");
    const std::vector<DisplayNameCase> cases = {
        { 0, "apple.txt", "apple", true },
        { 1, "apple.txt", "apple.txt", false },
        { 2, "apple.txt", "apple.txt", false },
        { 0, "folder.d", "folder.d", false },
        { 0, ".hidden.txt", ".hidden", true },
    };
    for (const DisplayNameCase& c : cases) {
        SCOPED_TRACE(c.name + " in mode " + std::to_string(c.mode));
        tree_.SetExtensionMode(c.mode);
        CTreeFileCtrlItemInfo info { Path(c.name), c.name };
        info.extensionHidden = !c.extensionHidden;
        EXPECT_EQ(tree_.GetItemDisplayName(info), c.shown);
        EXPECT_EQ(info.extensionHidden, c.extensionHidden);
    }
}

TEST_F(TreeFileInterface, ColoursAndTheShareOverlayFollowTheirSettings)
{
    tree_.compressed = { "apple.txt", "alpha" };
    tree_.encrypted = { "Zeta.TXT", "alpha" };
    tree_.shared = { "beta" };
    tree_.SetRootFolder(folder_ / "photos");
    tree_.show();
    const auto colour = [&](const std::string& name) {
        const QVariant brush = Item(name)->data(0, Qt::ForegroundRole);
        return brush.isValid() ? brush.value<QBrush>().color() : QColor();
    };
    EXPECT_EQ(colour("apple.txt"), QColor(0, 0, 0xFF));
    EXPECT_EQ(colour("alpha"), QColor(0, 0, 0xFF)); // compressed comes first
    EXPECT_EQ(colour("Zeta.TXT"), QColor(0xFF, 0, 0));
    EXPECT_FALSE(colour("notes.Txt").isValid());
    tree_.grab().save(QString::fromStdString(OutputPath("file-tree-colours.png")));

    tree_.SetCompressedColour(win::RGB(0x00, 0x80, 0x00));
    EXPECT_EQ(colour("apple.txt"), QColor(0, 0x80, 0));
    tree_.SetUseCompressedColour(false);
    EXPECT_FALSE(colour("apple.txt").isValid());
    EXPECT_EQ(colour("alpha"), QColor(0xFF, 0, 0));
    tree_.SetUseEncryptedColour(false);
    EXPECT_FALSE(colour("Zeta.TXT").isValid());
    EXPECT_FALSE(colour("alpha").isValid());

    const auto icon = [&](const std::string& name, bool overlay) {
        QTreeWidgetItem* item = Item(name);
        return IconImage(TreeFileItemIcon(
            CTreeFileCtrl::GetItemIconIndex(item), CTreeFileCtrl::GetItemOpenIconIndex(item), overlay));
    };
    EXPECT_EQ(IconImage(Item("beta")->icon(0)), icon("beta", true));
    EXPECT_EQ(IconImage(Item("alpha")->icon(0)), icon("alpha", false));
    tree_.SetShowSharedOverlay(false);
    EXPECT_EQ(IconImage(Item("beta")->icon(0)), icon("beta", false));
}

TEST_F(TreeFileInterface, TheFileNameMaskIgnoresLetterCaseAsTheFolderListingDoes)
{
    tree_.SetRootFolder(folder_ / "photos");
    tree_.SetAttributeHideMask(0);
    for (const char* mask : { "*.TXT", "*.txt", "Z*", "*.JPG", "?????.*" }) {
        SCOPED_TRACE(mask);
        tree_.SetFileNameMask(mask);
        std::vector<std::string> files;
        for (const std::string& text : Texts(tree_.invisibleRootItem())) {
            if (tree_.IsFile(Path(text)))
                files.push_back(text);
        }
        std::vector<FolderListEntry> listed;
        ListFolderFiles(folder_ / "photos", mask, listed, false, kListByNameAscending);
        std::vector<std::string> names;
        for (const FolderListEntry& entry : listed)
            names.push_back(entry.name);
        std::sort(files.begin(), files.end());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(files, names);
        EXPECT_FALSE(files.empty());
    }
    tree_.SetFileNameMask("*.TXT");
    EXPECT_NE(Item("apple.txt"), nullptr);
    EXPECT_NE(Item("notes.Txt"), nullptr);
    EXPECT_NE(Item("alpha"), nullptr); // folders are listed whatever the mask
}

TEST_F(TreeFileInterface, ThePrintResourceTypeListsNoMountedFileSystem)
{
    UseMounts();
    tree_.NetworkItem()->setExpanded(true);
    EXPECT_EQ(tree_.NetworkItem()->childCount(), 2);
    tree_.SetNetworkResourceType(2);
    tree_.NetworkItem()->setExpanded(true);
    EXPECT_EQ(tree_.NetworkItem()->childCount(), 0);
    EXPECT_FALSE(tree_.ItemHasChildFlag(tree_.NetworkItem()));
    tree_.SetNetworkResourceType(1);
    tree_.NetworkItem()->setExpanded(true);
    EXPECT_EQ(tree_.NetworkItem()->childCount(), 2);
}

} // namespace
