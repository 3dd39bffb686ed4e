#include "platform/qt/fw/ListCtrl.h"

#include "platform/qt/Cp1252.h"
#include "platform/qt/fw/ImageList.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyleOptionHeader>

#include <algorithm>
#include <memory>
#include <utility>

namespace fw {

namespace {

Qt::Alignment AlignmentOf(int format)
{
    switch (format & HDF_JUSTIFYMASK) {
    case HDF_RIGHT:
        return Qt::AlignRight | Qt::AlignVCenter;
    case HDF_CENTER:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

// The header's sections, with the picture after the text where the item's format asks for it.
class ListHeaderView : public QHeaderView {
public:
    ListHeaderView(QWidget* parent, const HeaderCtrl& header)
        : QHeaderView(Qt::Horizontal, parent)
        , header_(header)
    {
    }

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override
    {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        if (header_.GetFormat(logicalIndex) & HDF_BITMAP_ON_RIGHT)
            option->iconAlignment = Qt::AlignRight | Qt::AlignVCenter;
    }

private:
    const HeaderCtrl& header_;
};

} // namespace

int HeaderCtrl::GetFormat(int index) const
{
    return index >= 0 && index < GetItemCount() ? items_[static_cast<std::size_t>(index)].fmt : 0;
}

int HeaderCtrl::GetItemCount() const
{
    return static_cast<int>(items_.size());
}

win::BOOL HeaderCtrl::GetItem(int index, HDITEM* item) const
{
    if (item == nullptr || index < 0 || index >= GetItemCount())
        return win::FALSE;
    const Item& stored = items_[static_cast<std::size_t>(index)];
    if (item->mask & HDI_TEXT)
        item->text = ToCp1252(list_.headerItem()->text(index));
    if (item->mask & HDI_FORMAT)
        item->fmt = stored.fmt;
    if (item->mask & HDI_IMAGE)
        item->iImage = stored.image;
    return win::TRUE;
}

win::BOOL HeaderCtrl::SetItem(int index, const HDITEM* item)
{
    if (item == nullptr || index < 0 || index >= GetItemCount())
        return win::FALSE;
    Item& stored = items_[static_cast<std::size_t>(index)];
    if (item->mask & HDI_TEXT)
        list_.headerItem()->setText(index, FromCp1252(item->text));
    if (item->mask & HDI_FORMAT)
        stored.fmt = item->fmt;
    if (item->mask & HDI_IMAGE)
        stored.image = item->iImage;
    Show(index);
    return win::TRUE;
}

ImageList* HeaderCtrl::SetImageList(ImageList* images)
{
    ImageList* const previous = std::exchange(images_, images);
    for (int index = 0; index < GetItemCount(); ++index)
        Show(index);
    return previous;
}

// The header item's alignment and picture from its format.
void HeaderCtrl::Show(int index)
{
    const Item& stored = items_[static_cast<std::size_t>(index)];
    QTreeWidgetItem* const header = list_.headerItem();
    header->setTextAlignment(index, AlignmentOf(stored.fmt));
    const bool picture = (stored.fmt & HDF_IMAGE) != 0 && images_ != nullptr;
    header->setIcon(index, picture ? images_->GetIcon(stored.image) : QIcon());
    // The column's texts are aligned as its heading.
    for (int row = 0; row < list_.topLevelItemCount(); ++row)
        list_.topLevelItem(row)->setTextAlignment(index, AlignmentOf(stored.fmt));
}

ListCtrl::ListCtrl(QWidget* parent)
    : QTreeWidget(parent)
    , header_(*this)
{
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHeader(new ListHeaderView(this, header_)); // owned by the list
    header()->setSectionsMovable(false);
    setColumnCount(0);
}

int ListCtrl::InsertColumn(int column, std::string_view heading, int format, int width)
{
    const int count = columnCount();
    const int at = std::clamp(column, 0, count);
    QTreeWidgetItem* const headerItem = this->headerItem();
    QStringList headings;
    for (int i = 0; i < count; ++i)
        headings << headerItem->text(i);
    headings.insert(at, FromCp1252(heading));
    setColumnCount(count + 1);
    setHeaderLabels(headings);
    // Every row's texts move one column to the right from the new column on.
    for (int row = 0; row < topLevelItemCount(); ++row) {
        QTreeWidgetItem* const item = topLevelItem(row);
        for (int i = count; i > at; --i)
            item->setText(i, item->text(i - 1));
        item->setText(at, QString());
    }
    header_.items_.insert(header_.items_.begin() + at, { (format & HDF_JUSTIFYMASK) | HDF_STRING, 0 });
    for (int i = 0; i <= count; ++i)
        header_.Show(i);
    if (width >= 0)
        setColumnWidth(at, width);
    return at;
}

int ListCtrl::InsertItem(int index, std::string_view text)
{
    if (index < 0)
        return -1;
    const int at = std::min(index, topLevelItemCount());
    auto item = std::make_unique<QTreeWidgetItem>();
    item->setText(0, FromCp1252(text));
    for (int column = 0; column < columnCount(); ++column)
        item->setTextAlignment(column, AlignmentOf(header_.GetFormat(column)));
    insertTopLevelItem(at, item.release()); // the list owns its items
    return at;
}

win::BOOL ListCtrl::SetItemText(int item, int subItem, std::string_view text)
{
    if (item < 0 || item >= GetItemCount() || subItem < 0 || subItem >= columnCount())
        return win::FALSE;
    topLevelItem(item)->setText(subItem, FromCp1252(text));
    return win::TRUE;
}

std::string ListCtrl::GetItemText(int item, int subItem) const
{
    if (item < 0 || item >= GetItemCount() || subItem < 0 || subItem >= columnCount())
        return {};
    return ToCp1252(topLevelItem(item)->text(subItem));
}

int ListCtrl::RowHeight() const
{
    const int height = GetItemCount() > 0 ? visualItemRect(topLevelItem(0)).height() : 0;
    return height > 0 ? height : std::max(1, fontMetrics().height());
}

int ListCtrl::GetTopIndex() const
{
    const QModelIndex top = indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

int ListCtrl::GetCountPerPage() const
{
    return std::max(1, viewport()->height() / RowHeight());
}

win::BOOL ListCtrl::EnsureVisible(int index, win::BOOL partialOK)
{
    if (index < 0 || index >= GetItemCount())
        return win::FALSE;
    QTreeWidgetItem* const item = topLevelItem(index);
    const QRect shown = visualItemRect(item);
    const bool partlyShown = shown.bottom() >= 0 && shown.top() < viewport()->height();
    if (!(partialOK && partlyShown))
        scrollToItem(item, QAbstractItemView::EnsureVisible);
    return win::TRUE;
}

} // namespace fw
