#include "util/window/PrintJob.h"

#include "platform/qt/Cp1252.h"
#include "platform/qt/FilePath.h"
#include "platform/qt/PrinterSetup.h"
#include "platform/qt/fw/CommonDialogs.h"
#include "records/SharedFunctions.h"
#include "util/window/PrinterDefaults.h"

#include <QPrinterInfo>

namespace {

std::unique_ptr<QPrinter> NamedPrinter(std::string_view name, const std::optional<win::DeviceMode>& supplied)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(fw::FromCp1252(name));
    if (info.isNull())
        return nullptr;
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    fw::ApplyPrinterSettings(*printer, std::string(name), supplied);
    return printer;
}

std::unique_ptr<QPrinter> PrinterOfDialog(const PrintDialogInfo& dialog)
{
    const win::PrintSetup& setup = dialog.setup;
    std::unique_ptr<QPrinter> printer;
    if (!setup.outputFile.empty()) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(fw::FromFilePath(setup.outputFile));
        fw::ApplyPrinterSettings(*printer, setup.printerName, dialog.deviceMode);
    } else if (!setup.printerName.empty()) {
        printer = NamedPrinter(setup.printerName, dialog.deviceMode);
    } else {
        const QPrinterInfo standard = QPrinterInfo::defaultPrinter();
        if (standard.isNull())
            return nullptr;
        printer = NamedPrinter(fw::ToCp1252(standard.printerName()), dialog.deviceMode);
    }
    if (printer)
        fw::ApplyPageRequest(*printer, dialog);
    return printer;
}

bool FailedToStart()
{
    fw::AfxMessageBox(kFailedToStartPrintJob, win::MB_OK);
    return false;
}

} // namespace

bool CreatePrinterDC(std::string_view driver, std::string_view device, std::string_view port,
    std::string_view docName, PrintInfo& info, PrinterDC& dc, bool setOrientation, bool landscape)
{
    PrintDialogInfo& dialog = info.dialog;
    bool allowDialog = true;
    if (setOrientation && !dialog.printer) {
        if (const auto& defaults = GetTheApp().Printers().defaults) {
            win::DeviceMode mode = *defaults;
            mode.orientation = landscape ? win::DMORIENT_LANDSCAPE : win::DMORIENT_PORTRAIT;
            mode.fields |= win::DM_ORIENTATION;
            dialog.setup.printerName = mode.deviceName;
            dialog.setup.orientation = mode.orientation;
            dialog.deviceMode = mode;
            allowDialog = false;
        }
    }
    if (!info.direct && !driver.empty() && !device.empty() && !port.empty()) {
        dialog.printer = NamedPrinter(device, dialog.deviceMode);
    } else if (!dialog.printer) {
        if (allowDialog && GetTheApp().Modal().PrintDialog(dialog.setup) != win::IDOK)
            return false;
        dialog.printer = PrinterOfDialog(dialog);
    }
    if (!dialog.printer)
        return FailedToStart();
    if (!dc.StartDoc(std::move(dialog.printer), docName))
        return FailedToStart();
    return true;
}

void EndPrintJob(PrinterDC& dc)
{
    if (dc.EndPage())
        dc.EndDoc();
    else
        dc.AbortDoc();
}
