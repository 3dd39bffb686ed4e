#include "util/window/TreeFileCtrl.h"

#include "platform/qt/fw/Control.h"
#include "platform/win/AppContext.h"
#include "platform/win/Shell.h"
#include "tests/util/ScopedEnv.h"
#include "tests/util/TempFolder.h"
#include "tests/util/window/ApplicationFixture.h"
#include "tests/util/window/ShownEditor.h"
#include "util/window/DragImage.h"
#include "util/window/FilePropertiesDialog.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>

namespace {

namespace fs = std::filesystem;

// Records the paths the rename hook is asked about.
class RecordingTree : public CTreeFileCtrl {
public:
    bool CanRenamePath(const std::string& path) override
    {
        asked.push_back(path);
        return true;
    }
    std::vector<std::string> asked;
};

class TreeFileOperations : public ApplicationFixture {
protected:
    TreeFileOperations()
    {
        fs::create_directories(folder_.Path() / "home");
        folder_.Write("photos/alpha/a1.jpg", "a");
        folder_.Write("photos/beta/b1.jpg", "b");
        folder_.Write("photos/zeta.txt", "z");
        tree_.resize(300, 300);
        tree_.SetRootFolder(folder_ / "photos");
        tree_.show();
    }
    std::string Path(const std::string& name) const { return folder_ / ("photos/" + name); }
    QPoint Centre(const std::string& name)
    {
        return tree_.visualItemRect(tree_.PathToItem(Path(name))).center();
    }

    TempFolder folder_;
    // The trash of a home inside the test's folder, on the same file system as the files.
    const ScopedEnv home_ { "HOME", folder_ / "home" };
    const ScopedEnv dataHome_ { "XDG_DATA_HOME", std::nullopt };
    RecordingTree tree_;
};

TEST_F(TreeFileOperations, RenamesInPlaceAndRefusesUnsafeOrTakenNames)
{
    EXPECT_FALSE(tree_.RenameItem(tree_.PathToItem(Path("zeta.txt")))); // not allowed yet
    tree_.SetAllowRename(true);
    // Each refusal says why, naming the file; no name at all is a cancelled edit, and says nothing.
    const std::string unsafe = "\nA name cannot be \".\" or \"..\", or hold a \"/\".";
    const std::vector<std::pair<const char*, std::string>> cases = {
        { "../escaped.txt", "Could not rename \"zeta.txt\" to \"../escaped.txt\"." + unsafe },
        { "sub/x.txt", "Could not rename \"zeta.txt\" to \"sub/x.txt\"." + unsafe },
        { ".", "Could not rename \"zeta.txt\" to \".\"." + unsafe },
        { "..", "Could not rename \"zeta.txt\" to \"..\"." + unsafe },
        { "alpha", "Could not rename \"zeta.txt\" to \"alpha\".\nFile exists" },
        { "", "" },
    };
    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name);
        const size_t shown = modal_->Messages().size();
        if (!message.empty())
            modal_->AnswerNext(win::IDOK);
        EXPECT_FALSE(tree_.RenameItemTo(tree_.PathToItem(Path("zeta.txt")), name));
        EXPECT_TRUE(fs::exists(Path("zeta.txt")));
        ASSERT_EQ(modal_->Messages().size(), shown + (message.empty() ? 0 : 1));
        if (!message.empty()) {
            EXPECT_EQ(modal_->Messages().back().text, message);
        }
    }
    EXPECT_FALSE(fs::exists(folder_ / "escaped.txt"));
    EXPECT_TRUE(modal_->AllAnswersUsed());

    // The hook is asked about the edited item, not the selected one.
    tree_.SetSelectedPath(Path("alpha"), false);
    tree_.asked.clear();
    ASSERT_TRUE(tree_.RenameItem(tree_.PathToItem(Path("zeta.txt"))));
    QLineEdit* editor = ShownEditor(tree_);
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "Able.txt");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(tree_.asked, std::vector<std::string>(2, Path("zeta.txt")));
    EXPECT_TRUE(fs::exists(Path("Able.txt")));
    EXPECT_FALSE(fs::exists(Path("zeta.txt")));
    ASSERT_NE(tree_.PathToItem(Path("Able.txt")), nullptr);
    EXPECT_EQ(tree_.topLevelItem(2)->text(0), "Able.txt"); // after the folders
}

