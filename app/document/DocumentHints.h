// The hints the document sends its views (through UpdateAllViews, to both views).
#pragma once

#include "platform/win/Types.h"

namespace hint {

constexpr win::LPARAM everything = 0; // a unit was dragged
constexpr win::LPARAM layoutValues = 1; // layout values or the pack template changed
constexpr win::LPARAM unitNudged = 2; // a unit was moved with the arrow keys
constexpr win::LPARAM saveAttempted = 4; // the form shows the path and updates its recent list
constexpr win::LPARAM printMarginTest = 8;
constexpr win::LPARAM printLayout = 16;
constexpr win::LPARAM layoutReplaced = 32; // new, open, undo, proof-type change
constexpr win::LPARAM openFailed = layoutReplaced | saveAttempted;

} // namespace hint
