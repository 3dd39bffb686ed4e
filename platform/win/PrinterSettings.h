// A printer's settings as the program prints with them (the original platform's device mode):
// which of them are set, the orientation, the paper size and the print quality. On Linux these
// settings belong to the program that keeps them, not to the whole system.
#pragma once

#include "platform/win/Types.h"

#include <map>
#include <optional>
#include <string>

namespace win {

// Fields of a device mode.
constexpr DWORD DM_ORIENTATION = 0x00000001;
constexpr DWORD DM_PAPERLENGTH = 0x00000004;
constexpr DWORD DM_PAPERWIDTH = 0x00000008;
constexpr DWORD DM_PRINTQUALITY = 0x00000400;

struct DeviceMode {
    std::string deviceName; // the printer's name; empty for the system's default printer
    DWORD fields = 0; // the DM_* bits of the values that are set
    short orientation = DMORIENT_PORTRAIT;
    short paperLength = 0; // tenths of a millimetre
    short paperWidth = 0;
    short printQuality = 0; // dots per inch
    friend bool operator==(const DeviceMode&, const DeviceMode&) = default;
};

// The program's printers: the settings of its default printer once it has one, and the settings it
// keeps for printers by name.
struct PrinterSettings {
    std::optional<DeviceMode> defaults;
    std::map<std::string, DeviceMode, std::less<>> byPrinter;
};

} // namespace win
