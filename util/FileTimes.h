// The times of a file as local date and time values.
#pragma once

#include "util/DateTime.h"

#include <string>

// The creation time of the first file matching the path (its last component may hold the
// wildcards '*' and '?'; matches are taken in name order), in local time. Where the file system
// keeps no creation time, the last-write time stands in. A null DateTime when nothing matches.
DateTime GetFileCreationDateTime(const std::string& path);
// The same with the last-write time.
DateTime GetFileWriteDateTime(const std::string& path);