TEST_F(TreeFileOperations, RenamingAFileShownWithoutItsExtensionKeepsItAndANewExtensionGivesANewIcon)
{
    tree_.SetAllowRename(true);
    tree_.SetExtensionMode(0);
    const auto renameInPlace = [&](const std::string& name, const char* typed) {
        QTreeWidgetItem* item = tree_.PathToItem(Path(name));
        ASSERT_TRUE(tree_.RenameItem(item));
        QLineEdit* editor = ShownEditor(tree_);
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the edit ends
        QCoreApplication::processEvents(); // the folder is sorted again
    };
    renameInPlace("zeta.txt", "omega");
    EXPECT_EQ(folder_.Read("photos/omega.txt"), "z");
    QTreeWidgetItem* omega = tree_.PathToItem(Path("omega.txt"));
    ASSERT_NE(omega, nullptr);
    EXPECT_EQ(omega->text(0), "omega");
    modal_->AnswerNext(win::IDOK);
    renameInPlace("omega.txt", "sub/x"); // refused: the text shown before comes back
    EXPECT_EQ(omega->text(0), "omega");
    ASSERT_EQ(modal_->Messages().size(), 1U);
    EXPECT_EQ(modal_->Messages()[0].text,
        "Could not rename \"omega.txt\" to \"sub/x.txt\".\nA name cannot be \".\" or \"..\", or hold a "
        "\"/\".");
    EXPECT_TRUE(fs::exists(Path("omega.txt")));

    tree_.SetExtensionMode(1);
    const int textIcon = CTreeFileCtrl::GetItemIconIndex(tree_.PathToItem(Path("omega.txt")));
    renameInPlace("omega.txt", "omega.png");
    QTreeWidgetItem* picture = tree_.PathToItem(Path("omega.png"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->text(0), "omega.png");
    EXPECT_EQ(CTreeFileCtrl::GetItemIconIndex(picture), CTreeFileCtrl::GetIconIndex(Path("omega.png")));
    EXPECT_NE(CTreeFileCtrl::GetItemIconIndex(picture), textIcon);
}

// Names that are not UTF-8 keep the file system's bytes: each item reaches its own file, and only
// its text shows U+FFFD where the bytes are not UTF-8 (so two items may look alike).
TEST_F(TreeFileOperations, NamesThatAreNotUtf8KeepTheirBytesForEveryOperation)
{
    const std::string latin = "ab\xE9.txt"; // é in Latin-1
    const std::string alike = "ab\xEF\xBF\xBD.txt"; // U+FFFD itself, in UTF-8
    const std::string folder = "dir\xE9";
    folder_.Write("photos/" + latin, "latin");
    folder_.Write("photos/" + alike, "alike");
    folder_.Write("photos/" + folder + "/inner.txt", "i");
    tree_.Refresh();
    tree_.SetAllowDelete(true);
    tree_.SetAllowRename(true);

    // The folder is a folder: its icon, and selecting and expanding it lists it.
    QTreeWidgetItem* dir = tree_.PathToItem(Path(folder));
    ASSERT_NE(dir, nullptr);
    EXPECT_EQ(dir->text(0), QString::fromUtf8("dir\xEF\xBF\xBD"));
    EXPECT_EQ(CTreeFileCtrl::GetItemIconIndex(dir),
        CTreeFileCtrl::GetItemIconIndex(tree_.PathToItem(Path("alpha"))));
    QTest::mouseClick(tree_.viewport(), Qt::LeftButton, {}, Centre(folder));
    QCoreApplication::processEvents();
    ASSERT_EQ(tree_.PathToItem(Path(folder)), dir);
    EXPECT_EQ(tree_.GetSelectedPath(), Path(folder));
    QTest::keyClick(&tree_, Qt::Key_Right);
    EXPECT_NE(tree_.PathToItem(Path(folder + "/inner.txt")), nullptr);
    tree_.grab().save(QString::fromStdString(OutputPath("file-tree-names.png")));

    // Two items that look alike, each with its own path.
    QTreeWidgetItem* latinItem = tree_.PathToItem(Path(latin));
    QTreeWidgetItem* alikeItem = tree_.PathToItem(Path(alike));
    ASSERT_NE(latinItem, nullptr);
    ASSERT_NE(alikeItem, nullptr);
    EXPECT_NE(latinItem, alikeItem);
    EXPECT_EQ(latinItem->text(0), alikeItem->text(0));
    EXPECT_EQ(tree_.ItemToPath(latinItem), Path(latin));
    EXPECT_EQ(tree_.FindChildByName(tree_.invisibleRootItem(), latin), latinItem);
    EXPECT_TRUE(tree_.HasChildWithText(tree_.invisibleRootItem(), "AB\xE9.TXT"));
    EXPECT_FALSE(tree_.HasChildWithText(tree_.invisibleRootItem(), "ab\xE8.txt"));

    // An edit left as it was renames nothing.
    ASSERT_TRUE(tree_.RenameItem(latinItem));
    ASSERT_NE(ShownEditor(tree_), nullptr);
    QTest::keyClick(ShownEditor(tree_), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(folder_.Read("photos/" + latin), "latin");
    EXPECT_EQ(folder_.Read("photos/" + alike), "alike");

    // Delete, Yes: the selected one goes to the trash, with its path written byte for byte.
    tree_.SetSelectedPath(Path(latin), false);
    modal_->AnswerNext(win::IDYES);
    QTest::keyClick(&tree_, Qt::Key_Delete);
    EXPECT_EQ(modal_->Messages().back().text, "Move \"ab\xEF\xBF\xBD.txt\" to the trash?");
    EXPECT_FALSE(folder_.Exists("photos/" + latin));
    EXPECT_EQ(folder_.Read("photos/" + alike), "alike");
    EXPECT_EQ(tree_.PathToItem(Path(latin)), nullptr);
    EXPECT_EQ(tree_.PathToItem(Path(alike)), alikeItem);
    EXPECT_EQ(folder_.Read("home/.local/share/Trash/files/" + latin), "latin");
    const std::string info = folder_.Read("home/.local/share/Trash/info/" + latin + ".trashinfo");
    EXPECT_NE(info.find("\nPath=" + Path("ab") + "%E9.txt\n"), std::string::npos) << info;

    // Renamed by its bytes.
    ASSERT_TRUE(tree_.RenameItemTo(alikeItem, "cd.txt"));
    EXPECT_EQ(folder_.Read("photos/cd.txt"), "alike");
    EXPECT_FALSE(folder_.Exists("photos/" + alike));
    EXPECT_TRUE(modal_->AllAnswersUsed());
}

struct DeleteCase {
    const char* name;
    bool forGood;
    const char* question;
    bool toTrash; // kept in the trash, not gone for good
};

TEST_F(TreeFileOperations, DeletingAsksFirstNoKeepsEverythingAndYesDeletesToTheTrashOrWithShiftForGood)
{
    tree_.SetSelectedPath(Path("zeta.txt"), false);
    QTest::keyClick(&tree_, Qt::Key_Delete);
    EXPECT_TRUE(fs::exists(Path("zeta.txt"))); // not allowed: nothing asked, nothing gone
    EXPECT_TRUE(modal_->Messages().empty());
    tree_.SetAllowDelete(true);

    const std::vector<DeleteCase> cases = {
        { "zeta.txt", false, "Move \"zeta.txt\" to the trash?", true },
        { "beta", true, "Delete the folder \"beta\" and everything in it for good?\nThis cannot be undone.",
            false },
        { "alpha/a1.jpg", true, "Delete \"a1.jpg\" for good?\nThis cannot be undone.", false },
        { "alpha", false, "Move the folder \"alpha\" and everything in it to the trash?", true },
    };
    const std::string trash = folder_ / "home/.local/share/Trash/files/";
    for (const DeleteCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Qt::KeyboardModifiers keys = c.forGood ? Qt::ShiftModifier : Qt::NoModifier;
        ASSERT_NE(tree_.SetSelectedPath(Path(c.name), false), nullptr);
        const size_t asked = modal_->Messages().size();
        modal_->AnswerNext(win::IDNO);
        QTest::keyClick(&tree_, Qt::Key_Delete, keys);
        ASSERT_EQ(modal_->Messages().size(), asked + 1);
        EXPECT_EQ(modal_->Messages().back().text, c.question);
        EXPECT_EQ(modal_->Messages().back().flags & 0xF, win::MB_YESNO);
        EXPECT_TRUE(fs::exists(Path(c.name)));
        EXPECT_NE(tree_.PathToItem(Path(c.name)), nullptr);
        EXPECT_FALSE(fs::exists(trash + fs::path(c.name).filename().string()));

        modal_->AnswerNext(win::IDYES);
        QTest::keyClick(&tree_, Qt::Key_Delete, keys);
        EXPECT_FALSE(fs::exists(Path(c.name)));
        EXPECT_EQ(tree_.PathToItem(Path(c.name)), nullptr);
        EXPECT_EQ(fs::exists(trash + fs::path(c.name).filename().string()), c.toTrash);
    }
    EXPECT_EQ(folder_.Read("home/.local/share/Trash/files/zeta.txt"), "z");
    EXPECT_FALSE(fs::exists(folder_ / "home/.local/share/Trash/files/alpha/a1.jpg")); // gone for good before
    EXPECT_TRUE(modal_->AllAnswersUsed());
}

// What the tree told, and whether the item stayed, after each refused change (a delete to the
// trash, one for good, a rename in place), each told as soon as it happens.
std::string RefusalsSeen(RecordingTree& tree, win::ScriptedModalServices& modal, const std::string& path)
{
    std::string seen;
    const auto note = [&] {
        seen += modal.Messages().empty() ? "(nothing)" : modal.Messages().back().text;
        seen += tree.PathToItem(path) != nullptr ? " [kept]\n" : " [gone]\n";
    };
    for (const Qt::KeyboardModifiers keys : { Qt::NoModifier, Qt::ShiftModifier }) {
        tree.SetSelectedPath(path, false);
        modal.AnswerNext(win::IDYES);
        modal.AnswerNext(win::IDOK);
        QTest::keyClick(&tree, Qt::Key_Delete, keys);
        note();
    }
    modal.AnswerNext(win::IDOK);
    QTest::keyClick(&tree, Qt::Key_F2);
    if (QLineEdit* editor = ShownEditor(tree)) {
        editor->selectAll();
        QTest::keyClicks(editor, "omega.txt");
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    note();
    seen += tree.PathToItem(path) != nullptr ? tree.PathToItem(path)->text(0).toStdString() : "";
    return seen;
}

// While it lives, the test acts as an ordinary user when it runs as root (whose permission bits
// stop nothing): only the effective ids change, so the way back stays open, and no child is
// forked from a process that holds a display connection and threads.
class AsOrdinaryUser {
public:
    AsOrdinaryUser()
        : switched_(::geteuid() == 0 && ::setegid(65534) == 0 && ::seteuid(65534) == 0)
    {
    }
    ~AsOrdinaryUser()
    {
        if (switched_ && (::seteuid(0) != 0 || ::setegid(0) != 0))
            std::abort(); // the tests cannot go on as another user
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;
    bool Ordinary() const { return ::geteuid() != 0; }

private:
    bool switched_;
};

// A refusal by the system after the user said Yes is told, naming the file and giving the reason,
// and changes nothing: here a folder the user may not write.
TEST_F(TreeFileOperations, ARefusedDeleteOrRenameIsToldWithTheSystemsReasonAndChangesNothing)
{
    tree_.SetAllowDelete(true);
    tree_.SetAllowRename(true);
    fs::permissions(folder_.Path(), fs::perms(0755));
    fs::permissions(folder_.Path() / "photos", fs::perms(0555));
    fs::permissions(folder_.Path() / "home", fs::perms(0777)); // a trash the user may make
    std::string seen;
    {
        const AsOrdinaryUser user;
        if (user.Ordinary())
            seen = RefusalsSeen(tree_, *modal_, Path("zeta.txt"));
    }
    fs::permissions(folder_.Path() / "photos", fs::perms::owner_all, fs::perm_options::add);
    if (seen.empty())
        GTEST_SKIP() << "cannot act as an ordinary user here";
    EXPECT_EQ(seen,
        "Could not move \"zeta.txt\" to the trash.\nPermission denied [kept]\n"
        "Could not delete \"zeta.txt\".\nPermission denied [kept]\n"
        "Could not rename \"zeta.txt\" to \"omega.txt\".\nPermission denied [kept]\n"
        "zeta.txt");
    EXPECT_EQ(folder_.Read("photos/zeta.txt"), "z");
    EXPECT_FALSE(folder_.Exists("photos/omega.txt"));
    EXPECT_TRUE(modal_->AllAnswersUsed());
}

TEST_F(TreeFileOperations, DragsToMoveAndWithCtrlToCopy)
{
    tree_.SetAllowDragDrop(true);
    const auto drag = [&](const std::string& from, const std::string& onto, Qt::KeyboardModifiers keys) {
        QTest::mousePress(tree_.viewport(), Qt::LeftButton, {}, Centre(from));
        QTest::mouseMove(tree_.viewport(), Centre(onto));
        EXPECT_NE(tree_.DragItem(), nullptr);
        QTest::mouseRelease(tree_.viewport(), Qt::LeftButton, keys, Centre(onto));
    };
    drag("zeta.txt", "alpha", Qt::ControlModifier);
    EXPECT_EQ(folder_.Read("photos/alpha/zeta.txt"), "z");
    EXPECT_TRUE(fs::exists(Path("zeta.txt")));
    EXPECT_EQ(tree_.GetSelectedPath(), Path("alpha")); // the target, which lists the copy when opened

    drag("zeta.txt", "beta", {});
    EXPECT_EQ(folder_.Read("photos/beta/zeta.txt"), "z");
    EXPECT_FALSE(fs::exists(Path("zeta.txt")));
    EXPECT_EQ(tree_.PathToItem(Path("zeta.txt")), nullptr);
    tree_.PathToItem(Path("beta"))->setExpanded(true);

    // A folder is not dragged; a file is not dropped on a file or on its own folder.
    QTest::mousePress(tree_.viewport(), Qt::LeftButton, {}, Centre("beta"));
    QTest::mouseMove(tree_.viewport(), Centre("alpha"));
    EXPECT_EQ(tree_.DragItem(), nullptr);
    QTest::mouseRelease(tree_.viewport(), Qt::LeftButton, {}, Centre("alpha"));
    EXPECT_TRUE(fs::exists(Path("beta/b1.jpg")));
    EXPECT_FALSE(fs::exists(Path("alpha/beta")));
    for (const char* onto : { "beta/b1.jpg", "beta" }) {
        SCOPED_TRACE(onto);
        drag("beta/zeta.txt", onto, {});
        EXPECT_TRUE(fs::exists(Path("beta/zeta.txt")));
    }
}

TEST_F(TreeFileOperations, AMoveOntoATakenNameReplacesOnlyWhenTheUserSaysSo)
{
    folder_.Write("photos/alpha/zeta.txt", "older");
    tree_.SetAllowDragDrop(true);
    const auto drag = [&](Qt::KeyboardModifiers keys = {}) {
        QTest::mousePress(tree_.viewport(), Qt::LeftButton, {}, Centre("zeta.txt"));
        QTest::mouseMove(tree_.viewport(), Centre("alpha"));
        ASSERT_NE(tree_.DragItem(), nullptr);
        QTest::mouseRelease(tree_.viewport(), Qt::LeftButton, keys, Centre("alpha"));
    };
    // A copy asks as a move does: No keeps the file there, Yes replaces it, and the target is
    // what is selected.
    modal_->AnswerNext(win::IDNO);
    drag(Qt::ControlModifier);
    ASSERT_EQ(modal_->Messages().size(), 1u);
    EXPECT_EQ(modal_->Messages()[0].text,
        "The folder " + Path("alpha") + " already holds zeta.txt.\nReplace it with the file being copied?");
    EXPECT_EQ(folder_.Read("photos/alpha/zeta.txt"), "older");
    modal_->AnswerNext(win::IDYES);
    drag(Qt::ControlModifier);
    EXPECT_EQ(folder_.Read("photos/alpha/zeta.txt"), "z");
    EXPECT_EQ(folder_.Read("photos/zeta.txt"), "z");
    EXPECT_FALSE(folder_.Exists("photos/alpha/Copy of zeta.txt"));
    EXPECT_EQ(tree_.GetSelectedPath(), Path("alpha"));
    folder_.Write("photos/alpha/zeta.txt", "older");

    modal_->AnswerNext(win::IDNO);
    drag();
    ASSERT_EQ(modal_->Messages().size(), 3u);
    EXPECT_EQ(modal_->Messages()[2].text,
        "The folder " + Path("alpha") + " already holds zeta.txt.\nReplace it with the file being moved?");
    EXPECT_EQ(folder_.Read("photos/alpha/zeta.txt"), "older");
    EXPECT_EQ(folder_.Read("photos/zeta.txt"), "z");
    EXPECT_NE(tree_.PathToItem(Path("zeta.txt")), nullptr);

    // Yes, while the tree is listed afresh under the open question (as a real one runs events).
    class RebuildingModal : public win::ScriptedModalServices {
    public:
        explicit RebuildingModal(CTreeFileCtrl& tree)
            : tree_(tree)
        {
        }
        int MessageBox(std::string_view text, win::UINT flags) override
        {
            tree_.Refresh(); // reached from MessageBoxUtf8 too
            return ScriptedModalServices::MessageBox(text, flags);
        }

    private:
        CTreeFileCtrl& tree_;
    };
    const auto rebuilding = std::make_shared<RebuildingModal>(tree_);
    win::AppContext::Instance().SetModalServices(rebuilding);
    rebuilding->AnswerNext(win::IDYES);
    drag();
    EXPECT_EQ(folder_.Read("photos/alpha/zeta.txt"), "z");
    EXPECT_FALSE(fs::exists(Path("zeta.txt")));
    EXPECT_EQ(tree_.PathToItem(Path("zeta.txt")), nullptr);
    EXPECT_EQ(tree_.GetSelectedPath(), Path("alpha"));
    EXPECT_TRUE(modal_->AllAnswersUsed());
    EXPECT_TRUE(rebuilding->AllAnswersUsed());
    EXPECT_TRUE(rebuilding->Unexpected().empty());
}

TEST_F(TreeFileOperations, TheDropTargetIsMarkedAndEscapeEndsTheDragDroppingNothing)
{
    tree_.SetAllowDragDrop(true);
    QTest::mousePress(tree_.viewport(), Qt::LeftButton, {}, Centre("zeta.txt"));
    QTest::mouseMove(tree_.viewport(), Centre("alpha"));
    QTreeWidgetItem* alpha = tree_.PathToItem(Path("alpha"));
    ASSERT_EQ(tree_.DropTarget(), alpha);
    EXPECT_TRUE(alpha->data(0, Qt::BackgroundRole).isValid());
    QTest::mouseMove(tree_.viewport(), Centre("beta"));
    EXPECT_FALSE(alpha->data(0, Qt::BackgroundRole).isValid()); // only the current target is marked

    QTest::keyClick(&tree_, Qt::Key_Escape);
    EXPECT_EQ(tree_.DragItem(), nullptr);
    EXPECT_EQ(tree_.DropTarget(), nullptr);
    EXPECT_FALSE(tree_.PathToItem(Path("beta"))->data(0, Qt::BackgroundRole).isValid());
    QTest::mouseRelease(tree_.viewport(), Qt::LeftButton, {}, Centre("beta"));
    EXPECT_TRUE(fs::exists(Path("zeta.txt")));
    EXPECT_FALSE(fs::exists(Path("beta/zeta.txt")));
}

// Counts the times a window is taken off the screen.
class HideCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        hides += event->type() == QEvent::Hide ? 1 : 0;
        return false;
    }
    int hides = 0;
};

// Whether a drag image is on the screen anywhere.
bool AnyDragImageShown()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](const QWidget* window) {
        return dynamic_cast<const DragImage*>(window) != nullptr && window->isVisible();
    });
}

