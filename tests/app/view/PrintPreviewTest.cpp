// The print preview of the drawing view, reached by the framework's preview command: the scripted
// preview draws its pages on the test's devices (the margin test on a recording device of a
// printer's printable area, the layout on a picture compared with the printed PDF), follows the
// paper's orientation, and the real QPrintPreviewDialog is opened without a modal loop and grabbed.
#include "PaintTestSupport.h"
#include "app/document/DocumentHints.h"
#include "app/frame/MainFrameFixture.h"
#include "app/view/Printing.h"
#include "model/Layout.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/qt/QtDeviceContext.h"
#include "platform/qt/QtModalServices.h"
#include "platform/qt/fw/CommandIds.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>

namespace frametest {
namespace {

namespace fs = std::filesystem;

class PrintPreview : public MainFrameTest {
protected:
    void SetUp() override
    {
        MainFrameTest::SetUp();
        frame->SetActiveView(view);
        folder = qttest::OutputPath("print-preview");
        fs::create_directories(folder);
    }

    // The form's Margin Test button asks for the margin test; its print dialog is cancelled.
    void ChooseMarginTest()
    {
        modal->AnswerNextPrint(win::IDCANCEL);
        document->UpdateAllViews(nullptr, hint::printMarginTest);
        ASSERT_EQ(view->GetPrintMode(), kPrintMarginTest);
    }

    void SetLandscape(bool landscape)
    {
        PaperSpecs& paper = document->GetLayout().GetPaper();
        paper.SelectPaper(landscape ? 1 : 0); // "A4 L" or "A4"
        paper.SetPortrait(!landscape);
    }

