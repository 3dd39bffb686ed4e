#include "platform/qt/fw/CommandIds.h"
#include "platform/qt/fw/UserNotifications.h"
#include "qt/fw/FrameworkFixture.h"
#include "qt/fw/TestDocument.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include <stdexcept>

namespace fwtest {
namespace {

constexpr win::UINT commandId = 101;

class Routing : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        Fresh();
    }

    // A new application with a new document, frame and views.
    void Fresh()
    {
        app.reset();
        log.clear();
        ran.clear();
        app = std::make_unique<TestApp>();
        app->AddDocTemplate(MakeTemplate(log));
        app->OnFileNew();
        frame = static_cast<TwoViewFrame*>(app->GetFirstDocTemplate()->GetFrame());
        document = static_cast<TestDocument*>(app->GetFirstDocTemplate()->GetDocument());
    }

    // Gives each named target a handler of the command that logs the target's name.
    void Handle(const std::string& targets)
    {
        const auto logs = [this](std::string name) { return [this, name] { ran.push_back(name); }; };
        if (targets.find('A') != std::string::npos)
            frame->viewA->OnCommand(commandId, logs("A"));
        if (targets.find('B') != std::string::npos)
            frame->viewB->OnCommand(commandId, logs("B"));
        if (targets.find('D') != std::string::npos)
            document->OnCommand(commandId, logs("document"));
        if (targets.find('F') != std::string::npos)
            frame->OnCommand(commandId, logs("frame"));
        if (targets.find('P') != std::string::npos)
            app->OnCommand(commandId, logs("application"));
    }

    Log log;
    Log ran;
    TwoViewFrame* frame = nullptr;
    TestDocument* document = nullptr;
};

TEST_F(Routing, ACommandReachesTheFirstTargetOnTheRouteThatHandlesIt)
{
    struct Case {
        std::string handlers; // A, B: views; D: document; F: frame; P: application
        std::string reached; // empty: nobody
    };
    const Case cases[] = {
        { "ADFP", "A" },
        { "BDFP", "document" }, // B is not the active view
        { "FP", "frame" },
        { "P", "application" },
        { "B", "" },
        { "", "" },
    };
    for (const Case& c : cases) {
        Fresh();
        ASSERT_EQ(frame->GetActiveView(), frame->viewA);
        Handle(c.handlers);
        EXPECT_EQ(frame->SendCommand(commandId), !c.reached.empty()) << c.handlers;
        EXPECT_EQ(ran, c.reached.empty() ? Log {} : Log { c.reached }) << c.handlers;
    }
}

TEST_F(Routing, TheViewTheUserClickedBecomesTheActiveView)
{
    Handle("AB");
    frame->resize(400, 200);
    Activate(*frame);
    QTest::mouseClick(frame->viewB, Qt::LeftButton);
    EXPECT_EQ(frame->GetActiveView(), frame->viewB);
    frame->SendCommand(commandId);
    QTest::mouseClick(frame->viewA, Qt::LeftButton);
    EXPECT_EQ(frame->GetActiveView(), frame->viewA);
    frame->SendCommand(commandId);
    EXPECT_EQ(ran, (Log { "B", "A" }));
}

TEST_F(Routing, UpdateHandlersEnableDisableAndRelabelToolbarActionsAtIdle)
{
    QToolBar* toolbar = frame->addToolBar("toolbar");
    QAction* save = toolbar->addAction("Save");
    QAction* undo = toolbar->addAction("Undo");
    QAction* handledOnly = toolbar->addAction("Zoom");
    QAction* unhandled = toolbar->addAction("Copy");
    frame->AddCommandAction(save, fw::ID_FILE_SAVE);
    frame->AddCommandAction(undo, fw::ID_EDIT_UNDO);
    frame->AddCommandAction(handledOnly, commandId);
    frame->AddCommandAction(unhandled, fw::ID_EDIT_COPY);

    bool haveFile = false;
    std::string undoText = "Undo ";
    int saves = 0;
    document->OnCommand(fw::ID_FILE_SAVE, [&] { ++saves; });
    document->OnUpdateCommandUI(fw::ID_FILE_SAVE, [&](fw::CmdUI& ui) { ui.Enable(haveFile); });
    document->OnUpdateCommandUI(fw::ID_EDIT_UNDO, [&](fw::CmdUI& ui) {
        ui.SetText(undoText + "\tCtrl+Z");
        ui.Enable(undoText != "Undo ");
    });
    frame->OnCommand(commandId, [] {});

    RunUntilIdle();
    EXPECT_FALSE(save->isEnabled());
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(undo->text().toStdString(), "Undo \tCtrl+Z");
    EXPECT_TRUE(handledOnly->isEnabled()); // a handler and no update handler
    EXPECT_FALSE(unhandled->isEnabled()); // no handler anywhere on the route

    // A disabled command does not run, even when its action has not been updated yet.
    save->setEnabled(true);
    save->trigger();
    EXPECT_EQ(saves, 0);

    haveFile = true;
    undoText = "Undo Layout Move";
    RunUntilIdle();
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text().toStdString(), "Undo Layout Move\tCtrl+Z");
    save->trigger();
    EXPECT_EQ(saves, 1);
}

class CountingApp : public TestApp {
public:
    win::BOOL OnIdle(win::LONG count) override
    {
        counts.push_back(count);
        WinApp::OnIdle(count);
        return count < 2 ? win::TRUE : win::FALSE;
    }
    std::vector<win::LONG> counts;
};