TEST_F(TreeFileOperations, TheDraggedItemsPictureFollowsThePointerUntilTheDropOrEscape)
{
    tree_.SetAllowDragDrop(true);
    const QRect zeta = tree_.visualItemRect(tree_.PathToItem(Path("zeta.txt")));
    const QPoint press = zeta.topLeft() + QPoint(20, 5); // on the item's name
    QTest::mousePress(tree_.viewport(), Qt::LeftButton, {}, press);
    EXPECT_EQ(tree_.GetDragImage(), nullptr); // pressing alone starts no drag
    QTest::mouseMove(tree_.viewport(), Centre("alpha"));
    const DragImage* image = tree_.GetDragImage();
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->isVisible());
    // The item's picture, not its row, held at the point pressed.
    EXPECT_FALSE(image->Picture().isNull());
    EXPECT_LT(image->Picture().width(), zeta.width());
    EXPECT_EQ(image->HotSpot(), press - zeta.topLeft());
    EXPECT_EQ(image->pos(), tree_.viewport()->mapToGlobal(Centre("alpha")) - image->HotSpot());
    // Opaque, on the view's ground, so that a display without a compositor shows it as it is.
    const QImage picture = image->Picture().toImage();
    EXPECT_FALSE(picture.hasAlphaChannel());
    const QRgb ground = tree_.palette().color(QPalette::Base).rgb();
    EXPECT_EQ(picture.pixel(picture.width() - 1, 0), ground);
    EXPECT_EQ(picture.pixel(picture.width() - 1, picture.height() - 1), ground);
    int drawn = 0; // the icon's and the label's pixels
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            drawn += picture.pixel(x, y) != ground ? 1 : 0;
    }
    EXPECT_GT(drawn, 30);
    EXPECT_FALSE(image->testAttribute(Qt::WA_TranslucentBackground));

    HideCounter counter;
    const_cast<DragImage*>(image)->installEventFilter(&counter);
    const QPoint below = Centre("beta") + QPoint(-30, 3);
    QTest::mouseMove(tree_.viewport(), below);
    EXPECT_EQ(image->pos(), tree_.viewport()->mapToGlobal(below) - image->HotSpot());
    EXPECT_EQ(counter.hides, 1); // off the screen while the new drop target is marked
    EXPECT_TRUE(image->isVisible());

    // The tree as the studio sees it during the drag, with the picture over it.
    QPixmap shot = tree_.grab();
    QPainter(&shot).drawPixmap(tree_.mapFromGlobal(image->pos()), const_cast<DragImage*>(image)->grab());
    shot.save(QString::fromStdString(OutputPath("file-tree-drag.png")));

    QTest::mouseRelease(tree_.viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(tree_.GetDragImage(), nullptr);
    EXPECT_FALSE(AnyDragImageShown());
    EXPECT_EQ(folder_.Read("photos/beta/zeta.txt"), "z");

    // Escape ends the next drag, picture and all, dropping nothing.
    tree_.PathToItem(Path("beta"))->setExpanded(true);
    QTest::mousePress(tree_.viewport(), Qt::LeftButton, {}, Centre("beta/zeta.txt"));
    QTest::mouseMove(tree_.viewport(), Centre("alpha"));
    ASSERT_NE(tree_.GetDragImage(), nullptr);
    QTest::keyClick(&tree_, Qt::Key_Escape);
    EXPECT_EQ(tree_.GetDragImage(), nullptr);
    EXPECT_FALSE(AnyDragImageShown());
    QTest::mouseRelease(tree_.viewport(), Qt::LeftButton, {}, Centre("alpha"));
    EXPECT_TRUE(fs::exists(Path("beta/zeta.txt")));
}

