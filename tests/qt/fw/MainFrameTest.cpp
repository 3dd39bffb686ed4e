// A frame as the program's main frame is made: a toolbar, accelerators and a static splitter
// with a scroll view and a form view.
#include "platform/gdi/DeviceContext.h"
#include "platform/qt/fw/CommandIds.h"
#include "platform/qt/fw/FormView.h"
#include "platform/qt/fw/ScrollView.h"
#include "platform/qt/fw/SplitterWnd.h"
#include "platform/qt/fw/ToolBar.h"
#include "qt/fw/FrameworkFixture.h"
#include "qt/fw/SampleDialog.h"
#include "qt/fw/TestDocument.h"

#include <QAction>
#include <QLineEdit>
#include <QScrollArea>
#include <QTest>
#include <QWheelEvent>

namespace fwtest {
namespace {

constexpr win::UINT ID_UPDATE = 1016;

const fw::ToolBarButton toolBarButtons[] = {
    { fw::ID_FILE_NEW, "Create a new document\nNew" },
    { fw::ID_FILE_OPEN, "Open an existing document\nOpen" },
    { fw::ID_FILE_SAVE, "Save the active document\nSave" },
    { fw::ID_SEPARATOR, "" },
    { fw::ID_EDIT_UNDO, "Undo the last action\nUndo" },
    { 101, "Zoom in\nZoom In" },
    { 102, "Zoom out\nZoom Out" },
    { 103, "Adjust zoom so layout fits the window\nFit To Window" },
    { 104, "Zoom to 100%\nZoom 100%" },
};

constexpr win::BYTE ctrl = fw::FVIRTKEY | fw::FCONTROL;
constexpr win::BYTE shift = fw::FVIRTKEY | fw::FSHIFT;
const fw::Accel accelerators[] = {
    { ctrl, 'N', fw::ID_FILE_NEW },
    { ctrl, 'O', fw::ID_FILE_OPEN },
    { ctrl, 'S', fw::ID_FILE_SAVE },
    { ctrl, 'P', fw::ID_FILE_PRINT },
    { ctrl, 'U', ID_UPDATE },
    { ctrl, 'Z', fw::ID_EDIT_UNDO },
    { fw::FVIRTKEY | fw::FALT, win::VK_BACK, fw::ID_EDIT_UNDO },
    { ctrl, 'C', fw::ID_EDIT_COPY },
    { ctrl, win::VK_INSERT, fw::ID_EDIT_COPY },
    { ctrl, 'X', fw::ID_EDIT_CUT },
    { shift, win::VK_DELETE, fw::ID_EDIT_CUT },
    { ctrl, 'V', fw::ID_EDIT_PASTE },
    { shift, win::VK_INSERT, fw::ID_EDIT_PASTE },
    { fw::FVIRTKEY, win::VK_F6, fw::ID_NEXT_PANE },
    { shift, win::VK_F6, fw::ID_PREV_PANE },
};

// Draws a blue square at (100, 100) to (150, 150) of a 1000 x 1000 drawing.
class DrawingView : public fw::ScrollView {
public:
    void OnInitialUpdate() override { SetScrollSizes(gdi::MM_TEXT, { 1000, 1000 }); }
    void OnDraw(gdi::DeviceContext& dc) override
    {
        dc.FillSolidRect({ 100, 100, 150, 150 }, win::RGB(0, 0, 255));
    }
    using View::OnCommand;
};

class Form : public fw::FormView {
public:
    Form()
        : FormView(SampleTemplate())
    {
    }
    void DoDataExchange(fw::DataExchange& dx) override { fw::DDX_Text(dx, ids::name, name); }
    void OnUpdate(fw::View*, win::LPARAM hint) override { hints.push_back(hint); }
    // The on-screen width of the paper box plus 40, the main frame's form column.
    int PanelWidthWithMargin() { return GetDlgItem(ids::paperBox)->GetWidget()->width() + 40; }

    using View::OnCommand;
    using View::OnNotify;
    std::string name = "From the form";
    std::vector<win::LPARAM> hints;
};

class MainFrame : public fw::FrameWnd {
public:
    explicit MainFrame(Log& log)
        : log_(log)
    {
        for (const fw::Accel& accel : accelerators)
            if (accel.cmd != fw::ID_NEXT_PANE && accel.cmd != fw::ID_PREV_PANE)
                OnCommand(
                    accel.cmd, [this, id = accel.cmd] { log_.push_back("frame " + std::to_string(id)); });
    }

    DrawingView* Drawing() const { return static_cast<DrawingView*>(splitter.GetPane(0, 0)); }
    Form* GetForm() const { return static_cast<Form*>(splitter.GetPane(0, 1)); }

    fw::SplitterWnd splitter;
    fw::ToolBar toolBar;

protected:
    int OnCreate() override
    {
        if (FrameWnd::OnCreate() == -1)
            return -1;
        if (!toolBar.CreateEx(this) || !toolBar.LoadToolBar(":/fw/MainToolBar.png", toolBarButtons))
            return -1;
        LoadAccelTable(accelerators);
        return 0;
    }

