// Mirrors a bitmap left to right: each row reversed.
#pragma once

#include "imaging/filters/PLFilter.h"

class PLFilterMirror : public PLFilter {
public:
    PLFilterMirror();
    ~PLFilterMirror() override;

protected:
    void ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const override;
};
