// A tree of the file system, the way a file manager's side pane shows it: either the contents of
// one configured root folder, or a computer item with the mounted file systems (the drives) under
// it. Folders are listed when first expanded; files too unless switched off. Names are looked up
// exactly (letter case matters) and sorted without regard to case, folders first. The control keeps
// a back and forward history of selected paths, watches the drives it has listed, and offers
// opening, deleting, renaming in place, drag and drop and a context menu, each behind its flag.
#pragma once

#include "platform/win/Types.h"
#include "util/MountTable.h"
#include "util/window/DragImage.h"
#include "util/window/FolderWatcher.h"

#include <QBasicTimer>
#include <QTreeWidget>

#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMenu;

namespace fw {
class CmdUI;
class Control;
class DataExchange;
} // namespace fw

class CTreeFileCtrl : public QTreeWidget {
public:
    // The factory of the class's runtime record: a new control, for an owner to attach.
    static std::unique_ptr<CTreeFileCtrl> CreateObject();

    explicit CTreeFileCtrl(QWidget* parent = nullptr);
    ~CTreeFileCtrl() override;

    // Puts the tree into a dialog's or form's tree control, filling it; the control's window owns
    // the tree from then on. Null (and the tree gone) when the control is not of the tree kind.
    static CTreeFileCtrl* Attach(std::unique_ptr<CTreeFileCtrl> tree, const fw::Control& control);
    // The tree attached to a tree control, or null.
    static CTreeFileCtrl* FromControl(const fw::Control& control);

    // Settings; each rebuilds the tree.
    void SetRootFolder(const std::string& path); // a trailing '/' is dropped
    const std::string& GetRootFolder() const { return rootFolder_; }
    void SetShowFiles(bool show);
    void SetShowMyComputer(bool show);
    void SetShowRootItem(bool show);
    void SetMonitorChanges(bool monitor);
    void SetShowNetwork(bool show);
    // Drives shown by their display name (GetDriveDisplayName) or by their bare path.
    void SetShowDriveNames(bool show);
    // The folder naming the volumes by their label (the system's own by default; tests point it
    // elsewhere): each entry a link to the block device, its name the label.
    void SetVolumeLabels(const std::string& folder);
    // "label (mount point)" for a drive whose volume has a label, else the mount point.
    std::string GetDriveDisplayName(const std::string& path) const;
    // Files with any of these attribute bits are not listed; on Linux hidden (0x2) is a name that
    // starts with a dot, the others have no counterpart. Folders are not filtered.
    void SetAttributeHideMask(unsigned mask);
    void SetFileNameMask(const std::string& mask); // "*.*" lists every file
    // 0 shows files without their extension, 1 and 2 (as the desktop shows them) with it.
    void SetExtensionMode(int mode);
    // Bit 0 show files, 1 drag and drop, 2 rename, 3 open, 4 properties, 5 delete.
    void SetFlags(unsigned flags);
    // The system's own by default; tests point both elsewhere.
    void SetMountTable(const std::string& tablePath, const std::string& blockDevices = "/sys/class/block");
    void SetDriveHideMask(unsigned mask); // DriveKind bits of drives not shown
    // False for a path on a removable or CD-ROM drive (a root folder there is not watched).
    bool CanMonitor(const std::string& path) const;
    // Whether the drive of the path can be read: always for fixed, network and RAM drives; for a
    // removable or CD-ROM drive, when its volume answers (its serial is read and kept).
    bool CanAccessDrive(const std::string& path);
    // The serial of the volume holding the path (its file-system id); none when it cannot be read.
    virtual std::optional<unsigned long long> GetVolumeSerial(const std::string& path);
    // The serial last read for the drive of the path (by CanAccessDrive, or when the drive's item
    // was selected); kNoVolumeSerial when none was read, the last read failed, or the path lies on
    // no drive.
    unsigned long long StoredVolumeSerial(const std::string& path) const;
    static constexpr unsigned long long kNoVolumeSerial = 0xFFFFFFFF;

    void SetAllowDragDrop(bool allow) { allowDragDrop_ = allow; }
    void SetAllowRename(bool allow) { allowRename_ = allow; }
    void SetAllowOpen(bool allow) { allowOpen_ = allow; }
    void SetAllowProperties(bool allow) { allowProperties_ = allow; }
    void SetAllowDelete(bool allow) { allowDelete_ = allow; }
    void SetContextMenu(bool enable) { contextMenu_ = enable; }

    // Shows the system icons and fills the tree.
    void UseSystemImageList();
    // Rebuilds the tree, keeping the selected path and its expanded state.
    void Refresh();

