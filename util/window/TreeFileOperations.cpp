// The file tree's own file operations: open, delete, rename in place, drag to move or copy, the
// context menu and the keys. The control notes the paths it changes itself, so that their echo
// from its watchers lists nothing again.
#include "util/window/TreeFileCtrl.h"

#include "platform/qt/Cp1252.h"
#include "platform/qt/fw/CommonDialogs.h"
#include "platform/win/AppContext.h"
#include "platform/win/LastError.h"
#include "records/SharedFunctions.h"
#include "util/FileOperation.h"
#include "util/window/FilePropertiesDialog.h"
#include "util/window/ShellFileFunctions.h"
#include "util/window/Trash.h"
#include "util/window/TreeFileItemRoles.h"

#include <QApplication>
#include <QMenu>
#include <QPointer>

#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <utility>

namespace {

namespace fs = std::filesystem;

bool AcceptableName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos
        && name.find('\0') == std::string::npos;
}

// Renames, never replacing another item of the new name, even one that appears meanwhile; where
// the file system cannot promise that, the name is looked up first. False with the last error set.
bool RenameWithoutReplacing(const std::string& from, const fs::path& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    win::CaptureLastError();
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    std::error_code error;
    if (fs::exists(fs::symlink_status(to, error))) {
        win::SetLastError(EEXIST);
        return false;
    }
    if (::rename(from.c_str(), to.c_str()) == 0)
        return true;
    win::CaptureLastError();
    return false;
}

// A name or path as the tree shows it, in the UTF-8 of the messages that name files.
std::string MessageText(const std::string& bytes)
{
    return LabelOf(bytes).toStdString();
}

// A file's name as a message shows it.
std::string MessageName(const std::string& path)
{
    return MessageText(fs::path(path).filename().string());
}

// Asks or tells with a message that names files (UTF-8).
int AskNamingFiles(const std::string& text, win::UINT type)
{
    return fw::AfxMessageBoxUtf8(text, type);
}

// Tells the user that a change to a file was refused, and the reason (the system's text).
void TellRefused(const std::string& what, const std::string& reason)
{
    AskNamingFiles(what + "\n" + fw::FromCp1252(reason).toStdString(), win::MB_OK | win::MB_ICONEXCLAMATION);
}

// A move or copy onto a name the folder already holds replaces that file: only when the user
// says so. (A folder of the name is never replaced, and the move or copy fails.)
bool MayReplace(const std::string& path, bool copy)
{
    std::error_code error;
    const fs::file_status existing = fs::symlink_status(path, error);
    if (!fs::exists(existing) || fs::is_directory(existing))
        return true;
    const std::string question = "The folder " + MessageText(fs::path(path).parent_path().string())
        + " already holds " + MessageName(path) + ".\nReplace it with the file being "
        + (copy ? "copied?" : "moved?");
    return AskNamingFiles(question, win::MB_YESNO | win::MB_ICONQUESTION) == win::IDYES;
}

// Deleting asks first, naming what goes: a folder with everything in it; for good, that it cannot
// be undone.
bool MayDelete(const std::string& path, bool permanently)
{
    std::error_code error;
    const bool folder = fs::is_directory(fs::symlink_status(path, error));
    const std::string name = MessageName(path);
    const std::string what = folder ? "the folder \"" + name + "\" and everything in it" : "\"" + name + "\"";
    const std::string question = permanently ? "Delete " + what + " for good?\nThis cannot be undone."
                                             : "Move " + what + " to the trash?";
    return AskNamingFiles(question, win::MB_YESNO | win::MB_ICONQUESTION) == win::IDYES;
}

} // namespace

bool CTreeFileCtrl::CanRenamePath(const std::string&)
{
    return true;
}

void CTreeFileCtrl::OnFileRenamed(const std::string&, const std::string&) { }

bool CTreeFileCtrl::CanDeletePath(const std::string&)
{
    return true;
}

void CTreeFileCtrl::OnFileDeleted(const std::string&) { }

bool CTreeFileCtrl::IsFileOrFolderItem(const QTreeWidgetItem* item) const
{
    // Drives and the computer, network and root items stay where they are.
    if (item == nullptr || item == rootItem_ || ItemToPath(item).empty())
        return false;
    if (item->parent() == nullptr)
        return !rootFolder_.empty();
    return item->parent() != computerItem_ && item->parent() != networkItem_;
}

bool CTreeFileCtrl::CanDragItem(QTreeWidgetItem* item)
{
    return IsFileOrFolderItem(item) && ItemIsFile(item); // only files are dragged
}

