#include "app/view/ProofLoops.h"

#include "app/view/BarcodeUnitPainter.h"
#include "app/view/ImageUnitPainter.h"
#include "app/view/PacksUnitPainter.h"
#include "app/view/RefBoxesUnitPainter.h"
#include "model/Layout.h"
#include "model/LayoutUnit.h"
#include "platform/win/IntArithmetic.h"

#include <algorithm>
#include <limits>

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

// The copies i (lo <= i <= hi) for which start + i * step stays at or above the floor; the
// bounds are those of the run so far, narrowed.
struct CopySpan {
    int64_t lo;
    int64_t hi;

    bool Empty() const { return lo > hi; }

    // Keeps the copies with start + i * step >= 0.
    void KeepNotBelowZero(int64_t start, int64_t step)
    {
        if (step == 0) {
            if (start < 0)
                hi = lo - 1;
        } else if (step > 0) {
            lo = std::max(lo, CeilDiv(-start, step));
        } else {
            hi = std::min(hi, FloorDiv(start, -step));
        }
    }
    // Keeps the copies with start + i * step <= limit.
    void KeepNotAbove(int64_t start, int64_t step, int64_t limit) { KeepNotBelowZero(limit - start, -step); }

private:
    // Divisions by a positive divisor, rounding down and up.
    static int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
    static int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }
};

win::POINT StepOf(const LayoutUnit& proof)
{
    const win::POINT first = proof.GetAbsolutePosition(0);
    const win::POINT second = proof.GetAbsolutePosition(1);
    return { win::SaturateToInt32(int64_t { second.x } - first.x),
        win::SaturateToInt32(int64_t { second.y } - first.y) };
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
    const CopyRange copies = CopiesOnPage(*proof, { paper.GetPaperWidth(), paper.GetPaperHeight() });
    for (uint32_t copy = copies.first; copy < copies.end; ++copy) {
        proof->SetCurrentItem(static_cast<int32_t>(copy));
        DrawCopy(context, content, root, names, copy);
    }
    proof->SetCurrentItem(0);
    proof->FitToChildren();
}

} // namespace

CopyRange CopiesOnPage(LayoutUnit& proof, win::SIZE page)
{
    // Sized from its children first: a layout just read has not been fitted yet.
    proof.FitToChildren();
    proof.SetCurrentItem(0);
    const win::RECT first = proof.GetItemRect(0);
    const win::POINT step = StepOf(proof);
    // Copy i lies at the first copy's box moved by i steps; it touches the page while its right
    // edge is not left of 0, its left edge not right of the page's width, and so down. Each of
    // these holds for a run of i, so the copies on the page form one run. Copies are numbered in
    // 32 bits for the drawing.
    const int64_t count = std::min<int64_t>(proof.GetRepeatCount(), std::numeric_limits<int32_t>::max());
    CopySpan span { 0, count - 1 };
    span.KeepNotBelowZero(first.right, step.x);
    span.KeepNotAbove(first.left, step.x, page.cx);
    span.KeepNotBelowZero(first.bottom, step.y);
    span.KeepNotAbove(first.top, step.y, page.cy);
    if (span.Empty())
        return {};
    // Copies that do not step lie on each other: one of them is the whole picture.
    if (step.x == 0 && step.y == 0)
        span.hi = span.lo;
    return { static_cast<uint32_t>(span.lo), static_cast<uint32_t>(span.hi + 1) };
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
