// The file tree's own drag of a file onto a folder, on the mouse it holds while the button is down
// (no system drag loop): the picture of the dragged item following the pointer, the drop target
// marked under it, and the drag ended on release or Escape.
#include "util/window/TreeFileCtrl.h"

#include "util/window/DragImage.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionViewItem>

#include <utility>

QTreeWidgetItem* CTreeFileCtrl::ValidDropTarget(QTreeWidgetItem* item) const
{
    if (item == nullptr || dragItem_ == nullptr || ItemIsFile(item) || ItemToPath(item).empty())
        return nullptr;
    if (item == dragItem_->parent())
        return nullptr;
    for (QTreeWidgetItem* up = item; up != nullptr; up = up->parent()) {
        if (up == dragItem_)
            return nullptr; // never into itself
    }
    return item;
}

void CTreeFileCtrl::mousePressEvent(QMouseEvent* event)
{
    QTreeWidget::mousePressEvent(event);
    pressed_ = nullptr;
    if (allowDragDrop_ && event->button() == Qt::LeftButton) {
        QTreeWidgetItem* item = itemAt(event->position().toPoint());
        if (CanDragItem(item)) {
            pressed_ = item;
            pressPos_ = event->position().toPoint();
        }
    }
}

void CTreeFileCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (dragItem_ == nullptr && pressed_ != nullptr && (event->buttons() & Qt::LeftButton) != 0
        && (pos - pressPos_).manhattanLength() >= QApplication::startDragDistance())
        BeginDrag();
    if (dragItem_ == nullptr) {
        QTreeWidget::mouseMoveEvent(event);
        return;
    }
    dragPos_ = pos;
    dragImage_->MoveTo(event->globalPosition().toPoint());
    SetDropTarget(ValidDropTarget(itemAt(pos)));
    const bool copy = (event->modifiers() & Qt::ControlModifier) != 0;
    viewport()->setCursor(dropTarget_ == nullptr ? Qt::ForbiddenCursor
            : copy                               ? Qt::DragCopyCursor
                                                 : Qt::DragMoveCursor);
}

void CTreeFileCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    pressed_ = nullptr;
    if (dragItem_ == nullptr) {
        QTreeWidget::mouseReleaseEvent(event);
        return;
    }
    // The file goes where the tree shows it would (near an edge, the row the scrolling marked);
    // a release outside the view drops nothing.
    const bool inside = viewport()->rect().contains(event->position().toPoint());
    QTreeWidgetItem* target = inside ? ValidDropTarget(dropTarget_) : nullptr;
    FinishDrag(target, (event->modifiers() & Qt::ControlModifier) != 0);
}

// Starts dragging the pressed item: its picture appears where it lies, held at the point pressed,
// and follows the pointer from then on. The held button keeps the mouse captured by the view until
// it is released.
void CTreeFileCtrl::BeginDrag()
{
    dragImage_ = MakeDragImage(pressed_, pressPos_);
    if (dragImage_ == nullptr)
        return;
    dragItem_ = pressed_;
    SetDropTarget(nullptr);
    dragImage_->MoveTo(viewport()->mapToGlobal(pressPos_));
    dragImage_->show();
    if (dragTickInterval_ > 0)
        scrollTimer_.start(dragTickInterval_, this);
}

// The item drawn as the tree draws it, unselected, on the view's ground; held at the drag point
// (or near its corner when the point is on no item). Null when the item has nothing to draw.
std::unique_ptr<DragImage> CTreeFileCtrl::MakeDragImage(QTreeWidgetItem* item, QPoint dragPoint)
{
    const QModelIndex index = indexFromItem(item);
    if (!index.isValid())
        return nullptr;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
    QAbstractItemDelegate* delegate = itemDelegateForIndex(index);
    const QSize size = delegate->sizeHint(option, index);
    if (size.isEmpty())
        return nullptr;
    // Opaque, on the view's own ground: a display without a compositor cannot show a picture with
    // an alpha channel, and would show its clear parts black.
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(palette().color(QPalette::Base));
    {
        QPainter painter(&picture);
        option.rect = QRect(QPoint(0, 0), size);
        delegate->paint(&painter, option, index);
    }
    const QTreeWidgetItem* underPoint = itemAt(dragPoint);
    const QRect rect = underPoint != nullptr ? visualItemRect(underPoint) : QRect();
    const QPoint hotSpot = rect.isValid() ? dragPoint - rect.topLeft() : QPoint(8, 8);
    return std::make_unique<DragImage>(QPixmap::fromImage(picture), hotSpot, this);
}

// Takes the drag image away with the timer, the mark and the cursor, and returns the item that
// was dragged (null when no drag was on).
QTreeWidgetItem* CTreeFileCtrl::EndDragging()
{
    scrollTimer_.stop();
    dragImage_.reset();
    viewport()->unsetCursor();
    SetDropTarget(nullptr);
    return std::exchange(dragItem_, nullptr);
}

void CTreeFileCtrl::ShowDropTarget(QTreeWidgetItem* target, const QString& droppedText)
{
    // A target that already lists an item of the name keeps its listing as it is; any other is
    // closed and forgets its listing, so that opening it reads the folder with the new file.
    if (target == nullptr || HasChildWithText(target, droppedText.toStdString()))
        return;
    const bool wasNavigating = std::exchange(navigating_, true);
    collapseItem(target);
    DeleteChildren(target, false);
    navigating_ = wasNavigating;
    setCurrentItem(target);
    SetItemChildFlag(target, true);
}

void CTreeFileCtrl::SetDropTarget(QTreeWidgetItem* target)
{
    if (target == dropTarget_)
        return;
    const DragImage::Hidden hidden(dragImage_.get());
    if (dropTarget_ != nullptr)
        dropTarget_->setData(0, Qt::BackgroundRole, QVariant());
    dropTarget_ = target;
    if (dropTarget_ != nullptr)
        dropTarget_->setBackground(0, palette().color(QPalette::Highlight).lighter(170));
}

// Items about to go (a folder listed again, collapsed, or the tree rebuilt): a drag of one of them
// ends dropping nothing, and no pointer to them is kept.
void CTreeFileCtrl::OnRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last)
{
    const auto going = [&](QTreeWidgetItem* item) {
        for (QModelIndex index = indexFromItem(item); index.isValid(); index = index.parent()) {
            if (index.parent() == parent && index.row() >= first && index.row() <= last)
                return true;
        }
        return false;
    };
    if (dropTarget_ != nullptr && going(dropTarget_))
        dropTarget_ = nullptr;
    if (dragItem_ != nullptr && going(dragItem_))
        EndDragging();
    for (QTreeWidgetItem** kept : { &pressed_, &editing_ }) {
        if (*kept != nullptr && going(*kept))
            *kept = nullptr;
    }
}

void CTreeFileCtrl::OnAboutToReset()
{
    dropTarget_ = nullptr;
    EndDragging();
    pressed_ = nullptr;
    editing_ = nullptr;
}
