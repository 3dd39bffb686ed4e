// Printing one page: the margin-test marks on a printer's printable area, the print dialog
// cancelled, and the layout printed to a PDF file at true size in the paper's orientation (turned
// into PNG by poppler's pdftoppm for a look and a few pixel checks).
#include "app/view/Printing.h"
#include "PaintTestSupport.h"
#include "UnexpectedModals.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/qt/PrinterSetup.h"
#include "platform/win/AppContext.h"
#include "platform/win/ScriptedModalServices.h"
#include "qt/QtTestSupport.h"

#include <QImage>
#include <QPoint>
#include <QPrinter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(MarginTest, MarksTheEdgesOfThePrintableArea)
{
    gdi::RecordingDeviceContext dc({ 4800, 6600, 600, 600 }, true);
    PrintMarginTest(dc);
    painttest::ExpectMarginMarks(dc);
}

// The smallest column and row holding a dark pixel.
QPoint FirstDark(const QImage& image)
{
    QPoint first { image.width(), image.height() };
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 64)
                first = { std::min(first.x(), x), std::min(first.y(), y) };
    return first;
}

class PrintPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        qttest::EnsureApplication();
        folder = qttest::OutputPath("print-page");
        fs::create_directories(folder);
    }
    void TearDown() override
    {
        ExpectNoUnexpectedModals(*modal);
        EXPECT_TRUE(modal->AllAnswersUsed());
        win::AppContext::Instance().Reset();
    }

    // Prints the fixture's layout (the portrait picture solid black) into the named PDF and turns
    // it into a PNG at 25.4 dots per inch (a pixel per millimetre).
    QImage PrintToPng(painttest::PageFixture& page, const std::string& name, double dotsPerInch = 25.4)
    {
        page.pictures.files[painttest::kPortraitPath]
            = painttest::MakePicture(60, 80, 0, [](int, int) { return win::RGB(0, 0, 0); });
        const fs::path pdf = folder / (name + ".pdf");
        fs::remove(pdf);
        win::AppContext::Instance().SetModalServices(modal); // the page fixture reset the services
        modal->AnswerNextPrint(win::IDOK, pdf.string());
        EXPECT_TRUE(PrintOnePage(*page.layout, kPrintLayout, [&](gdi::DeviceContext& dc) {
            EXPECT_TRUE(dc.IsPrinting());
            DrawPage(dc, { *page.layout, page.content, page.pictures, page.copies });
        }));
        const fs::path prefix = folder / name;
        const std::string command = "pdftoppm -r " + std::to_string(dotsPerInch) + " -png -singlefile '"
            + pdf.string() + "' '" + prefix.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return QImage(QString::fromStdString(prefix.string() + ".png"));
    }

    std::shared_ptr<win::ScriptedModalServices> modal = std::make_shared<win::ScriptedModalServices>();
    fs::path folder;
};

// The printer's page settings hold a side in 16 bits: a custom paper beyond them must not wrap
// round to some other paper size.
TEST(PreparePrinting, PaperSidesBeyondThePrintersSettingsAreKeptAtTheirLargest)
{
    painttest::PageFixture page;
    PaperSpecs& paper = page.layout->GetPaper();
    paper.SelectPaper(PaperSpecs::customPaper);
    paper.SetWidth(2100);
    paper.SetHeight(70000); // would wrap to 4464
    win::PrintRequest request;
    PreparePrinting(*page.layout, kPrintLayout, request);
    ASSERT_TRUE(request.deviceMode.has_value());
    EXPECT_EQ(request.deviceMode->paperWidth, 2100);
    EXPECT_EQ(request.deviceMode->paperLength, 32767);
    paper.SetWidth(-5);
    PreparePrinting(*page.layout, kPrintLayout, request);
    EXPECT_EQ(request.deviceMode->paperWidth, 0) << "no side: the printer keeps its own";
}

struct PrintableCase {
    const char* name;
    int printMode;
    bool portrait;
    double margin; // millimetres on each side of the sheet
    friend void PrintTo(const PrintableCase& c, std::ostream* os) { *os << c.name; }
};

class PrintableArea : public ::testing::TestWithParam<PrintableCase> { };

