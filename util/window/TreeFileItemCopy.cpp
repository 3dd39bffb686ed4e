// Copying items and whole branches of the file tree.
#include "util/window/TreeFileCtrl.h"

namespace {

// The item with its data, flags and expand button (the copy constructor takes neither the button
// nor the children), and a copy of each child when the branch is wanted. Built apart from the
// tree, so a branch copied into itself is copied as it was.
std::unique_ptr<QTreeWidgetItem> DetachedCopy(const QTreeWidgetItem& item, bool branch)
{
    auto copy = std::make_unique<QTreeWidgetItem>(item);
    copy->setChildIndicatorPolicy(item.childIndicatorPolicy());
    for (int i = 0; branch && i < item.childCount(); ++i)
        copy->addChild(DetachedCopy(*item.child(i), true).release()); // the copy owns it
    return copy;
}

// Puts a copy of the item (of its branch when wanted) under the parent after `insertAfter`, or last.
QTreeWidgetItem* CopyUnder(
    const QTreeWidgetItem* item, QTreeWidgetItem* parent, QTreeWidgetItem* insertAfter, bool branch)
{
    if (item == nullptr)
        return nullptr;
    const int after = insertAfter != nullptr ? parent->indexOfChild(insertAfter) : -1;
    QTreeWidgetItem* placed = DetachedCopy(*item, branch).release();
    parent->insertChild(after >= 0 ? after + 1 : parent->childCount(), placed); // the parent owns it now
    return placed;
}

} // namespace

QTreeWidgetItem* CTreeFileCtrl::CopyItem(
    QTreeWidgetItem* item, QTreeWidgetItem* newParent, QTreeWidgetItem* insertAfter)
{
    return CopyUnder(item, newParent != nullptr ? newParent : invisibleRootItem(), insertAfter, false);
}

QTreeWidgetItem* CTreeFileCtrl::CopyBranch(
    QTreeWidgetItem* item, QTreeWidgetItem* newParent, QTreeWidgetItem* insertAfter)
{
    return CopyUnder(item, newParent != nullptr ? newParent : invisibleRootItem(), insertAfter, true);
}
