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
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

class QMenu;

// What an item of the file tree stands for, as it is inserted: the full path (the mount point of a
// drive), the name shown (before the extension rule) and used for lookup and sorting, whether it is
// the network item or lies under it, whether the text shown drops the extension, and whether it
// is a file.
struct CTreeFileCtrlItemInfo {
    std::string path;
    std::string name;
    bool network = false;
    bool extensionHidden = false;
    bool file = false;
};

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
    // Files listed: those whose names match the mask, letter case ignored, as the folder listing
    // matches (WildcardMatchNoCase); "*.*" lists every file. Folders are always listed.
    void SetFileNameMask(const std::string& mask);
    // Shared folders and drives carry the share overlay on their icons (on by default).
    void SetShowSharedOverlay(bool show);
    // The text colour of compressed files and folders (blue by default) and whether it is used; the
    // encrypted colour (red) is fixed, its use can be switched off.
    void SetCompressedColour(win::COLORREF colour);
    void SetUseCompressedColour(bool use);
    void SetUseEncryptedColour(bool use);
    // The kind of network resources listed under the network item: 0 any, 1 disk, 2 print. The
    // network items are mounted file systems, disk resources all, so 2 lists none.
    void SetNetworkResourceType(int type);
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
    // Whether the item was listed as a file.
    bool ItemIsFile(const QTreeWidgetItem* item) const;

    // Queries on paths (and on an item's path). A path that cannot be read is neither file nor
    // folder; a drive is a mount point of the mount table; compressed and encrypted are the file
    // system's own attributes, never those of a drive.
    virtual bool IsFile(const std::string& path) const;
    bool IsFile(const QTreeWidgetItem* item) const { return IsFile(ItemToPath(item)); }
    virtual bool IsFolder(const std::string& path) const;
    bool IsFolder(const QTreeWidgetItem* item) const { return IsFolder(ItemToPath(item)); }
    virtual bool IsDrive(const std::string& path) const;
    bool IsDrive(const QTreeWidgetItem* item) const { return IsDrive(ItemToPath(item)); }
    virtual bool IsCompressed(const std::string& path) const;
    bool IsCompressed(const QTreeWidgetItem* item) const { return IsCompressed(ItemToPath(item)); }
    virtual bool IsEncrypted(const std::string& path) const;
    bool IsEncrypted(const QTreeWidgetItem* item) const { return IsEncrypted(ItemToPath(item)); }
    // Whether the path is shared (the process-wide share list).
    virtual bool IsShared(const std::string& path) const;
    // A drive of the removable or CD-ROM kind; of the fixed or RAM-disk kind.
    virtual bool IsRemovableDrive(const std::string& path) const;
    virtual bool IsFixedDrive(const std::string& path) const;
    // Whether an item of the path gets an expand button: only the root of a fixed drive is
    // searched (for a folder, or a file that would be listed); every other path answers true and
    // expanding its item settles it.
    virtual bool HasSubItems(const std::string& path) const;
    // Whether some child's text equals the text, letter case ignored.
    virtual bool HasChildWithText(QTreeWidgetItem* parent, const std::string& text) const;
    virtual int GetChildCount(QTreeWidgetItem* item) const;
    // Deletes every child; with `update`, the item's child flag becomes whether there were any.
    // Returns how many there were.
    virtual int DeleteChildren(QTreeWidgetItem* item, bool update);
    bool IsItemExpanded(const QTreeWidgetItem* item) const;
    // The child flag: whether the item shows an expand button.
    bool ItemHasChildFlag(const QTreeWidgetItem* item) const;
    void SetItemChildFlag(QTreeWidgetItem* item, bool value);
    // The text an item of the record shows, by the extension mode; sets the record's extension
    // hidden flag accordingly.
    std::string GetItemDisplayName(CTreeFileCtrlItemInfo& info) const;
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
    virtual bool CanGoBack() const { return !back_.empty(); }
    virtual bool IsBackAvailable() const { return !back_.empty(); }
    virtual bool CanGoForward() const { return !forward_.empty(); }
    virtual bool IsForwardAvailable() const { return !forward_.empty(); }
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

    // Listing, for a subclass to change: the contents of a folder under an item (the top level for
    // the invisible root item), the local drives under an item, the mounted network file systems
    // under an item (true when any was listed), and one item of a record under a parent.
    virtual void DisplayPath(const std::string& path, QTreeWidgetItem* parent);
    virtual void DisplayDrives(QTreeWidgetItem* parent);
    virtual bool EnumNetworkResources(QTreeWidgetItem* parent);
    // Appends the item (sorting is the caller's) with the image and open image, the share overlay
    // when `shared`, and an expand button by HasSubItems when `checkChildren` (else always); a
    // file never gets one.
    virtual QTreeWidgetItem* InsertFileItem(QTreeWidgetItem* parent, CTreeFileCtrlItemInfo info, bool shared,
        int image, int openImage, bool checkChildren);

    // Watching: one watcher per drive, whose folders are added as they are listed. Stopping takes
    // the drive's path (the mount point, or the root folder).
    virtual void StartWatchingFolder(const std::string& path);
    virtual void StopWatchingFolder(const std::string& path);
    virtual void StopAllWatchers();
    // The drives with a watcher now.
    std::vector<std::string> WatchedDrives() const;
    // How many watcher reports of outside changes the control took in (acted on, or kept until an
    // edit ends); the echoes of its own changes are not counted.
    int ChangesHandled() const { return changesHandled_; }

    // File operations, each behind its flag; true when done.
    virtual bool OpenItem(QTreeWidgetItem* item);
    // Asks first (Yes/No, naming the item; for good: that it cannot be undone; a folder: that its
    // contents go too), then moves the file or folder to the trash, or deletes it for good.
    virtual bool DeleteItemFile(QTreeWidgetItem* item, bool permanently);
    virtual bool RenameItem(QTreeWidgetItem* item); // starts editing in place
    // Renames the file of the item to the text typed in its place, keeping the extension when the
    // item shows its name without it; refuses a name with '/', "." and "..", and an existing name.
    bool RenameItemTo(QTreeWidgetItem* item, const std::string& typed);
    virtual bool ShowProperties(QTreeWidgetItem* item); // a dialog of the file's name, kind, size, times
    // The context menu of an item, for the caller to show or pick from.
    std::unique_ptr<QMenu> BuildContextMenu(QTreeWidgetItem* item);

    // Hooks.
    virtual bool CanRenamePath(const std::string& path);
    // After a rename was tried, whatever came of it.
    virtual void OnFileRenamed(const std::string& target, const std::string& source);
    virtual bool CanDeletePath(const std::string& path);
    // After a delete the hook agreed to, whatever came of it (the user may have said No).
    virtual void OnFileDeleted(const std::string& path);
    // After the selection moved to an item that still stands.
    virtual void OnSelectionChanged(QTreeWidgetItem* item, const std::string& path);
    // Which entries of a folder are listed: a file when files are shown and it is not hidden by
    // the attribute mask (the name mask is matched before); a folder always.
    virtual bool CanDisplayFile(const std::filesystem::directory_entry& entry) const;
    virtual bool CanDisplayFolder(const std::filesystem::directory_entry& entry) const;
    // A drive is listed unless the bit of its kind is in the drive hide mask; a mounted network
    // file system is listed under the network item when this agrees too.
    virtual bool CanDisplayDrive(const std::string& path) const;
    virtual bool CanDisplayNetworkItem(const MountPoint& mount) const;
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
    // Renaming in place starts by a click on the selected item's label, gated as RenameItem is.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    bool MatchesFileNameMask(const std::string& name) const;
    // Whether the label of the item may be edited: allowed, a file or folder, and the hook agrees.
    bool MayRename(QTreeWidgetItem* item);
    // Where the item's icon and text are drawn, in viewport coordinates.
    QRect LabelRect(QTreeWidgetItem* item) const;
    // The context menu of the item at a point on the screen, when it is enabled.
    void ShowContextMenu(QTreeWidgetItem* item, QPoint globalPos);
    // An item of a file or folder, which can be renamed or deleted: not a drive, nor the
    // computer, network or root item.
    bool IsFileOrFolderItem(const QTreeWidgetItem* item) const;
    // The text an item shows for a file or folder name: without its extension when that is hidden.
    static std::string ShownName(const std::string& name, bool extensionHidden);
    // Lists the drives of the mount table, local or network, that the hooks let through.
    int ListDrives(QTreeWidgetItem* parent, bool network);
    // The item's icons from its image indexes, with the share overlay when wanted.
    static void ApplyIcons(QTreeWidgetItem* item, int image, int openImage, bool shared);
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
    QTreeWidgetItem* LookupFromDrive(const MountPoint& mount, const std::string& path, bool expandOnWay);
    QTreeWidgetItem* WalkSegments(QTreeWidgetItem* start, const std::string& rest, bool expandOnWay);
    // The items of a drive's top folder, wherever they are listed.
    std::vector<QTreeWidgetItem*> ListedItemsOf(const std::string& drive);
    // A drive's own item: a child of the computer or network item, or a drive at the top level.
    bool IsDriveItem(const QTreeWidgetItem* item) const;
    void ExpandForWalk(QTreeWidgetItem* item);
    std::string DriveOf(const std::string& path) const;
    void OnDriveChanged(const std::string& drive, const std::vector<std::string>& paths);
    // Selects a path again after the tree was rebuilt or a drive listed again.
    void RestoreSelection(const std::string& path, bool expand);
    void RelistDrive(const std::string& drive);
    void RelistPendingDrives();
    // The paths the control itself is about to change: a watcher's report that names only these
    // (or what lies inside them) within a short while is its own change coming back.
    void NoteOwnChanges(const std::vector<std::string>& paths);
    // Runs the control's own change of the paths. Its reports count as its own from before it
    // starts until a short while after it ends, however long it takes: they wait in the event
    // queue until it returns.
    template <typename Change> bool OwnChange(const std::vector<std::string>& paths, Change change)
    {
        NoteOwnChanges(paths);
        const bool done = change();
        NoteOwnChanges(paths);
        return done;
    }
    bool OnlyOwnChanges(const std::vector<std::string>& paths);
    // After a drop, the target shows its new contents when next opened; it is selected.
    void ShowDropTarget(QTreeWidgetItem* target, const QString& droppedText);
    // Reads the mount table again, for drives mounted or gone since.
    void ReadMounts();
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
    bool showShareOverlay_ = true;
    win::COLORREF compressedColour_ = win::RGB(0x00, 0x00, 0xFF);
    bool useCompressedColour_ = true;
    win::COLORREF encryptedColour_ = win::RGB(0xFF, 0x00, 0x00);
    bool useEncryptedColour_ = true;
    int networkResourceType_ = 0;
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
    bool restoringSelection_ = false; // the hook hears of it; the history keeps what it had

    std::atomic<bool> monitoring_ { false };
    std::map<std::string, std::unique_ptr<FolderWatcher>> watchers_;
    int changesHandled_ = 0;
    std::map<std::string, std::chrono::steady_clock::time_point> ownChanges_; // with expiry
    std::set<std::string> pendingDrives_; // changed while a name was being edited

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
