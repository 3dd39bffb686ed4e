// The file tree's watching of its drives: one watcher per drive, whose thread posts a message
// naming the drive and the paths that changed; the control lists the drive again and restores the
// selection. Changes the control made itself are passed over, and a change that comes while a
// name is being edited waits until the edit ends.
#include "util/window/TreeFileCtrl.h"

#include "util/FileOperation.h"
#include "util/PathText.h"
#include "util/window/WaitCursor.h"

#include <QCoreApplication>
#include <QEvent>

#include <algorithm>
#include <utility>

namespace {

const QEvent::Type kDriveChanged = static_cast<QEvent::Type>(QEvent::registerEventType());

// How long a change the control made itself is expected to come back from a watcher.
constexpr std::chrono::seconds kOwnChangeExpiry { 3 };

class DriveChangedEvent : public QEvent {
public:
    DriveChangedEvent(std::string drive, std::vector<std::string> paths)
        : QEvent(kDriveChanged)
        , drive_(std::move(drive))
        , paths_(std::move(paths))
    {
    }
    const std::string& Drive() const { return drive_; }
    const std::vector<std::string>& Paths() const { return paths_; }

private:
    std::string drive_;
    std::vector<std::string> paths_;
};

// Runs on a watcher's thread. Qt's event queue, whose lock the thread checker cannot see, hands
// the event over to the control's thread.
void PostDriveChanged(QObject* control, const std::string& drive, std::vector<std::string> paths)
{
    QCoreApplication::postEvent(control, new DriveChangedEvent(drive, std::move(paths)));
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
            drive, showFiles_, monitoring_, [this](const std::string& d, std::vector<std::string> paths) {
                PostDriveChanged(this, d, std::move(paths));
            });
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
    if (event->type() == kDriveChanged) {
        const auto* changed = static_cast<DriveChangedEvent*>(event);
        OnDriveChanged(changed->Drive(), changed->Paths());
    } else {
        QTreeWidget::customEvent(event);
    }
}

void CTreeFileCtrl::NoteOwnChanges(const std::vector<std::string>& paths)
{
    const auto expires = std::chrono::steady_clock::now() + kOwnChangeExpiry;
    for (const std::string& path : paths)
        ownChanges_.insert_or_assign(path, expires);
}

bool CTreeFileCtrl::OnlyOwnChanges(const std::vector<std::string>& paths)
{
    const auto now = std::chrono::steady_clock::now();
    std::erase_if(ownChanges_, [now](const auto& change) { return change.second <= now; });
    // A path of the control's own change, inside it (the contents of a folder it deleted), or the
    // item a copy or move makes beside it before renaming it into place.
    const auto own = [this](const std::string& path) {
        const std::filesystem::path changed(path);
        const bool replacement = changed.filename().string().starts_with(kReplacementNamePrefix);
        return !path.empty() && std::any_of(ownChanges_.begin(), ownChanges_.end(), [&](const auto& change) {
            return PathIsInside(path, change.first)
                || (replacement
                    && changed.parent_path() == std::filesystem::path(change.first).parent_path());
        });
    };
    return !paths.empty() && std::all_of(paths.begin(), paths.end(), own);
}

void CTreeFileCtrl::OnDriveChanged(const std::string& drive, const std::vector<std::string>& paths)
{
    // A message queued before its drive stopped being watched is ignored, and so is the echo of
    // the control's own change.
    if (!monitoring_.load() || !watchers_.contains(drive) || OnlyOwnChanges(paths))
        return;
    ++changesHandled_;
    // Listing the folder again would end an edit of one of its names and lose what was typed.
    if (state() == QAbstractItemView::EditingState) {
        pendingDrives_.insert(drive);
        return;
    }
    RelistDrive(drive);
}

void CTreeFileCtrl::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTreeWidget::closeEditor(editor, hint);
    if (pendingDrives_.empty())
        return;
    // After the view is done with the editor (and a rename with its folder).
    QMetaObject::invokeMethod(
        this, [this] { RelistPendingDrives(); }, Qt::QueuedConnection);
}

void CTreeFileCtrl::RelistPendingDrives()
{
    if (state() == QAbstractItemView::EditingState)
        return; // another edit began: it waits for that one
    for (const std::string& drive : std::exchange(pendingDrives_, {})) {
        if (monitoring_.load() && watchers_.contains(drive))
            RelistDrive(drive);
    }
}

// Lists again the top folder of a changed drive wherever the tree shows it (a drive item, or a
// folder of another drive it is mounted in); a root folder shown without its own item is the top
// level. A drive the tree does not show is left alone.
void CTreeFileCtrl::RelistDrive(const std::string& drive)
{
    std::vector<QTreeWidgetItem*> items = ListedItemsOf(drive);
    if (items.empty() && !rootFolder_.empty() && rootItem_ == nullptr && drive == rootFolder_)
        items.push_back(invisibleRootItem());
    if (items.empty())
        return;
    const WaitCursor wait;
    const std::string selected = GetSelectedPath();
    const bool expanded = currentItem() != nullptr && currentItem()->isExpanded();
    // None of the items lies inside another: each stands under a different drive item (or is one).
    for (QTreeWidgetItem* item : items)
        Relist(item);
    if (!selected.empty())
        RestoreSelection(selected, expanded);
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
