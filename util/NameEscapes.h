// Names as the system writes them into its tables, decoded back to what the user typed. The mount
// table writes a blank, tab, newline and backslash of a device or mount point as three octal
// digits ("\040"); the folder of volume labels writes every character outside a safe set as two hex
// digits ("\x20"). An escape that is not well formed, or that would give a zero byte, stays as it
// stands.
#pragma once

#include <string>
#include <string_view>

std::string DecodeMountTableName(std::string_view text);
std::string DecodeVolumeLabelName(std::string_view text);
