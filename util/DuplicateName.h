// Free names for copies of a file, as a copy beside the original is named.
#pragma once

#include <string>

// The path itself when nothing of that name exists. Otherwise, repeatedly until the name is free:
// with markBeforeExtension a "c" is put before the extension of the file name (appended when the
// name has none), so report.txt gives reportc.txt, then reportcc.txt; without it "Copy of " is
// put before the file name, giving "Copy of report.txt", then "Copy of Copy of report.txt".
std::string FreeDuplicateName(const std::string& path, bool markBeforeExtension);
