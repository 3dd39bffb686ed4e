// The program's printer settings: the orientation of its default printer, and the paper size and
// quality it prints with on a printer. They are kept by the program (win::AppContext's Printers)
// and given to each QPrinter it makes; on Linux they change nothing for other programs.
#pragma once

#include "platform/qt/PrinterSetup.h"
#include "platform/win/PrinterSettings.h"

#include <optional>
#include <string_view>

class QPrinter;

// Takes the system's default printer, with its own settings, as the program's default printer;
// false when the system has none.
bool ChooseSystemDefaultPrinter();

// When the program has a default printer: its orientation becomes landscape or portrait. Nothing
// otherwise.
void SetDefaultPrinterLandscape();
void SetDefaultPrinterPortrait();

// Changes the paper size (tenths of a millimetre) and the print quality (dots per inch) the
// program prints with on the named printer; a value of 0 is left as it is. False when there is no
// such printer or it supports none of the three settings.
bool SetPrinterPaper(std::string_view printerName, short paperWidth, short paperLength, short printQuality);

// The change SetPrinterPaper asks for on a printer with the given settings: only the non-zero
// values, with exactly their fields in the mask. Nothing when the printer supports none of paper
// length, paper width and print quality.
std::optional<win::DeviceMode> PaperChange(
    const win::DeviceMode& current, short paperWidth, short paperLength, short printQuality);
// The settings with the fields of the change replaced by its values.
win::DeviceMode MergeDeviceMode(win::DeviceMode current, const win::DeviceMode& change);

// Gives the printer the settings whose fields are set.
using fw::ApplyDeviceMode;