TEST_F(TreeFileOperations, ATreeRebuiltDuringADragEndsTheDragDroppingNothing)
{
    tree_.SetAllowDragDrop(true);
    QTest::mousePress(tree_.viewport(), Qt::LeftButton, {}, Centre("zeta.txt"));
    QTest::mouseMove(tree_.viewport(), Centre("alpha"));
    ASSERT_NE(tree_.DragItem(), nullptr);
    const QPoint onAlpha = Centre("alpha");
    tree_.Refresh(); // as a change the watcher reports does: every item listed afresh
    EXPECT_EQ(tree_.DragItem(), nullptr);
    EXPECT_EQ(tree_.DropTarget(), nullptr);
    EXPECT_FALSE(AnyDragImageShown());
    QTest::mouseRelease(tree_.viewport(), Qt::LeftButton, {}, onAlpha);
    EXPECT_TRUE(fs::exists(Path("zeta.txt")));
    EXPECT_FALSE(fs::exists(Path("alpha/zeta.txt")));
}

TEST_F(TreeFileOperations, DragTicksExpandARestedOnFolderAtTheFourthAndScrollNearTheEdges)
{
    for (char c = 'a'; c <= 'l'; ++c)
        folder_.Write(std::string("photos/file-") + c + ".txt", "f");
    folder_.Write("photos/delta/d1.jpg", "d"); // the third row, clear of the top band
    tree_.Refresh();
    tree_.resize(300, 140);
    tree_.SetAllowDragDrop(true);
    tree_.SetDragTickInterval(0); // the test ticks itself
    tree_.DragTick(); // no drag: nothing
    QTest::mousePress(tree_.viewport(), Qt::LeftButton, {}, Centre("zeta.txt"));
    QTest::mouseMove(tree_.viewport(), Centre("delta"));
    ASSERT_NE(tree_.DragItem(), nullptr);
    QTreeWidgetItem* delta = tree_.PathToItem(Path("delta"));
    EXPECT_EQ(tree_.DropTarget(), delta);
    for (int tick = 1; tick <= 3; ++tick)
        tree_.DragTick();
    EXPECT_FALSE(delta->isExpanded());
    tree_.DragTick();
    EXPECT_TRUE(delta->isExpanded());
    EXPECT_NE(tree_.PathToItem(Path("delta/d1.jpg")), nullptr); // listed on the way

    QScrollBar* bar = tree_.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    const int bottom = tree_.viewport()->height() - 2;
    QTest::mouseMove(tree_.viewport(), QPoint(40, bottom));
    HideCounter counter;
    const_cast<DragImage*>(tree_.GetDragImage())->installEventFilter(&counter);
    tree_.DragTick();
    tree_.DragTick();
    EXPECT_EQ(bar->value(), 2);
    EXPECT_EQ(counter.hides, 2); // the picture is off the screen while the tree scrolls
    EXPECT_TRUE(tree_.GetDragImage()->isVisible());
    QTest::mouseMove(tree_.viewport(), QPoint(40, 2));
    tree_.DragTick();
    EXPECT_EQ(bar->value(), 1);
    EXPECT_EQ(tree_.DropTarget(), tree_.itemAt(QPoint(0, 0))); // a folder, so a valid target
    QTest::mouseMove(tree_.viewport(), QPoint(40, tree_.viewport()->height() / 2));
    tree_.DragTick();
    EXPECT_EQ(bar->value(), 1); // away from the edges nothing scrolls
    QTest::mouseRelease(tree_.viewport(), Qt::LeftButton, {}, QPoint(40, tree_.viewport()->height() + 40));
    EXPECT_EQ(tree_.DragItem(), nullptr);
    EXPECT_TRUE(fs::exists(Path("zeta.txt")));
}

