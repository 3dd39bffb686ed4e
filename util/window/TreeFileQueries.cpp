// What the file tree can tell about a path and about its items: the kind of a path, its
// attributes and whether it is shared, the drive kinds, and the children and expand button of an
// item.
#include "util/window/TreeFileCtrl.h"

#include "records/SharedFunctions.h"
#include "util/ShareEnumerator.h"
#include "util/window/TreeFileItemRoles.h"

#include <fcntl.h>

#include <sys/stat.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

// Whether the file system marks the path (not followed when it is a link) with the attribute.
bool HasStatxAttribute(const std::string& path, unsigned long long attribute)
{
    struct statx info { };
    if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &info) != 0)
        return false;
    return (info.stx_attributes_mask & info.stx_attributes & attribute) != 0;
}

// Whether the bytes are UTF-8 throughout, so that the text shown gives them back.
bool IsUtf8(const std::string& bytes)
{
    return LabelOf(bytes).toStdString() == bytes;
}

// Two names alike without regard to case: by their text where both are UTF-8 (so that accented
// letters count too), else byte for byte with only ASCII letters folded, so that names shown
// alike but named differently are never taken for each other.
bool SameNameNoCase(const std::string& a, const std::string& b)
{
    if (IsUtf8(a) && IsUtf8(b))
        return LabelOf(a).compare(LabelOf(b), Qt::CaseInsensitive) == 0;
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

} // namespace

bool CTreeFileCtrl::IsFile(const std::string& path) const
{
    std::error_code error;
    return !path.empty() && fs::exists(fs::symlink_status(path, error)) && !fs::is_directory(path, error);
}

bool CTreeFileCtrl::IsFolder(const std::string& path) const
{
    std::error_code error;
    return !path.empty() && fs::is_directory(path, error);
}

bool CTreeFileCtrl::IsDrive(const std::string& path) const
{
    return !path.empty() && DriveOfPath(mounts_, path) == path;
}

bool CTreeFileCtrl::IsCompressed(const std::string& path) const
{
    return !IsDrive(path) && HasStatxAttribute(path, STATX_ATTR_COMPRESSED);
}

bool CTreeFileCtrl::IsEncrypted(const std::string& path) const
{
    return !IsDrive(path) && HasStatxAttribute(path, STATX_ATTR_ENCRYPTED);
}

bool CTreeFileCtrl::IsShared(const std::string& path) const
{
    return GetShareEnumerator().IsShared(path);
}

bool CTreeFileCtrl::IsRemovableDrive(const std::string& path) const
{
    const MountPoint* mount = IsDrive(path) ? MountOfPath(mounts_, path) : nullptr;
    return mount != nullptr && (mount->kind == DriveKind::removable || mount->kind == DriveKind::cdRom);
}

bool CTreeFileCtrl::IsFixedDrive(const std::string& path) const
{
    const MountPoint* mount = IsDrive(path) ? MountOfPath(mounts_, path) : nullptr;
    return mount != nullptr && (mount->kind == DriveKind::fixed || mount->kind == DriveKind::ramDisk);
}

bool CTreeFileCtrl::HasSubItems(const std::string& path) const
{
    // Removable, disc and network media are not touched before the user opens them.
    if (!IsFixedDrive(path))
        return true;
    std::error_code error;
    for (fs::directory_iterator entries(path, error), end; !error && entries != end;
         entries.increment(error)) {
        if (CanDisplayFolder(*entries)
            || (MatchesFileNameMask(entries->path().filename().string()) && CanDisplayFile(*entries)))
            return true;
    }
    return false;
}

bool CTreeFileCtrl::HasChildWithText(QTreeWidgetItem* parent, const std::string& text) const
{
    for (int i = 0; parent != nullptr && i < parent->childCount(); ++i) {
        const QTreeWidgetItem* child = parent->child(i);
        // A file or folder (a mount point inside a folder too) shows its name; a drive's own item,
        // the computer and the network item their text.
        const bool named = child->data(0, kNameRole).isValid() && !(showDriveNames_ && IsDriveItem(child));
        const std::string shown = named
            ? ShownName(BytesOf(child->data(0, kNameRole)), child->data(0, kExtensionHiddenRole).toBool())
            : child->text(0).toStdString();
        if (SameNameNoCase(shown, text))
            return true;
    }
    return false;
}

int CTreeFileCtrl::GetChildCount(QTreeWidgetItem* item) const
{
    return item != nullptr ? item->childCount() : 0;
}

int CTreeFileCtrl::DeleteChildren(QTreeWidgetItem* item, bool update)
{
    if (item == nullptr)
        return 0;
    const QList<QTreeWidgetItem*> children = item->takeChildren();
    qDeleteAll(children);
    if (update)
        SetItemChildFlag(item, !children.isEmpty());
    return static_cast<int>(children.size());
}

bool CTreeFileCtrl::IsItemExpanded(const QTreeWidgetItem* item) const
{
    return item != nullptr && item->isExpanded();
}

bool CTreeFileCtrl::ItemHasChildFlag(const QTreeWidgetItem* item) const
{
    if (item == nullptr)
        return false;
    switch (item->childIndicatorPolicy()) {
    case QTreeWidgetItem::ShowIndicator:
        return true;
    case QTreeWidgetItem::DontShowIndicator:
        return false;
    default:
        return item->childCount() > 0;
    }
}

void CTreeFileCtrl::SetItemChildFlag(QTreeWidgetItem* item, bool value)
{
    if (item != nullptr)
        item->setChildIndicatorPolicy(
            value ? QTreeWidgetItem::ShowIndicator : QTreeWidgetItem::DontShowIndicator);
}
