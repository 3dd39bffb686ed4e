#include "app/view/PacksUnitPainter.h"

#include "app/view/ScopedGdiObjects.h"
#include "model/LayoutUnit.h"
#include "model/PacksCollection.h"

#include <functional>

namespace {

// Calls draw for each pack listed on the proof, with the packs unit's current item on its row.
void ForEachListedPack(const PaintContext& context, LayoutUnit& packsUnit, bool portrait,
    const std::function<void(const PackDetails&)>& draw)
{
    if (!context.packs)
        return;
    const PacksCollection& packs = *context.packs;
    const uint32_t rows = packsUnit.GetRepeatCount();
    uint32_t row = 0;
    for (std::size_t index = 0; index < packs.GetPackCount() && row < rows; ++index) {
        const PackDetails& pack = *packs.GetPack(index);
        if (pack.GetNoPrintForm() || packs.PackHasGroupProduct(index) == portrait)
            continue;
        packsUnit.SetCurrentItem(static_cast<int32_t>(row));
        draw(pack);
        ++row;
    }
    packsUnit.SetCurrentItem(0);
}

void DrawColumn(const PaintContext& context, LayoutUnit& packsUnit, LayoutUnit& column, bool portrait,
    const std::function<std::string(const PackDetails&)>& text)
{
    const ScopedFont font(
        context.dc, context.converter, column.GetFontSize(), TextEscapement(column.GetAbsoluteAngle()));
    ForEachListedPack(context, packsUnit, portrait, [&](const PackDetails& pack) {
        if (column.IsShown())
            context.converter.DrawUnitText(column, text(pack), context.dc, false, 0);
    });
}

} // namespace

void DrawPacksUnit(const PaintContext& context, LayoutUnit& packsUnit, LayoutUnit& description,
    LayoutUnit& price, bool portrait)
{
    if (!packsUnit.IsShown())
        return;
    description.SetItemSize({ 0, 0 });
    price.SetItemSize({ 0, 0 });
    DrawColumn(context, packsUnit, description, portrait,
        [](const PackDetails& pack) { return pack.GetLongDescription(); });
    DrawColumn(context, packsUnit, price, portrait,
        [](const PackDetails& pack) { return pack.GetPrice().ToString(true); });
    packsUnit.FitToChildren();
}
