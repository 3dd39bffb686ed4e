#include "util/window/TreeFileCtrl.h"

#include "platform/qt/fw/Control.h"
#include "platform/win/AppContext.h"
#include "platform/win/Shell.h"
#include "tests/util/TempFolder.h"
#include "tests/util/window/ApplicationFixture.h"
#include "util/window/FilePropertiesDialog.h"

#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

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
    // The files the shell was asked to open, in order.
    std::vector<std::string> Opened() const
    {
        std::vector<std::string> files;
        for (const win::RecordingShell::Call& call : shell_->Calls())
            files.push_back(call.verb + " " + call.file);
        return files;
    }
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
        (std::vector<std::string> { "open " + Path("zeta.txt"), "open " + Path("alpha"),
            "open " + Path("empty"), "open " + Path("beta") }));

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
    EXPECT_EQ(shell_->Calls().size(), 4U); // properties, not opening

    tree_.SetAllowOpen(false);
    tree_.SetAllowProperties(false);
    QTest::keyClick(&tree_, Qt::Key_Return);
    QTest::keyClick(&tree_, Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(shell_->Calls().size(), 4U);
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
    EXPECT_EQ(Opened(), std::vector<std::string> { "open " + Path("zeta.txt") });

    QTreeWidgetItem* alpha = Item("alpha");
    Select("alpha");
    DoubleClick(Centre("alpha"));
    EXPECT_TRUE(alpha->isExpanded());
    DoubleClick(Centre("alpha"));
    EXPECT_FALSE(alpha->isExpanded());
    EXPECT_EQ(shell_->Calls().size(), 1U);

    // An empty folder loses its button once listed; then a double click opens it.
    QTreeWidgetItem* empty = Item("empty");
    Select("empty");
    DoubleClick(Centre("empty"));
    EXPECT_FALSE(tree_.ItemHasChildFlag(empty));
    EXPECT_EQ(shell_->Calls().size(), 1U);
    DoubleClick(Centre("empty"));
    EXPECT_EQ(Opened().back(), "open " + Path("empty"));

    // A double click below the items opens nothing, whatever is selected.
    Select("zeta.txt");
    DoubleClick(QPoint(40, tree_.viewport()->height() - 5));
    EXPECT_EQ(shell_->Calls().size(), 2U);
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

} // namespace