TEST_F(TreeFileOperations, ContextMenuCommandsFollowTheAllowFlags)
{
    const auto shell = std::make_shared<win::RecordingShell>();
    win::AppContext::Instance().SetShell(shell);
    const auto enabled = [&](const std::string& name) {
        std::vector<bool> states;
        const std::unique_ptr<QMenu> menu = tree_.BuildContextMenu(tree_.PathToItem(Path(name)));
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator())
                states.push_back(action->isEnabled());
        }
        return states;
    };
    EXPECT_EQ(enabled("zeta.txt"), (std::vector<bool> { true, false, false, true }));
    tree_.SetAllowOpen(false);
    tree_.SetAllowProperties(false);
    tree_.SetAllowDelete(true);
    tree_.SetAllowRename(true);
    EXPECT_EQ(enabled("zeta.txt"), (std::vector<bool> { false, true, true, false }));

    tree_.SetAllowOpen(true);
    const std::unique_ptr<QMenu> menu = tree_.BuildContextMenu(tree_.PathToItem(Path("zeta.txt")));
    menu->actions().front()->trigger();
    EXPECT_EQ(shell->Opened(), std::vector<std::string> { Path("zeta.txt") });
    EXPECT_TRUE(shell->Calls().empty()); // nothing run as a program

    // Properties through the scripted modal services.
    tree_.SetAllowProperties(true);
    std::string kind, size;
    modal_->AnswerNextDialog(FilePropertiesDialog::kDialogId, [&](win::ModalDialog& dialog) {
        auto& properties = dynamic_cast<FilePropertiesDialog&>(dialog);
        kind = properties.GetDlgItem(FilePropertiesDialog::kKind)->GetWindowText();
        size = properties.GetDlgItem(FilePropertiesDialog::kSize)->GetWindowText();
        properties.GetWindow()->grab().save(QString::fromStdString(OutputPath("file-properties.png")));
        properties.EndDialog(win::IDOK);
    });
    tree_.BuildContextMenu(tree_.PathToItem(Path("zeta.txt")))->actions().back()->trigger();
    EXPECT_EQ(kind, "File");
    EXPECT_EQ(size, "1 byte");

    // A command chosen after the tree was listed afresh under the open menu works on the item
    // now listed for the path.
    const std::unique_ptr<QMenu> open = tree_.BuildContextMenu(tree_.PathToItem(Path("zeta.txt")));
    tree_.Refresh();
    const QList<QAction*> actions = open->actions();
    const auto remove = std::find_if(
        actions.begin(), actions.end(), [](QAction* action) { return action->text() == "&Delete"; });
    ASSERT_NE(remove, actions.end());
    modal_->AnswerNext(win::IDYES);
    (*remove)->trigger();
    EXPECT_FALSE(fs::exists(Path("zeta.txt")));
    EXPECT_EQ(tree_.PathToItem(Path("zeta.txt")), nullptr);
}

