// Going up a level, the update handlers of the history commands, and the icon indexes of items.
#include "util/window/TreeFileCtrl.h"

#include "platform/qt/fw/CmdUI.h"
#include "util/window/SystemImageList.h"
#include "util/window/TreeFileItemRoles.h"

namespace {

// The index kept in the role, or -1 for no item or an item given none (the computer item).
int IndexIn(const QTreeWidgetItem* item, int role)
{
    const QVariant index = item != nullptr ? item->data(0, role) : QVariant();
    return index.isValid() ? index.toInt() : -1;
}

} // namespace

void CTreeFileCtrl::SelectParentItem()
{
    QTreeWidgetItem* selected = currentItem();
    if (selected == nullptr || selected->parent() == nullptr)
        return;
    setCurrentItem(selected->parent());
    scrollToItem(selected->parent());
}

void CTreeFileCtrl::OnUpOneLevel() { }

void CTreeFileCtrl::OnUpdateGoBack(fw::CmdUI& ui) const
{
    ui.Enable(CanGoBack() ? win::TRUE : win::FALSE);
}

void CTreeFileCtrl::OnUpdateGoForward(fw::CmdUI& ui) const
{
    ui.Enable(CanGoForward() ? win::TRUE : win::FALSE);
}

void CTreeFileCtrl::OnUpdateUpOneLevel(fw::CmdUI& ui) const
{
    const QTreeWidgetItem* selected = currentItem();
    ui.Enable(selected != nullptr && selected->parent() != nullptr ? win::TRUE : win::FALSE);
}

int CTreeFileCtrl::GetIconIndex(const std::string& path)
{
    return GetSystemImageList().GetIconIndex(path);
}

int CTreeFileCtrl::GetOpenIconIndex(const std::string& path)
{
    return GetSystemImageList().GetOpenIconIndex(path);
}

int CTreeFileCtrl::GetItemIconIndex(const QTreeWidgetItem* item)
{
    return IndexIn(item, kImageRole);
}

int CTreeFileCtrl::GetItemOpenIconIndex(const QTreeWidgetItem* item)
{
    return IndexIn(item, kOpenImageRole);
}
