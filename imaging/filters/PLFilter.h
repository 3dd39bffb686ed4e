// Base of every image filter. A filter is constructed with its parameters and applied either in
// place (ApplyToBitmap) or from a source into a distinct destination (Apply); a concrete filter
// overrides at least one of the two.
#pragma once

#include "imaging/io/PLObject.h"

class PLBmp;

class PLFilter : public PLObject {
public:
    PLFilter() = default;
    ~PLFilter() override = default;

    // Default: runs Apply from the bitmap into a temporary PLAnyBmp and copies the result back, so
    // the bitmap keeps its own class. The temporary is released on every path.
    virtual void ApplyToBitmap(PLBmp* pBmp) const;
    // Default: copies the source into the destination (unless they are the same bitmap), then
    // filters the destination in place. Overriders re-create the destination before reading the
    // source, so callers pass two distinct bitmaps.
    virtual void Apply(PLBmp* pBmpSource, PLBmp* pBmpDest) const;

protected:
    // Re-creates the destination at the given size with the source's depth, alpha and greyscale
    // flags and resolution, zero-filled: how a filter that writes a new picture starts.
    static void CreateDestination(const PLBmp& source, PLBmp& dest, int width, int height);
};
