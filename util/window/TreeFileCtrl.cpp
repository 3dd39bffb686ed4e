#include "util/window/TreeFileCtrl.h"

#include "platform/qt/QtColour.h"
#include "util/NameEscapes.h"
#include "util/PathText.h"
#include "util/ShareEnumerator.h"
#include "util/SplitText.h"
#include "util/Wildcard.h"
#include "util/window/SystemImageList.h"
#include "util/window/TreeFileItemIcon.h"
#include "util/window/TreeFileItemRoles.h"
#include "util/window/WaitCursor.h"

#include <QHeaderView>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>
#include <set>
#include <utility>

namespace {

namespace fs = std::filesystem;

constexpr unsigned kHiddenAttribute = 0x2;

// The mounts whose folders hold the path, the innermost first. Copies: opening the computer item
// on the way reads the mount table again.
std::vector<MountPoint> MountsHolding(const std::vector<MountPoint>& mounts, const std::string& path)
{
    std::vector<MountPoint> holding;
    std::copy_if(mounts.begin(), mounts.end(), std::back_inserter(holding),
        [&](const MountPoint& mount) { return PathIsInside(path, mount.path); });
    std::stable_sort(holding.begin(), holding.end(),
        [](const MountPoint& a, const MountPoint& b) { return a.path.size() > b.path.size(); });
    return holding;
}

} // namespace

std::unique_ptr<CTreeFileCtrl> CTreeFileCtrl::CreateObject()
{
    return std::make_unique<CTreeFileCtrl>();
}

CTreeFileCtrl::CTreeFileCtrl(QWidget* parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setEditTriggers(QAbstractItemView::SelectedClicked); // gated by edit()
    connect(this, &QTreeWidget::itemExpanded, this, &CTreeFileCtrl::OnExpanded);
    connect(this, &QTreeWidget::itemCollapsed, this, &CTreeFileCtrl::OnCollapsed);
    connect(this, &QTreeWidget::currentItemChanged, this, &CTreeFileCtrl::OnCurrentChanged);
    connect(this, &QTreeWidget::itemChanged, this, &CTreeFileCtrl::OnItemChanged);
    connect(model(), &QAbstractItemModel::rowsAboutToBeRemoved, this, &CTreeFileCtrl::OnRowsAboutToBeRemoved);
    connect(model(), &QAbstractItemModel::modelAboutToBeReset, this, &CTreeFileCtrl::OnAboutToReset);
}

CTreeFileCtrl::~CTreeFileCtrl()
{
    // The model outlives this part of the control; it must not call back into it.
    disconnect(model(), nullptr, this, nullptr);
    EndDragging();
    StopAllWatchers();
    navigating_ = true;
    clear();
}

void CTreeFileCtrl::SetRootFolder(const std::string& path)
{
    rootFolder_ = WithoutTrailingSlashes(path);
    Refresh();
}

void CTreeFileCtrl::SetShowFiles(bool show)
{
    showFiles_ = show;
    Refresh();
}

void CTreeFileCtrl::SetShowMyComputer(bool show)
{
    showComputerItem_ = show;
    Refresh();
}

void CTreeFileCtrl::SetShowRootItem(bool show)
{
    showRootItem_ = show;
    Refresh();
}

void CTreeFileCtrl::SetMonitorChanges(bool monitor)
{
    monitoring_.store(monitor);
    Refresh();
}

void CTreeFileCtrl::SetShowNetwork(bool show)
{
    showNetwork_ = show;
    Refresh();
}

void CTreeFileCtrl::SetShowDriveNames(bool show)
{
    showDriveNames_ = show;
    Refresh();
}

void CTreeFileCtrl::SetVolumeLabels(const std::string& folder)
{
    volumeLabels_ = folder;
    Refresh();
}

