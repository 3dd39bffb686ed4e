// The proof loops: every copy of a proof unit with its image, barcode, reference boxes and packs.
#pragma once

#include "app/view/PageDrawing.h"
#include "app/view/PaintContext.h"

class LayoutUnit;

// Draws copy after copy of the proof unit that lies on the page, with its current item set to the
// copy, and refits it after the last. Only the copies on the page are visited, and a proof unit
// whose step is (0, 0) is drawn once, so that no repeat count can hang the drawing.
void DrawPortraitProof(const PaintContext& context, const PageContent& content, LayoutUnit& root);
void DrawGroupProof(const PaintContext& context, const PageContent& content, LayoutUnit& root);
void DrawCombinedProof(const PaintContext& context, const PageContent& content, LayoutUnit& root);

// The copies first <= i < end of a proof unit.
struct CopyRange {
    uint32_t first = 0;
    uint32_t end = 0;
    friend bool operator==(const CopyRange&, const CopyRange&) = default;
};

// The copies of the proof unit (below its repeat count) that lie at least in part on a page of
// the given size: one run, since the copies lie along a line. Empty when none does.
CopyRange CopiesOnPage(LayoutUnit& proof, win::SIZE page);
