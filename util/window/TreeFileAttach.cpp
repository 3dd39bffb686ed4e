// Putting the file tree into a dialog's tree control, and exchanging its selected path.
#include "util/window/TreeFileCtrl.h"

#include "platform/qt/fw/Control.h"
#include "platform/qt/fw/DataExchange.h"

#include <QLayout>

CTreeFileCtrl* CTreeFileCtrl::Attach(std::unique_ptr<CTreeFileCtrl> tree, const fw::Control& control)
{
    QWidget* host = control.GetWidget();
    if (tree == nullptr || host == nullptr || control.GetKind() != fw::ControlKind::tree
        || host->layout() == nullptr || FromControl(control) != nullptr)
        return nullptr;
    CTreeFileCtrl* attached = tree.release();
    host->layout()->addWidget(attached); // the host owns it now
    return attached;
}

CTreeFileCtrl* CTreeFileCtrl::FromControl(const fw::Control& control)
{
    QWidget* host = control.GetWidget();
    return host != nullptr ? host->findChild<CTreeFileCtrl*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void DDX_TreeFilePath(fw::DataExchange& dx, win::UINT id, std::string& path)
{
    CTreeFileCtrl* tree = CTreeFileCtrl::FromControl(dx.PrepareCtrl(id));
    if (tree == nullptr)
        return;
    if (dx.m_bSaveAndValidate)
        path = tree->GetSelectedPath();
    else
        tree->SetSelectedPath(path, false);
}
