// Turns a bitmap upside down: the rows in reverse order.
#pragma once

#include "imaging/filters/PLFilter.h"

class PLFilterFlip : public PLFilter {
public:
    PLFilterFlip();
    ~PLFilterFlip() override;

protected:
    void ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const override;
};
