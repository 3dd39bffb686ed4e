#include "app/frame/MainFrame.h"

#include "app/form/OrvanelForm.h"
#include "app/view/OrvanelView.h"
#include "platform/qt/fw/Accelerators.h"
#include "platform/qt/fw/CommandIds.h"
#include "platform/qt/fw/Docking.h"

#include <algorithm>

namespace {

const fw::ToolBarButton kToolBarButtons[] = {
    { fw::ID_FILE_NEW, "Create a new document\nNew" },
    { fw::ID_FILE_OPEN, "Open an existing document\nOpen" },
    { fw::ID_FILE_SAVE, "Save the active document\nSave" },
    { fw::ID_SEPARATOR, "" },
    { fw::ID_EDIT_UNDO, "Undo the last action\nUndo" },
    { ID_ZOOM_IN, "Zoom in\nZoom In" },
    { ID_ZOOM_OUT, "Zoom out\nZoom Out" },
    { ID_FIT_TO_WINDOW, "Adjust zoom so layout fits the window\nFit To Window" },
    { ID_ZOOM_100, "Zoom to 100%\nZoom 100%" },
};

constexpr win::BYTE kCtrl = fw::FVIRTKEY | fw::FCONTROL;
constexpr win::BYTE kShift = fw::FVIRTKEY | fw::FSHIFT;

const fw::Accel kAccelerators[] = {
    { kCtrl, 'N', fw::ID_FILE_NEW },
    { kCtrl, 'O', fw::ID_FILE_OPEN },
    { kCtrl, 'S', fw::ID_FILE_SAVE },
    { kCtrl, 'P', fw::ID_FILE_PRINT },
    { kCtrl, 'U', ID_FORM_UPDATE },
    { kCtrl, 'Z', fw::ID_EDIT_UNDO },
    { fw::FVIRTKEY | fw::FALT, win::VK_BACK, fw::ID_EDIT_UNDO },
    { kCtrl, 'C', fw::ID_EDIT_COPY },
    { kCtrl, win::VK_INSERT, fw::ID_EDIT_COPY },
    { kCtrl, 'X', fw::ID_EDIT_CUT },
    { kShift, win::VK_DELETE, fw::ID_EDIT_CUT },
    { kCtrl, 'V', fw::ID_EDIT_PASTE },
    { kShift, win::VK_INSERT, fw::ID_EDIT_PASTE },
    { fw::FVIRTKEY, win::VK_F6, fw::ID_NEXT_PANE },
    { kShift, win::VK_F6, fw::ID_PREV_PANE },
};

// The narrowest the drawing view's column becomes.
constexpr int kMinViewWidth = 50;
// The form's column before the form has measured its panel.
constexpr int kInitialFormWidth = 250;

} // namespace

CMainFrame::CMainFrame()
{
    OnCommand(ID_ZOOM_IN, &CMainFrame::OnZoomIn);
    OnCommand(ID_ZOOM_OUT, &CMainFrame::OnZoomOut);
    OnCommand(ID_FIT_TO_WINDOW, &CMainFrame::OnFitToWindow);
    OnCommand(ID_ZOOM_100, &CMainFrame::OnZoom100);
}

int CMainFrame::OnCreate()
{
    if (fw::FrameWnd::OnCreate() == -1)
        return -1;
    // No menu bar: none is ever made.
    if (!toolBar_.CreateEx(this) || !toolBar_.LoadToolBar(":/fw/MainToolBar.png", kToolBarButtons))
        return -1;
    // The toolbar has its gripper: it docks at any side and floats; it starts at the top.
    fw::EnableDocking(toolBar_, fw::CBRS_ALIGN_ANY);
    fw::DockControlBar(*this, toolBar_, fw::AFX_IDW_DOCKBAR_TOP);
    LoadAccelTable(kAccelerators);
    return 0;
}

win::BOOL CMainFrame::OnCreateClient(fw::CreateContext& context)
{
    const int w = width();
    const int h = height();
    if (!splitter_.CreateStatic(this, 1, 2)
        || !splitter_.CreateView(
            0, 0, [] { return std::make_unique<COrvanelView>(); }, { w - kInitialFormWidth, h }, context)
        || !splitter_.CreateView(
            0, 1, [] { return std::make_unique<COrvanelForm>(); }, { kInitialFormWidth, h }, context))
        return win::FALSE;
    if (COrvanelView* view = GetLayoutView())
        view->SetExtraTextClicked([this](int n) { SelectFormExtraText(n); });
    splitterCreated_ = true;
    return win::TRUE;
}

void CMainFrame::OnSize(win::UINT type, int cx, int cy)
{
    fw::FrameWnd::OnSize(type, cx, cy);
    if (type == win::SIZE_MINIMIZED || !splitterCreated_)
        return;
    const COrvanelForm* form = GetFormView();
    const int formWidth = form != nullptr ? form->GetPanelWidthWithMargin() : kInitialFormWidth;
    splitter_.SetColumnInfo(0, std::max(cx - formWidth, kMinViewWidth), kMinViewWidth);
    splitter_.RecalcLayout();
}

COrvanelView* CMainFrame::GetLayoutView() const
{
    return dynamic_cast<COrvanelView*>(splitter_.GetPane(0, 0));
}

COrvanelForm* CMainFrame::GetFormView() const
{
    return dynamic_cast<COrvanelForm*>(splitter_.GetPane(0, 1));
}

void CMainFrame::SelectFormExtraText(int n)
{
    if (COrvanelForm* form = GetFormView())
        form->SelectExtraText(n);
}

void CMainFrame::OnZoomIn()
{
    if (COrvanelView* view = GetLayoutView())
        view->ZoomIn();
}

void CMainFrame::OnZoomOut()
{
    if (COrvanelView* view = GetLayoutView())
        view->ZoomOut();
}

void CMainFrame::OnFitToWindow()
{
    if (COrvanelView* view = GetLayoutView())
        view->ZoomToFit();
}

void CMainFrame::OnZoom100()
{
    if (COrvanelView* view = GetLayoutView())
        view->Zoom100();
}
