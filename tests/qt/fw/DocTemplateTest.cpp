#include "platform/qt/fw/CommandLineInfo.h"
#include "qt/fw/FrameworkFixture.h"
#include "qt/fw/TestDocument.h"

#include <QScreen>
#include <QTest>

#include <filesystem>
#include <fstream>

namespace fwtest {
namespace {

class DocTemplate : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        app->AddDocTemplate(MakeTemplate(log));
    }
    fw::SingleDocTemplate& Template() { return *app->GetFirstDocTemplate(); }
    TestDocument* Doc() { return static_cast<TestDocument*>(Template().GetDocument()); }
    TwoViewFrame* Frame() { return static_cast<TwoViewFrame*>(Template().GetFrame()); }

    Log log;
};

TEST_F(DocTemplate, FileNewMakesDocumentFrameAndViewsThenSendsTheInitialUpdates)
{
    fw::CommandLineInfo info;
    app->ParseCommandLine(info);
    ASSERT_EQ(info.m_nShellCommand, fw::CommandLineInfo::FileNew);
    ASSERT_TRUE(app->ProcessShellCommand(info));

    EXPECT_EQ(log,
        (Log { "document constructed", "view A constructed", "view B constructed", "OnNewDocument",
            "initial update A", "initial update B" }));
    ASSERT_NE(Frame(), nullptr);
    EXPECT_EQ(app->m_pMainWnd, Frame());
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(Frame()->GetActiveView(), Frame()->viewA);
    EXPECT_EQ(Frame()->windowTitle().toStdString(), "Untitled - Orvanel");
    EXPECT_EQ(Doc()->GetViews(), (std::vector<fw::View*> { Frame()->viewA, Frame()->viewB }));

    Doc()->SetTitle("Version V2.453");
    EXPECT_EQ(Frame()->windowTitle().toStdString(), "Version V2.453 - Orvanel");
    Frame()->resize(400, 200);
    Frame()->grab().save(QString::fromStdString(qttest::OutputPath("fw_frame_two_views.png").string()));
}

TEST_F(DocTemplate, TheTemplateStringGivesItsSevenParts)
{
    const std::pair<fw::SingleDocTemplate::DocStringIndex, std::string> parts[] = {
        { fw::SingleDocTemplate::windowTitle, "Orvanel" },
        { fw::SingleDocTemplate::docName, "" },
        { fw::SingleDocTemplate::fileNewName, "Orvan" },
        { fw::SingleDocTemplate::filterName, "" },
        { fw::SingleDocTemplate::filterExt, "" },
        { fw::SingleDocTemplate::regFileTypeId, "Orvanel.Document" },
        { fw::SingleDocTemplate::regFileTypeName, "Orvan Document" },
    };
    for (const auto& [index, expected] : parts) {
        std::string text = "?";
        EXPECT_TRUE(Template().GetDocString(text, index));
        EXPECT_EQ(text, expected) << index;
    }
    const fw::SingleDocTemplate shortString(128, "Orvanel\nDoc", nullptr, nullptr, nullptr);
    std::string text = "?";
    EXPECT_FALSE(shortString.GetDocString(text, fw::SingleDocTemplate::fileNewName));
    EXPECT_EQ(text, "");
}

TEST_F(DocTemplate, TheMainFrameCanStayHiddenUntilTheApplicationShowsIt)
{
    app->m_nCmdShow = win::SW_HIDE;
    app->OnFileNew();
    ASSERT_NE(Frame(), nullptr);
    EXPECT_FALSE(Frame()->isVisible());
    EXPECT_EQ(Frame()->size(), QGuiApplication::primaryScreen()->availableGeometry().size() * 3 / 4);
    EXPECT_FALSE(Frame()->ShowWindow(win::SW_SHOW));
    Frame()->UpdateWindow();
    EXPECT_TRUE(Frame()->isVisible());
    // A later File New leaves it as it is.
    app->OnFileNew();
    EXPECT_TRUE(Frame()->isVisible());
}

TEST_F(DocTemplate, FileNewOnAModifiedDocumentAsksFirstAndReusesDocumentAndFrame)
{
    app->OnFileNew();
    TestDocument* const document = Doc();
    const fw::FrameWnd* const frame = Frame();
    struct Case {
        int answer;
        bool renewed;
    };
    for (const Case c :
        { Case { win::IDCANCEL, false }, Case { win::IDNO, true }, Case { win::IDYES, true } }) {
        log.clear();
        document->SetModifiedFlag();
        modal->AnswerNext(c.answer);
        const fw::Document* result = Template().OpenDocumentFile({});
        EXPECT_EQ(result != nullptr, c.renewed) << c.answer;
        Log expected;
        if (c.answer == win::IDYES)
            expected.push_back("DoFileSave");
        if (c.renewed)
            expected.insert(expected.end(), { "OnNewDocument", "initial update A", "initial update B" });
        EXPECT_EQ(log, expected) << c.answer;
        EXPECT_EQ(Doc(), document);
        EXPECT_EQ(Frame(), frame);
    }
    EXPECT_EQ(modal->Messages().back().text, "Save changes to Untitled?");
    EXPECT_EQ(modal->Messages().back().flags, win::MB_YESNOCANCEL | win::MB_ICONEXCLAMATION);
}

