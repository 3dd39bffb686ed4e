// Printing one page of the drawing view: the layout at true size from the paper's margin corner,
// or a margin-test page that marks the edges of the printer's printable area. The print follows
// the layout's paper: its orientation and size go to the printer chosen in the print dialog
// (a PDF file included).
#pragma once

#include <functional>

class Layout;

namespace gdi {
class DeviceContext;
}

struct PrintDialogInfo;

// The view's print mode: what the next print gives.
inline constexpr int kPrintMarginTest = 0;
inline constexpr int kPrintLayout = 1;
// Before the form has started any print (Ctrl+P first), the layout is printed.
inline constexpr int kInitialPrintMode = kPrintLayout;

// The orientation of the program's default printer, when it has one; true when it was changed.
bool SetPrinterPortrait();
bool SetPrinterLandscape();

// The first steps of a print: the default printer turned to the paper's orientation, and the print
// dialog's starting settings (the paper's orientation and size, one page).
void PreparePrinting(const Layout& layout, PrintDialogInfo& dialog);

// The margin-test page in device pixels: marks at the left, top, right and bottom edges of the
// printable area, each with its word, in the device context's pen and font.
void PrintMarginTest(gdi::DeviceContext& dc);

// The framework's print loop for one page: prepares, shows the print dialog (cancel prints
// nothing), starts the printer's document, lets print draw the page on it and ends the document.
// printMode kPrintLayout sets the metric mapping before print runs, kPrintMarginTest draws the
// margin test itself. False when nothing was printed.
bool PrintOnePage(
    const Layout& layout, int printMode, const std::function<void(gdi::DeviceContext&)>& printLayout);
