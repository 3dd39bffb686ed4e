// The periodic work of a drag: scrolling near the edges and opening a folder the mouse rests on.
#include "util/window/TreeFileCtrl.h"

#include <QScrollBar>
#include <QTimerEvent>

void CTreeFileCtrl::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != scrollTimer_.timerId()) {
        QTreeWidget::timerEvent(event);
        return;
    }
    DragTick();
}

void CTreeFileCtrl::DragTick()
{
    if (dragItem_ == nullptr)
        return;
    dragImage_->MoveTo(viewport()->mapToGlobal(dragPos_));
    QTreeWidgetItem* first = itemAt(QPoint(0, 0));
    const int height = first != nullptr ? visualItemRect(first).height() : 0;
    const QRect area = viewport()->rect();
    if (height > 0 && dragPos_.y() >= area.top() && dragPos_.y() < area.top() + 2 * height) {
        const DragImage::Hidden hidden(dragImage_.get()); // off the screen while the tree scrolls
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        SetDropTarget(ValidDropTarget(itemAt(QPoint(0, 0))));
    } else if (height > 0 && dragPos_.y() <= area.bottom() && dragPos_.y() > area.bottom() - 2 * height) {
        const DragImage::Hidden hidden(dragImage_.get());
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        SetDropTarget(ValidDropTarget(itemAt(QPoint(0, area.bottom()))));
    }
    if (hoverTicks_ == 3) {
        hoverTicks_ = 0;
        if (dropTarget_ != nullptr)
            dropTarget_->setExpanded(true);
    }
    if (dropTarget_ != nullptr && !dropTarget_->isExpanded()
        && dropTarget_->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator)
        ++hoverTicks_;
}
