// The document inside the framework: File New through the document template, the start-up title,
// and closing the window.
#include "DocumentFixture.h"
#include "app/document/DocumentHints.h"
#include "platform/qt/fw/CreateContext.h"
#include "platform/qt/fw/FrameWnd.h"
#include "platform/qt/fw/SingleDocTemplate.h"
#include "platform/qt/fw/WinApp.h"

#include <QSplitter>

namespace doctest {
namespace {

// The main frame's stand-in: two recording views side by side.
class TwoViewFrame : public fw::FrameWnd {
public:
    RecordingView* drawing = nullptr;
    RecordingView* form = nullptr;

protected:
    win::BOOL OnCreateClient(fw::CreateContext& context) override
    {
        auto splitter = std::make_unique<QSplitter>(this);
        context.m_pNewViewClass = [] { return std::make_unique<RecordingView>(); };
        drawing = static_cast<RecordingView*>(CreateView(context, splitter.get()));
        form = static_cast<RecordingView*>(CreateView(context, splitter.get()));
        setCentralWidget(splitter.release());
        return drawing != nullptr && form != nullptr ? win::TRUE : win::FALSE;
    }
};

class DocumentFrame : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        document.reset(); // the template makes the program's document
        app = std::make_unique<fw::WinApp>();
        app->AddDocTemplate(std::make_unique<fw::SingleDocTemplate>(
            128, "Orvanel\n\nOrvan\n\n\nOrvanel.Document\nOrvan Document",
            [] { return std::make_unique<COrvanelDoc>(); }, [] { return std::make_unique<TwoViewFrame>(); },
            nullptr));
        app->m_nCmdShow = win::SW_HIDE;
        app->OnFileNew();
        ASSERT_NE(Doc(), nullptr);
    }
    void TearDown() override
    {
        app.reset();
        DocumentTest::TearDown();
    }

    COrvanelDoc* Doc() { return static_cast<COrvanelDoc*>(app->GetFirstDocTemplate()->GetDocument()); }
    TwoViewFrame* Frame() { return static_cast<TwoViewFrame*>(app->GetFirstDocTemplate()->GetFrame()); }
    Hints TakeFrameHints()
    {
        EXPECT_EQ(Frame()->drawing->hints, Frame()->form->hints);
        Hints hints = Frame()->drawing->hints;
        Frame()->drawing->hints.clear();
        Frame()->form->hints.clear();
        return hints;
    }

    std::unique_ptr<fw::WinApp> app;
};

TEST_F(DocumentFrame, StartsUntitledAndTakesTheVersionAsItsTitle)
{
    EXPECT_EQ(Doc()->GetTitle(), "Untitled");
    EXPECT_EQ(GetUndoManager().GetLimit(), 20u);
    EXPECT_EQ(TakeFrameHints(), (Hints { hint::layoutReplaced, hint::everything }))
        << "the new layout, then the initial update";
    Doc()->InitTitleAndPacks();
    EXPECT_EQ(Doc()->GetTitle(), "Version V2.453");
    EXPECT_EQ(Frame()->windowTitle().toStdString(), "Version V2.453 - Orvanel");
    EXPECT_EQ(TakeFrameHints(), Hints { hint::layoutValues });
}

TEST_F(DocumentFrame, FileNewAfterNoGivesAFreshLayoutWithTheFlagCleared)
{
    Doc()->InitTitleAndPacks();
    Doc()->GetLayout().SetLayoutType(1);
    Doc()->UnitMoved(true);
    modal->AnswerNext(win::IDNO);
    app->OnFileNew();
    EXPECT_EQ(Doc()->GetLayout().GetLayoutType(), 0);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Doc()->GetTitle(), "Untitled");
}

TEST_F(DocumentFrame, AWindowWhoseSaveFailedStaysOpen)
{
    Doc()->UnitMoved(true);
    modal->AnswerNext(win::IDYES);
    modal->AnswerNextFile(win::IDOK, Path("missing/layout.txt"));
    modal->AnswerNext(win::IDOK); // the failure
    EXPECT_FALSE(Frame()->close());
    EXPECT_NE(Frame(), nullptr);
    EXPECT_TRUE(Doc()->IsModified());
}

} // namespace
} // namespace doctest
