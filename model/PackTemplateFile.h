// Reading a pack template file: open it, check that its first field is "Pack Template" and let the
// collection read the rest. When the file cannot be opened or is not a pack template, the
// collection keeps the packs it had; the caller tells the user.
#pragma once

#include "model/PacksCollection.h"

#include <istream>
#include <string>

enum class PackTemplateStatus {
    read,
    cannotOpen, // "Could not open file: " and the path, with the system's text for the error
    notATemplate, // NotAPackTemplateMessage
};

// "<path> is not a pack template file".
std::string NotAPackTemplateMessage(const std::string& path);

// Reads the first field and, when it is exactly "Pack Template", the rest into packs.
PackTemplateStatus ReadPackTemplate(std::istream& in, PacksCollection& packs);
// Only a regular file is read; one past the bounds of a CSV text file (CsvTextFile.h) is refused as
// not a pack template before any of it is read.
PackTemplateStatus ReadPackTemplateFile(const std::string& path, PacksCollection& packs);
