// Standard strings in an archive, in the archive's length-prefixed text form. Only the text up to
// its first NUL byte is kept, as the framework's string form keeps it.
#pragma once

#include "platform/win/Archive.h"

#include <string>

void ReadArchiveStdString(win::Archive& ar, std::string& text);
void WriteArchiveStdString(win::Archive& ar, const std::string& text);
