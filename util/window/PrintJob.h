// Starting a print job outside the framework's print loop, on a printer named by the caller or
// chosen in the print dialog, and ending it.
#pragma once

#include "platform/win/ModalServices.h"
#include "platform/win/PrinterSettings.h"
#include "util/window/PrinterDC.h"

#include <QPrinter>

#include <memory>
#include <optional>
#include <string_view>

// The message shown when a print job cannot be started.
constexpr std::string_view kFailedToStartPrintJob = "Failed to start print job.";

// What a print job starts from: whether to print without asking, and the print dialog's part:
// the request (its settings, the printer settings supplied to it, the page margins the printer
// made from it is given) and, once made, its printer.
struct PrintDialogInfo : win::PrintRequest {
    std::unique_ptr<QPrinter> printer;
};

struct PrintInfo {
    bool direct = false;
    PrintDialogInfo dialog;
};

// Starts the document docName on a printer and attaches it to dc:
// - with setOrientation, when the dialog has no printer yet and the program has a default printer,
//   that printer is taken in landscape or portrait and no dialog is shown;
// - unless printing is direct, the three names (driver, device, port), when none is empty, give the
//   printer: the device is the printer's name;
// - otherwise, when the dialog has no printer, the print dialog is shown (when allowed; anything but
//   OK gives false without a message) and the printer made from its settings (an output file there
//   means printing to that PDF file).
// A printer that cannot be made or started shows kFailedToStartPrintJob and gives false.
bool CreatePrinterDC(std::string_view driver, std::string_view device, std::string_view port,
    std::string_view docName, PrintInfo& info, PrinterDC& dc, bool setOrientation, bool landscape);

// Ends the page; when that fails the document is abandoned, otherwise it is ended. The printer is
// detached either way.
void EndPrintJob(PrinterDC& dc);