struct FailedDropCase {
    bool copy;
    bool asOrdinaryUser; // else a folder of the file's name stands in the target
    const char* told;
};

// A move or copy that fails is told, naming the file and the target and giving the system's
// reason, and changes nothing.
TEST_F(TreeFileOperations, AFailedDragMoveOrCopyIsToldWithTheSystemsReason)
{
    tree_.SetAllowDragDrop(true);
    fs::create_directory(folder_.Path() / "photos/alpha/zeta.txt");
    fs::permissions(folder_.Path(), fs::perms(0755));
    fs::permissions(folder_.Path() / "photos", fs::perms::all);
    fs::permissions(folder_.Path() / "photos/beta", fs::perms(0555));
    const std::vector<FailedDropCase> cases = {
        { false, false, "Could not move \"zeta.txt\" to \"alpha\".\nIs a directory" },
        { true, false, "Could not copy \"zeta.txt\" to \"alpha\".\nIs a directory" },
        { false, true, "Could not move \"zeta.txt\" to \"beta\".\nPermission denied" },
        { true, true, "Could not copy \"zeta.txt\" to \"beta\".\nPermission denied" },
    };
    for (const FailedDropCase& c : cases) {
        SCOPED_TRACE(c.told);
        const char* onto = c.asOrdinaryUser ? "beta" : "alpha";
        const size_t shown = modal_->Messages().size();
        std::optional<AsOrdinaryUser> user;
        if (c.asOrdinaryUser) {
            user.emplace();
            if (!user->Ordinary())
                continue; // permission bits stop nothing here
        }
        modal_->AnswerNext(win::IDOK);
        QTest::mousePress(tree_.viewport(), Qt::LeftButton, {}, Centre("zeta.txt"));
        QTest::mouseMove(tree_.viewport(), Centre(onto));
        ASSERT_NE(tree_.DragItem(), nullptr);
        QTest::mouseRelease(
            tree_.viewport(), Qt::LeftButton, c.copy ? Qt::ControlModifier : Qt::NoModifier, Centre(onto));
        user.reset();
        ASSERT_EQ(modal_->Messages().size(), shown + 1);
        EXPECT_EQ(modal_->Messages().back().text, c.told);
        EXPECT_EQ(folder_.Read("photos/zeta.txt"), "z");
        EXPECT_NE(tree_.PathToItem(Path("zeta.txt")), nullptr);
    }
    fs::permissions(folder_.Path() / "photos/beta", fs::perms::owner_all, fs::perm_options::add);
    EXPECT_FALSE(folder_.Exists("photos/beta/zeta.txt"));
    EXPECT_TRUE(fs::is_empty(folder_.Path() / "photos/alpha/zeta.txt"));
    EXPECT_TRUE(modal_->AllAnswersUsed());
}