TEST_F(Routing, IdleRunsOncePerBatchWithRisingCountsUntilItAsksForNoMore)
{
    app.reset();
    app = std::make_unique<CountingApp>();
    auto& counting = static_cast<CountingApp&>(*app);
    app->AddDocTemplate(MakeTemplate(log));
    app->OnFileNew();
    for (int i = 0; i < 3; ++i)
        QMetaObject::invokeMethod(
            qApp, [] {}, Qt::QueuedConnection);
    RunUntilIdle();
    EXPECT_EQ(counting.counts, (std::vector<win::LONG> { 0, 1, 2 }));
}

TEST_F(Routing, AnExceptionFromAHandlerIsReportedAndStopsBeforeQt)
{
    QAction* action = frame->addToolBar("toolbar")->addAction("Fails");
    action->setShortcut(QKeySequence("Ctrl+U"));
    frame->AddCommandAction(action, commandId);
    document->OnCommand(commandId, [] { throw std::runtime_error("The layout could not be updated"); });
    Activate(*frame);
    modal->AnswerNext(win::IDOK);
    QTest::keyClick(frame->viewA, Qt::Key_U, Qt::ControlModifier);
    ASSERT_EQ(modal->Messages().size(), 1u);
    EXPECT_EQ(modal->Messages()[0].text, "The layout could not be updated");
    EXPECT_EQ(modal->Messages()[0].flags, win::MB_OK | win::MB_ICONSTOP);
}

TEST_F(Routing, ControlNotificationsFireForWhatTheUserDoesNeverForValuesSetByCode)
{
    constexpr win::UINT editId = 1001, comboId = 1002, buttonId = 1003;
    QWidget panel;
    QLineEdit edit(&panel);
    QComboBox combo(&panel);
    combo.addItems({ "Portrait", "Group", "Combined" });
    QPushButton button("Update", &panel);
    button.setCheckable(true);
    Log notified;
    const auto logs = [&](std::string what) { return [&notified, what] { notified.push_back(what); }; };
    fw::View& target = *frame->viewA;
    frame->viewA->OnNotify(editId, fw::EN_CHANGE, logs("EN_CHANGE"));
    frame->viewA->OnNotify(comboId, fw::CBN_SELCHANGE, logs("CBN_SELCHANGE"));
    frame->viewA->OnNotify(buttonId, fw::BN_CLICKED, logs("BN_CLICKED"));
    fw::RouteUserEdits(edit, target, editId);
    fw::RouteUserSelections(combo, target, comboId);
    fw::RouteUserClicks(button, target, buttonId);
    panel.show();

    edit.setText("1200");
    combo.setCurrentIndex(2);
    button.setChecked(true);
    EXPECT_TRUE(notified.empty());

    QTest::keyClicks(&edit, "35");
    combo.setFocus();
    QTest::keyClick(&combo, Qt::Key_Up);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(notified, (Log { "EN_CHANGE", "EN_CHANGE", "CBN_SELCHANGE", "BN_CLICKED" }));
    EXPECT_EQ(edit.text().toStdString(), "120035");
    EXPECT_EQ(combo.currentIndex(), 1);
}

// A view that logs its mouse and key handlers, and fails on a right-hand click.
class InputView : public fw::View {
public:
    Log calls;

protected:
    void OnLButtonDown(win::UINT flags, win::POINT p) override
    {
        calls.push_back(Describe("down", flags, p));
        if (p.x > 150)
            throw std::runtime_error("No unit there");
    }
    void OnMouseMove(win::UINT flags, win::POINT p) override { calls.push_back(Describe("move", flags, p)); }
    void OnLButtonUp(win::UINT flags, win::POINT p) override { calls.push_back(Describe("up", flags, p)); }
    void OnKeyDown(win::UINT key, win::UINT repeat, win::UINT) override
    {
        calls.push_back("key " + std::to_string(key) + " x" + std::to_string(repeat));
    }

private:
    static std::string Describe(const char* what, win::UINT flags, win::POINT p)
    {
        return std::string(what) + " " + std::to_string(flags) + " " + std::to_string(p.x) + ","
            + std::to_string(p.y);
    }
};

TEST_F(Routing, MouseAndKeysReachTheViewInTheOriginalsTermsAndExceptionsStopThere)
{
    InputView view;
    view.resize(200, 100);
    Activate(view);
    QTest::mousePress(&view, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 20));
    QTest::mouseMove(&view, QPoint(30, 40));
    QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, QPoint(30, 40));
    for (const Qt::Key key :
        { Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down, Qt::Key_N, Qt::Key_F5, Qt::Key_Home })
        QTest::keyClick(&view, key);
    const Log expected {
        "down 5 10,20", // MK_LBUTTON | MK_SHIFT
        "move 1 30,40", "up 0 30,40", "key 37 x1", "key 38 x1", "key 39 x1", "key 40 x1", "key 78 x1",
        "key 116 x1", // VK_F5
        "key 0 x1", // a key the program has no code for
    };
    EXPECT_EQ(view.calls, expected);

    modal->AnswerNext(win::IDOK);
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(180, 20));
    ASSERT_EQ(modal->Messages().size(), 1u);
    EXPECT_EQ(modal->Messages()[0].text, "No unit there");
}

} // namespace
} // namespace fwtest
