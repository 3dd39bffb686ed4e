#include "app/document/LayoutUnitUndo.h"

#include "app/document/OrvanelDoc.h"

LayoutUnitUndo::LayoutUnitUndo(const LayoutUnit& unit)
    : Undo("Layout Move")
{
    unit_.CopyFrom(unit);
    // The copy stands alone: the moved unit's parent may belong to a tree that is replaced later.
    unit_.SetParent(nullptr);
}

bool LayoutUnitUndo::Apply(COrvanelDoc& document)
{
    LayoutUnit* const target = document.GetLayout().GetRootUnit()->FindByName(unit_.GetName());
    if (target == nullptr)
        return false;
    LayoutUnit* const parent = target->GetParent();
    target->CopyFrom(unit_);
    target->SetParent(parent);
    return true;
}

void LayoutUnitUndo::Reapply(COrvanelDoc&) { }
