// Base of every image filter. A filter is constructed with its parameters and applied either in
// place (ApplyToBitmap) or from a source into a destination (Apply); a concrete filter overrides
// ApplyToBitmap, ApplyDistinct or both.
#pragma once

#include "imaging/io/PLObject.h"

class PLBmp;

class PLFilter : public PLObject {
public:
    PLFilter() = default;
    ~PLFilter() override = default;

    // Default: runs Apply from the bitmap into a scratch bitmap of the bitmap's own class and moves
    // the result in (no copy back). The scratch bitmap is released on every path.
    virtual void ApplyToBitmap(PLBmp* pBmp) const;
    // Filters the source into the destination. The same bitmap as both is filtered in place with
    // ApplyToBitmap, so that no filter reads pixels it has already overwritten.
    void Apply(PLBmp* pBmpSource, PLBmp* pBmpDest) const;

protected:
    // Apply for two distinct bitmaps. Default: copies the source into the destination, then
    // filters the destination in place. Overriders re-create the destination themselves.
    virtual void ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const;
    // Re-creates the destination at the given size with the source's depth, alpha and greyscale
    // flags and resolution, zero-filled: how a filter that writes every byte of every pixel of its
    // new picture starts (the geometric filters move pixels, the colour filters map each one). The
    // opaque alpha the bitmap would otherwise write first is left out, as it would only be overwritten.
    static void CreateDestination(const PLBmp& source, PLBmp& dest, int width, int height);
};
