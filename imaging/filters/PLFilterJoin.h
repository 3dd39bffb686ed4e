// Sets another bitmap of the same depth beside this one, both cut to the lower height, centred.
#pragma once

#include "imaging/filters/PLFilter.h"

// Join modes.
inline constexpr int PLJOIN_OTHER_LEFT = 2; // the other bitmap on the left
inline constexpr int PLJOIN_OTHER_RIGHT = 3; // the other bitmap on the right

class PLFilterJoin : public PLFilter {
public:
    // other stays the caller's and must outlive the filter's use.
    PLFilterJoin(int mode, PLBmp* other);
    ~PLFilterJoin() override;

protected:
    // A mode other than 2 or 3, a missing other bitmap or one of another depth raises code 6 and
    // changes nothing. The result keeps the source's palette.
    void ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const override;

private:
    int m_Mode;
    PLBmp* m_pOther;
};
