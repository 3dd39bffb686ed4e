#include "app/view/RefBoxesUnitPainter.h"

#include "app/view/ScopedGdiObjects.h"
#include "model/LayoutUnit.h"

namespace {

constexpr int kBoxes = 4;
constexpr std::size_t kBoxCharacters = 4;

} // namespace

void DrawRefBoxesUnit(const PaintContext& context, LayoutUnit& unit)
{
    if (!unit.IsShown())
        return;
    const ScopedFont font(
        context.dc, context.converter, unit.GetFontSize(), TextEscapement(unit.GetAbsoluteAngle()));
    unit.SetItemSize({ 0, 0 });
    const std::string& reference = context.reference;
    for (int box = 0; box < kBoxes; ++box) {
        const std::size_t start = box * kBoxCharacters;
        const std::string part
            = start < reference.size() ? reference.substr(start, kBoxCharacters) : std::string();
        context.converter.DrawUnitText(unit, part, context.dc, false, box);
    }
}