// Names the code page cannot hold show as the tree shows them (UTF-8, U+FFFD for bytes that are
// not) in the properties dialog and in the messages that name them.
TEST_F(TreeFileOperations, NamesOutsideTheCodePageShowAsInTheTreeInPropertiesAndMessages)
{
    const std::vector<std::pair<std::string, QString>> names = {
        { "\xC3\xA9.txt", QString::fromUtf8("\xC3\xA9.txt") }, // é
        { "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1.txt", QString::fromUtf8("Ωμέγα.txt") },
        { "\xE6\x97\xA5\xE6\x9C\xAC.txt", QString::fromUtf8("日本.txt") },
        { "bad\xE9.txt", QString::fromUtf8("bad\xEF\xBF\xBD.txt") },
        { "bad\xFF.txt", QString::fromUtf8("bad\xEF\xBF\xBD.txt") },
    };
    for (const auto& [name, _] : names)
        folder_.Write("photos/" + name, "n");
    tree_.Refresh();
    tree_.SetAllowDelete(true);
    for (const auto& [name, shown] : names) {
        SCOPED_TRACE(shown.toStdString());
        ASSERT_NE(tree_.SetSelectedPath(Path(name), false), nullptr);
        QString inDialog;
        modal_->AnswerNextDialog(FilePropertiesDialog::kDialogId, [&](win::ModalDialog& dialog) {
            auto& properties = dynamic_cast<FilePropertiesDialog&>(dialog);
            if (auto* label
                = qobject_cast<QLabel*>(properties.GetDlgItem(FilePropertiesDialog::kName)->GetWidget()))
                inDialog = label->text();
            if (name.starts_with("\xCE\xA9"))
                properties.GetWindow()->grab().save(
                    QString::fromStdString(OutputPath("file-properties-greek.png")));
            properties.EndDialog(win::IDOK);
        });
        QTest::keyClick(&tree_, Qt::Key_Return, Qt::AltModifier);
        EXPECT_EQ(inDialog.toStdString(), shown.toStdString());

        modal_->AnswerNext(win::IDNO);
        QTest::keyClick(&tree_, Qt::Key_Delete);
        ASSERT_FALSE(modal_->Messages().empty());
        EXPECT_TRUE(modal_->Messages().back().utf8);
        EXPECT_EQ(modal_->Messages().back().text, "Move \"" + shown.toStdString() + "\" to the trash?");
    }
    EXPECT_TRUE(modal_->AllAnswersUsed());
}

} // namespace
