// Paints a packs unit: the long descriptions and the prices of the pack template's packs, one row
// per repeat position of the packs unit, portrait packs on a portrait proof and group packs on a
// group proof.
#pragma once

#include "app/view/PaintContext.h"

class LayoutUnit;

// Nothing unless the packs unit is shown. Rows are taken by the packs in order, up to the packs
// unit's repeat count; a pack marked not to be printed on the form takes no row. The description
// and price units are measured afresh; the packs unit fits itself to them afterwards.
void DrawPacksUnit(const PaintContext& context, LayoutUnit& packsUnit, LayoutUnit& description,
    LayoutUnit& price, bool portrait);
