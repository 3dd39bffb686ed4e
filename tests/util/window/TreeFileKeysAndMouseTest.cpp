#include "util/window/TreeFileCtrl.h"

#include "platform/qt/QtShell.h"
#include "platform/qt/fw/Control.h"
#include "platform/win/AppContext.h"
#include "platform/win/Shell.h"
#include "tests/util/TempFolder.h"
#include "tests/util/window/ApplicationFixture.h"
#include "tests/util/window/ShownEditor.h"
#include "util/window/FilePropertiesDialog.h"

#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

// Records the paths the rename hook is asked about, and answers as told.
class RenameHookTree : public CTreeFileCtrl {
public:
    bool CanRenamePath(const std::string& path) override
    {
        asked.push_back(path);
        return allow;
    }
    bool Editing() const { return state() == QAbstractItemView::EditingState; }
    std::vector<std::string> asked;
    bool allow = true;
};

class TreeFileKeysAndMouse : public ApplicationFixture {
protected:
    TreeFileKeysAndMouse()
    {
        folder_.Write("photos/alpha/a1.jpg", "a");
        folder_.Write("photos/beta/b1.jpg", "b");
        fs::create_directories(folder_.Path() / "photos/empty");
        folder_.Write("photos/zeta.txt", "z");
        win::AppContext::Instance().SetShell(shell_);
        tree_.resize(300, 300);
        tree_.move(0, 0);
        tree_.SetRootFolder(folder_ / "photos");
        tree_.show();
    }
    std::string Path(const std::string& name) const { return folder_ / ("photos/" + name); }
    QTreeWidgetItem* Item(const std::string& name) const { return tree_.PathToItem(Path(name)); }
    QPoint Centre(const std::string& name) const { return tree_.visualItemRect(Item(name)).center(); }
    void Select(const std::string& name) { ASSERT_NE(tree_.SetSelectedPath(Path(name), false), nullptr); }
    // The files the desktop was asked to open, in order.
    const std::vector<std::string>& Opened() const { return shell_->Opened(); }
    // A double click as a user makes it: press, release, the double click, release.
    void DoubleClick(QPoint point)
    {
        QTest::mousePress(tree_.viewport(), Qt::LeftButton, {}, point);
        QTest::mouseRelease(tree_.viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(tree_.viewport(), Qt::LeftButton, {}, point);
        QTest::mouseRelease(tree_.viewport(), Qt::LeftButton, {}, point);
    }
    // The context menu on the screen, or null.
    QMenu* ShownMenu() const
    {
        for (QMenu* menu : tree_.findChildren<QMenu*>()) {
            if (menu->isVisible())
                return menu;
        }
        return nullptr;
    }

    TempFolder folder_;
    const std::shared_ptr<win::RecordingShell> shell_ = std::make_shared<win::RecordingShell>();
    RenameHookTree tree_;
};

TEST_F(TreeFileKeysAndMouse, EnterOpensTheSelectedItemOfAnyKindAndAltEnterShowsItsProperties)
{
    for (const char* name : { "zeta.txt", "alpha", "empty" }) {
        Select(name);
        QTest::keyClick(&tree_, Qt::Key_Return);
    }
    Select("beta");
    QTest::keyClick(&tree_, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(Opened(),
        (std::vector<std::string> { Path("zeta.txt"), Path("alpha"), Path("empty"), Path("beta") }));
    EXPECT_TRUE(shell_->Calls().empty()); // nothing was run as a program

    std::string name;
    modal_->AnswerNextDialog(FilePropertiesDialog::kDialogId, [&](win::ModalDialog& dialog) {
        auto& properties = dynamic_cast<FilePropertiesDialog&>(dialog);
        name = properties.GetDlgItem(FilePropertiesDialog::kName)->GetWindowText();
        properties.EndDialog(win::IDOK);
    });
    Select("zeta.txt");
    QTest::keyClick(&tree_, Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(modal_->Dialogs(), std::vector<win::UINT> { FilePropertiesDialog::kDialogId });
    EXPECT_EQ(name, "zeta.txt");
    EXPECT_EQ(Opened().size(), 4U); // properties, not opening

    tree_.SetAllowOpen(false);
    tree_.SetAllowProperties(false);
    QTest::keyClick(&tree_, Qt::Key_Return);
    QTest::keyClick(&tree_, Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(Opened().size(), 4U);
    EXPECT_EQ(modal_->Dialogs().size(), 1U);
}

TEST_F(TreeFileKeysAndMouse, F5AndAltWithAnArrowDoNothing)
{
    QTreeWidgetItem* alpha = Item("alpha");
    QTreeWidgetItem* beta = Item("beta");
    alpha->setExpanded(true);
    Select("alpha");
    folder_.Write("photos/new.txt", "n");
    QTest::keyClick(&tree_, Qt::Key_F5);
    EXPECT_EQ(Item("new.txt"), nullptr); // not listed again
    EXPECT_EQ(Item("alpha"), alpha); // the same items
    EXPECT_TRUE(alpha->isExpanded());

    QTest::keyClick(&tree_, Qt::Key_Left, Qt::AltModifier);
    EXPECT_TRUE(alpha->isExpanded());
    Select("beta");
    QTest::keyClick(&tree_, Qt::Key_Right, Qt::AltModifier);
    EXPECT_FALSE(beta->isExpanded());
    // Without Alt the arrows reach the tree as usual.
    QTest::keyClick(&tree_, Qt::Key_Right);
    EXPECT_TRUE(beta->isExpanded());
    QTest::keyClick(&tree_, Qt::Key_Left);
    EXPECT_FALSE(beta->isExpanded());
}

TEST_F(TreeFileKeysAndMouse, ShiftF10AndTheMenuKeyShowTheContextMenuAtTheSelectedItem)
{
    Select("zeta.txt");
    QTest::keyClick(&tree_, Qt::Key_F10);
    EXPECT_EQ(ShownMenu(), nullptr);
    QTest::keyClick(&tree_, Qt::Key_F10, Qt::ShiftModifier);
    QMenu* menu = ShownMenu();
    ASSERT_NE(menu, nullptr);
    // At the centre of the item's label (icon and name), not of its whole row.
    const QRect row = tree_.visualItemRect(Item("zeta.txt"));
    const QPoint at = tree_.viewport()->mapFromGlobal(menu->pos());
    EXPECT_EQ(at.y(), row.center().y());
    EXPECT_GT(at.x(), row.left() + 16);
    EXPECT_LT(at.x(), row.left() + 16 + tree_.fontMetrics().horizontalAdvance("zeta.txt"));
    QPixmap shot = tree_.grab();
    menu->render(&shot, tree_.mapFromGlobal(menu->pos()));
    shot.save(QString::fromStdString(OutputPath("file-tree-context-menu.png")));
    menu->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ShownMenu(), nullptr);

    Select("alpha");
    QTest::keyClick(&tree_, Qt::Key_Menu);
    menu = ShownMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(tree_.viewport()->mapFromGlobal(menu->pos()).y(), Centre("alpha").y());
    menu->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    tree_.SetContextMenu(false);
    QTest::keyClick(&tree_, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(ShownMenu(), nullptr);
}

TEST_F(TreeFileKeysAndMouse, ADoubleClickOpensAnItemWithoutAnExpandButtonAndOnlyTogglesOneWithIt)
{
    Select("zeta.txt");
    DoubleClick(Centre("zeta.txt"));
    EXPECT_EQ(Opened(), std::vector<std::string> { Path("zeta.txt") });

    QTreeWidgetItem* alpha = Item("alpha");
    Select("alpha");
    DoubleClick(Centre("alpha"));
    EXPECT_TRUE(alpha->isExpanded());
    DoubleClick(Centre("alpha"));
    EXPECT_FALSE(alpha->isExpanded());
    EXPECT_EQ(Opened().size(), 1U);

    // An empty folder loses its button once listed; then a double click opens it.
    QTreeWidgetItem* empty = Item("empty");
    Select("empty");
    DoubleClick(Centre("empty"));
    EXPECT_FALSE(tree_.ItemHasChildFlag(empty));
    EXPECT_EQ(Opened().size(), 1U);
    DoubleClick(Centre("empty"));
    EXPECT_EQ(Opened().back(), Path("empty"));

    // A double click below the items opens nothing, whatever is selected.
    Select("zeta.txt");
    DoubleClick(QPoint(40, tree_.viewport()->height() - 5));
    EXPECT_EQ(Opened().size(), 2U);
}

// Expanding a folder settles its expand button: one with nothing to list (or only hidden files)
// loses it, and collapsing it again does not bring it back.
TEST_F(TreeFileKeysAndMouse, AFolderKeepsItsExpandButtonOnCollapseOnlyWhenItHadSomethingToList)
{
    folder_.Write("photos/hidden-only/.secret", "s");
    tree_.Refresh();
    struct Case {
        const char* name;
        bool button;
    };
    for (const Case& c : { Case { "alpha", true }, Case { "empty", false }, Case { "hidden-only", false } }) {
        SCOPED_TRACE(c.name);
        Select(c.name);
        EXPECT_TRUE(tree_.ItemHasChildFlag(Item(c.name)));
        QTest::keyClick(&tree_, Qt::Key_Right);
        EXPECT_TRUE(Item(c.name)->isExpanded());
        EXPECT_EQ(tree_.ItemHasChildFlag(Item(c.name)), c.button);
        QTest::keyClick(&tree_, Qt::Key_Left);
        EXPECT_FALSE(Item(c.name)->isExpanded());
        EXPECT_EQ(tree_.ItemHasChildFlag(Item(c.name)), c.button);
    }
}

// Asking for the editor again while it is open (F2 again, or F2 on the editor a click opened) keeps
// the edit: Enter renames the file, and the label and the file on disk agree.
TEST_F(TreeFileKeysAndMouse, AskingForTheEditorAgainKeepsTheRename)
{
    folder_.Write("photos/eta.txt", "e");
    tree_.Refresh();
    tree_.SetAllowRename(true);
    struct Case {
        const char* name;
        bool byClick; // the first editor opened by a click on the selected item, else by F2
        const char* typed;
    };
    for (const Case& c : { Case { "zeta.txt", false, "omega.txt" }, Case { "eta.txt", true, "theta.txt" } }) {
        SCOPED_TRACE(c.name);
        Select(c.name);
        if (c.byClick)
            QTest::mouseClick(tree_.viewport(), Qt::LeftButton, {}, Centre(c.name));
        else
            QTest::keyClick(&tree_, Qt::Key_F2);
        ASSERT_TRUE(QTest::qWaitFor([&] { return ShownEditor(tree_) != nullptr; }, 5000));
        QLineEdit* editor = ShownEditor(tree_);
        QTest::keyClick(editor, Qt::Key_End);
        QTest::keyClicks(editor, "XX");
        QTest::keyClick(editor, Qt::Key_F2);
        QTest::keyClick(&tree_, Qt::Key_F2);
        ASSERT_EQ(ShownEditor(tree_), editor);
        EXPECT_EQ(editor->text().toStdString(), c.name + std::string("XX")); // what was typed stays
        editor->selectAll();
        QTest::keyClicks(editor, c.typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the edit ends
        QCoreApplication::processEvents(); // the folder is sorted again
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the editor goes
        EXPECT_FALSE(fs::exists(Path(c.name)));
        ASSERT_NE(Item(c.typed), nullptr);
        EXPECT_EQ(Item(c.typed)->text(0), c.typed);
        Select(c.typed);
        QTest::keyClick(&tree_, Qt::Key_Return);
        EXPECT_EQ(Opened().back(), Path(c.typed));
    }
}

// With the program's own shell: the desktop's opener (a stand-in first on PATH, which only records
// what it was given) is handed an executable file, and the file itself never runs.
TEST_F(TreeFileKeysAndMouse, OpeningAnExecutableFileHandsItToTheDesktopAndNeverRunsIt)
{
    folder_.Write(
        "bin/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.part\"\nmv \"$0.part\" \"$0.asked\"\n");
    folder_.Write("photos/run-me.sh", "#!/bin/sh\ntouch \"$0.ran\"\n");
    for (const char* script : { "bin/xdg-open", "photos/run-me.sh" })
        fs::permissions(folder_.Path() / script, fs::perms(0755));
    const std::string path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    ::setenv("PATH", (folder_ / "bin:" + path).c_str(), 1);
    win::AppContext::Instance().SetShell(std::make_shared<fw::QtShell>());
    tree_.Refresh();
    Select("run-me.sh");
    QTest::keyClick(&tree_, Qt::Key_Return);
    const bool asked = QTest::qWaitFor([&] { return folder_.Exists("bin/xdg-open.asked"); }, 30000);
    ::setenv("PATH", path.c_str(), 1);
    ASSERT_TRUE(asked);
    EXPECT_EQ(folder_.Read("bin/xdg-open.asked"), Path("run-me.sh"));
    EXPECT_FALSE(folder_.Exists("photos/run-me.sh.ran"));
}

TEST_F(TreeFileKeysAndMouse, AFileNothingCanOpenIsNamedInAMessage)
{
    Select("zeta.txt");
    // The desktop's opener missing, and the opener failing.
    for (const bool started : { false, true }) {
        SCOPED_TRACE(started);
        shell_->AnswerOpen(started, false);
        modal_->AnswerNext(win::IDOK);
        QTest::keyClick(&tree_, Qt::Key_Return);
        ASSERT_FALSE(modal_->Messages().empty());
        EXPECT_EQ(modal_->Messages().back().text, "No application could open \"zeta.txt\".");
    }
    EXPECT_EQ(modal_->Messages().size(), 2U);
    EXPECT_EQ(Opened(), std::vector<std::string>(2, Path("zeta.txt")));
    EXPECT_TRUE(modal_->AllAnswersUsed());
}

TEST_F(TreeFileKeysAndMouse, ClickingTheSelectedItemAgainStartsRenamingWhenAllowed)
{
    Select("zeta.txt");
    QTest::mouseClick(tree_.viewport(), Qt::LeftButton, {}, Centre("zeta.txt"));
    EXPECT_TRUE(tree_.asked.empty()); // renaming not allowed: nothing asked, no editor
    EXPECT_FALSE(tree_.Editing());

    tree_.SetAllowRename(true);
    tree_.allow = false;
    QTest::mouseClick(tree_.viewport(), Qt::LeftButton, {}, Centre("zeta.txt"));
    EXPECT_EQ(tree_.asked, std::vector<std::string> { Path("zeta.txt") });
    EXPECT_FALSE(tree_.Editing());

    tree_.allow = true;
    QTest::mouseClick(tree_.viewport(), Qt::LeftButton, {}, Centre("zeta.txt"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree_.findChild<QLineEdit*>() != nullptr; }, 5000));
    auto* editor = tree_.findChild<QLineEdit*>();
    editor->selectAll();
    QTest::keyClicks(editor, "omega.txt");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(folder_.Read("photos/omega.txt"), "z");
    EXPECT_FALSE(fs::exists(Path("zeta.txt")));
    ASSERT_NE(Item("omega.txt"), nullptr);
    EXPECT_EQ(Item("omega.txt")->text(0), "omega.txt");
}

// Escape ends a drag for as long as the button stays down: moving on starts no new one.
TEST_F(TreeFileKeysAndMouse, EscapeEndsADragUntilTheButtonIsPressedAgain)
{
    tree_.SetAllowDragDrop(true);
    QTest::mousePress(tree_.viewport(), Qt::LeftButton, {}, Centre("zeta.txt"));
    QTest::mouseMove(tree_.viewport(), Centre("alpha"));
    ASSERT_NE(tree_.DragItem(), nullptr);
    QTest::keyClick(&tree_, Qt::Key_Escape);
    QTest::mouseMove(tree_.viewport(), Centre("beta"));
    EXPECT_EQ(tree_.DragItem(), nullptr);
    QTest::mouseRelease(tree_.viewport(), Qt::LeftButton, {}, Centre("beta"));
    EXPECT_EQ(folder_.Read("photos/zeta.txt"), "z");
    EXPECT_FALSE(folder_.Exists("photos/beta/zeta.txt"));

    // Pressed again, the file drags as before.
    QTest::mousePress(tree_.viewport(), Qt::LeftButton, {}, Centre("zeta.txt"));
    QTest::mouseMove(tree_.viewport(), Centre("beta"));
    QTest::mouseRelease(tree_.viewport(), Qt::LeftButton, {}, Centre("beta"));
    EXPECT_EQ(folder_.Read("photos/beta/zeta.txt"), "z");
}

// Near the top edge the scrolling marks the first row shown: the file goes there, not to the row
// under the pointer.
TEST_F(TreeFileKeysAndMouse, ADropInTheEdgeBandGoesToTheMarkedFolder)
{
    tree_.SetAllowDragDrop(true);
    tree_.SetDragTickInterval(0);
    tree_.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int row = tree_.visualItemRect(Item("alpha")).height();
    // Three of the four rows (alpha, beta, empty, zeta.txt) fit; the last three are shown.
    tree_.resize(300, 3 * row + row / 2 + 2 * tree_.frameWidth());
    tree_.scrollToBottom();
    ASSERT_EQ(tree_.itemAt(QPoint(1, 1)), Item("beta"));
    QTest::mousePress(tree_.viewport(), Qt::LeftButton, {}, Centre("zeta.txt"));
    const QPoint secondRow(Centre("empty").x(), row + row / 2);
    QTest::mouseMove(tree_.viewport(), secondRow);
    ASSERT_EQ(tree_.DropTarget(), Item("empty"));
    tree_.DragTick(); // one line up: alpha is the first row and marked; beta is under the pointer
    ASSERT_EQ(tree_.DropTarget(), Item("alpha"));
    ASSERT_EQ(tree_.itemAt(secondRow), Item("beta"));
    tree_.grab().save(QString::fromStdString(OutputPath("file-tree-edge-drop-target.png")));
    QTest::mouseRelease(tree_.viewport(), Qt::LeftButton, {}, secondRow);
    EXPECT_EQ(folder_.Read("photos/alpha/zeta.txt"), "z");
    EXPECT_FALSE(folder_.Exists("photos/beta/zeta.txt"));
}

// After a drop the target is closed, forgets its listing (opening it reads the folder with the new
// file) and is selected, unless it already lists an item of the file's name.
TEST_F(TreeFileKeysAndMouse, ADropClosesAndSelectsTheTargetUnlessItListsTheName)
{
    tree_.SetAllowDragDrop(true);
    const auto drag = [&](const std::string& from, const std::string& onto) {
        QTest::mousePress(tree_.viewport(), Qt::LeftButton, {}, Centre(from));
        QTest::mouseMove(tree_.viewport(), Centre(onto));
        QTest::mouseRelease(tree_.viewport(), Qt::LeftButton, {}, Centre(onto));
    };
    folder_.Write("photos/eta.txt", "e");
    folder_.Write("photos/alpha/eta.txt", "older");
    tree_.Refresh();
    Item("beta")->setExpanded(true);
    Item("alpha")->setExpanded(true);
    Select("alpha/a1.jpg");
    drag("zeta.txt", "beta");
    ASSERT_EQ(folder_.Read("photos/beta/zeta.txt"), "z");
    QTreeWidgetItem* beta = Item("beta");
    EXPECT_FALSE(beta->isExpanded());
    EXPECT_EQ(beta->childCount(), 0);
    EXPECT_TRUE(tree_.ItemHasChildFlag(beta));
    EXPECT_EQ(tree_.currentItem(), beta);
    beta->setExpanded(true);
    EXPECT_NE(Item("beta/zeta.txt"), nullptr);

    modal_->AnswerNext(win::IDYES); // replace the older eta.txt
    drag("eta.txt", "alpha");
    ASSERT_EQ(folder_.Read("photos/alpha/eta.txt"), "e");
    EXPECT_TRUE(Item("alpha")->isExpanded());
    EXPECT_NE(Item("alpha/a1.jpg"), nullptr);
    EXPECT_EQ(Item("eta.txt"), nullptr);
    EXPECT_TRUE(modal_->AllAnswersUsed());
}

} // namespace