// The printer made for a print of the request, as the print job makes it: the margin test leaves
// the PDF printer its own margins (none), so its printable area is the whole sheet; the layout
// gives it the layout's margins (3 mm on each side).
TEST_P(PrintableArea, IsTheWholeSheetForTheMarginTestAndWithinTheLayoutsMarginsForTheLayout)
{
    const PrintableCase& c = GetParam();
    qttest::EnsureApplication();
    painttest::PageFixture page;
    page.layout->GetPaper().SelectPaper(c.portrait ? 0 : 1); // "A4" or "A4 L"
    page.layout->GetPaper().SetPortrait(c.portrait);
    win::PrintRequest request;
    PreparePrinting(*page.layout, c.printMode, request);
    EXPECT_EQ(request.pageMargins.has_value(), c.printMode == kPrintLayout);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(qttest::OutputPath("printable-area.pdf").string()));
    fw::ApplyPrinterSettings(printer, request.setup.printerName, request.deviceMode);
    fw::ApplyPageRequest(printer, request);
    const QRect sheet = printer.pageLayout().fullRectPixels(printer.resolution());
    EXPECT_EQ(sheet.width() > sheet.height(), !c.portrait);
    // Qt keeps margins in whole points: within a point on each side.
    const double margins = 2 * c.margin * printer.resolution() / 25.4;
    const double tolerance = c.margin > 0 ? 2.0 * printer.resolution() / 72 : 0.0;
    EXPECT_NEAR(printer.width(), sheet.width() - margins, tolerance);
    EXPECT_NEAR(printer.height(), sheet.height() - margins, tolerance);
    win::AppContext::Instance().Reset();
}

INSTANTIATE_TEST_SUITE_P(Pdf, PrintableArea,
    ::testing::Values(PrintableCase { "MarginTestPortrait", kPrintMarginTest, true, 0.0 },
        PrintableCase { "MarginTestLandscape", kPrintMarginTest, false, 0.0 },
        PrintableCase { "LayoutPortrait", kPrintLayout, true, 3.0 },
        PrintableCase { "LayoutLandscape", kPrintLayout, false, 3.0 }),
    [](const ::testing::TestParamInfo<PrintableCase>& info) { return std::string(info.param.name); });

// The margin test printed to a PDF file marks the edges of the sheet itself: the PDF printer can
// print all of it.
TEST_F(PrintPage, MarginTestOnThePdfPrinterMarksTheEdgesOfTheSheet)
{
    painttest::PageFixture page;
    win::AppContext::Instance().SetModalServices(modal);
    const fs::path pdf = folder / "margin-test.pdf";
    fs::remove(pdf);
    modal->AnswerNextPrint(win::IDOK, pdf.string());
    EXPECT_TRUE(PrintOnePage(*page.layout, kPrintMarginTest, [](gdi::DeviceContext&) { FAIL(); }));
    const fs::path prefix = folder / "margin-test";
    const std::string command = "pdftoppm -r 100 -aa no -aaVector no -png -singlefile '" + pdf.string()
        + "' '" + prefix.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const QImage sheet(QString::fromStdString(prefix.string() + ".png"));
    ASSERT_FALSE(sheet.isNull());
    EXPECT_NEAR(sheet.width(), 827, 1); // 210 mm at 100 dpi
    const QRect marks = qttest::InkBounds(sheet, sheet.rect(), [](QRgb p) { return qGray(p) < 128; });
    EXPECT_EQ(marks, sheet.rect()) << "from " << marks.left() << ", " << marks.top() << " to "
                                   << marks.right() << ", " << marks.bottom();
}

TEST_F(PrintPage, CancelledDialogPrintsNothing)
{
    painttest::PageFixture page;
    win::AppContext::Instance().SetModalServices(modal);
    modal->AnswerNextPrint(win::IDCANCEL);
    bool drawn = false;
    EXPECT_FALSE(PrintOnePage(*page.layout, kPrintLayout, [&](gdi::DeviceContext&) { drawn = true; }));
    EXPECT_FALSE(drawn);
    EXPECT_EQ(modal->PrintDialogs().size(), 1u);
}

