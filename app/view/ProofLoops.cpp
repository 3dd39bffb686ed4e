#include "app/view/ProofLoops.h"

#include "app/view/BarcodeUnitPainter.h"
#include "app/view/ImageUnitPainter.h"
#include "app/view/PacksUnitPainter.h"
#include "app/view/RefBoxesUnitPainter.h"
#include "app/view/SteppedRun.h"
#include "model/Layout.h"
#include "model/LayoutUnit.h"
#include "model/QuarterTurns.h"
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

// The box of everything a unit and the units under it draw, in page axes, relative to the
// anchor: the turned box of each one's size (the image and barcode painters draw their Width and
// Height) and its repeated item box (texts grow their item size as they are drawn). Units hidden
// are left out. Empty when nothing under the unit is shown.
struct ContentBox {
    int64_t left = 0, top = 0, right = 0, bottom = 0;
    bool empty = true;

    void Include(const win::RECT& box, win::POINT anchor)
    {
        const auto rel = [](int32_t value, int32_t origin) {
            return int64_t { win::WrapToInt32(int64_t { value } - origin) };
        };
        const int64_t l = rel(box.left, anchor.x);
        const int64_t t = rel(box.top, anchor.y);
        const int64_t r = rel(box.right, anchor.x);
        const int64_t b = rel(box.bottom, anchor.y);
        left = empty ? std::min(l, r) : std::min({ left, l, r });
        top = empty ? std::min(t, b) : std::min({ top, t, b });
        right = empty ? std::max(l, r) : std::max({ right, l, r });
        bottom = empty ? std::max(t, b) : std::max({ bottom, t, b });
        empty = false;
    }
    void IncludeSubtree(const LayoutUnit& unit, win::POINT anchor)
    {
        for (const auto& child : unit.GetChildren()) {
            if (!child->IsShown())
                continue;
            Include(child->GetBounds(), anchor);
            Include(TurnedBox(child->GetAbsolutePosition(0), { child->GetWidth(), child->GetHeight() },
                        child->GetAbsoluteQuarterTurns()),
                anchor);
            IncludeSubtree(*child, anchor);
        }
    }
};

// The anchor positions along one axis at which content from `low` to `high` past the anchor
// touches the page's span [0, extent].
WrappedInterval TouchingAnchors(int64_t low, int64_t high, int32_t extent)
{
    return { static_cast<uint32_t>(win::WrapToInt32(-high)),
        static_cast<uint64_t>(std::max<int64_t>(int64_t { extent } - low + high, 0)) };
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
    for (const uint32_t copy : CopiesOnPage(*proof, { paper.GetPaperWidth(), paper.GetPaperHeight() })) {
        proof->SetCurrentItem(static_cast<int32_t>(copy));
        DrawCopy(context, content, root, names, copy);
    }
    proof->SetCurrentItem(0);
    proof->FitToChildren();
}

} // namespace

std::vector<uint32_t> CopiesOnPage(LayoutUnit& proof, win::SIZE page)
{
    // Sized from its children first: a layout just read has not been fitted yet.
    proof.FitToChildren();
    proof.SetCurrentItem(0);
    const win::POINT anchor = proof.GetAbsolutePosition(0);
    ContentBox content;
    content.IncludeSubtree(proof, anchor);
    if (content.empty || page.cx < 0 || page.cy < 0)
        return {};
    // Copy i lies at the anchor moved by i steps, wrapped to 32 bits as the model wraps it: its
    // content touches the page when the anchor lies in a window of each axis.
    const win::POINT second = proof.GetAbsolutePosition(1);
    const SteppedRun run { static_cast<uint32_t>(anchor.x), static_cast<uint32_t>(anchor.y),
        static_cast<uint32_t>(second.x) - static_cast<uint32_t>(anchor.x),
        static_cast<uint32_t>(second.y) - static_cast<uint32_t>(anchor.y), proof.GetRepeatCount() };
    return RunIndicesWithin(run, TouchingAnchors(content.left, content.right, page.cx),
        TouchingAnchors(content.top, content.bottom, page.cy));
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
