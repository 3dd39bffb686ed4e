// The program's printer settings given to a Qt printer: a device mode's fields, the settings the
// program keeps for a printer by name, and a print request's orientation, margins and copies.
#pragma once

#include "platform/win/ModalServices.h"
#include "platform/win/PrinterSettings.h"

#include <QPageLayout>

#include <optional>
#include <string>

class QPrinter;

namespace fw {

// A device mode's orientation (DMORIENT_*) as Qt's: landscape, anything else portrait.
QPageLayout::Orientation PageOrientationOf(short orientation);

// Gives the printer the settings whose fields are set.
void ApplyDeviceMode(QPrinter& printer, const win::DeviceMode& mode);

// The program's settings kept for the named printer, then those supplied (which win).
void ApplyPrinterSettings(
    QPrinter& printer, const std::string& name, const std::optional<win::DeviceMode>& supplied);

// The request's page on the printer: its orientation (when it supplies no device mode, which set
// it already), its page margins (none: the printer's minimum margins for its paper, its whole
// printable area) and its copies.
void ApplyPageRequest(QPrinter& printer, const win::PrintRequest& request);

} // namespace fw