TEST_F(DocTemplate, UpdateAllViewsReachesEveryViewButTheSenderWithTheHint)
{
    app->OnFileNew();
    TestView* a = Frame()->viewA;
    TestView* b = Frame()->viewB;
    const std::vector<win::LPARAM> hints { 0, 1, 2, 4, 8, 16, 32, 36 };
    for (const win::LPARAM hint : hints)
        Doc()->UpdateAllViews(nullptr, hint);
    EXPECT_EQ(a->hints, hints);
    EXPECT_EQ(b->hints, hints);
    EXPECT_EQ(a->senders, std::vector<fw::View*>(hints.size(), nullptr));

    Doc()->UpdateAllViews(a, 7);
    EXPECT_EQ(a->hints.size(), hints.size());
    ASSERT_EQ(b->hints.size(), hints.size() + 1);
    EXPECT_EQ(b->hints.back(), 7);
    EXPECT_EQ(b->senders.back(), a);
}

TEST_F(DocTemplate, OpeningANamedFileReadsItThroughSerializeAndRecordsThePath)
{
    const std::filesystem::path file = Folder() / "fw_open_me.txt";
    std::ofstream(file) << "Custom Order Template\n";
    app->LoadStdProfileSettings(4);

    fw::CommandLineInfo info;
    info.ParseParam(file.string(), win::FALSE, win::TRUE);
    ASSERT_EQ(info.m_nShellCommand, fw::CommandLineInfo::FileOpen);
    ASSERT_TRUE(app->ProcessShellCommand(info));

    EXPECT_EQ(log,
        (Log { "document constructed", "view A constructed", "view B constructed", "Serialize loading",
            "initial update A", "initial update B" }));
    EXPECT_EQ(Doc()->GetPathName(), file.string());
    EXPECT_EQ(Doc()->GetTitle(), "fw_open_me.txt");
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(app->GetRecentFileList().Entries(), std::vector<std::string> { file.string() });
    EXPECT_EQ(Frame()->windowTitle().toStdString(), "fw_open_me.txt - Orvanel");
}

TEST_F(DocTemplate, AFileThatCannotBeOpenedIsReportedAndStartsNothing)
{
    const std::filesystem::path regular = Folder() / "regular.txt";
    std::ofstream(regular) << "x";
    struct Case {
        std::string path;
        std::string reason;
    };
    const Case cases[] = {
        { "/nonexistent-folder/layout.txt", "No such file or directory" },
        { regular.string() + "/layout.txt", "Not a directory" },
        { Folder().string(), "Is a directory" },
        { "/dev/null", "Not a regular file" },
    };
    for (const Case& c : cases) {
        fw::CommandLineInfo info;
        info.ParseParam(c.path, win::FALSE, win::TRUE);
        modal->AnswerNext(win::IDOK);
        EXPECT_FALSE(app->ProcessShellCommand(info)) << c.path;
        EXPECT_EQ(modal->Messages().back().text, "Cannot open the document " + c.path + ":\n" + c.reason);
        EXPECT_EQ(Template().GetDocument(), nullptr);
        EXPECT_EQ(Template().GetFrame(), nullptr);
        EXPECT_EQ(app->m_pMainWnd, nullptr);
        EXPECT_EQ(log.back(), "document destroyed");
    }
}

// A read that fails after the document was emptied must not leave the emptied document under the
// path of the file shown before, where a save would write it over that file.
TEST_F(DocTemplate, AReadThatFailsPartWayLeavesAnUntitledDocumentWithoutThePathBefore)
{
    const std::filesystem::path before = Folder() / "before.txt";
    std::ofstream(before) << "Custom Order Template\n";
    const std::filesystem::path broken = Folder() / "broken.txt";
    std::ofstream(broken) << "x";
    for (const auto failure : { TestDocument::Failure::format, TestDocument::Failure::other }) {
        ASSERT_NE(app->OpenDocumentFile(before.string()), nullptr);
        ASSERT_EQ(Doc()->GetPathName(), before.string());
        Doc()->failReading = failure;
        if (failure == TestDocument::Failure::format) {
            modal->AnswerNext(win::IDOK);
            EXPECT_EQ(app->OpenDocumentFile(broken.string()), nullptr);
            EXPECT_EQ(modal->Messages().back().text, "Unexpected file format in " + broken.string() + ".");
        } else {
            EXPECT_THROW(app->OpenDocumentFile(broken.string()), std::runtime_error);
        }
        ASSERT_NE(Doc(), nullptr);
        EXPECT_EQ(Doc()->GetPathName(), "");
        EXPECT_EQ(Doc()->GetTitle(), "Untitled");
        EXPECT_FALSE(Doc()->IsModified());
        EXPECT_EQ(Frame()->windowTitle().toStdString(), "Untitled - Orvanel");
        Doc()->failReading = TestDocument::Failure::none;
    }
}