std::string CTreeFileCtrl::GetDriveDisplayName(const std::string& path) const
{
    const MountPoint* mount = MountOfPath(mounts_, path);
    std::error_code error;
    const fs::path device
        = mount != nullptr && mount->path == path ? fs::canonical(mount->device, error) : fs::path();
    if (device.empty() || error)
        return path;
    for (fs::directory_iterator entry(volumeLabels_, error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code linkError;
        if (fs::canonical(entry->path(), linkError) == device && !linkError)
            return DecodeVolumeLabelName(entry->path().filename().string()) + " (" + path + ")";
    }
    return path;
}

void CTreeFileCtrl::SetAttributeHideMask(unsigned mask)
{
    attributeHideMask_ = mask;
    Refresh();
}

void CTreeFileCtrl::SetFileNameMask(const std::string& mask)
{
    fileNameMask_ = mask;
    Refresh();
}

void CTreeFileCtrl::SetShowSharedOverlay(bool show)
{
    showShareOverlay_ = show;
    Refresh();
}

void CTreeFileCtrl::SetCompressedColour(win::COLORREF colour)
{
    compressedColour_ = colour;
    Refresh();
}

void CTreeFileCtrl::SetUseCompressedColour(bool use)
{
    useCompressedColour_ = use;
    Refresh();
}

void CTreeFileCtrl::SetUseEncryptedColour(bool use)
{
    useEncryptedColour_ = use;
    Refresh();
}

void CTreeFileCtrl::SetNetworkResourceType(int type)
{
    networkResourceType_ = type;
    Refresh();
}

void CTreeFileCtrl::SetExtensionMode(int mode)
{
    extensionMode_ = mode;
    Refresh();
}

void CTreeFileCtrl::SetFlags(unsigned flags)
{
    allowDragDrop_ = (flags & 0x02) != 0;
    allowRename_ = (flags & 0x04) != 0;
    allowOpen_ = (flags & 0x08) != 0;
    allowProperties_ = (flags & 0x10) != 0;
    allowDelete_ = (flags & 0x20) != 0;
    SetShowFiles((flags & 0x01) != 0);
}

bool CTreeFileCtrl::MatchesFileNameMask(const std::string& name) const
{
    return fileNameMask_ == "*.*" || WildcardMatchNoCase(fileNameMask_, name);
}

bool CTreeFileCtrl::CanDisplayFile(const fs::directory_entry& entry) const
{
    std::error_code error;
    if (!showFiles_ || entry.is_directory(error))
        return false;
    return (attributeHideMask_ & kHiddenAttribute) == 0 || !entry.path().filename().string().starts_with('.');
}

bool CTreeFileCtrl::CanDisplayFolder(const fs::directory_entry& entry) const
{
    std::error_code error;
    const std::string name = entry.path().filename().string();
    return entry.is_directory(error) && name != "." && name != "..";
}

bool CTreeFileCtrl::CanDisplayDrive(const std::string& path) const
{
    const MountPoint* mount = MountOfPath(mounts_, path);
    return mount == nullptr || (driveHideMask_ & static_cast<unsigned>(mount->kind)) == 0;
}

bool CTreeFileCtrl::CanDisplayNetworkItem(const MountPoint&) const
{
    return true;
}

void CTreeFileCtrl::SetMountTable(const std::string& tablePath, const std::string& blockDevices)
{
    mountTable_ = tablePath;
    blockDevices_ = blockDevices;
    Refresh();
}

void CTreeFileCtrl::SetDriveHideMask(unsigned mask)
{
    driveHideMask_ = mask;
    Refresh();
}

bool CTreeFileCtrl::CanMonitor(const std::string& path) const
{
    const MountPoint* mount = MountOfPath(mounts_, path);
    return mount == nullptr || (mount->kind != DriveKind::removable && mount->kind != DriveKind::cdRom);
}

void CTreeFileCtrl::UseSystemImageList()
{
    Refresh();
}

void CTreeFileCtrl::Refresh()
{
    const WaitCursor wait;
    const std::string selected = GetSelectedPath();
    const bool expanded = currentItem() != nullptr && currentItem()->isExpanded();
    GetShareEnumerator().Refresh();
    StopAllWatchers();
    navigating_ = true;
    clear();
    computerItem_ = nullptr;
    networkItem_ = nullptr;
    rootItem_ = nullptr;
    ReadMounts();
    if (!rootFolder_.empty()) {
        DisplayPath(rootFolder_, invisibleRootItem());
    } else {
        if (showComputerItem_)
            computerItem_ = AddSpecialItem("Computer");
        else
            DisplayDrives(invisibleRootItem());
        // Linux has no browsable neighbourhood: the network item holds the mounted network shares.
        if (showNetwork_)
            networkItem_ = AddSpecialItem("Network");
    }
    navigating_ = false;
    if (!selected.empty())
        RestoreSelection(selected, expanded);
}

void CTreeFileCtrl::RestoreSelection(const std::string& path, bool expand)
{
    // The selection comes back as any selection does, the hook hearing of each item on the way;
    // the history, of paths, has lost nothing.
    const bool wasRestoring = std::exchange(restoringSelection_, true);
    SetSelectedPath(path, expand);
    restoringSelection_ = wasRestoring;
}

void CTreeFileCtrl::ReadMounts()
{
    mounts_ = ReadMountTable(mountTable_, blockDevices_);
}

std::string CTreeFileCtrl::ItemToPath(const QTreeWidgetItem* item) const
{
    return item != nullptr ? BytesOf(item->data(0, kPathRole)) : std::string();
}

std::string CTreeFileCtrl::ShownName(const std::string& name, bool extensionHidden)
{
    return extensionHidden ? fs::path(name).stem().string() : name;
}

bool CTreeFileCtrl::ItemIsFile(const QTreeWidgetItem* item) const
{
    return item != nullptr && item->data(0, kFileRole).toBool();
}

std::string CTreeFileCtrl::GetItemDisplayName(CTreeFileCtrlItemInfo& info) const
{
    // Mode 0 drops the extension of a file; 1, and 2 as the desktop shows names, keep it.
    info.extensionHidden
        = extensionMode_ == 0 && IsFile(info.path) && !fs::path(info.name).extension().empty();
    return ShownName(info.name, info.extensionHidden);
}

QTreeWidgetItem* CTreeFileCtrl::InsertFileItem(QTreeWidgetItem* parent, CTreeFileCtrlItemInfo info,
    bool shared, int image, int openImage, bool checkChildren)
{
    // Drive names are for the drives' own items; a mount point inside a folder shows its name.
    const bool driveItem = parent == computerItem_ || parent == networkItem_
        || (parent == invisibleRootItem() && rootFolder_.empty());
    const std::string text = driveItem && IsDrive(info.path) && showDriveNames_
        ? GetDriveDisplayName(info.path)
        : GetItemDisplayName(info);
    auto* item = new QTreeWidgetItem(parent, QStringList(LabelOf(text)));
    item->setData(0, kNameRole, BytesValue(info.name));
    item->setData(0, kExtensionHiddenRole, info.extensionHidden);
    item->setData(0, kPathRole, BytesValue(info.path));
    item->setData(0, kFileRole, info.file);
    ApplyIcons(item, image, openImage, shared);
    if (useCompressedColour_ && IsCompressed(info.path))
        item->setForeground(0, fw::ToQColor(compressedColour_));
    else if (useEncryptedColour_ && IsEncrypted(info.path))
        item->setForeground(0, fw::ToQColor(encryptedColour_));
    // Files never get an expand button; a folder keeps one until listing finds it empty.
    SetItemChildFlag(item, !info.file && (!checkChildren || HasSubItems(info.path)));
    Qt::ItemFlags flags = item->flags();
    if (info.file)
        flags |= Qt::ItemNeverHasChildren;
    item->setFlags(flags);
    return item;
}

void CTreeFileCtrl::ApplyIcons(QTreeWidgetItem* item, int image, int openImage, bool shared)
{
    item->setData(0, kImageRole, image);
    item->setData(0, kOpenImageRole, openImage);
    item->setIcon(0, TreeFileItemIcon(image, openImage, shared));
}

void CTreeFileCtrl::SetItemIcons(QTreeWidgetItem* item)
{
    const std::string path = ItemToPath(item);
    const bool file = ItemIsFile(item);
    // A file has no open icon of its own: its kind (which may mean reading its content) is looked
    // up once.
    const int image = GetIconIndex(path);
    ApplyIcons(
        item, image, file ? image : GetOpenIconIndex(path), !file && showShareOverlay_ && IsShared(path));
}

void CTreeFileCtrl::SortChildren(QTreeWidgetItem* parent)
{
    // Taken out and put back, the items would lose their open state: the folders open below stay
    // open.
    std::vector<QTreeWidgetItem*> open;
    std::vector<QTreeWidgetItem*> below { parent };
    while (!below.empty()) {
        QTreeWidgetItem* item = below.back();
        below.pop_back();
        for (int i = 0; i < item->childCount(); ++i) {
            if (item->child(i)->isExpanded()) {
                open.push_back(item->child(i));
                below.push_back(item->child(i));
            }
        }
    }
    QList<QTreeWidgetItem*> children = parent->takeChildren();
    std::stable_sort(children.begin(), children.end(), [this](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        if (ItemIsFile(a) != ItemIsFile(b))
            return !ItemIsFile(a);
        // By the names as shown, letter case ignored; names shown alike keep the order of their bytes.
        const std::string nameA = BytesOf(a->data(0, kNameRole));
        const std::string nameB = BytesOf(b->data(0, kNameRole));
        const int order = LabelOf(nameA).compare(LabelOf(nameB), Qt::CaseInsensitive);
        return order != 0 ? order < 0 : nameA < nameB;
    });
    parent->addChildren(children);
    const bool wasNavigating = std::exchange(navigating_, true);
    for (QTreeWidgetItem* item : open)
        item->setExpanded(true);
    navigating_ = wasNavigating;
}

void CTreeFileCtrl::DisplayPath(const std::string& path, QTreeWidgetItem* parent)
{
    const bool wasNavigating = std::exchange(navigating_, true);
    qDeleteAll(parent->takeChildren());
    if (parent == invisibleRootItem() && !rootFolder_.empty() && showRootItem_) {
        rootItem_ = InsertFileItem(parent, { rootFolder_, rootFolder_ }, false, GetIconIndex(rootFolder_),
            GetOpenIconIndex(rootFolder_), false);
        navigating_ = wasNavigating;
        rootItem_->setExpanded(true);
        return;
    }
    std::error_code error;
    int added = 0;
    for (fs::directory_iterator entries(path, error), end; !error && entries != end;
         entries.increment(error)) {
        CTreeFileCtrlItemInfo info { entries->path().string(), entries->path().filename().string() };
        if (CanDisplayFolder(*entries)) {
            InsertFileItem(parent, info, showShareOverlay_ && IsShared(info.path), GetIconIndex(info.path),
                GetOpenIconIndex(info.path), true);
        } else if (MatchesFileNameMask(info.name) && CanDisplayFile(*entries)) {
            info.file = true;
            const int image = GetIconIndex(info.path);
            InsertFileItem(parent, info, false, image, image, true);
        } else {
            continue;
        }
        ++added;
    }
    SortChildren(parent);
    if (added == 0 && parent != invisibleRootItem())
        SetItemChildFlag(parent, false);
    if (monitoring_.load())
        StartWatchingFolder(path);
    navigating_ = wasNavigating;
}

QTreeWidgetItem* CTreeFileCtrl::AddSpecialItem(const char* text)
{
    auto* item = new QTreeWidgetItem(invisibleRootItem(), QStringList(QString::fromUtf8(text)));
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    item->setIcon(0, GetSystemImageList().GetIcon(GetSystemImageList().GetIconIndex("/")));
    return item;
}

void CTreeFileCtrl::DisplayDrives(QTreeWidgetItem* parent)
{
    if (ListDrives(parent, false) == 0 && parent != invisibleRootItem())
        SetItemChildFlag(parent, false);
}

bool CTreeFileCtrl::EnumNetworkResources(QTreeWidgetItem* parent)
{
    constexpr int kPrintResources = 2; // mounted file systems are all disk resources
    const int listed = networkResourceType_ != kPrintResources ? ListDrives(parent, true) : 0;
    if (listed == 0)
        SetItemChildFlag(parent, false);
    return listed > 0;
}

int CTreeFileCtrl::ListDrives(QTreeWidgetItem* parent, bool network)
{
    int listed = 0;
    for (const MountPoint& mount : mounts_) {
        if (mount.network != network || !CanDisplayDrive(mount.path)
            || (network && !CanDisplayNetworkItem(mount)))
            continue;
        InsertFileItem(parent, { mount.path, mount.path, network }, showShareOverlay_ && IsShared(mount.path),
            GetIconIndex(mount.path), GetOpenIconIndex(mount.path), true);
        ++listed;
    }
    return listed;
}

void CTreeFileCtrl::ExpandItem(QTreeWidgetItem* item)
{
    const WaitCursor wait;
    // The drives are read afresh, so that one mounted since appears.
    if (item == computerItem_) {
        ReadMounts();
        DisplayDrives(item);
        return;
    }
    if (item == networkItem_) {
        ReadMounts();
        EnumNetworkResources(item);
        return;
    }
    const std::string path = ItemToPath(item);
    if (IsDrive(path) && !CanAccessDrive(path)) {
        // No medium: the drive shows no listing until one is there.
        collapseItem(item);
        return;
    }
    std::error_code error;
    if (fs::is_directory(path, error)) {
        if (item == rootItem_)
            ReadMounts();
        DisplayPath(path, item);
        return;
    }
    RemoveVanished(path);
}

// Removes the item of a path that is no longer a folder once the view has finished with it (it may
// be in the middle of expanding or selecting the item).
void CTreeFileCtrl::RemoveVanished(const std::string& path)
{
    QMetaObject::invokeMethod(
        this,
        [this, path] {
            std::error_code error;
            QTreeWidgetItem* item = PathToItem(path);
            if (item == nullptr)
                return;
            const bool exists = fs::exists(fs::symlink_status(path, error));
            if (exists && (ItemIsFile(item) || fs::is_directory(path, error)))
                return;
            const bool wasNavigating = std::exchange(navigating_, true);
            RemoveItem(item);
            navigating_ = wasNavigating;
        },
        Qt::QueuedConnection);
}

// Removes an item whose file has gone; its parent keeps the expand button while siblings remain.
void CTreeFileCtrl::RemoveItem(QTreeWidgetItem* item)
{
    QTreeWidgetItem* parent = item->parent();
    delete item;
    if (parent != nullptr && parent->childCount() == 0)
        SetItemChildFlag(parent, false);
}

void CTreeFileCtrl::OnExpanded(QTreeWidgetItem* item)
{
    if (item->childCount() == 0 && item->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator)
        ExpandItem(item);
}

void CTreeFileCtrl::OnCollapsed(QTreeWidgetItem* item)
{
    const WaitCursor wait;
    const std::string path = ItemToPath(item);
    if (IsDrive(path))
        StopWatchingFolder(path);
    const bool special = item == rootItem_ || item == computerItem_ || item == networkItem_;
    if (item == computerItem_ || item == networkItem_) {
        for (int i = 0; i < item->childCount(); ++i)
            StopWatchingFolder(ItemToPath(item->child(i))); // the drives go with the listing
    }
    // Collapsing forgets the listing, so that expanding again reads the folder (or the drives)
    // afresh.
    if (QTreeWidgetItem* current = currentItem(); current != nullptr && current != item) {
        for (QTreeWidgetItem* up = current->parent(); up != nullptr; up = up->parent()) {
            if (up == item) {
                setCurrentItem(item);
                break;
            }
        }
    }
    // The expand button stays only on a folder that had something to list; the computer, network
    // and root items keep theirs.
    const bool wasNavigating = std::exchange(navigating_, true);
    DeleteChildren(item, !special);
    if (special)
        SetItemChildFlag(item, true);
    navigating_ = wasNavigating;
}

bool CTreeFileCtrl::IsDriveItem(const QTreeWidgetItem* item) const
{
    if (item == nullptr || ItemToPath(item).empty())
        return false;
    const QTreeWidgetItem* parent = item->parent();
    return parent == nullptr ? rootFolder_.empty() : parent == computerItem_ || parent == networkItem_;
}

QTreeWidgetItem* CTreeFileCtrl::FindChildByName(QTreeWidgetItem* parent, const std::string& name) const
{
    const QVariant wanted = BytesValue(name);
    for (int i = 0; i < parent->childCount(); ++i) {
        if (parent->child(i)->data(0, kNameRole) == wanted)
            return parent->child(i);
    }
    return nullptr;
}

std::string CTreeFileCtrl::DriveOf(const std::string& path) const
{
    if (!rootFolder_.empty())
        return rootFolder_;
    return DriveOfPath(mounts_, path);
}

void CTreeFileCtrl::ExpandForWalk(QTreeWidgetItem* item)
{
    if (item->childCount() == 0 && item->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator)
        ExpandItem(item);
    item->setExpanded(true);
}

QTreeWidgetItem* CTreeFileCtrl::Lookup(const std::string& rawPath, bool expandOnWay)
{
    const std::string path(WithoutTrailingSlashes(rawPath));
    if (path.empty())
        return nullptr;
    if (rootFolder_.empty()) {
        // A drive mounted inside another may be listed as a drive or only as a folder of the other.
        for (const MountPoint& mount : MountsHolding(mounts_, path)) {
            if (QTreeWidgetItem* item = LookupFromDrive(mount, path, expandOnWay))
                return item;
        }
        return nullptr;
    }
    if (path == rootFolder_ || !PathIsInside(path, rootFolder_))
        return path == rootFolder_ && !expandOnWay ? rootItem_ : nullptr;
    QTreeWidgetItem* start = invisibleRootItem();
    if (rootItem_ != nullptr) {
        start = rootItem_;
        if (expandOnWay)
            ExpandForWalk(start);
    }
    return WalkSegments(start, path.substr(rootFolder_.size()), expandOnWay);
}

QTreeWidgetItem* CTreeFileCtrl::LookupFromDrive(
    const MountPoint& mount, const std::string& path, bool expandOnWay)
{
    QTreeWidgetItem* parent = invisibleRootItem();
    if (QTreeWidgetItem* special = mount.network ? networkItem_ : computerItem_; special != nullptr) {
        parent = special;
        if (expandOnWay)
            ExpandForWalk(parent);
    }
    QTreeWidgetItem* driveItem = FindChildByName(parent, mount.path);
    if (driveItem == nullptr)
        return nullptr;
    return WalkSegments(driveItem, path.substr(mount.path.size()), expandOnWay);
}

// Follows the names of `rest` down from `start`; when expanding on the way, each item passed (the
// root item aside) is selected and expanded, as a user walking there would.
QTreeWidgetItem* CTreeFileCtrl::WalkSegments(
    QTreeWidgetItem* start, const std::string& rest, bool expandOnWay)
{
    std::vector<std::string> segments;
    SplitText(rest, segments, "/");
    QTreeWidgetItem* parent = start;
    for (const std::string& segment : segments) {
        if (expandOnWay && parent != invisibleRootItem()) {
            if (parent != rootItem_)
                setCurrentItem(parent);
            ExpandForWalk(parent);
        }
        QTreeWidgetItem* child = FindChildByName(parent, segment);
        if (child == nullptr)
            return nullptr;
        parent = child;
    }
    return parent == invisibleRootItem() ? nullptr : parent;
}

std::vector<QTreeWidgetItem*> CTreeFileCtrl::ListedItemsOf(const std::string& drive)
{
    std::vector<QTreeWidgetItem*> items;
    if (!rootFolder_.empty()) {
        if (QTreeWidgetItem* item = PathToItem(drive))
            items.push_back(item);
        return items;
    }
    for (const MountPoint& mount : MountsHolding(mounts_, drive)) {
        if (QTreeWidgetItem* item = LookupFromDrive(mount, drive, false))
            items.push_back(item);
    }
    return items;
}

QTreeWidgetItem* CTreeFileCtrl::PathToItem(const std::string& path) const
{
    return const_cast<CTreeFileCtrl*>(this)->Lookup(path, false);
}

QTreeWidgetItem* CTreeFileCtrl::SetSelectedPath(const std::string& path, bool expand)
{
    QTreeWidgetItem* item = Lookup(path, true);
    if (item == nullptr)
        return nullptr;
    setCurrentItem(item);
    scrollToItem(item);
    if (expand)
        ExpandForWalk(item);
    return item;
}

std::string CTreeFileCtrl::GetSelectedPath() const
{
    return ItemToPath(currentItem());
}

void CTreeFileCtrl::OnCurrentChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous)
{
    if (current == nullptr)
        return;
    const std::string currentPath = ItemToPath(current);
    // A drive stands whether or not its mount point answers; its serial is read on selection.
    const bool drive = IsDrive(currentPath);
    if (drive)
        ReadVolumeSerial(currentPath);
    if (navigating_)
        return;
    std::error_code error;
    if (!drive && !currentPath.empty() && !fs::exists(fs::symlink_status(currentPath, error))) {
        RemoveVanished(currentPath);
        return;
    }
    if (const std::string path = ItemToPath(previous); !path.empty() && !restoringSelection_) {
        if (static_cast<int>(back_.size()) > maxHistory_)
            back_.erase(back_.begin());
        back_.push_back(path);
    }
    OnSelectionChanged(current, currentPath);
}

