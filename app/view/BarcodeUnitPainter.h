// Paints a barcode unit of a proof: the sample reference as a Code 39 barcode in the unit's
// rectangle, turned with the unit.
#pragma once

#include "app/view/DisplayConverter.h"
#include "platform/gdi/DeviceContext.h"

#include <string>

class LayoutUnit;

// The reference the drawing view shows on every proof.
inline constexpr char kSampleReference[] = "1234567890123";

// Nothing unless the unit is shown; otherwise the barcode text of the reference, in black,
// in the device rectangle of the unit's absolute position (item 0) and its own width and height,
// at the unit's absolute angle. Drawn once, whatever the unit's repeat count.
void DrawBarcodeUnit(const LayoutConverter& converter, const LayoutUnit& unit, gdi::DeviceContext& dc,
    const std::string& reference = kSampleReference);
