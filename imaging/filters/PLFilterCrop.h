// Cuts the rectangle (x1, y1) to (x2, y2), right and bottom exclusive, out of a bitmap of any depth.
#pragma once

#include "imaging/filters/PLFilter.h"

class PLFilterCrop : public PLFilter {
public:
    PLFilterCrop(int x1, int y1, int x2, int y2);
    ~PLFilterCrop() override;

protected:
    // Raises code 6 and changes nothing unless 0 <= x1 <= x2 <= width and 0 <= y1 <= y2 <= height.
    void ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const override;

private:
    int m_XMin;
    int m_YMin;
    int m_XMax;
    int m_YMax;
};
