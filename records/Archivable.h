// What can be stored to and loaded from a binary archive. Every record derives from it first;
// Money derives from it alone.
#pragma once

#include "platform/win/Archive.h"

class Archivable {
public:
    virtual ~Archivable() = default;
    // Writes the object to an archive that is storing.
    virtual void Store(win::Archive& ar) const = 0;
    // Reads it back in the same field order from an archive that is loading. Versioned fields
    // are compared with SavedDataVersion, which the caller sets first; records that hold others
    // pass the version on to them as a ReadContext.
    virtual void Load(win::Archive& ar) = 0;

protected:
    Archivable() = default;
    Archivable(const Archivable&) = default;
    Archivable& operator=(const Archivable&) = default;
};
