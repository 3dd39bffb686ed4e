// The frame window over QMainWindow: creates its views, tracks the active one, titles itself
// "DocTitle - Orvanel", routes commands (active view, its document, the frame, the application),
// keeps the command actions of its toolbar buttons and accelerators enabled and labelled from
// the update handlers at idle time, and asks the document before it closes.
#pragma once

#include "platform/qt/fw/Accelerators.h"
#include "platform/qt/fw/CmdTarget.h"
#include "platform/qt/fw/CreateContext.h"
#include "platform/qt/fw/View.h"
#include "platform/win/Types.h"

#include <QMainWindow>
#include <QPointer>

#include <span>
#include <utility>
#include <vector>

class QAction;
class QKeyEvent;

namespace fw {

class Document;

class FrameWnd : public QMainWindow, public CmdTarget {
public:
    FrameWnd();
    ~FrameWnd() override;

    // Creates the frame's contents (OnCreate, which creates the client through OnCreateClient).
    // False when the frame could not be made.
    win::BOOL LoadFrame(win::UINT idResource, CreateContext* context);
    win::UINT GetResourceId() const { return idResource_; }

    // Sends the initial update to the document's views in this frame, makes the first of them
    // the active view when none is, and shows the frame when asked to: the application's main
    // frame the first time with the application's m_nCmdShow (SW_HIDE keeps it hidden).
    void InitialUpdateFrame(Document* document, win::BOOL makeVisible);

    // SW_HIDE hides the frame, any other command shows it; true when it was visible before.
    win::BOOL ShowWindow(int showCommand);
    // Paints what is waiting to be painted now.
    void UpdateWindow();

    View* GetActiveView() const { return activeView_.data(); }
    void SetActiveView(View* view, win::BOOL notify = win::TRUE);
    Document* GetActiveDocument() const;

    // "DocTitle - AppName", or the application's name alone without a document.
    virtual void OnUpdateFrameTitle();

    // A command from a button, key or menu: routed unless its update handler disables it.
    // True when a handler ran.
    bool SendCommand(win::UINT id);
    // The action issues the command when triggered, and is enabled and labelled at idle time.
    void AddCommandAction(QAction* action, win::UINT id);
    // The frame's accelerators: each key issues its command through SendCommand while the
    // frame's window is active (one action per command, with all of its keys).
    void LoadAccelTable(std::span<const Accel> table);
    // The action that the accelerators of the command trigger, or null.
    QAction* GetAcceleratorAction(win::UINT id) const;
    // Runs the update handler of every command action through the routing.
    void OnUpdateCmdUI();

    // Active view (then its document), the frame's own handlers, the application.
    bool OnCmdMsg(win::UINT id, int code, CmdUI* ui = nullptr, bool probe = false) override;

    // A view made by the context's factory, put in the parent (the frame when null) and added
    // to the context's document; null when the factory made none.
    View* CreateView(CreateContext& context, QWidget* parent = nullptr);

protected:
    // Creation steps; -1 and false fail the creation.
    virtual int OnCreate();
    virtual win::BOOL OnCreateClient(CreateContext& context);
    // The frame was resized; cx and cy are its new client size.
    virtual void OnSize(win::UINT type, int cx, int cy);

    // Keys of the accelerator table that a command of the program handles reach the frame's routing
    // from any control of the window, as the original translates accelerators before the focused
    // control sees a key: a field that would claim such a key (a line edit's Ctrl+U under X11)
    // does not get it. The editing keys of the controls (the clipboard's, Undo) stay theirs.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class SingleDocTemplate;
    void TrackFocus(QWidget* now);
    // The accelerator action of the key, when the routing has a handler for its command and it is
    // not one of the editing commands that a control keeps for its own keys (its state brought up
    // to date); else null.
    QAction* FrameCommandOfKey(const QKeyEvent& key);

    win::UINT idResource_ = 0;
    CreateContext* context_ = nullptr;
    Document* document_ = nullptr; // the document the frame was created for
    QPointer<View> activeView_;
    std::vector<std::pair<QPointer<QAction>, win::UINT>> commandActions_;
    std::vector<std::pair<QPointer<QAction>, win::UINT>> acceleratorActions_;
    QMetaObject::Connection focusConnection_;
};

} // namespace fw
