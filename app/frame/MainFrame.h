// The main window: a toolbar at the top and no menu bar; its client is a splitter with the
// drawing view on the left and the editing form on the right, the form's column kept at the
// form's panel width when the window is resized. The zoom commands go to the drawing view.
#pragma once

#include "platform/qt/fw/FrameWnd.h"
#include "platform/qt/fw/SplitterWnd.h"
#include "platform/qt/fw/ToolBar.h"

class COrvanelView;
class COrvanelForm;

// The commands of the zoom buttons.
inline constexpr win::UINT ID_ZOOM_IN = 101;
inline constexpr win::UINT ID_ZOOM_OUT = 102;
inline constexpr win::UINT ID_FIT_TO_WINDOW = 103;
inline constexpr win::UINT ID_ZOOM_100 = 104;
// The form's Update, reached with Ctrl+U.
inline constexpr win::UINT ID_FORM_UPDATE = 1016;

class CMainFrame : public fw::FrameWnd {
public:
    CMainFrame();

    // The left pane when it is the drawing view, the right one when it is the form.
    COrvanelView* GetLayoutView() const;
    COrvanelForm* GetFormView() const;
    // Shows extra text slot n (0 to 7) in the form.
    void SelectFormExtraText(int n);

    fw::ToolBar& GetToolBar() { return toolBar_; }
    fw::SplitterWnd& GetSplitter() { return splitter_; }

protected:
    int OnCreate() override;
    win::BOOL OnCreateClient(fw::CreateContext& context) override;
    void OnSize(win::UINT type, int cx, int cy) override;

private:
    void OnZoomIn();
    void OnZoomOut();
    void OnFitToWindow();
    void OnZoom100();

    fw::SplitterWnd splitter_;
    fw::ToolBar toolBar_;
    bool splitterCreated_ = false;
};