    fs::path folder;
};

struct OrientationCase {
    bool landscape;
    short orientation;
};

void PrintTo(const OrientationCase& c, std::ostream* os)
{
    *os << (c.landscape ? "A4 L" : "A4");
}

class MarginTestPreview : public PrintPreview, public ::testing::WithParamInterface<OrientationCase> { };

TEST_P(MarginTestPreview, MarksThePrintableAreaInThePapersOrientation)
{
    ChooseMarginTest();
    SetLandscape(GetParam().landscape);
    gdi::RecordingDeviceContext printer({ 4800, 6600, 600, 600 }, true);
    modal->AnswerNextPreview(
        win::IDCANCEL, [&](const win::PrintRequest&, int) -> gdi::DeviceContext& { return printer; });
    EXPECT_TRUE(frame->SendCommand(fw::ID_FILE_PRINT_PREVIEW));

    ASSERT_EQ(modal->Previews().size(), 1u);
    const auto& shown = modal->Previews()[0];
    EXPECT_EQ(shown.pagesDrawn, 1);
    EXPECT_EQ(shown.request.setup.orientation, GetParam().orientation);
    ASSERT_TRUE(shown.request.deviceMode.has_value());
    EXPECT_EQ(shown.request.deviceMode->orientation, GetParam().orientation);
    // What the print draws: the marks at the edges of the printable area, nothing of the layout.
    painttest::ExpectMarginMarks(printer);
    EXPECT_TRUE(printer.All<gdi::RecordedDib>().empty());
}

INSTANTIATE_TEST_SUITE_P(Papers, MarginTestPreview,
    ::testing::Values(OrientationCase { false, win::DMORIENT_PORTRAIT },
        OrientationCase { true, win::DMORIENT_LANDSCAPE }));

// Ink bounds of a page picture, in its pixels.
QRect Ink(const QImage& image)
{
    return qttest::InkBounds(image, image.rect(), qttest::NotWhite);
}

TEST_F(PrintPreview, LayoutPreviewShowsThePrintedPageFromTheMarginCorner)
{
    // The preview on a picture of the printable area at 254 dots per inch: a pixel is a tenth
    // of a millimetre, the unit of the layout.
    const PaperSpecs& paper = document->GetLayout().GetPaper();
    const int marginLeft = paper.GetMarginLeft();
    const int marginTop = paper.GetMarginTop();
    QImage shown = qttest::WhiteImage(paper.GetPaperWidth() - marginLeft - paper.GetMarginRight(),
        paper.GetPaperHeight() - marginTop - paper.GetMarginBottom(), 254);
    QPainter painter(&shown);
    gdi::QtDeviceContext dc(painter, true);
    modal->AnswerNextPreview(
        win::IDCANCEL, [&](const win::PrintRequest&, int) -> gdi::DeviceContext& { return dc; });
    EXPECT_TRUE(frame->SendCommand(fw::ID_FILE_PRINT_PREVIEW));
    painter.end();
    ASSERT_EQ(modal->Previews().size(), 1u);
    EXPECT_EQ(modal->Previews()[0].pagesDrawn, 1);
    EXPECT_EQ(modal->Previews()[0].request.setup.orientation, win::DMORIENT_PORTRAIT);
    EXPECT_TRUE(shown.save(QString::fromStdString((folder / "layout-preview.png").string())));

    // The same layout printed to a PDF and turned into a picture of the whole sheet.
    const fs::path pdf = folder / "layout-printed.pdf";
    fs::remove(pdf);
    modal->AnswerNextPrint(win::IDOK, pdf.string());
    view->OnFilePrint();
    const fs::path prefix = folder / "layout-printed";
    const std::string command
        = "pdftoppm -r 254 -png -singlefile '" + pdf.string() + "' '" + prefix.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const QImage printed(QString::fromStdString(prefix.string() + ".png"));
    ASSERT_FALSE(printed.isNull());

    const QRect previewInk = Ink(shown);
    const QRect printedInk = Ink(printed);
    ASSERT_TRUE(previewInk.isValid());
    EXPECT_NEAR(previewInk.left() + marginLeft, printedInk.left(), 3);
    EXPECT_NEAR(previewInk.top() + marginTop, printedInk.top(), 3);
    EXPECT_NEAR(previewInk.width(), printedInk.width(), 3) << "true size";
    EXPECT_NEAR(previewInk.height(), printedInk.height(), 3);
}

TEST_F(PrintPreview, AnUnexpectedPreviewDrawsNothingAndFailsTheTest)
{
    EXPECT_TRUE(frame->SendCommand(fw::ID_FILE_PRINT_PREVIEW));
    ASSERT_EQ(modal->Previews().size(), 1u);
    EXPECT_EQ(modal->Previews()[0].pagesDrawn, 0);
    EXPECT_EQ(modal->Unexpected(), std::vector<std::string> { "unexpected print preview" });
    modal->ClearUnexpected();
}

// Opens Qt's preview dialog without its modal loop, grabs it and closes it.
class GrabbedPreview : public win::ScriptedModalServices {
public:
    explicit GrabbedPreview(fs::path png)
        : png_(std::move(png))
    {
    }
    int PrintPreview(const win::PrintRequest& request, const win::RenderPrinterPage& render) override
    {
        const fw::QtModalServices::PreviewWindow window
            = fw::QtModalServices::MakePrintPreview(request, render, nullptr);
        window.dialog->resize(900, 700);
        window.dialog->show();
        QCoreApplication::processEvents();
        const auto* preview = window.dialog->findChild<QPrintPreviewWidget*>();
        pages = preview != nullptr ? preview->pageCount() : -1;
        landscape = window.printer->pageLayout().orientation() == QPageLayout::Landscape;
        sheet = window.printer->pageLayout().fullRect(QPageLayout::Millimeter);
        margins = window.printer->pageLayout().margins(QPageLayout::Millimeter);
        grabbed = window.dialog->grab().toImage();
        grabbed.save(QString::fromStdString(png_.string()));
        window.dialog->close();
        return win::IDCANCEL;
    }

    int pages = 0;
    bool landscape = false;
    QRectF sheet;
    QMarginsF margins;
    QImage grabbed;

private:
    fs::path png_;
};

TEST_F(PrintPreview, QtPreviewDialogShowsTheLayoutPage)
{
    SetLandscape(true);
    const auto grabbing = std::make_shared<GrabbedPreview>(folder / "qt-preview-dialog.png");
    win::AppContext::Instance().SetModalServices(grabbing);
    EXPECT_TRUE(frame->SendCommand(fw::ID_FILE_PRINT_PREVIEW));
    win::AppContext::Instance().SetModalServices(modal);
    EXPECT_EQ(grabbing->pages, 1);
    EXPECT_TRUE(grabbing->landscape);
    EXPECT_NEAR(grabbing->sheet.width(), 297, 0.5);
    EXPECT_NEAR(grabbing->sheet.height(), 210, 0.5);
    const PaperSpecs& paper = document->GetLayout().GetPaper();
    EXPECT_NEAR(grabbing->margins.left(), paper.GetMarginLeft() / 10.0, 0.1) << "the layout's margins";
    EXPECT_NEAR(grabbing->margins.top(), paper.GetMarginTop() / 10.0, 0.1);
    ASSERT_FALSE(grabbing->grabbed.isNull());
    EXPECT_TRUE(grabbing->Unexpected().empty());
}

} // namespace
} // namespace frametest
