#include "platform/qt/fw/FrameWnd.h"

#include "platform/qt/Cp1252.h"
#include "platform/qt/fw/CmdUI.h"
#include "platform/qt/fw/CommandIds.h"
#include "platform/qt/fw/Document.h"
#include "platform/qt/fw/Guard.h"
#include "platform/qt/fw/SingleDocTemplate.h"
#include "platform/qt/fw/SplitterWnd.h"
#include "platform/qt/fw/View.h"
#include "platform/qt/fw/WinApp.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QScreen>

namespace fw {

FrameWnd::FrameWnd()
{
    focusConnection_ = QObject::connect(
        qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { TrackFocus(now); });
    // F6 and Shift+F6 move between the panes of a splitter client.
    for (const bool previous : { false, true })
        OnCommand(previous ? ID_PREV_PANE : ID_NEXT_PANE, [this, previous] {
            if (auto* splitter = dynamic_cast<SplitterWnd*>(centralWidget()))
                splitter->ActivateNext(previous);
        });
    qApp->installEventFilter(this);
}

FrameWnd::~FrameWnd()
{
    qApp->removeEventFilter(this);
    QObject::disconnect(focusConnection_);
}

win::BOOL FrameWnd::LoadFrame(win::UINT idResource, CreateContext* context)
{
    idResource_ = idResource;
    context_ = context;
    if (context != nullptr)
        document_ = context->m_pCurrentDoc;
    // The size the original platform gives a new main window: three quarters of the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size() * 3 / 4);
    const int created = OnCreate();
    context_ = nullptr;
    if (created == -1)
        return win::FALSE;
    OnUpdateFrameTitle();
    return win::TRUE;
}

int FrameWnd::OnCreate()
{
    if (context_ == nullptr)
        return 0;
    return OnCreateClient(*context_) ? 0 : -1;
}

win::BOOL FrameWnd::OnCreateClient(CreateContext& context)
{
    View* view = CreateView(context, this);
    if (view == nullptr)
        return win::FALSE;
    setCentralWidget(view);
    return win::TRUE;
}

View* FrameWnd::CreateView(CreateContext& context, QWidget* parent)
{
    if (!context.m_pNewViewClass)
        return nullptr;
    std::unique_ptr<View> made = context.m_pNewViewClass();
    if (!made)
        return nullptr;
    View* view = made.release(); // the parent widget owns it from here
    view->setParent(parent != nullptr ? parent : this);
    if (context.m_pCurrentDoc != nullptr)
        context.m_pCurrentDoc->AddView(view);
    return view;
}

void FrameWnd::InitialUpdateFrame(Document* document, win::BOOL makeVisible)
{
    if (document != nullptr) {
        // A copy: an initial update may add or remove views.
        const std::vector<View*> views = document->GetViews();
        for (View* view : views)
            if (view->GetParentFrame() == this)
                view->OnInitialUpdate();
        if (activeView_ == nullptr)
            for (View* view : document->GetViews())
                if (view->GetParentFrame() == this) {
                    SetActiveView(view);
                    break;
                }
    }
    OnUpdateFrameTitle();
    if (makeVisible == win::FALSE)
        return;
    int showCommand = win::SW_SHOW;
    if (WinApp* app = AfxGetApp(); app != nullptr && app->m_pMainWnd == this && app->m_nCmdShow != -1) {
        showCommand = app->m_nCmdShow;
        app->m_nCmdShow = -1; // the first showing only
    }
    ShowWindow(showCommand);
}

win::BOOL FrameWnd::ShowWindow(int showCommand)
{
    const bool wasVisible = isVisible();
    if (showCommand == win::SW_HIDE)
        hide();
    else
        show();
    return wasVisible ? win::TRUE : win::FALSE;
}

void FrameWnd::UpdateWindow()
{
    if (isVisible())
        repaint();
}

void FrameWnd::SetActiveView(View* view, win::BOOL notify)
{
    activeView_ = view;
    if (view != nullptr && notify != win::FALSE)
        view->setFocus(Qt::OtherFocusReason);
}

Document* FrameWnd::GetActiveDocument() const
{
    if (activeView_ != nullptr && activeView_->GetDocument() != nullptr)
        return activeView_->GetDocument();
    return document_;
}

void FrameWnd::TrackFocus(QWidget* now)
{
    for (QWidget* widget = now; widget != nullptr; widget = widget->parentWidget())
        if (auto* view = dynamic_cast<View*>(widget)) {
            if (view->GetParentFrame() == this)
                activeView_ = view;
            return;
        }
}

void FrameWnd::OnUpdateFrameTitle()
{
    const WinApp* app = AfxGetApp();
    const std::string appName = app != nullptr ? app->m_pszAppName : std::string();
    const Document* document = GetActiveDocument();
    const std::string title = document != nullptr ? document->GetTitle() + " - " + appName : appName;
    setWindowTitle(FromCp1252(title));
}

bool FrameWnd::OnCmdMsg(win::UINT id, int code, CmdUI* ui, bool probe)
{
    if (activeView_ != nullptr && activeView_->OnCmdMsg(id, code, ui, probe))
        return true;
    if (HandleOwn(id, code, ui, probe))
        return true;
    WinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(id, code, ui, probe);
}

bool FrameWnd::SendCommand(win::UINT id)
{
    bool handled = false;
    GuardedCall([&] {
        CmdUI state(id);
        state.DoUpdate(*this);
        if (state.IsEnabled())
            handled = OnCmdMsg(id, CN_COMMAND);
    });
    return handled;
}

void FrameWnd::AddCommandAction(QAction* action, win::UINT id)
{
    if (action == nullptr)
        return;
    commandActions_.emplace_back(action, id);
    QObject::connect(action, &QAction::triggered, this, [this, id] { SendCommand(id); });
}

void FrameWnd::LoadAccelTable(std::span<const Accel> table)
{
    for (const Accel& accel : table) {
        const QKeySequence keys = KeySequenceOf(accel);
        if (keys.isEmpty())
            continue;
        QAction* action = GetAcceleratorAction(accel.cmd);
        if (action == nullptr) {
            action = new QAction(this); // owned by the frame
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action);
            AddCommandAction(action, accel.cmd);
            acceleratorActions_.emplace_back(action, accel.cmd);
        }
        QList<QKeySequence> shortcuts = action->shortcuts();
        shortcuts.push_back(keys);
        action->setShortcuts(shortcuts);
    }
}