TEST_F(DocTemplate, CommandLineOptionsAreSkippedAndTheFirstPlainArgumentIsTheFile)
{
    fw::CommandLineInfo info;
    info.ParseParam("quiet", win::TRUE, win::FALSE);
    EXPECT_EQ(info.m_nShellCommand, fw::CommandLineInfo::FileNew);
    info.ParseParam("/home/studio/a.txt", win::FALSE, win::FALSE);
    info.ParseParam("/home/studio/b.txt", win::FALSE, win::TRUE);
    EXPECT_EQ(info.m_nShellCommand, fw::CommandLineInfo::FileOpen);
    EXPECT_EQ(info.m_strFileName, "/home/studio/a.txt");
}

TEST_F(DocTemplate, ClosingTheFrameAsksTheDocumentAndCancelKeepsItOpen)
{
    app->OnFileNew();
    QPointer<fw::FrameWnd> frame(Frame());
    Doc()->SetModifiedFlag();

    modal->AnswerNext(win::IDCANCEL);
    EXPECT_FALSE(frame->close());
    QCoreApplication::processEvents();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_NE(Doc(), nullptr);

    // Yes with a save that fails keeps it open too: nothing is lost.
    Doc()->saves = false;
    modal->AnswerNext(win::IDYES);
    EXPECT_FALSE(frame->close());
    QCoreApplication::processEvents();
    ASSERT_NE(frame, nullptr);

    Doc()->saves = true;
    modal->AnswerNext(win::IDYES);
    EXPECT_TRUE(frame->close());
    QCoreApplication::processEvents();
    EXPECT_EQ(frame, nullptr);
    EXPECT_EQ(Template().GetDocument(), nullptr);
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    // The views go with the frame, before their document.
    const auto at = [this](const std::string& event) { return std::find(log.begin(), log.end(), event); };
    EXPECT_LT(at("view A destroyed"), at("document destroyed"));
    EXPECT_LT(at("view B destroyed"), at("document destroyed"));
    EXPECT_EQ(modal->Messages().size(), 3u);
}

TEST_F(DocTemplate, TheFrameworksOwnOpenAsksForTheFileFirst)
{
    const std::filesystem::path file = Folder() / "fw_open_me.txt";
    std::ofstream(file) << "Custom Order Template\n";
    modal->AnswerNextFile(win::IDCANCEL);
    app->OnFileOpen();
    EXPECT_EQ(Template().GetDocument(), nullptr);

    modal->AnswerNextFile(win::IDOK, file.string());
    app->OnFileOpen();
    ASSERT_NE(Doc(), nullptr);
    EXPECT_EQ(Doc()->GetPathName(), file.string());
    ASSERT_EQ(modal->FileDialogs().size(), 2u);
    EXPECT_TRUE(modal->FileDialogs()[0].open);
}

TEST_F(DocTemplate, RunEndsWhenTheMainFrameClosesAndThenWritesTheRecentFiles)
{
    app->LoadStdProfileSettings(4);
    app->OnFileNew();
    app->AddToRecentFileList("/home/studio/a.txt");
    QPointer<fw::FrameWnd> frame(Frame());
    QMetaObject::invokeMethod(
        frame, [&frame] { frame->close(); }, Qt::QueuedConnection);
    // Bounded: a loop that does not end when its main frame closes fails the test.
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, [] {
        ADD_FAILURE() << "the event loop did not end";
        QCoreApplication::quit();
    });
    bound.start(10000);

    EXPECT_EQ(app->Run(), 0);
    EXPECT_EQ(frame, nullptr);
    EXPECT_EQ(log.back(), "document destroyed");
    EXPECT_EQ(app->GetProfileString("Recent File List", "File1", ""), "/home/studio/a.txt");
}

TEST_F(DocTemplate, ResetEmptiesTheApplicationInPlace)
{
    fw::WinApp& before = *fw::AfxGetApp();
    app->LoadStdProfileSettings(4);
    app->OnFileNew();
    app->AddToRecentFileList("/tmp/a.txt");
    app->Reset();
    EXPECT_EQ(fw::AfxGetApp(), &before);
    EXPECT_EQ(before.GetFirstDocTemplate(), nullptr);
    EXPECT_EQ(before.m_pMainWnd, nullptr);
    EXPECT_TRUE(before.GetRecentFileList().Entries().empty());
    EXPECT_EQ(log.back(), "document destroyed");
}

} // namespace
} // namespace fwtest
