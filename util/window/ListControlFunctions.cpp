#include "util/window/ListControlFunctions.h"

#include "platform/qt/fw/ListCtrl.h"
#include "records/CsvFields.h"

#include <algorithm>

int CentreListItem(fw::ListCtrl& list, int index, bool onlyIfHidden)
{
    const int top = list.GetTopIndex();
    const int perPage = list.GetCountPerPage();
    if (onlyIfHidden && index >= top && index < top + perPage)
        return top;
    // Scrolling down brings the target to the bottom row; scrolling up brings it to the top.
    int target = index + perPage / 2;
    if (target - perPage < top)
        target = index - perPage / 2;
    target = std::max(0, std::min(target, list.GetItemCount() - 1));
    return list.EnsureVisible(target, win::FALSE);
}

void SetListSortArrow(fw::ListCtrl& list, int previousColumn, int column, int direction, int& state)
{
    fw::HeaderCtrl& header = *list.GetHeaderCtrl();
    fw::HDITEM item;
    item.mask = fw::HDI_FORMAT;
    if (header.GetItem(previousColumn, &item)) {
        item.fmt = (item.fmt & fw::HDF_JUSTIFYMASK) | fw::HDF_STRING;
        header.SetItem(previousColumn, &item);
    }
    if (state == 0)
        state = previousColumn != column ? 1 : (direction == 1 ? 2 : 1);
    item.mask = fw::HDI_FORMAT;
    if (header.GetItem(column, &item)) {
        item.mask = fw::HDI_FORMAT | fw::HDI_IMAGE;
        item.fmt
            = (item.fmt & fw::HDF_JUSTIFYMASK) | fw::HDF_STRING | fw::HDF_IMAGE | fw::HDF_BITMAP_ON_RIGHT;
        item.iImage = state == 1 ? 0 : 1;
        header.SetItem(column, &item);
    }
}

void ExportListToCsv(std::ostream& os, fw::ListCtrl& list)
{
    fw::HeaderCtrl& header = *list.GetHeaderCtrl();
    const int columns = header.GetItemCount();
    fw::HDITEM item;
    item.mask = fw::HDI_TEXT;
    for (int column = 0; column < columns; ++column) {
        item.text.clear();
        header.GetItem(column, &item);
        WriteCsvString(os, item.text, column > 0);
    }
    os << "\r\n";
    for (int row = 0; row < list.GetItemCount(); ++row) {
        for (int column = 0; column < columns; ++column)
            WriteCsvString(os, list.GetItemText(row, column), column > 0);
        os << "\r\n";
    }
}
