#include "util/window/PrinterDefaults.h"

#include "platform/qt/Cp1252.h"
#include "records/SharedFunctions.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>

namespace {

constexpr win::DWORD kPaperFields = win::DM_PAPERLENGTH | win::DM_PAPERWIDTH | win::DM_PRINTQUALITY;

short TenthsOfMillimetre(double millimetres)
{
    return static_cast<short>(std::lround(std::clamp(millimetres * 10, 0.0, 32767.0)));
}

// The printer's own settings, with the fields it lets a program change.
win::DeviceMode DeviceModeOf(const QPrinterInfo& info)
{
    win::DeviceMode mode;
    mode.deviceName = fw::ToCp1252(info.printerName());
    mode.fields = win::DM_ORIENTATION;
    const QSizeF paper = info.defaultPageSize().size(QPageSize::Millimeter);
    mode.paperWidth = TenthsOfMillimetre(paper.width());
    mode.paperLength = TenthsOfMillimetre(paper.height());
    if (info.supportsCustomPageSizes())
        mode.fields |= win::DM_PAPERWIDTH | win::DM_PAPERLENGTH;
    if (!info.supportedResolutions().isEmpty()) {
        mode.fields |= win::DM_PRINTQUALITY;
        mode.printQuality = static_cast<short>(std::clamp(info.supportedResolutions().constLast(), 0, 32767));
    }
    return mode;
}

void SetDefaultPrinterOrientation(short orientation)
{
    std::optional<win::DeviceMode>& defaults = GetTheApp().Printers().defaults;
    if (!defaults)
        return;
    defaults->orientation = orientation;
    defaults->fields |= win::DM_ORIENTATION;
}

} // namespace

bool ChooseSystemDefaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return false;
    GetTheApp().Printers().defaults = DeviceModeOf(info);
    return true;
}

void SetDefaultPrinterLandscape()
{
    SetDefaultPrinterOrientation(win::DMORIENT_LANDSCAPE);
}

void SetDefaultPrinterPortrait()
{
    SetDefaultPrinterOrientation(win::DMORIENT_PORTRAIT);
}

std::optional<win::DeviceMode> PaperChange(
    const win::DeviceMode& current, short paperWidth, short paperLength, short printQuality)
{
    if ((current.fields & kPaperFields) == 0)
        return std::nullopt;
    win::DeviceMode change = current;
    change.fields = 0;
    if (paperLength != 0) {
        change.fields |= win::DM_PAPERLENGTH;
        change.paperLength = paperLength;
    }
    if (paperWidth != 0) {
        change.fields |= win::DM_PAPERWIDTH;
        change.paperWidth = paperWidth;
    }
    if (printQuality != 0) {
        change.fields |= win::DM_PRINTQUALITY;
        change.printQuality = printQuality;
    }
    return change;
}

win::DeviceMode MergeDeviceMode(win::DeviceMode current, const win::DeviceMode& change)
{
    if (change.fields & win::DM_ORIENTATION)
        current.orientation = change.orientation;
    if (change.fields & win::DM_PAPERLENGTH)
        current.paperLength = change.paperLength;
    if (change.fields & win::DM_PAPERWIDTH)
        current.paperWidth = change.paperWidth;
    if (change.fields & win::DM_PRINTQUALITY)
        current.printQuality = change.printQuality;
    current.fields |= change.fields;
    return current;
}

bool SetPrinterPaper(std::string_view printerName, short paperWidth, short paperLength, short printQuality)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(fw::FromCp1252(printerName));
    if (info.isNull())
        return false;
    auto& byPrinter = GetTheApp().Printers().byPrinter;
    const auto kept = byPrinter.find(printerName);
    const win::DeviceMode current = kept != byPrinter.end() ? kept->second : DeviceModeOf(info);
    const std::optional<win::DeviceMode> change = PaperChange(current, paperWidth, paperLength, printQuality);
    if (!change)
        return false;
    byPrinter.insert_or_assign(std::string(printerName), MergeDeviceMode(current, *change));
    return true;
}
