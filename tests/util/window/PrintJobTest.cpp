#include "util/window/PrintJob.h"

#include "ScopedApplication.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/qt/QtDeviceContext.h"
#include "platform/win/AppContext.h"
#include "platform/win/ScriptedModalServices.h"
#include "qt/QtTestSupport.h"
#include "util/TestFolder.h"
#include "util/window/PageFlow.h"
#include "util/window/PageWriters.h"
#include "util/window/PrinterDefaults.h"

#include <QImage>
#include <QPageSize>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

class PrintJob : public ::testing::Test {
protected:
    void SetUp() override
    {
        win::AppContext::Instance().Reset();
        win::AppContext::Instance().SetModalServices(modal);
    }
    void TearDown() override
    {
        EXPECT_TRUE(modal->Unexpected().empty()) << modal->Unexpected().front();
        EXPECT_TRUE(modal->AllAnswersUsed());
        win::AppContext::Instance().Reset();
    }

    // Starts a job on the PDF file chosen in the (scripted) print dialog.
    void StartPdfJob(const fs::path& pdf, const std::string& name)
    {
        fs::remove(pdf);
        modal->AnswerNextPrint(win::IDOK, pdf.string());
        PrintInfo info;
        ASSERT_TRUE(CreatePrinterDC("", "", "", name, info, dc, false, false));
        ASSERT_TRUE(dc.IsAttached());
        EXPECT_TRUE(dc.Dc().IsPrinting());
        EXPECT_EQ(modal->PrintDialogs().size(), 1u);
    }

    // The PDF's pages as PNG files beside it, made by poppler's pdftoppm; their count.
    static int RenderPages(const fs::path& pdf)
    {
        const fs::path prefix = pdf.parent_path() / pdf.stem();
        for (int page = 1; page < 10; ++page)
            fs::remove(prefix.string() + "-" + std::to_string(page) + ".png");
        const std::string command = "pdftoppm -r 60 -png '" + pdf.string() + "' '" + prefix.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        int pages = 0;
        while (fs::exists(prefix.string() + "-" + std::to_string(pages + 1) + ".png"))
            ++pages;
        return pages;
    }

    static QImage Page(const fs::path& pdf, int page)
    {
        const fs::path png = pdf.parent_path() / (pdf.stem().string() + "-" + std::to_string(page) + ".png");
        return QImage(QString::fromStdString(png.string()));
    }

    ScopedApplication application;
    std::shared_ptr<win::ScriptedModalServices> modal = std::make_shared<win::ScriptedModalServices>();
    TestFolder testFolder { "print" };
    const fs::path folder = testFolder.Path();
    PrinterDC dc;
};

// Ink in a band of the page given in fractions of its size.
bool InkIn(const QImage& page, double left, double top, double right, double bottom)
{
    const QRect area(static_cast<int>(page.width() * left), static_cast<int>(page.height() * top),
        static_cast<int>(page.width() * (right - left)), static_cast<int>(page.height() * (bottom - top)));
    return qttest::InkBounds(page, area, qttest::NotWhite).isValid();
}

TEST_F(PrintJob, PrintsATableThroughThePrintDialogToAPdfFile)
{
    const fs::path csv = folder / "products.csv";
    {
        std::ofstream out(csv, std::ios::binary);
        out << "\"Code\",\"Description\",\"Price\"\r\n";
        for (int i = 1; i <= 90; ++i)
            out << "\"P" << i << "\",\"Portrait print " << i << " in a folder\",\"" << i * 3 << ".50\"\r\n";
    }
    const fs::path pdf = qttest::OutputPath("util-print-table.pdf");
    StartPdfJob(pdf, "Product table");
    const int widths[] = { 15, 60, 25 };
    const int alignments[] = { kAlignLeft, kAlignLeft, kAlignRight };
    const bool rectangles[] = { false, false, false };
    ASSERT_TRUE(PrintCsvFileTable(dc, 120, csv.string(), 3, widths, alignments, rectangles));
    EndPrintJob(dc);
    EXPECT_FALSE(dc.IsAttached());
    ASSERT_TRUE(fs::exists(pdf));
    // 12-point rows of 5.8 mm: two pages, each with its footer, the first from the top. The PDF
    // printer prints the whole sheet: the rows stop two lines above its end (0.961), the footer
    // is the line below them.
    ASSERT_EQ(RenderPages(pdf), 2);
    const QImage first = Page(pdf, 1);
    EXPECT_TRUE(InkIn(first, 0.0, 0.0, 0.2, 0.06));
    EXPECT_TRUE(InkIn(first, 0.4, 0.94, 0.6, 1.0)); // "Page 1"
    EXPECT_FALSE(InkIn(first, 0.0, 0.965, 0.35, 1.0));
    EXPECT_TRUE(InkIn(Page(pdf, 2), 0.4, 0.94, 0.6, 1.0));
}

