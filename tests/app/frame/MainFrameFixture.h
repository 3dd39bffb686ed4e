// The fixture of the main window tests: the framework's test application with the program's
// document and main frame made by a document template, the sample pictures, pack template and
// catalogue of data/, a fresh undo manager and image cache, and the window shown and active.
#pragma once

#include "app/dialogs/ProgramOptions.h"
#include "app/document/OrvanelDoc.h"
#include "app/document/UndoManager.h"
#include "app/frame/MainFrame.h"
#include "app/view/OrvanelView.h"
#include "imaging/wrapper/ImageCache.h"
#include "model/ProductCatalog.h"
#include "model/ProductCatalogFile.h"
#include "platform/qt/fw/SingleDocTemplate.h"
#include "qt/fw/FrameworkFixture.h"

#include <QTest>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace frametest {

inline std::string SamplePath(const char* file)
{
    return (std::filesystem::path(ORVANEL_TEST_DATA).parent_path().parent_path() / "data" / file).string();
}

// Stands in for a second view of the document: logs the hints.
class HintLog : public fw::View {
public:
    void OnUpdate(fw::View*, win::LPARAM hint) override { hints.push_back(hint); }
    std::vector<win::LPARAM> hints;
};

class MainFrameTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        GetUndoManager().Reset();
        GetImageCache().RestoreInitialState();
        ProgramOptions& options = ProgramOptions::Instance();
        options.Reset();
        options.portraitSamplePath = SamplePath("PortraitSample.jpg");
        options.groupSamplePath = SamplePath("GroupSample.jpg");
        options.packDetailsPath = SamplePath("Packs.csv");
        options.extraText[0] = "Orvanel Portrait Studio";
        ResetGlobalProductCatalog();
        ReadProductCatalogFile(SamplePath("ProductCatalog.csv"), GlobalProductCatalog());
        app->AddDocTemplate(std::make_unique<fw::SingleDocTemplate>(
            128, "Orvanel\n\nOrvan\n\n\nOrvanel.Document\nOrvan Document",
            [] { return std::make_unique<COrvanelDoc>(); }, [] { return std::make_unique<CMainFrame>(); },
            nullptr));
        app->OnFileNew();
        frame = static_cast<CMainFrame*>(app->GetFirstDocTemplate()->GetFrame());
        document = static_cast<COrvanelDoc*>(app->GetFirstDocTemplate()->GetDocument());
        ASSERT_NE(frame, nullptr);
        ASSERT_NE(document, nullptr);
        document->LoadPackTemplate();
        frame->resize(1100, 800);
        Activate(*frame);
        RunUntilIdle();
        view = frame->GetLayoutView();
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(view->IsFitted());
        view->repaint(); // the converter of a screen drawing
        hints = std::make_unique<HintLog>();
        document->AddView(hints.get());
    }

    void TearDown() override
    {
        if (document != nullptr && hints)
            document->RemoveView(hints.get());
        hints.reset();
        FrameworkTest::TearDown();
        GetUndoManager().Reset();
        GetImageCache().RestoreInitialState();
        ProgramOptions::Instance().Reset();
        ResetGlobalProductCatalog();
    }

    LayoutUnit& Unit(const char* name) { return *document->GetLayout().GetRootUnit()->FindByName(name); }

    // The client point over a layout point, through the last drawing.
    QPoint ClientOf(win::POINT layout) const
    {
        const win::RECT r = view->LayoutToClient({ layout.x, layout.y, layout.x, layout.y });
        return { r.left, r.top };
    }
    QPoint CentreOf(const LayoutUnit& unit) const
    {
        const win::RECT b = unit.GetBounds();
        return ClientOf({ (b.left + b.right) / 2, (b.top + b.bottom) / 2 });
    }

    void Click(QPoint at) { QTest::mouseClick(view, Qt::LeftButton, {}, at); }
    void Drag(QPoint from, QPoint to)
    {
        QTest::mousePress(view, Qt::LeftButton, {}, from);
        QTest::mouseMove(view, (from + to) / 2);
        QTest::mouseMove(view, to);
        QTest::mouseRelease(view, Qt::LeftButton, {}, to);
    }

    CMainFrame* frame = nullptr;
    COrvanelDoc* document = nullptr;
    COrvanelView* view = nullptr;
    std::unique_ptr<HintLog> hints; // made once the Qt application exists
};

} // namespace frametest
