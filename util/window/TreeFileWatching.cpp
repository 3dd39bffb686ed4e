// The file tree's watching of its drives: one watcher per drive, whose thread posts a message
// naming the drive; the control lists the drive again and restores the selection.
#include "util/window/TreeFileCtrl.h"

#include "util/PathText.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

const QEvent::Type kDriveChanged = static_cast<QEvent::Type>(QEvent::registerEventType());

class DriveChangedEvent : public QEvent {
public:
    explicit DriveChangedEvent(std::string drive)
        : QEvent(kDriveChanged)
        , drive_(std::move(drive))
    {
    }
    const std::string& Drive() const { return drive_; }

private:
    std::string drive_;
};

// Runs on a watcher's thread. Qt's event queue, whose lock the thread checker cannot see, hands
// the event over to the control's thread.
void PostDriveChanged(QObject* control, const std::string& drive)
{
    QCoreApplication::postEvent(control, new DriveChangedEvent(drive));
}

} // namespace

void CTreeFileCtrl::StartWatchingFolder(const std::string& folder)
{
    const std::string drive = DriveOf(folder);
    if (drive.empty() || (!rootFolder_.empty() && !CanMonitor(rootFolder_)))
        return;
    auto& watcher = watchers_[drive];
    if (watcher == nullptr) {
        // The message names the drive, not a position in a list that may have changed since.
        watcher = std::make_unique<FolderWatcher>(
            drive, showFiles_, monitoring_, [this](const std::string& d) { PostDriveChanged(this, d); });
    }
    watcher->AddFolder(folder);
}

void CTreeFileCtrl::StopWatchingFolder(const std::string& drive)
{
    watchers_.erase(std::string(WithoutTrailingSlashes(drive)));
}

void CTreeFileCtrl::StopAllWatchers()
{
    watchers_.clear();
}

std::vector<std::string> CTreeFileCtrl::WatchedDrives() const
{
    std::vector<std::string> drives;
    for (const auto& [drive, watcher] : watchers_)
        drives.push_back(drive);
    return drives;
}

void CTreeFileCtrl::customEvent(QEvent* event)
{
    if (event->type() == kDriveChanged)
        OnDriveChanged(static_cast<DriveChangedEvent*>(event)->Drive());
    else
        QTreeWidget::customEvent(event);
}

void CTreeFileCtrl::OnDriveChanged(const std::string& drive)
{
    // A message queued before its drive stopped being watched is ignored.
    if (!monitoring_.load() || !watchers_.contains(drive))
        return;
    ++changesHandled_;
    const std::string selected = GetSelectedPath();
    const bool expanded = currentItem() != nullptr && currentItem()->isExpanded();
    QTreeWidgetItem* item = PathToItem(drive);
    navigating_ = true;
    if (item == nullptr)
        DisplayPath(drive, rootItem_ != nullptr ? rootItem_ : invisibleRootItem());
    else
        Relist(item);
    if (!selected.empty())
        SetSelectedPath(selected, expanded);
    navigating_ = false;
}

// Lists the folder of an item again (collapsing what was open below it) and shows it expanded.
void CTreeFileCtrl::Relist(QTreeWidgetItem* folderItem)
{
    const bool wasNavigating = std::exchange(navigating_, true);
    if (QTreeWidgetItem* current = currentItem(); current != nullptr && current != folderItem) {
        for (QTreeWidgetItem* up = current->parent(); up != nullptr; up = up->parent()) {
            if (up == folderItem)
                setCurrentItem(folderItem);
        }
    }
    if (folderItem == invisibleRootItem()) {
        DisplayPath(rootFolder_, folderItem);
    } else {
        SetItemChildFlag(folderItem, true);
        DisplayPath(ItemToPath(folderItem), folderItem);
        folderItem->setExpanded(true);
    }
    navigating_ = wasNavigating;
}

// Sorts the folder's items again after a rename, keeping the renamed item selected.
void CTreeFileCtrl::ResortFolder(const std::string& folder, const std::string& selected)
{
    QTreeWidgetItem* item
        = folder == rootFolder_ && rootItem_ == nullptr ? invisibleRootItem() : PathToItem(folder);
    if (item == nullptr)
        return;
    const bool wasNavigating = std::exchange(navigating_, true);
    SortChildren(item);
    if (QTreeWidgetItem* renamed = PathToItem(selected))
        setCurrentItem(renamed);
    navigating_ = wasNavigating;
}
