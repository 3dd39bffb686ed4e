#include "app/view/MoveBounds.h"

#include "model/Layout.h"
#include "model/LayoutUnit.h"

win::RECT GetMoveBounds(const Layout& layout, const LayoutUnit& unit)
{
    win::RECT bounds = layout.GetPaper().GetPrintableRect();
    const LayoutUnit* parent = unit.GetParent();
    if (!parent || parent->GetName() == "Master")
        return bounds;
    const win::POINT anchor = parent->GetAbsolutePosition(0);
    switch (parent->GetAbsoluteQuarterTurns()) {
    case 1:
        bounds.right = anchor.x;
        bounds.top = anchor.y;
        break;
    case 2:
        bounds.right = anchor.x;
        bounds.bottom = anchor.y;
        break;
    case 3:
        bounds.left = anchor.x;
        bounds.bottom = anchor.y;
        break;
    default:
        bounds.left = anchor.x;
        bounds.top = anchor.y;
        break;
    }
    return bounds;
}
