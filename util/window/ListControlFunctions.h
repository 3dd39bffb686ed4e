// Helpers for list controls in report view: scrolling an item to the middle, the sort arrow in
// the header, and the whole list as CSV.
#pragma once

#include <ostream>

namespace fw {
class ListCtrl;
}

// Scrolls the item to about the middle of the view. With onlyIfHidden, an item already in the
// view stays where it is and the top index is returned; otherwise the result is whether the
// scrolling request was accepted (false for an empty list).
int CentreListItem(fw::ListCtrl& list, int index, bool onlyIfHidden);

// Moves the sort arrow from the previous column's header to the column's, on its right. The
// state chooses the arrow: 0 on entry makes it 1 when the columns differ, else 2 for direction 1
// and 1 otherwise; state 1 shows the header's picture 0, any other picture 1. The header's image
// list is the caller's.
void SetListSortArrow(fw::ListCtrl& list, int previousColumn, int column, int direction, int& state);

// The header texts, then each row's texts, as CSV lines (every field quoted, CR LF line ends).
void ExportListToCsv(std::ostream& os, fw::ListCtrl& list);
