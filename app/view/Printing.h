// Printing one page of the drawing view: the layout at true size from the paper's margin corner,
// or a margin-test page that marks the edges of the printer's printable area. The print follows
// the layout's paper: its orientation and size go to the printer chosen in the print dialog
// (a PDF file included). The print preview shows the same page, drawn the same way.
#pragma once

#include <functional>

class Layout;

namespace gdi {
class DeviceContext;
}

namespace win {
struct PrintRequest;
}

// The view's print mode: what the next print gives.
inline constexpr int kPrintMarginTest = 0;
inline constexpr int kPrintLayout = 1;
// Before the form has started any print (Ctrl+P first), the layout is printed.
inline constexpr int kInitialPrintMode = kPrintLayout;

// The orientation of the program's default printer, when it has one; true when it was changed.
bool SetPrinterPortrait();
bool SetPrinterLandscape();

// The first steps of a print: the default printer turned to the paper's orientation, and the print
// dialog's starting settings (the paper's orientation and size, one page) with the page margins:
// the layout's for kPrintLayout, none for the margin test, whose printer keeps its own minimum
// margins for the paper (0 on a PDF printer).
void PreparePrinting(const Layout& layout, int printMode, win::PrintRequest& request);

// The margin-test page in device pixels: marks at the left, top, right and bottom edges of the
// printable area, each with its word, in the device context's pen and font.
void PrintMarginTest(gdi::DeviceContext& dc);

// The page of the print mode on a printer's device context: kPrintLayout sets the metric mapping
// and lets printLayout draw, kPrintMarginTest draws the margin test.
void PrintPage(
    gdi::DeviceContext& dc, int printMode, const std::function<void(gdi::DeviceContext&)>& printLayout);

// The framework's print loop for one page: prepares, shows the print dialog (cancel prints
// nothing), starts the printer's document, draws the page (PrintPage) on it and ends the document.
// False when nothing was printed.
bool PrintOnePage(
    const Layout& layout, int printMode, const std::function<void(gdi::DeviceContext&)>& printLayout);

// The framework's preview loop for the same page: prepares as a print does (the default printer
// turned to the paper), then shows the preview, which draws the page as PrintOnePage prints it,
// until the user closes it. True when the user printed from the preview.
bool PreviewOnePage(
    const Layout& layout, int printMode, const std::function<void(gdi::DeviceContext&)>& printLayout);
