// The rectangle a selected unit must stay in while it is moved, in layout units.
#pragma once

#include "platform/win/Types.h"

class Layout;
class LayoutUnit;

// The paper's printable rectangle; for a unit below a proof unit (any parent but the root
// "Master") the corner before the parent's anchor, in the parent's turned axes, becomes that
// anchor, so that a child cannot be moved before its parent.
win::RECT GetMoveBounds(const Layout& layout, const LayoutUnit& unit);
