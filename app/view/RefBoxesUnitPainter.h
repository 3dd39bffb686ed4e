// Paints a reference-box unit: the sample reference in four boxes of four characters, at the
// unit's position and its next three steps.
#pragma once

#include "app/view/PaintContext.h"

class LayoutUnit;

// Nothing unless the unit is shown; the unit's item size is measured afresh. The unit's own repeat
// count does not limit the four boxes.
void DrawRefBoxesUnit(const PaintContext& context, LayoutUnit& unit);
