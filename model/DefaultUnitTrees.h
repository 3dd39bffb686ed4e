// The default unit trees of the proof types, each under a new root "Master".
#pragma once

#include "model/LayoutUnit.h"

#include <cstdint>
#include <memory>

// 0 portrait, 1 group, 2 combined (portrait with a group image and its packs); any other type
// gives a lone root. The eight extra text units are not part of these trees.
std::shared_ptr<LayoutUnit> BuildDefaultUnitTree(int32_t layoutType);

// Appends "ExtraTxt1" to "ExtraTxt8" to the root, unit n at the absolute point (100 n, 100 n)
// with font size 110.
void AddExtraTextUnits(LayoutUnit& root);