    win::BOOL OnCreateClient(fw::CreateContext& context) override
    {
        const int width = this->width();
        const int height = this->height();
        if (!splitter.CreateStatic(this, 1, 2)
            || !splitter.CreateView(
                0, 0, [] { return std::make_unique<DrawingView>(); }, { width - 250, height }, context)
            || !splitter.CreateView(
                0, 1, [] { return std::make_unique<Form>(); }, { 250, height }, context))
            return win::FALSE;
        created_ = true;
        return win::TRUE;
    }

    void OnSize(win::UINT type, int cx, int) override
    {
        if (!created_ || type == win::SIZE_MINIMIZED)
            return;
        splitter.SetColumnInfo(0, cx - GetForm()->PanelWidthWithMargin(), 50);
        splitter.RecalcLayout();
    }

private:
    Log& log_;
    bool created_ = false;
};

class MainFrameTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        app->AddDocTemplate(std::make_unique<fw::SingleDocTemplate>(
            128, "Orvanel\n\nOrvan\n\n\nOrvanel.Document\nOrvan Document",
            [this] { return std::make_unique<TestDocument>(log); },
            [this] { return std::make_unique<MainFrame>(log); }, nullptr));
        app->OnFileNew();
        frame = static_cast<MainFrame*>(app->GetFirstDocTemplate()->GetFrame());
        document = static_cast<TestDocument*>(app->GetFirstDocTemplate()->GetDocument());
        ASSERT_NE(frame, nullptr);
        Activate(*frame);
        log.clear();
    }

    Log log;
    MainFrame* frame = nullptr;
    TestDocument* document = nullptr;
};

TEST_F(MainFrameTest, TheFormColumnKeepsThePanelWidthAndTheDrawingKeepsItsMinimum)
{
    const int form = frame->GetForm()->PanelWidthWithMargin();
    for (const int width : { 1000, 700, form + 50, form + 10, 120 }) {
        frame->resize(width, 500);
        int current = 0;
        int minimum = 0;
        frame->splitter.GetColumnInfo(0, current, minimum);
        EXPECT_EQ(current, std::max(width - form, 50)) << width;
        EXPECT_EQ(minimum, 50);
    }
    // The form's template scrolls inside its pane when the pane is narrower.
    EXPECT_EQ(frame->GetForm()->GetScrollArea()->widget(), frame->GetForm()->GetPanel());
    frame->resize(900, 420);
    EXPECT_TRUE(frame->grab().save(QString::fromStdString(qttest::OutputPath("fw/MainFrame.png").string())));
}

TEST_F(MainFrameTest, TheFormViewPutsItsValuesAtItsInitialUpdateAndRoutesItsControls)
{
    Form* form = frame->GetForm();
    EXPECT_EQ(form->GetDlgItem(ids::name)->GetWindowText(), "From the form");
    EXPECT_EQ(form->hints, std::vector<win::LPARAM> { 0 });
    document->OnCommand(ids::colour, [this] { log.push_back("document 1012"); });
    QTest::mouseClick(form->GetDlgItem(ids::colour)->GetWidget(), Qt::LeftButton);
    EXPECT_EQ(log, Log { "document 1012" });
    // A control with the focus makes the form the active view.
    form->GetDlgItem(ids::name)->SetFocus();
    EXPECT_EQ(frame->GetActiveView(), form);
}

TEST_F(MainFrameTest, TheScrollViewDrawsAtItsScrollPosition)
{
    DrawingView* view = frame->Drawing();
    frame->resize(1200, 400);
    EXPECT_EQ(view->GetDeviceTotalSize().cx, 1000);
    view->ScrollToPosition({ 60, 80 });
    EXPECT_EQ(view->GetDeviceScrollPosition().x, 60);
    EXPECT_EQ(view->GetDeviceScrollPosition().y, 80);
    EXPECT_EQ(view->GetScrollPosition().y, 80);
    win::RECT client {};
    view->GetClientRect(&client);
    EXPECT_LT(client.right, view->width()); // the vertical bar takes its room
    const QImage picture = view->grab().toImage();
    const QRect blue
        = qttest::InkBounds(picture, picture.rect(), [](QRgb p) { return qBlue(p) > 200 && qRed(p) < 50; });
    EXPECT_EQ(blue, QRect(40, 20, 50, 50));

    // In the low-metric mode a tenth of a millimetre is dpi / 254 pixels.
    view->SetScrollSizes(gdi::MM_LOMETRIC, { 2100, 2970 });
    EXPECT_EQ(view->GetDeviceTotalSize().cx, (2100 * view->logicalDpiX() + 127) / 254);
    EXPECT_EQ(view->GetDeviceTotalSize().cy, (2970 * view->logicalDpiY() + 127) / 254);
}

