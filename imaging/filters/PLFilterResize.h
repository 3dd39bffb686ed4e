// Resize filters: scale a 32-bpp bitmap to a new width and height with one of four kernels.
#pragma once

#include "imaging/filters/PLFilter.h"

class PLContribDef;

class PLFilterResize : public PLFilter {
public:
    PLFilterResize(int newWidth, int newHeight);

protected:
    // Re-creates the destination at the new size (the source's depth, flags and resolution) and
    // scales the source into it. Refuses sources other than 32 bpp; a size of 0 on either side
    // leaves the destination blank; an allocation failure raises the out-of-memory code.
    void Resize(PLBmp* pBmpSource, PLBmp* pBmpDest, const PLContribDef& kernel) const;

    int m_NewXSize;
    int m_NewYSize;
};

class PLFilterResizeBilinear : public PLFilterResize {
public:
    using PLFilterResize::PLFilterResize;

protected:
    void ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const override;
};

class PLFilterResizeBox : public PLFilterResize {
public:
    using PLFilterResize::PLFilterResize;

protected:
    void ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const override;
};

// The radius must be a finite number above 0; another is refused when the filter is applied.
class PLFilterResizeGaussian : public PLFilterResize {
public:
    PLFilterResizeGaussian(int newWidth, int newHeight, double radius);

protected:
    void ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const override;

private:
    double m_NewRadius;
};

// The radius must be a finite number above 0; another is refused when the filter is applied.
class PLFilterResizeHamming : public PLFilterResize {
public:
    PLFilterResizeHamming(int newWidth, int newHeight, double radius);

protected:
    void ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const override;

private:
    double m_NewRadius;
};
