// Paints an image unit of a proof: the sample photograph turned upright (portrait) or on its side
// (group), turned with the unit, fitted and centred in the unit's box, and the layout's overprint
// word and diagonal line over the whole box.
#pragma once

#include "app/view/PaintContext.h"
#include "app/view/TextInBox.h"

#include <string>

class LayoutUnit;

// The unit's box: its absolute position (item 0) and size, turned clockwise by its quarter turns
// about that corner (64-bit edges, saturated).
LayoutBox ImageUnitBox(const LayoutUnit& unit);

// Nothing unless the unit is shown and the sample picture could be had (the document's samples
// are loaded first when the source lacks it).
void DrawImageUnit(
    const PaintContext& context, const LayoutUnit& unit, const std::string& samplePath, bool portrait);

// A sample picture on the screen keeps this many of its pixels for each drawn pixel across and
// down. The full-size picture is drawn by picking single pixels, without smoothing; a decode with
// fewer pixels to pick from looks smoother and differs from it. Measured on the portrait sample
// in the 1100 x 800 window (the largest difference of a channel after a 3 x 3 blur): 1/8 with
// 1.5 pixels for each drawn one, 25 levels; 1/4 with 3, 13; 1/2 with 6.1, 8; 1/2 with 4.2, 10.
inline constexpr int kSampleOversampling = 6;

// The decode scale (1, 2, 4 or 8) a sample picture needs: the coarsest, no coarser than the one it
// was decoded at, that still has kSampleOversampling pixels for each drawn one; full size for
// printing. turnedSize is the picture's size at decodeScale, turned as it is drawn.
int SampleScaleNeeded(int decodeScale, PLCoord turnedSize, win::SIZE drawnPixels, bool printing);

// The overprint text: a circled C, three blanks, the word, three blanks and a circled C.
std::string OverprintText(const std::string& word);
