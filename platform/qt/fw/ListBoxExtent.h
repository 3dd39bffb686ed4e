// How far a list box can be scrolled across: its items are laid out at least that wide, so that
// a horizontal scroll bar shows when the box is narrower.
#pragma once

class QListWidget;

namespace fw {

// Lays every item out at the extent's width (in pixels); 0 gives the items their own widths.
void SetHorizontalExtent(QListWidget& list, int extent);
// The extent last set, 0 when none was.
int GetHorizontalExtent(const QListWidget& list);

} // namespace fw