bool CTreeFileCtrl::OpenItem(QTreeWidgetItem* item)
{
    if (!allowOpen_ || item == nullptr || ItemToPath(item).empty())
        return false;
    const std::string path = ItemToPath(item);
    // Opened as the desktop opens a file of its kind, never run as a program. The verdict may come
    // long after (when the application the desktop chose has started); only a failure is told.
    const auto tell = [tree = QPointer<CTreeFileCtrl>(this), path] {
        if (tree != nullptr)
            AskNamingFiles("No application could open \"" + MessageName(path) + "\".",
                win::MB_OK | win::MB_ICONEXCLAMATION);
    };
    const bool started = win::AppContext::Instance().GetShell().OpenWithDesktop(path, [tell](bool opened) {
        if (!opened)
            tell();
    });
    if (!started)
        tell();
    return started;
}

bool CTreeFileCtrl::ShowProperties(QTreeWidgetItem* item)
{
    if (!allowProperties_ || item == nullptr || ItemToPath(item).empty())
        return false;
    FilePropertiesDialog dialog(ItemToPath(item), this);
    dialog.DoModal();
    return true;
}

bool CTreeFileCtrl::DeleteItemFile(QTreeWidgetItem* item, bool permanently)
{
    if (!allowDelete_ || !IsFileOrFolderItem(item))
        return false;
    const std::string path = ItemToPath(item);
    if (!CanDeletePath(path))
        return false;
    bool done = false;
    if (MayDelete(path, permanently)) {
        done = OwnChange({ path }, [&] { return permanently ? DiscardForGood(path) : MoveToTrash(path); });
        if (!done) {
            std::string reason;
            GetLastErrorText(reason);
            const std::string name = "\"" + MessageName(path) + "\"";
            TellRefused(
                permanently ? "Could not delete " + name + "." : "Could not move " + name + " to the trash.",
                reason);
        }
    }
    // Found again by its path: while the question was open, events ran that may have listed the
    // tree afresh.
    if (QTreeWidgetItem* deleted = done ? PathToItem(path) : nullptr) {
        const bool wasNavigating = std::exchange(navigating_, true);
        RemoveItem(deleted);
        navigating_ = wasNavigating;
    }
    OnFileDeleted(path);
    return done;
}

bool CTreeFileCtrl::MayRename(QTreeWidgetItem* item)
{
    return allowRename_ && IsFileOrFolderItem(item) && CanRenamePath(ItemToPath(item));
}

bool CTreeFileCtrl::RenameItem(QTreeWidgetItem* item)
{
    if (!MayRename(item))
        return false;
    editItem(item);
    return state() == QAbstractItemView::EditingState;
}

bool CTreeFileCtrl::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    QTreeWidgetItem* item = itemFromIndex(index);
    // A click on the selected item's label asks first; the editor then opens (after the time of a
    // double click) through the programmatic trigger, as RenameItem's does.
    if (trigger == QAbstractItemView::SelectedClicked) {
        if (!MayRename(item))
            return false;
    } else if (trigger != QAbstractItemView::AllEditTriggers) {
        return QTreeWidget::edit(index, trigger, event);
    }
    if (item == nullptr || !allowRename_ || !IsFileOrFolderItem(item))
        return false;
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    const bool started = QTreeWidget::edit(index, trigger, event);
    if (started && trigger == QAbstractItemView::AllEditTriggers)
        editing_ = item;
    return started;
}

void CTreeFileCtrl::OnItemChanged(QTreeWidgetItem* item)
{
    if (item != editing_ || navigating_)
        return;
    // The item changes in other ways too while it is edited (starting the edit again sets its
    // flags): only a new text ends the edit.
    const QString shown
        = LabelOf(ShownName(BytesOf(item->data(0, kNameRole)), item->data(0, kExtensionHiddenRole).toBool()));
    const QString typed = item->text(0);
    if (typed == shown)
        return;
    editing_ = nullptr;
    // An emptied text cancels the edit; a refused rename says why. Either way the name comes back.
    if (typed.isEmpty() || !RenameItemTo(item, typed.toStdString())) {
        const bool wasNavigating = std::exchange(navigating_, true);
        item->setText(0, shown);
        navigating_ = wasNavigating;
    }
}