    std::string ItemToPath(const QTreeWidgetItem* item) const;
    bool ItemIsFile(const QTreeWidgetItem* item) const;
    // The listed item of the path, without listing anything; null when there is none.
    QTreeWidgetItem* PathToItem(const std::string& path) const;
    // Selects the item of the path, listing and expanding the folders on the way; null when a
    // part of the path is missing or the path lies outside the root folder.
    QTreeWidgetItem* SetSelectedPath(const std::string& path, bool expand);
    std::string GetSelectedPath() const;
    QTreeWidgetItem* ComputerItem() const { return computerItem_; }
    QTreeWidgetItem* NetworkItem() const { return networkItem_; }
    QTreeWidgetItem* RootItem() const { return rootItem_; }
    // The first child named exactly so (letter case matters), or null.
    QTreeWidgetItem* FindChildByName(QTreeWidgetItem* parent, const std::string& name) const;

    // History of selected paths.
    bool CanGoBack() const { return !back_.empty(); }
    bool CanGoForward() const { return !forward_.empty(); }
    void GoBack();
    void GoForward();
    int GetBackCount() const { return static_cast<int>(back_.size()); }
    int GetForwardCount() const { return static_cast<int>(forward_.size()); }
    const std::string& GetBackItemPath(int index) const { return back_.at(static_cast<size_t>(index)); }
    const std::string& GetForwardItemPath(int index) const { return forward_.at(static_cast<size_t>(index)); }
    int GetMaxHistory() const { return maxHistory_; }
    void SetMaxHistory(int limit);
    // Selects the parent of the selected item, when both exist.
    void SelectParentItem();
    // Called on Backspace; does nothing here (an owner decides what going up means).
    virtual void OnUpOneLevel();
    // Update handlers for an owner's Back, Forward and Up commands: enabled when the back history
    // is not empty, when the forward history is not empty, and when the selected item has a parent.
    void OnUpdateGoBack(fw::CmdUI& ui) const;
    void OnUpdateGoForward(fw::CmdUI& ui) const;
    void OnUpdateUpOneLevel(fw::CmdUI& ui) const;

    // Indexes into the system image list: of a path, of a path in its open state (a folder shown
    // opened), and the ones an item was given (-1 for no item).
    static int GetIconIndex(const std::string& path);
    static int GetOpenIconIndex(const std::string& path);
    static int GetItemIconIndex(const QTreeWidgetItem* item);
    static int GetItemOpenIconIndex(const QTreeWidgetItem* item);

    // A copy of the item (text, icons, what it holds, its expand button) under the new parent
    // (null for the top level), after `insertAfter` (null: last); the branch form copies the item's
    // children too, recursively, each appended last. Returns the copy.
    QTreeWidgetItem* CopyItem(
        QTreeWidgetItem* item, QTreeWidgetItem* newParent, QTreeWidgetItem* insertAfter);
    QTreeWidgetItem* CopyBranch(
        QTreeWidgetItem* item, QTreeWidgetItem* newParent, QTreeWidgetItem* insertAfter);

    // Expands every folder below the top, never entering a symbolic link or a folder already on
    // the way down; collapses every item.
    void ExpandAll();
    void CollapseAll();

    // Watching: the drives with a watcher now.
    std::vector<std::string> WatchedDrives() const;
    int ChangesHandled() const { return changesHandled_; }

    // File operations, each behind its flag; true when done.
    bool OpenItem(QTreeWidgetItem* item);
    bool DeleteItemFile(QTreeWidgetItem* item, bool permanently);
    bool RenameItem(QTreeWidgetItem* item); // starts editing in place
    // Renames the file of the item to the text typed in its place, keeping the extension when the
    // item shows its name without it; refuses a name with '/', "." and "..", and an existing name.
    bool RenameItemTo(QTreeWidgetItem* item, const std::string& typed);
    bool ShowProperties(QTreeWidgetItem* item); // a dialog of the file's name, kind, size, times
    // The context menu of an item, for the caller to show or pick from.
    std::unique_ptr<QMenu> BuildContextMenu(QTreeWidgetItem* item);

