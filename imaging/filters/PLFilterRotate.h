// Turns a bitmap of any depth by quarter turns.
#pragma once

#include "imaging/filters/PLFilter.h"

// Turn modes.
inline constexpr int PLROTATE_90 = 0; // a quarter turn clockwise
inline constexpr int PLROTATE_180 = 1; // a half turn
inline constexpr int PLROTATE_270 = 2; // a quarter turn anticlockwise

class PLFilterRotate : public PLFilter {
public:
    explicit PLFilterRotate(int mode);
    ~PLFilterRotate() override;

protected:
    // The destination is H x W for quarter turns and keeps the source's resolution unswapped and its
    // palette. A mode other than 0, 1 or 2 raises code 6 and changes nothing.
    void ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const override;

private:
    int m_Mode;
};
