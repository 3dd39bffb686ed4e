#include "app/view/Printing.h"

#include "model/Layout.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/win/AppContext.h"
#include "util/window/PrintJob.h"
#include "util/window/PrinterDC.h"
#include "util/window/PrinterDefaults.h"

#include <algorithm>
#include <limits>

namespace {

// The name of the print job.
constexpr const char* kDocumentName = "Orvanel";

bool HasDefaultPrinter()
{
    return win::AppContext::Instance().Printers().defaults.has_value();
}

// A mark's half length along the top and bottom edges, and the length of the side marks.
constexpr int kHalfMark = 50;
constexpr int kSideMark = 100;
constexpr int kTextInset = 10;

// A paper side for the printer's page settings, which hold tenths of a millimetre in 16 bits: a
// larger side is kept at the largest the settings hold instead of wrapping to another size, and
// one below 0 becomes 0, which leaves the printer's own side.
short PaperSide(int32_t length)
{
    return static_cast<short>(std::clamp<int32_t>(length, 0, std::numeric_limits<short>::max()));
}

void Line(gdi::DeviceContext& dc, int x0, int y0, int x1, int y1)
{
    dc.MoveTo(x0, y0);
    dc.LineTo(x1, y1);
}

} // namespace

bool SetPrinterPortrait()
{
    if (!HasDefaultPrinter())
        return false;
    SetDefaultPrinterPortrait();
    return true;
}

bool SetPrinterLandscape()
{
    if (!HasDefaultPrinter())
        return false;
    SetDefaultPrinterLandscape();
    return true;
}

void PreparePrinting(const Layout& layout, int printMode, win::PrintRequest& request)
{
    const PaperSpecs& paper = layout.GetPaper();
    const bool portrait = paper.GetPortrait();
    if (portrait)
        SetPrinterPortrait();
    else
        SetPrinterLandscape();
    win::PrintSetup& setup = request.setup;
    setup.minPage = setup.maxPage = setup.fromPage = setup.toPage = 1;
    // The program's page layout, kept with or without a printer and given to the one chosen.
    win::DeviceMode mode = win::AppContext::Instance().Printers().defaults.value_or(win::DeviceMode {});
    setup.printerName = mode.deviceName;
    mode.orientation = portrait ? win::DMORIENT_PORTRAIT : win::DMORIENT_LANDSCAPE;
    setup.orientation = mode.orientation;
    const int32_t width = paper.GetPaperWidth();
    const int32_t height = paper.GetPaperHeight();
    mode.paperWidth = PaperSide(std::min(width, height));
    mode.paperLength = PaperSide(std::max(width, height));
    mode.fields |= win::DM_ORIENTATION | win::DM_PAPERWIDTH | win::DM_PAPERLENGTH;
    request.deviceMode = mode;
    // The margin test marks the printer's own printable area: no margins of the layout's.
    if (printMode == kPrintMarginTest) {
        request.pageMargins.reset();
        return;
    }
    // The layout's origin is the paper's margin corner: the printer's margins are the layout's, on
    // the sheet as it lies (left, top, right, bottom of a landscape sheet too), so that every unit
    // prints where the screen shows it.
    request.pageMargins = win::RECT { paper.GetMarginLeft(), paper.GetMarginTop(), paper.GetMarginRight(),
        paper.GetMarginBottom() };
}

void PrintMarginTest(gdi::DeviceContext& dc)
{
    dc.SetMapMode(gdi::MM_TEXT);
    const int width = dc.GetDeviceCaps(gdi::HORZRES);
    const int height = dc.GetDeviceCaps(gdi::VERTRES);
    const int mid = width / 2;

    Line(dc, 0, 0, 0, kSideMark);
    dc.TextOut(kTextInset, kTextInset, "LEFT");

    Line(dc, mid - kHalfMark, 0, mid + kHalfMark, 0);
    dc.TextOut(mid - kHalfMark, kTextInset, "TOP");

    Line(dc, width - 1, 0, width - 1, kSideMark);
    dc.TextOut(width - dc.GetTextExtent("RIGHT ").cx, kTextInset, "RIGHT");

    Line(dc, mid - kHalfMark, height - 1, mid + kHalfMark, height - 1);
    const win::SIZE bottom = dc.GetTextExtent("BOTTOM");
    dc.TextOut(mid - bottom.cx / 2, height - bottom.cy - kTextInset, "BOTTOM");
}

void PrintPage(
    gdi::DeviceContext& dc, int printMode, const std::function<void(gdi::DeviceContext&)>& printLayout)
{
    if (printMode == kPrintLayout) {
        dc.SetMapMode(gdi::MM_LOMETRIC);
        printLayout(dc);
    } else {
        PrintMarginTest(dc);
    }
}

bool PrintOnePage(
    const Layout& layout, int printMode, const std::function<void(gdi::DeviceContext&)>& printLayout)
{
    PrintInfo info;
    PreparePrinting(layout, printMode, info.dialog);
    PrinterDC printer;
    if (!CreatePrinterDC("", "", "", kDocumentName, info, printer, false, false))
        return false;
    if (!printer.StartPage()) {
        printer.AbortDoc();
        return false;
    }
    PrintPage(printer.Dc(), printMode, printLayout);
    EndPrintJob(printer);
    return true;
}

bool PreviewOnePage(
    const Layout& layout, int printMode, const std::function<void(gdi::DeviceContext&)>& printLayout)
{
    win::PrintRequest request;
    PreparePrinting(layout, printMode, request);
    const int answer = win::AppContext::Instance().Modal().PrintPreview(
        request, [&](gdi::DeviceContext& dc, int) { PrintPage(dc, printMode, printLayout); });
    return answer == win::IDOK;
}