QAction* FrameWnd::GetAcceleratorAction(win::UINT id) const
{
    for (const auto& [action, command] : acceleratorActions_)
        if (command == id && action != nullptr)
            return action.data();
    return nullptr;
}

void FrameWnd::OnUpdateCmdUI()
{
    for (const auto& [action, id] : commandActions_)
        if (action != nullptr) {
            CmdUI ui(id, action.data());
            ui.DoUpdate(*this);
        }
}

QAction* FrameWnd::FrameCommandOfKey(const QKeyEvent& key)
{
    const QKeySequence pressed(key.keyCombination());
    for (const auto& [action, id] : acceleratorActions_) {
        if (action == nullptr || id == ID_EDIT_UNDO || id == ID_EDIT_COPY || id == ID_EDIT_CUT
            || id == ID_EDIT_PASTE)
            continue;
        if (!action->shortcuts().contains(pressed) || !OnCmdMsg(id, CN_COMMAND, nullptr, true))
            continue;
        // The action's state as the routing has it now: the focus may have moved to another view
        // since the last idle update.
        CmdUI ui(id, action.data());
        ui.DoUpdate(*this);
        return action.data();
    }
    return nullptr;
}

bool FrameWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType()
        || static_cast<QWidget*>(watched)->window() != this)
        return QMainWindow::eventFilter(watched, event);
    if (FrameCommandOfKey(*static_cast<QKeyEvent*>(event)) == nullptr)
        return false;
    // Left unclaimed, the key goes to the frame's accelerator instead of the control.
    event->ignore();
    return true;
}

void FrameWnd::OnSize(win::UINT, int, int) { }

void FrameWnd::closeEvent(QCloseEvent* event)
{
    Document* document = GetActiveDocument();
    bool canClose = false; // a question that failed keeps the frame, and the work, where it is
    GuardedCall([&] { canClose = document == nullptr || document->CanCloseFrame(this); });
    if (!canClose) {
        event->ignore();
        return;
    }
    event->accept();
    if (document != nullptr && document->GetDocTemplate() != nullptr)
        document->GetDocTemplate()->CloseFrameLater(this);
}

void FrameWnd::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    const win::UINT type = isMaximized() ? win::SIZE_MAXIMIZED : win::SIZE_RESTORED;
    GuardedCall([&] { OnSize(type, event->size().width(), event->size().height()); });
}

void FrameWnd::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        GuardedCall([&] { OnSize(win::SIZE_MINIMIZED, 0, 0); });
}

} // namespace fw
