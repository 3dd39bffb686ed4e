#include "platform/qt/PrinterSetup.h"

#include "platform/win/AppContext.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

namespace fw {

QPageLayout::Orientation PageOrientationOf(short orientation)
{
    return orientation == win::DMORIENT_LANDSCAPE ? QPageLayout::Landscape : QPageLayout::Portrait;
}

void ApplyDeviceMode(QPrinter& printer, const win::DeviceMode& mode)
{
    if (mode.fields & win::DM_ORIENTATION)
        printer.setPageOrientation(PageOrientationOf(mode.orientation));
    if (mode.fields & (win::DM_PAPERWIDTH | win::DM_PAPERLENGTH)) {
        // A size given in part keeps the other side of the printer's paper.
        QSizeF size = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
        if ((mode.fields & win::DM_PAPERWIDTH) && mode.paperWidth > 0)
            size.setWidth(mode.paperWidth / 10.0);
        if ((mode.fields & win::DM_PAPERLENGTH) && mode.paperLength > 0)
            size.setHeight(mode.paperLength / 10.0);
        printer.setPageSize(QPageSize(size, QPageSize::Millimeter));
    }
    if ((mode.fields & win::DM_PRINTQUALITY) && mode.printQuality > 0)
        printer.setResolution(mode.printQuality);
}

void ApplyPrinterSettings(
    QPrinter& printer, const std::string& name, const std::optional<win::DeviceMode>& supplied)
{
    const auto& byPrinter = win::AppContext::Instance().Printers().byPrinter;
    if (const auto kept = byPrinter.find(name); kept != byPrinter.end())
        ApplyDeviceMode(printer, kept->second);
    if (supplied)
        ApplyDeviceMode(printer, *supplied);
}

void ApplyPageRequest(QPrinter& printer, const win::PrintRequest& request)
{
    if (!request.deviceMode)
        printer.setPageOrientation(PageOrientationOf(request.setup.orientation));
    if (request.pageMargins) {
        const win::RECT& m = *request.pageMargins;
        printer.setPageMargins(
            QMarginsF(m.left / 10.0, m.top / 10.0, m.right / 10.0, m.bottom / 10.0), QPageLayout::Millimeter);
    } else {
        // Qt's default margins are its own, not the printer's: the printer's minimum margins for
        // the paper and orientation it now has leave its whole printable area.
        const QPageLayout layout = printer.pageLayout();
        printer.setPageMargins(layout.minimumMargins(), layout.units());
    }
    printer.setCopyCount(request.setup.copies);
}

} // namespace fw