TEST_F(PrintPage, LayoutPrintsAtTrueSizeInThePapersOrientation)
{
    painttest::PageFixture portrait;
    const QImage upright = PrintToPng(portrait, "layout-portrait");
    ASSERT_FALSE(upright.isNull());
    EXPECT_NEAR(upright.width(), 210, 1);
    EXPECT_NEAR(upright.height(), 297, 1);
    EXPECT_EQ(modal->PrintDialogs().back().orientation, win::DMORIENT_PORTRAIT);
    // The picture unit (60 x 80 fitted to 58.5 x 78 mm in its 63 x 78 mm box at (8, 18) mm on the
    // sheet): the printer's margins are the layout's, so the page lands where the layout puts it.
    EXPECT_EQ(FirstDark(upright), (QPoint { 10, 18 }));
    painttest::PageFixture wide;
    wide.layout->GetPaper().SetMarginLeft(200);
    wide.layout->GetPaper().SetMarginTop(130);
    const QImage moved = PrintToPng(wide, "layout-wide-margins");
    EXPECT_EQ(FirstDark(moved), FirstDark(upright)) << "wider margins leave the page where it is";

    painttest::PageFixture landscape;
    landscape.layout->GetPaper().SelectPaper(1); // "A4 L"
    landscape.layout->GetPaper().SetPortrait(false);
    const QImage lying = PrintToPng(landscape, "layout-landscape");
    ASSERT_FALSE(lying.isNull());
    EXPECT_NEAR(lying.width(), 297, 1);
    EXPECT_NEAR(lying.height(), 210, 1);
    EXPECT_EQ(modal->PrintDialogs().back().orientation, win::DMORIENT_LANDSCAPE);
    EXPECT_EQ(FirstDark(lying), FirstDark(upright)) << "the same corner on the turned sheet";
}

// A print draws each picture once: it keeps no copy of a picture (a full-size one at a printer's
// resolution) in the view's display copies, where it would stay until the job ends.
TEST_F(PrintPage, KeepsNoCopiesOfThePrintedPictures)
{
    painttest::PageFixture page;
    const QImage sheet = PrintToPng(page, "no-copies-kept");
    ASSERT_FALSE(sheet.isNull());
    EXPECT_EQ(FirstDark(sheet), (QPoint { 10, 18 })) << "the picture is printed";
    EXPECT_EQ(page.copies.Size(), 0u);
    EXPECT_EQ(page.copies.CopiesMade(), 0u);
}

struct PlacementCase {
    const char* name;
    bool portrait;
    int32_t left, top, right, bottom;
};

void PrintTo(const PlacementCase& c, std::ostream* os)
{
    *os << c.name;
}

class PrintPlacement : public PrintPage, public ::testing::WithParamInterface<PlacementCase> { };

// Every unit prints where the screen shows it on the page, whatever the margins and the
// orientation: the picture's first dark pixel within half a millimetre of its place, at 10 pixels
// a millimetre. The picture (60 x 80 fitted to 58.5 x 78 mm in its 63 x 78 mm box at (8, 18) mm
// from the sheet's left and top edges) starts at (10.25, 18) mm.
TEST_P(PrintPlacement, PutsTheUnitWhereTheLayoutDoes)
{
    const PlacementCase& c = GetParam();
    painttest::PageFixture page;
    PaperSpecs& paper = page.layout->GetPaper();
    paper.SelectPaper(c.portrait ? 0 : 1); // "A4" or "A4 L"
    paper.SetPortrait(c.portrait);
    paper.SetMarginLeft(c.left);
    paper.SetMarginTop(c.top);
    paper.SetMarginRight(c.right);
    paper.SetMarginBottom(c.bottom);
    // The picture's corner alone: the extra texts would be the first dark pixels at this resolution.
    for (int n = 1; n <= 8; ++n)
        page.Unit("ExtraTxt" + std::to_string(n)).SetVisible(false);
    const QImage sheet = PrintToPng(page, std::string("placement-") + c.name, 254.0);
    ASSERT_FALSE(sheet.isNull());
    EXPECT_NEAR(sheet.width(), c.portrait ? 2100 : 2970, 2);
    const QPoint first = FirstDark(sheet);
    EXPECT_NEAR(first.x(), 102.5, 5.0);
    EXPECT_NEAR(first.y(), 180.0, 5.0);
}

INSTANTIATE_TEST_SUITE_P(Sheets, PrintPlacement,
    ::testing::Values(PlacementCase { "PortraitEqualMargins", true, 30, 30, 30, 30 },
        PlacementCase { "PortraitUnequalMargins", true, 200, 130, 30, 60 },
        PlacementCase { "LandscapeEqualMargins", false, 30, 30, 30, 30 },
        PlacementCase { "LandscapeUnequalMargins", false, 200, 130, 30, 60 },
        PlacementCase { "LandscapeTopLargest", false, 10, 250, 90, 20 }),
    [](const ::testing::TestParamInfo<PlacementCase>& info) { return std::string(info.param.name); });

} // namespace
