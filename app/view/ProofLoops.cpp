#include "app/view/ProofLoops.h"

#include "app/view/BarcodeUnitPainter.h"
#include "app/view/ImageUnitPainter.h"
#include "app/view/PacksUnitPainter.h"
#include "app/view/RefBoxesUnitPainter.h"
#include "model/Layout.h"
#include "model/LayoutUnit.h"
#include "platform/win/IntArithmetic.h"

#include <algorithm>

namespace {

// The units of one proof, by name; null where the proof has no such unit.
struct ProofUnits {
    const char* proof;
    const char* image;
    bool portrait; // the portrait sample, standing upright; else the group sample on its side
    const char* barcode;
    const char* refBoxes;
    const char* packs;
    const char* description;
    const char* price;
};

constexpr ProofUnits kPortrait { "Port", "PImage", true, "PBarcode", "PRefBoxes", "PPacks", "PDescription",
    "PPrice" };
constexpr ProofUnits kGroup { "Group", "GImage", false, "GBarcode", "GRefBoxes", "GPacks", "GDescription",
    "GPrice" };
constexpr ProofUnits kCombinedGroup { "CombinedGroup", "CGImage", false, nullptr, nullptr, "CGPacks",
    "CGDescription", "CGPrice" };

LayoutUnit* Find(LayoutUnit& root, const char* name)
{
    return name ? root.FindByName(name) : nullptr;
}

// Where copy i of a proof unit lies: its first copy's box moved by i steps (in page axes).
struct CopyPlacement {
    win::RECT first;
    win::POINT step;

    bool WhollyOutside(uint32_t copy, win::SIZE page) const
    {
        const int64_t dx = int64_t { step.x } * copy;
        const int64_t dy = int64_t { step.y } * copy;
        return first.right + dx < 0 || first.left + dx > page.cx || first.bottom + dy < 0
            || first.top + dy > page.cy;
    }
};

CopyPlacement PlacementOf(const LayoutUnit& proof)
{
    const win::POINT first = proof.GetAbsolutePosition(0);
    const win::POINT second = proof.GetAbsolutePosition(1);
    return { proof.GetItemRect(0),
        { win::SaturateToInt32(int64_t { second.x } - first.x),
            win::SaturateToInt32(int64_t { second.y } - first.y) } };
}

void DrawPacks(const PaintContext& context, LayoutUnit& root, const ProofUnits& names, uint32_t copy)
{
    LayoutUnit* packs = Find(root, names.packs);
    LayoutUnit* description = Find(root, names.description);
    LayoutUnit* price = Find(root, names.price);
    if (!packs || !description || !price || (packs->GetSingleOnly() && copy != 0))
        return;
    DrawPacksUnit(context, *packs, *description, *price, names.portrait);
}

void DrawCopy(const PaintContext& context, const PageContent& content, LayoutUnit& root,
    const ProofUnits& names, uint32_t copy)
{
    const bool portrait = names.portrait;
    if (const LayoutUnit* image = Find(root, names.image))
        DrawImageUnit(
            context, *image, portrait ? content.portraitSamplePath : content.groupSamplePath, portrait);
    if (const LayoutUnit* barcode = Find(root, names.barcode))
        DrawBarcodeUnit(context.converter, *barcode, context.dc, context.reference);
    if (LayoutUnit* refBoxes = Find(root, names.refBoxes))
        DrawRefBoxesUnit(context, *refBoxes);
    DrawPacks(context, root, names, copy);
}

void DrawProof(
    const PaintContext& context, const PageContent& content, LayoutUnit& root, const ProofUnits& names)
{
    LayoutUnit* proof = root.FindByName(names.proof);
    if (!proof)
        return;
    const PaperSpecs& paper = context.layout.GetPaper();
    const uint32_t copies = CopiesOnPage(*proof, { paper.GetPaperWidth(), paper.GetPaperHeight() });
    for (uint32_t copy = 0; copy < copies; ++copy) {
        proof->SetCurrentItem(static_cast<int32_t>(copy));
        DrawCopy(context, content, root, names, copy);
    }
    proof->SetCurrentItem(0);
    proof->FitToChildren();
}

} // namespace

uint32_t CopiesOnPage(LayoutUnit& proof, win::SIZE page)
{
    const uint32_t count = proof.GetRepeatCount();
    proof.SetCurrentItem(0);
    const CopyPlacement placement = PlacementOf(proof);
    if (placement.step.x == 0 && placement.step.y == 0)
        return std::min<uint32_t>(count, 1);
    for (uint32_t copy = 1; copy < count; ++copy) {
        if (placement.WhollyOutside(copy, page))
            return copy;
    }
    return count;
}

void DrawPortraitProof(const PaintContext& context, const PageContent& content, LayoutUnit& root)
{
    DrawProof(context, content, root, kPortrait);
}

void DrawGroupProof(const PaintContext& context, const PageContent& content, LayoutUnit& root)
{
    DrawProof(context, content, root, kGroup);
}

void DrawCombinedProof(const PaintContext& context, const PageContent& content, LayoutUnit& root)
{
    DrawProof(context, content, root, kPortrait);
    DrawProof(context, content, root, kCombinedGroup);
}
