// What a reader of stored data is handed besides the bytes: the data version of the file, archive
// or row being read. The reader that finds the version builds the context and passes it to the
// readers of the records inside; those compare it with their fields' thresholds and never look at
// the program-wide SavedDataVersion.
#pragma once

#include "records/DataVersion.h"

struct ReadContext {
    double dataVersion = 0.0;

    // Whether the data holds what was added after the given version (every test is strictly
    // greater-than, so data of the threshold version itself lacks it).
    constexpr bool Holds(double since) const { return dataVersion > since; }

    // The context of the archive loaders' framework entry point, whose callers set
    // SavedDataVersion to the archive's version before they load it.
    static ReadContext OfLastFileRead() { return { SavedDataVersion }; }
};
