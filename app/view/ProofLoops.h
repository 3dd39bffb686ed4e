// The proof loops: every copy of a proof unit with its image, barcode, reference boxes and packs.
#pragma once

#include "app/view/PageDrawing.h"
#include "app/view/PaintContext.h"

#include <cstdint>
#include <vector>

class LayoutUnit;

// Draws copy after copy of the proof unit whose content touches the page, with its current item
// set to the copy, and refits it after the last. Only the copies on the page are visited, each
// position once, so that no repeat count can hang the drawing.
void DrawPortraitProof(const PaintContext& context, const PageContent& content, LayoutUnit& root);
void DrawGroupProof(const PaintContext& context, const PageContent& content, LayoutUnit& root);
void DrawCombinedProof(const PaintContext& context, const PageContent& content, LayoutUnit& root);

// The copies of the proof unit (below its repeat count) whose content touches a page of the given
// size, ascending, at the positions the model gives them (wrapped to 32 bits). Copies that come
// round to the same position as an earlier one are left out: they would draw the same again.
std::vector<uint32_t> CopiesOnPage(LayoutUnit& proof, win::SIZE page);
