#include "platform/qt/fw/ListBoxExtent.h"

#include <QListWidget>
#include <QVariant>

#include <algorithm>

namespace fw {

namespace {

constexpr const char* kExtentProperty = "horizontalExtent";

} // namespace

void SetHorizontalExtent(QListWidget& list, int extent)
{
    extent = std::max(0, extent);
    list.setProperty(kExtentProperty, extent);
    list.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    for (int row = 0; row < list.count(); ++row) {
        QListWidgetItem* const item = list.item(row);
        item->setSizeHint(QSize());
        if (extent > 0)
            item->setSizeHint(QSize(extent, list.sizeHintForRow(row)));
    }
}

int GetHorizontalExtent(const QListWidget& list)
{
    return list.property(kExtentProperty).toInt();
}

} // namespace fw
