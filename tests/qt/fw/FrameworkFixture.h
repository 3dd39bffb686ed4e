// The fixture of the framework tests: the Qt application, scripted modal services (a modal
// nobody scripted fails the test in the tear-down), an in-memory settings store and a recording
// shell, an application object per test, and a bounded wait for idle time.
#pragma once

#include "UnexpectedModals.h"
#include "platform/qt/fw/WinApp.h"
#include "platform/win/AppContext.h"
#include "platform/win/ScriptedModalServices.h"
#include "qt/QtTestSupport.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace fwtest {

// An application whose handler map the test fills.
class TestApp : public fw::WinApp {
public:
    using WinApp::OnCommand;
    using WinApp::OnUpdateCommandUI;
};

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qttest::EnsureApplication();
        std::filesystem::remove_all(Folder());
        std::filesystem::create_directories(Folder());
        // Whatever a test does, the user's own settings file is never touched.
        setenv("ORVANEL_SETTINGS", (Folder() / "Orvanel.conf").c_str(), 1);
        win::AppContext::Instance().Reset();
        win::AppContext::Instance().SetModalServices(modal);
        app = std::make_unique<TestApp>();
    }

    void TearDown() override
    {
        app.reset();
        CheckModals();
        EXPECT_TRUE(modal->AllAnswersUsed()) << "a scripted answer was never asked for";
        win::AppContext::Instance().Reset();
        unsetenv("ORVANEL_SETTINGS");
    }

    // A folder of the test's own in the test output, emptied when the test starts (tests run
    // in parallel processes).
    static std::filesystem::path Folder()
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        return qttest::OutputPath("fw") / (std::string(test->test_suite_name()) + "." + test->name());
    }

    // Fails the test for every modal that nothing scripted, and forgets them.
    void CheckModals() { ExpectNoUnexpectedModals(*modal); }

    // Shows the window and makes it the active one, as a user's click on it would (focus and
    // shortcuts need an active window). Bounded wait on the activation event.
    static void Activate(QWidget& window)
    {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // Runs the event loop until Qt is about to wait for more events (the application's idle
    // handler, connected earlier, runs first). Bounded: a loop that never idles fails the test.
    static void RunUntilIdle()
    {
        QEventLoop loop;
        const auto idle = QObject::connect(QAbstractEventDispatcher::instance(),
            &QAbstractEventDispatcher::aboutToBlock, &loop, [&loop] { loop.quit(); });
        QTimer bound;
        bound.setSingleShot(true);
        QObject::connect(&bound, &QTimer::timeout, &loop, [&loop] {
            ADD_FAILURE() << "the event loop never became idle";
            loop.quit();
        });
        bound.start(10000);
        loop.exec();
        QObject::disconnect(idle);
    }

    std::shared_ptr<win::ScriptedModalServices> modal = std::make_shared<win::ScriptedModalServices>();
    std::unique_ptr<TestApp> app;
};

} // namespace fwtest
