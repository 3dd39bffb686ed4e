// The undo step of a unit moved with the mouse: a full copy of the unit (values and children) as
// it was before the move.
#pragma once

#include "app/document/Undo.h"
#include "model/LayoutUnit.h"

class LayoutUnitUndo : public Undo {
public:
    // Copies the unit that is about to be moved.
    explicit LayoutUnitUndo(const LayoutUnit& unit);

    // Gives the unit of the same name in the document's layout the saved values and children; it
    // keeps its place in the tree. Nothing (false) when the layout has no such unit.
    bool Apply(COrvanelDoc& document) override;
    // Nothing: moves are not redone.
    void Reapply(COrvanelDoc& document) override;

    const LayoutUnit& GetSavedUnit() const { return unit_; }

private:
    LayoutUnit unit_ { nullptr };
};
