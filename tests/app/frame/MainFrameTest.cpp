// The main window: toolbar, accelerators, the splitter's columns, and a picture of the whole
// window for a look.
#include "HookedModals.h"
#include "app/form/OrvanelForm.h"
#include "app/frame/MainFrameFixture.h"
#include "model/LayoutUnit.h"
#include "platform/qt/fw/CommandIds.h"
#include "qt/fw/DialogScript.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QStyle>
#include <QStyleOptionToolBar>

#include <algorithm>

namespace frametest {
namespace {

TEST_F(MainFrameTest, TheFormColumnKeepsItsPanelWidthAndTheViewItsMinimum)
{
    const int form = frame->GetFormView()->GetPanelWidthWithMargin();
    for (const int width : { 1200, 800, form + 50, form + 10, 150 }) {
        frame->resize(width, 600);
        int current = 0;
        int minimum = 0;
        frame->GetSplitter().GetColumnInfo(0, current, minimum);
        EXPECT_EQ(current, std::max(frame->centralWidget()->width() - form, 50)) << width;
        EXPECT_EQ(minimum, 50);
    }
}

TEST_F(MainFrameTest, ToolBarButtonsWithTheirTipsAndNoMenuBar)
{
    struct Case {
        win::UINT id;
        const char* tip;
    };
    const Case cases[] = { { fw::ID_FILE_NEW, "New" }, { fw::ID_FILE_OPEN, "Open" },
        { fw::ID_FILE_SAVE, "Save" }, { fw::ID_EDIT_UNDO, "Undo" }, { ID_ZOOM_IN, "Zoom In" },
        { ID_ZOOM_OUT, "Zoom Out" }, { ID_FIT_TO_WINDOW, "Fit To Window" }, { ID_ZOOM_100, "Zoom 100%" } };
    for (const Case& c : cases) {
        const QAction* action = frame->GetToolBar().GetButtonAction(c.id);
        ASSERT_NE(action, nullptr) << c.tip;
        EXPECT_EQ(action->toolTip().toStdString(), c.tip);
    }
    EXPECT_EQ(frame->findChild<QMenuBar*>(), nullptr);
}

TEST_F(MainFrameTest, SaveAndUndoAreGreyedUntilThereIsSomethingToDo)
{
    RunUntilIdle();
    const QAction* save = frame->GetToolBar().GetButtonAction(fw::ID_FILE_SAVE);
    const QAction* undo = frame->GetToolBar().GetButtonAction(fw::ID_EDIT_UNDO);
    EXPECT_FALSE(save->isEnabled()); // a layout without a file
    EXPECT_FALSE(undo->isEnabled()); // nothing to undo
    const QPoint from = CentreOf(Unit("PImage"));
    Drag(from, from + QPoint(30, 30));
    ASSERT_EQ(GetUndoManager().GetUndoCount(), 1u);
    RunUntilIdle();
    EXPECT_TRUE(undo->isEnabled());
}

TEST_F(MainFrameTest, CtrlZUndoesADragAndF6MovesToTheForm)
{
    const win::RECT before = Unit("PImage").GetBounds();
    const QPoint from = CentreOf(Unit("PImage"));
    Drag(from, from + QPoint(30, 30));
    ASSERT_NE(Unit("PImage").GetBounds().left, before.left);
    RunUntilIdle();
    QTest::keyClick(frame, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Unit("PImage").GetBounds().left, before.left);
    EXPECT_EQ(GetUndoManager().GetUndoCount(), 0u);

    frame->SetActiveView(view);
    QTest::keyClick(frame, Qt::Key_F6);
    EXPECT_EQ(frame->GetActiveView(), frame->GetFormView());
}

// Claims Ctrl+U as Qt's line edit does under X11 key bindings: the shortcut is overridden and the
// key press deletes the line. Offscreen, no line edit claims it on its own.
class X11LineEditKeys : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool key = event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
        if (!key)
            return false;
        const auto* press = static_cast<QKeyEvent*>(event);
        if (press->key() != Qt::Key_U || press->modifiers() != Qt::ControlModifier)
            return false;
        if (event->type() == QEvent::ShortcutOverride)
            event->accept();
        else
            static_cast<QLineEdit*>(watched)->clear();
        return true;
    }
};

// A value typed into a form field and Ctrl+U: the frame's accelerator takes the key before the
// field can (the form's Update), so the layout gets the value instead of the field losing it.
TEST_F(MainFrameTest, CtrlUInAFormFieldUpdatesTheLayoutWithTheTypedValue)
{
    COrvanelForm* form = frame->GetFormView();
    auto* edit = qobject_cast<QLineEdit*>(form->GetDlgItem(1036)->GetWidget());
    ASSERT_NE(edit, nullptr);
    X11LineEditKeys x11;
    edit->installEventFilter(&x11);
    qttest::TypeInto(*form, 1036, "345");
    ASSERT_EQ(frame->GetActiveView(), form);
    QTest::keyClick(edit, Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(Unit("PImage").GetPosition().x, 345);
    EXPECT_EQ(edit->text().toStdString(), "345");
    // The field's own editing keys stay with it: Ctrl+Z undoes the typing, not a layout step.
    QTest::keyClicks(edit, "9");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit->text().toStdString(), "345");
    edit->removeEventFilter(&x11);
}