// A wheel notch (120) scrolls three lines; a touchpad's finer steps scroll in proportion.
TEST_F(MainFrameTest, TheScrollViewScrollsThreeLinesANotchAndFinerStepsInProportion)
{
    DrawingView* view = frame->Drawing();
    frame->resize(1200, 400);
    ASSERT_EQ(view->GetDeviceTotalSize().cy, 1000); // a line is 10 pixels
    const auto turn = [view](int delta) {
        QWheelEvent wheel(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, delta),
            Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &wheel);
    };
    turn(-120);
    EXPECT_EQ(view->GetDeviceScrollPosition().y, 30);
    for (int i = 0; i < 15; ++i)
        turn(-8);
    EXPECT_EQ(view->GetDeviceScrollPosition().y, 60);
    turn(120);
    EXPECT_EQ(view->GetDeviceScrollPosition().y, 30);
}

TEST_F(MainFrameTest, ToolBarButtonsFollowTheUpdateHandlers)
{
    ASSERT_EQ(frame->toolBar.actions().size(), 9);
    EXPECT_TRUE(frame->toolBar.actions()[3]->isSeparator());
    QAction* save = frame->toolBar.GetButtonAction(fw::ID_FILE_SAVE);
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->toolTip(), "Save");
    EXPECT_EQ(save->statusTip(), "Save the active document");
    EXPECT_EQ(frame->toolBar.GetButtonAction(103)->toolTip(), "Fit To Window");
    EXPECT_EQ(frame->toolBar.iconSize(), QSize(16, 15));
    for (QAction* action : frame->toolBar.actions()) {
        if (action->isSeparator())
            continue;
        const QImage icon = action->icon().pixmap(16, 15).toImage();
        EXPECT_FALSE(qttest::InkBounds(icon, icon.rect(), [](QRgb p) { return qAlpha(p) == 255; }).isEmpty())
            << action->toolTip().toStdString();
    }

    document->OnUpdateCommandUI(
        fw::ID_FILE_SAVE, [this](fw::CmdUI& ui) { ui.Enable(document->IsModified()); });
    frame->OnUpdateCmdUI();
    EXPECT_FALSE(save->isEnabled());
    QTest::mouseClick(frame->toolBar.widgetForAction(save), Qt::LeftButton);
    EXPECT_EQ(log, Log {}); // a disabled button issues nothing
    document->SetModifiedFlag();
    frame->OnUpdateCmdUI();
    EXPECT_TRUE(save->isEnabled());
    QTest::mouseClick(frame->toolBar.widgetForAction(save), Qt::LeftButton);
    EXPECT_EQ(log, Log { "frame 57603" });
}

TEST_F(MainFrameTest, AcceleratorsReachTheirCommandsThroughTheRouting)
{
    frame->Drawing()->setFocus();
    frame->GetForm()->OnCommand(ID_UPDATE, [this] { log.push_back("form 1016"); });
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::string reached;
    };
    const Case cases[] = {
        { Qt::Key_N, Qt::ControlModifier, "frame 57600" },
        { Qt::Key_O, Qt::ControlModifier, "frame 57601" },
        { Qt::Key_S, Qt::ControlModifier, "frame 57603" },
        { Qt::Key_P, Qt::ControlModifier, "frame 57607" },
        { Qt::Key_U, Qt::ControlModifier, "frame 1016" }, // the drawing view is active
        { Qt::Key_Z, Qt::ControlModifier, "frame 57643" },
        { Qt::Key_Backspace, Qt::AltModifier, "frame 57643" },
        { Qt::Key_Insert, Qt::ControlModifier, "frame 57634" },
        { Qt::Key_Delete, Qt::ShiftModifier, "frame 57635" },
        { Qt::Key_Insert, Qt::ShiftModifier, "frame 57637" },
    };
    for (const Case& c : cases) {
        log.clear();
        QTest::keyClick(frame->Drawing(), c.key, c.modifiers);
        EXPECT_EQ(log, Log { c.reached }) << c.reached;
    }
    // The form takes Ctrl+U while it is the active view, also from one of its edits.
    log.clear();
    frame->GetForm()->GetDlgItem(ids::name)->SetFocus();
    QTest::keyClick(frame->GetForm()->GetDlgItem(ids::name)->GetWidget(), Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(log, Log { "form 1016" });
}

TEST_F(MainFrameTest, F6MovesBetweenThePanes)
{
    frame->Drawing()->setFocus();
    ASSERT_EQ(frame->GetActiveView(), frame->Drawing());
    QTest::keyClick(frame->Drawing(), Qt::Key_F6);
    EXPECT_EQ(frame->GetActiveView(), frame->GetForm());
    EXPECT_NE(frame->GetForm()->GetFocus(), nullptr); // its first control has the focus
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(frame->GetActiveView(), frame->Drawing());
}

TEST_F(MainFrameTest, ClosingTheFrameWithTheFocusInAComboSendsNothing)
{
    Form* form = frame->GetForm();
    form->OnNotify(ids::pack, fw::CBN_KILLFOCUS, [this] { log.push_back("kill focus"); });
    form->GetDlgItem(ids::pack)->SetFocus();
    app->GetFirstDocTemplate()->CloseAllDocuments();
    EXPECT_EQ(log, Log { "document destroyed" });
}

} // namespace
} // namespace fwtest