TEST_F(PrintJob, PrintsWrappedTextToAPdfFile)
{
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "The proof sheets of the spring sessions go out with the order forms and the price list. ";
    text += "\n\nLast paragraph.";
    const fs::path pdf = qttest::OutputPath("util-print-text.pdf");
    StartPdfJob(pdf, "Wrapped text");
    PrintWrappedText(dc, 110, text);
    EndPrintJob(dc);
    ASSERT_EQ(RenderPages(pdf), 1);
    const QImage page = Page(pdf, 1);
    // Lines fill the width but stay inside the page's right edge; no footer on a single page.
    EXPECT_TRUE(InkIn(page, 0.7, 0.0, 0.97, 0.3));
    EXPECT_FALSE(InkIn(page, 0.4, 0.94, 0.6, 1.0));
}

TEST_F(PrintJob, CancelledDialogStartsNothing)
{
    modal->AnswerNextPrint(win::IDCANCEL);
    PrintInfo info;
    EXPECT_FALSE(CreatePrinterDC("", "", "", "Cancelled", info, dc, false, false));
    EXPECT_FALSE(dc.IsAttached());
    EXPECT_TRUE(modal->Messages().empty());
}

TEST_F(PrintJob, UnknownPrinterNameShowsTheFailureMessage)
{
    modal->AnswerNext(win::IDOK);
    PrintInfo info;
    EXPECT_FALSE(CreatePrinterDC("CUPS", "No Such Studio Printer", "lp", "Named", info, dc, false, false));
    EXPECT_FALSE(dc.IsAttached());
    ASSERT_EQ(modal->Messages().size(), 1u);
    EXPECT_EQ(modal->Messages()[0].text, kFailedToStartPrintJob);
    EXPECT_EQ(modal->Messages()[0].flags, win::MB_OK);
    EXPECT_TRUE(modal->PrintDialogs().empty());
}

TEST_F(PrintJob, DefaultPrinterWithOrientationSkipsTheDialog)
{
    win::DeviceMode defaults;
    defaults.deviceName = "No Such Studio Printer";
    win::AppContext::Instance().Printers().defaults = defaults;
    modal->AnswerNext(win::IDOK);
    PrintInfo info;
    EXPECT_FALSE(CreatePrinterDC("", "", "", "Landscape", info, dc, true, true));
    EXPECT_TRUE(modal->PrintDialogs().empty());
    ASSERT_TRUE(info.dialog.deviceMode);
    EXPECT_EQ(info.dialog.deviceMode->orientation, win::DMORIENT_LANDSCAPE);
    EXPECT_EQ(info.dialog.setup.printerName, "No Such Studio Printer");
    EXPECT_EQ(modal->Messages().size(), 1u);
    // The program's own default stays as it was.
    EXPECT_EQ(win::AppContext::Instance().Printers().defaults, defaults);
}

