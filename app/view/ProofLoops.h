// The proof loops: every copy of a proof unit with its image, barcode, reference boxes and packs.
#pragma once

#include "app/view/PageDrawing.h"
#include "app/view/PaintContext.h"

class LayoutUnit;

// Draws copy after copy of the proof unit, with its current item set to the copy, and refits it
// after the last. Copies end at the first one that lies wholly outside the page, and a proof
// unit whose step is (0, 0) is drawn once, so that no repeat count can hang the drawing.
void DrawPortraitProof(const PaintContext& context, const PageContent& content, LayoutUnit& root);
void DrawGroupProof(const PaintContext& context, const PageContent& content, LayoutUnit& root);
void DrawCombinedProof(const PaintContext& context, const PageContent& content, LayoutUnit& root);

// How many copies of the proof unit are drawn on a page of the given size.
uint32_t CopiesOnPage(LayoutUnit& proof, win::SIZE page);
