// The file tree's keys, double click and context menu. Enter opens the selected item and Alt+Enter
// shows its properties; Delete deletes it (Shift: for good), F2 renames it, Backspace calls the
// up hook; Shift+F10 and the menu key show the context menu at the selected item; F5, Alt+Left and
// Alt+Right do nothing; Escape ends a drag. A double click opens an item without an expand button.
#include "util/window/TreeFileCtrl.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStyleOptionViewItem>

#include <algorithm>

void CTreeFileCtrl::keyPressEvent(QKeyEvent* event)
{
    QTreeWidgetItem* item = currentItem();
    const bool alt = (event->modifiers() & Qt::AltModifier) != 0;
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    switch (event->key()) {
    case Qt::Key_F10:
        if (!shift)
            break;
        [[fallthrough]];
    case Qt::Key_Menu:
        if (item != nullptr)
            ShowContextMenu(item, viewport()->mapToGlobal(LabelRect(item).center()));
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (state() == QAbstractItemView::EditingState)
            break;
        if (alt)
            ShowProperties(item);
        else
            OpenItem(item);
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (!alt)
            break;
        return; // as the tree has always done: Alt with an arrow neither collapses nor expands
    case Qt::Key_F2:
        // While a name is edited, F2 keeps the editor and what was typed in it.
        if (state() != QAbstractItemView::EditingState)
            RenameItem(item);
        return;
    case Qt::Key_Backspace:
        OnUpOneLevel();
        return;
    case Qt::Key_Delete:
        DeleteItemFile(item, shift);
        return;
    case Qt::Key_F5:
        return; // swallowed: the tree is rebuilt by its owner (Refresh), not by a key
    case Qt::Key_Escape:
        // Escape ends a drag where it is, dropping nothing; the held button starts no new one.
        if (dragItem_ != nullptr) {
            EndDragging();
            pressed_ = nullptr;
            return;
        }
        break;
    default:
        break;
    }
    QTreeWidget::keyPressEvent(event);
}

void CTreeFileCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Read before the view's own handling, which may expand the item and so settle its button.
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    const bool open = event->button() == Qt::LeftButton && item != nullptr && item == currentItem()
        && !ItemHasChildFlag(item);
    QTreeWidget::mouseDoubleClickEvent(event);
    if (open)
        OpenItem(item);
}

void CTreeFileCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Keyboard) {
        if (QTreeWidgetItem* item = currentItem())
            ShowContextMenu(item, viewport()->mapToGlobal(LabelRect(item).center()));
        return;
    }
    QTreeWidgetItem* item = itemAt(event->pos());
    if (item == nullptr)
        return;
    setCurrentItem(item);
    ShowContextMenu(item, event->globalPos());
}

QRect CTreeFileCtrl::LabelRect(QTreeWidgetItem* item) const
{
    const QModelIndex index = indexFromItem(item);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QRect row = visualRect(index);
    const int width = itemDelegateForIndex(index)->sizeHint(option, index).width();
    return QRect(row.topLeft(), QSize(std::min(width, row.width()), row.height()));
}

void CTreeFileCtrl::ShowContextMenu(QTreeWidgetItem* item, QPoint globalPos)
{
    if (!contextMenu_)
        return;
    std::unique_ptr<QMenu> menu = BuildContextMenu(item);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu.release()->popup(globalPos); // owned by the control, deleted when closed
}