// While a message box of the form's New is up (a pack template that cannot be opened), the window
// may repaint: the view must not draw the selection of the layout being replaced.
TEST_F(MainFrameTest, RepaintingWhileNewShowsAMessageDrawsNoFreedUnit)
{
    auto hooked = std::make_shared<HookedModalServices>();
    modal = hooked;
    win::AppContext::Instance().SetModalServices(hooked);
    document->InitTitleAndPacks(); // from now on New loads the pack template
    ProgramOptions::Instance().packDetailsPath = (Folder() / "no-such-packs.csv").string();
    Click(CentreOf(Unit("PImage")));
    ASSERT_NE(view->GetSelectedUnit(), nullptr);
    document->SetModifiedFlag();
    bool repainted = false;
    hooked->whileShown = [&](std::string_view text) {
        if (!text.starts_with("Could not open file"))
            return;
        EXPECT_EQ(view->GetSelectedUnit(), nullptr);
        frame->resize(frame->width() - 40, frame->height() - 30);
        view->repaint();
        repainted = true;
    };
    hooked->AnswerNext(win::IDNO); // do not save
    hooked->AnswerNext(win::IDOK); // "Could not open file"
    qttest::Click(*frame->GetFormView(), 1010);
    EXPECT_TRUE(repainted);
    EXPECT_EQ(view->GetSelectedUnit(), nullptr);
}

TEST_F(MainFrameTest, ClickingAnExtraTextShowsItsSlotInTheForm)
{
    LayoutUnit& text = Unit("ExtraTxt3");
    text.SetVisible(true);
    view->repaint(); // measures the text's size
    Click(CentreOf(text));
    ASSERT_NE(view->GetSelectedUnit(), nullptr);
    EXPECT_EQ(view->GetSelectedUnit()->GetName(), "ExtraTxt3");
    EXPECT_EQ(frame->GetFormView()->currentTextNumber, 3u);
}

// Drags the toolbar by its gripper to a point of the frame, as the user does, and lets go.
void DragToolBarByItsGripper(QToolBar& bar, QMainWindow& frame, QPoint to)
{
    QStyleOptionToolBar option;
    option.initFrom(&bar);
    option.features = QStyleOptionToolBar::Movable;
    option.state |= bar.orientation() == Qt::Horizontal ? QStyle::State_Horizontal : QStyle::State_None;
    const QPoint grip = bar.style()->subElementRect(QStyle::SE_ToolBarHandle, &option, &bar).center();
    QTest::mousePress(&bar, Qt::LeftButton, {}, grip);
    const QPoint start = bar.mapToGlobal(grip);
    const QPoint end = frame.mapToGlobal(to);
    for (int step = 1; step <= 8; ++step) {
        const QPoint at = start + (end - start) * step / 8;
        QTest::mouseMove(&bar, bar.mapFromGlobal(at));
    }
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, bar.mapFromGlobal(end));
}

// The toolbar starts at the top with its gripper; dragged by it, it docks at the left edge, and
// dragged away from every edge it floats.
TEST_F(MainFrameTest, TheToolBarDocksAtAnyEdgeAndFloats)
{
    fw::ToolBar& bar = frame->GetToolBar();
    EXPECT_EQ(frame->toolBarArea(&bar), Qt::TopToolBarArea);
    EXPECT_TRUE(bar.isMovable());
    EXPECT_EQ(bar.allowedAreas(), Qt::AllToolBarAreas);
    DragToolBarByItsGripper(bar, *frame, { 4, frame->height() / 2 });
    // Let go over an edge, the bar slides into its place there before it counts as docked.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !bar.isFloating(); }));
    EXPECT_EQ(frame->toolBarArea(&bar), Qt::LeftToolBarArea);
    EXPECT_EQ(bar.orientation(), Qt::Vertical);
    ASSERT_TRUE(frame->grab().save(
        QString::fromStdString(qttest::OutputPath("main-window-toolbar-left.png").string())));
    DragToolBarByItsGripper(bar, *frame, { frame->width() / 2, frame->height() / 2 });
    EXPECT_TRUE(bar.isFloating());
    ASSERT_TRUE(bar.grab().save(QString::fromStdString(qttest::OutputPath("toolbar-floating.png").string())));
}

TEST_F(MainFrameTest, PictureOfTheMainWindow)
{
    frame->resize(1280, 900);
    RunUntilIdle();
    view->ZoomToFit();
    RunUntilIdle();
    const QImage picture = frame->grab().toImage();
    ASSERT_TRUE(picture.save(QString::fromStdString(qttest::OutputPath("main-window.png").string())));
    EXPECT_EQ(picture.width(), frame->width());
}

} // namespace
} // namespace frametest