bool CTreeFileCtrl::RenameItemTo(QTreeWidgetItem* item, const std::string& typed)
{
    const std::string path = ItemToPath(item);
    const bool extensionHidden = item->data(0, kExtensionHiddenRole).toBool();
    const std::string name
        = extensionHidden && !typed.empty() ? typed + fs::path(path).extension().string() : typed;
    // The hook is asked about the item being renamed, whichever item is selected. No text is a
    // cancelled edit.
    if (!allowRename_ || typed.empty() || !CanRenamePath(path))
        return false;
    const fs::path target = fs::path(path).parent_path() / name;
    if (target.string() == path)
        return true;
    bool renamed = false;
    std::string reason = "A name cannot be \".\" or \"..\", or hold a \"/\".";
    if (AcceptableName(name)) {
        renamed = OwnChange({ path, target.string() }, [&] { return RenameWithoutReplacing(path, target); });
        GetLastErrorText(reason);
    }
    OnFileRenamed(target.string(), path);
    if (!renamed) {
        TellRefused(
            "Could not rename \"" + MessageName(path) + "\" to \"" + MessageText(name) + "\".", reason);
        return false;
    }
    const bool wasNavigating = std::exchange(navigating_, true);
    item->setData(0, kPathRole, BytesValue(target.string()));
    item->setText(0, LabelOf(typed));
    item->setData(0, kNameRole, BytesValue(name));
    SetItemIcons(item); // a new extension may make it another kind of file
    qDeleteAll(item->takeChildren());
    navigating_ = wasNavigating;
    // The editor may still be closing on the item: sort its folder once it has.
    QMetaObject::invokeMethod(
        this,
        [this, folder = target.parent_path().string(), selected = target.string()] {
            ResortFolder(folder, selected);
        },
        Qt::QueuedConnection);
    return true;
}

void CTreeFileCtrl::FinishDrag(QTreeWidgetItem* target, bool copy)
{
    QTreeWidgetItem* source = EndDragging();
    if (target == nullptr || source == nullptr)
        return;
    const std::string from = ItemToPath(source);
    const std::string into = ItemToPath(target);
    // A file of its name in the folder is replaced when the user says so.
    const std::string placed = (fs::path(into) / fs::path(from).filename()).string();
    if (!MayReplace(placed, copy))
        return;
    std::string reason;
    const bool done = OwnChange({ from, placed }, [&] {
        return copy ? ShellCopyFilesEx(from, into, false, true) : ShellMoveFilesEx(from, into, false, true);
    });
    GetLastErrorText(reason);
    if (!done) {
        TellRefused(std::string(copy ? "Could not copy \"" : "Could not move \"") + MessageName(from)
                + "\" to \"" + MessageName(into) + "\".",
            reason);
        return;
    }
    // Found again by their paths: while the question was open, events ran that may have listed
    // the folders afresh.
    source = PathToItem(from);
    target = PathToItem(into);
    const QString droppedText
        = source != nullptr ? source->text(0) : LabelOf(fs::path(from).filename().string());
    const bool wasNavigating = std::exchange(navigating_, true);
    if (!copy && source != nullptr) {
        QTreeWidgetItem* oldParent = source->parent();
        RemoveItem(source);
        if (oldParent != nullptr && oldParent->childCount() > 0)
            SetItemChildFlag(oldParent, true);
    }
    navigating_ = wasNavigating;
    ShowDropTarget(target, droppedText);
}

std::unique_ptr<QMenu> CTreeFileCtrl::BuildContextMenu(QTreeWidgetItem* item)
{
    auto menu = std::make_unique<QMenu>(this);
    const std::string path = ItemToPath(item);
    const bool real = IsFileOrFolderItem(item);
    // The menu stays open while events run, which may list the tree afresh: a command finds its
    // item again by the path when it is chosen.
    const auto add = [&](const char* text, bool enabled, auto command) {
        QAction* action = menu->addAction(QString::fromUtf8(text));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, [this, path, command] {
            if (QTreeWidgetItem* chosen = PathToItem(path))
                command(chosen);
        });
    };
    add("&Open", allowOpen_ && !path.empty(), [this](QTreeWidgetItem* chosen) { OpenItem(chosen); });
    menu->addSeparator();
    add("&Delete", allowDelete_ && real, [this](QTreeWidgetItem* chosen) {
        DeleteItemFile(chosen, (QApplication::keyboardModifiers() & Qt::ShiftModifier) != 0);
    });
    add("Rena&me", allowRename_ && real, [this](QTreeWidgetItem* chosen) { RenameItem(chosen); });
    menu->addSeparator();
    add("P&roperties", allowProperties_ && !path.empty(),
        [this](QTreeWidgetItem* chosen) { ShowProperties(chosen); });
    return menu;
}