void CTreeFileCtrl::OnSelectionChanged(QTreeWidgetItem*, const std::string&) { }

// Steps to the newest entry of `from` that still exists, dropping those that are gone, and
// remembers the path left in `to`.
void CTreeFileCtrl::HistoryStep(std::vector<std::string>& from, std::vector<std::string>& to)
{
    const std::string left = GetSelectedPath();
    while (!from.empty()) {
        const std::string path = from.back();
        from.pop_back();
        navigating_ = true;
        QTreeWidgetItem* item = SetSelectedPath(path, false);
        navigating_ = false;
        if (item != nullptr) {
            if (!left.empty())
                to.push_back(left);
            OnSelectionChanged(item, path);
            return;
        }
    }
}

void CTreeFileCtrl::GoBack()
{
    HistoryStep(back_, forward_);
}

void CTreeFileCtrl::GoForward()
{
    HistoryStep(forward_, back_);
}

void CTreeFileCtrl::SetMaxHistory(int limit)
{
    maxHistory_ = std::max(limit, 0);
    for (std::vector<std::string>* history : { &back_, &forward_ }) {
        if (static_cast<int>(history->size()) > maxHistory_)
            history->resize(static_cast<size_t>(maxHistory_));
    }
}

void CTreeFileCtrl::ExpandAll()
{
    // Depth first; a folder is entered once per (device, inode) on the way down and a symbolic
    // link never, so that a link loop or a mount seen twice ends.
    struct Step {
        QTreeWidgetItem* item;
        std::set<std::pair<dev_t, ino_t>> onTheWay;
    };
    std::vector<Step> steps;
    for (int i = topLevelItemCount() - 1; i >= 0; --i)
        steps.push_back({ topLevelItem(i), {} });
    while (!steps.empty()) {
        Step step = std::move(steps.back());
        steps.pop_back();
        QTreeWidgetItem* item = step.item;
        if (item != computerItem_ && item != networkItem_) {
            struct stat info { };
            const std::string path = ItemToPath(item);
            if (ItemIsFile(item) || ::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)
                || !step.onTheWay.insert({ info.st_dev, info.st_ino }).second)
                continue;
        }
        ExpandForWalk(item);
        for (int i = item->childCount() - 1; i >= 0; --i)
            steps.push_back({ item->child(i), step.onTheWay });
    }
}

void CTreeFileCtrl::CollapseAll()
{
    collapseAll();
}
