#include "app/view/BarcodeUnitPainter.h"

#include "app/view/Code39Barcode.h"
#include "model/LayoutUnit.h"
#include "platform/win/IntArithmetic.h"

#include <cstdint>
#include <string>

void DrawBarcodeUnit(const LayoutConverter& converter, const LayoutUnit& unit, gdi::DeviceContext& dc,
    const std::string& reference)
{
    if (!unit.IsShown())
        return;
    const win::POINT anchor = unit.GetAbsolutePosition(0);
    win::POINT corner = anchor;
    // 64-bit sums wrapped back as the model's own geometry does, so no value is undefined.
    win::POINT farCorner { win::WrapToInt32(int64_t { anchor.x } + unit.GetWidth()),
        win::WrapToInt32(int64_t { anchor.y } + unit.GetHeight()) };
    converter.ToDevice(corner);
    converter.ToDevice(farCorner);
    std::string text = reference;
    ReferenceToBarcodeText(text);
    DrawCode39Barcode(dc, { corner.x, corner.y, farCorner.x, farCorner.y }, text,
        unit.GetAbsoluteAngle() / 10, win::RGB(0, 0, 0));
}