TEST_F(PrintJob, OrientationWithoutADefaultPrinterLeavesItToTheDialog)
{
    const fs::path pdf = folder / "asked.pdf";
    modal->AnswerNextPrint(win::IDOK, pdf.string());
    PrintInfo info;
    ASSERT_TRUE(CreatePrinterDC("", "", "", "Asked", info, dc, true, true));
    EXPECT_EQ(modal->PrintDialogs().size(), 1u);
    EXPECT_FALSE(info.dialog.deviceMode);
    ASSERT_TRUE(dc.IsAttached());
    EXPECT_EQ(dc.GetPrinter()->pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(dc.GetPrinter()->docName().toStdString(), "Asked");
}

TEST_F(PrintJob, EndingWithoutAnOpenPageAbandonsTheJob)
{
    const fs::path pdf = folder / "abandoned.pdf";
    StartPdfJob(pdf, "Abandoned");
    dc.Dc().TextOut(0, 0, "never printed");
    EndPrintJob(dc); // no page was started, so ending the page fails
    EXPECT_FALSE(dc.IsAttached());
    EXPECT_FALSE(fs::exists(pdf));

    modal->AnswerNextPrint(win::IDOK, (folder / "ended.pdf").string());
    PrintInfo info;
    ASSERT_TRUE(CreatePrinterDC("", "", "", "Ended", info, dc, false, false));
    ASSERT_TRUE(dc.StartPage());
    EndPrintJob(dc);
    EXPECT_TRUE(fs::exists(folder / "ended.pdf"));
}

TEST_F(PrintJob, APdfOfTheSameNameIsReplacedOnlyByAnEndedJob)
{
    const fs::path pdf = folder / "kept.pdf";
    std::ofstream(pdf) << "earlier";
    const auto start = [&](const std::string& name) {
        modal->AnswerNextPrint(win::IDOK, pdf.string());
        PrintInfo info;
        ASSERT_TRUE(CreatePrinterDC("", "", "", name, info, dc, false, false));
    };
    const auto read = [&] {
        std::ifstream in(pdf, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    start("Abandoned");
    dc.Dc().TextOut(0, 0, "never printed");
    EndPrintJob(dc); // no page was started: abandoned
    EXPECT_EQ(read(), "earlier");

    start("Ended");
    ASSERT_TRUE(dc.StartPage());
    EndPrintJob(dc);
    EXPECT_TRUE(read().starts_with("%PDF"));
    // With the permissions of a new file, and nothing else left in the folder.
    std::ofstream(folder / "new.txt") << "new";
    EXPECT_EQ(fs::status(pdf).permissions(), fs::status(folder / "new.txt").permissions());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
}

TEST(PrinterDefaults, OrientationChangesOnlyAnExistingDefaultPrinter)
{
    win::AppContext::Instance().Reset();
    auto& printers = win::AppContext::Instance().Printers();
    SetDefaultPrinterLandscape();
    EXPECT_FALSE(printers.defaults);
    printers.defaults = win::DeviceMode { "Studio", 0, win::DMORIENT_PORTRAIT, 2970, 2100, 300 };
    SetDefaultPrinterLandscape();
    EXPECT_EQ(printers.defaults->orientation, win::DMORIENT_LANDSCAPE);
    EXPECT_EQ(printers.defaults->fields, win::DM_ORIENTATION);
    SetDefaultPrinterPortrait();
    EXPECT_EQ(printers.defaults->orientation, win::DMORIENT_PORTRAIT);
    win::AppContext::Instance().Reset();
}

TEST(PrinterDefaults, PaperChangeMasksOnlyTheValuesGiven)
{
    const win::DWORD all
        = win::DM_ORIENTATION | win::DM_PAPERLENGTH | win::DM_PAPERWIDTH | win::DM_PRINTQUALITY;
    const win::DeviceMode current { "Studio", all, win::DMORIENT_LANDSCAPE, 2970, 2100, 300 };
    const struct {
        short width, length, quality;
        win::DWORD fields;
        short wantWidth, wantLength, wantQuality;
    } cases[] = {
        { 0, 0, 600, win::DM_PRINTQUALITY, 2100, 2970, 600 },
        { 1000, 1500, 0, win::DM_PAPERWIDTH | win::DM_PAPERLENGTH, 1000, 1500, 300 },
        { 1000, 0, 0, win::DM_PAPERWIDTH, 1000, 2970, 300 },
        { 0, 0, 0, 0, 2100, 2970, 300 },
    };
    for (const auto& c : cases) {
        const auto change = PaperChange(current, c.width, c.length, c.quality);
        ASSERT_TRUE(change);
        EXPECT_EQ(change->fields, c.fields) << c.width << " " << c.length << " " << c.quality;
        // Merged, the fields not asked for keep their values, the orientation included.
        const win::DeviceMode merged = MergeDeviceMode(current, *change);
        EXPECT_EQ(merged.paperWidth, c.wantWidth);
        EXPECT_EQ(merged.paperLength, c.wantLength);
        EXPECT_EQ(merged.printQuality, c.wantQuality);
        EXPECT_EQ(merged.orientation, win::DMORIENT_LANDSCAPE);
        EXPECT_EQ(merged.fields, all);
    }
    // A printer that lets none of the three be changed.
    EXPECT_FALSE(PaperChange({ "Fixed", win::DM_ORIENTATION, 1, 0, 0, 0 }, 1000, 1000, 300));
    EXPECT_FALSE(SetPrinterPaper("No Such Studio Printer", 2100, 2970, 300));
}

TEST(PrinterDefaults, SettingsReachTheQtPrinter)
{
    const ScopedApplication application;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    ApplyDeviceMode(printer,
        { "", win::DM_ORIENTATION | win::DM_PAPERWIDTH | win::DM_PAPERLENGTH | win::DM_PRINTQUALITY,
            win::DMORIENT_LANDSCAPE, 1500, 1000, 300 });
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    const QSizeF paper = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
    EXPECT_NEAR(paper.width(), 100.0, 0.5);
    EXPECT_NEAR(paper.height(), 150.0, 0.5);
    EXPECT_EQ(printer.resolution(), 300);
}

TEST(PageFlow, AverageCharacterWidthOfArialIsArialsOwnInLiberationSans)
{
    const ScopedApplication application;
    QImage image = qttest::WhiteImage(100, 100, 254);
    gdi::QtDeviceContext dc(image);
    dc.SetMapMode(gdi::MM_LOMETRIC);
    // 72 points: a character height of 254 units; Arial's average is 904/2048 of it (112), where
    // Liberation Sans's own figure (1187/2048, over all its glyphs) would be 147.
    const SelectedFont font(dc, PointFont(720, "Arial", dc));
    EXPECT_NEAR(AverageCharWidth(dc), 254 * 904 / 2048, 1);
}

} // namespace