    // Hooks.
    virtual bool CanRenamePath(const std::string& path);
    virtual bool CanDeletePath(const std::string& path);
    virtual bool CanDragItem(QTreeWidgetItem* item); // a file, not a folder or drive
    QTreeWidgetItem* ValidDropTarget(QTreeWidgetItem* item) const;
    QTreeWidgetItem* DragItem() const { return dragItem_; }
    // The picture of the dragged item that follows the pointer; null when no drag is on.
    const DragImage* GetDragImage() const { return dragImage_.get(); }
    QTreeWidgetItem* DropTarget() const { return dropTarget_; }
    // While a drag is on, a tick every interval (300 ms; 0 starts no timer, for tests that tick
    // themselves): near the top or bottom edge the tree scrolls a line, and resting on a collapsed
    // folder with children expands it at the fourth tick.
    void SetDragTickInterval(int milliseconds) { dragTickInterval_ = milliseconds; }
    void DragTick();

protected:
    void customEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    struct Walk;
    bool CanDisplayFile(const std::string& name) const;
    // An item of a file or folder, which can be renamed or deleted: not a drive, nor the
    // computer, network or root item.
    bool IsFileOrFolderItem(const QTreeWidgetItem* item) const;
    // The text an item shows for a file or folder name: without its extension when that is hidden.
    static std::string ShownName(const std::string& name, bool extensionHidden);
    QTreeWidgetItem* Insert(QTreeWidgetItem* parent, const std::string& path, const std::string& name,
        bool file, bool mayHaveChildren);
    void DisplayPath(const std::string& path, QTreeWidgetItem* parent);
    void DisplayDrives(QTreeWidgetItem* parent, bool network);
    QTreeWidgetItem* AddSpecialItem(const char* text);
    void ExpandItem(QTreeWidgetItem* item);
    void OnExpanded(QTreeWidgetItem* item);
    void OnCollapsed(QTreeWidgetItem* item);
    void OnCurrentChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void OnItemChanged(QTreeWidgetItem* item);
    void RemoveItem(QTreeWidgetItem* item);
    void RemoveVanished(const std::string& path);
    // Gives the item the image and open image of its path (reading the path's kind again).
    void SetItemIcons(QTreeWidgetItem* item);
    void SortChildren(QTreeWidgetItem* parent);
    QTreeWidgetItem* Lookup(const std::string& path, bool expandOnWay);
    void ExpandForWalk(QTreeWidgetItem* item);
    std::string DriveOf(const std::string& path) const;
    void Watch(const std::string& folder);
    void StopWatching(const std::string& drive);
    void StopAllWatchers();
    void OnDriveChanged(const std::string& drive);
    void HistoryStep(std::vector<std::string>& from, std::vector<std::string>& to);
    void Relist(QTreeWidgetItem* folderItem);
    void ResortFolder(const std::string& folder, const std::string& selected);
    void BeginDrag();
    std::unique_ptr<DragImage> MakeDragImage(QTreeWidgetItem* item, QPoint dragPoint);
    QTreeWidgetItem* EndDragging();
    void FinishDrag(QTreeWidgetItem* target, bool copy);
    void OnRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last);
    void OnAboutToReset();
    // Marks the item the drag would drop onto (and unmarks the previous one); null marks none.
    void SetDropTarget(QTreeWidgetItem* target);
    // Reads the serial of a drive into the table (kNoVolumeSerial when it cannot be read); false then.
    bool ReadVolumeSerial(const std::string& drive);

    std::string rootFolder_;
    bool showFiles_ = true;
    bool showComputerItem_ = true;
    bool showRootItem_ = false;
    std::string mountTable_ { kSystemMountTable };
    std::string blockDevices_ = "/sys/class/block";
    unsigned driveHideMask_ = 0;
    std::vector<MountPoint> mounts_;
    std::map<std::string, unsigned long long> serials_; // the last serial read, by drive
    bool showNetwork_ = true;
    bool showDriveNames_ = true;
    std::string volumeLabels_ = "/dev/disk/by-label";
    unsigned attributeHideMask_ = 0x1106;
    std::string fileNameMask_ = "*.*";
    int extensionMode_ = 2;
    QTreeWidgetItem* computerItem_ = nullptr;
    QTreeWidgetItem* networkItem_ = nullptr;
    QTreeWidgetItem* rootItem_ = nullptr;

    bool allowDragDrop_ = false;
    bool allowRename_ = false;
    bool allowOpen_ = true;
    bool allowProperties_ = true;
    bool allowDelete_ = false;
    bool contextMenu_ = true;

    std::vector<std::string> back_;
    std::vector<std::string> forward_;
    int maxHistory_ = 20;
    bool navigating_ = false;

    std::atomic<bool> monitoring_ { false };
    std::map<std::string, std::unique_ptr<FolderWatcher>> watchers_;
    int changesHandled_ = 0;

    QTreeWidgetItem* editing_ = nullptr;
    QTreeWidgetItem* pressed_ = nullptr;
    QPoint pressPos_;
    QTreeWidgetItem* dragItem_ = nullptr;
    QTreeWidgetItem* dropTarget_ = nullptr;
    QPoint dragPos_; // the last mouse position of the drag, in viewport coordinates
    std::unique_ptr<DragImage> dragImage_; // exactly while a drag is on
    int dragTickInterval_ = 300;
    QBasicTimer scrollTimer_;
    int hoverTicks_ = 0; // kept across drop targets and drags, as the auto-expand has always done
};

// Dialog data exchange of a tree control with a file tree attached: saving reads the selected
// path, loading selects the path (without expanding it).
void DDX_TreeFilePath(fw::DataExchange& dx, win::UINT id, std::string& path);
