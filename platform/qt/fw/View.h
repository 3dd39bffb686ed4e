// A view: a window that shows its document. The framework calls OnInitialUpdate when the
// document is new or opened, OnUpdate when the document changed (with the document's hint) and
// OnDraw to paint it. Commands the view does not handle go on to its document.
#pragma once

#include "platform/qt/fw/CmdTarget.h"
#include "platform/win/Types.h"

#include <QWidget>

namespace gdi {
class DeviceContext;
}

namespace fw {

class Document;
class FrameWnd;

class View : public QWidget, public CmdTarget {
public:
    explicit View(QWidget* parent = nullptr);
    ~View() override;

    Document* GetDocument() const { return document_; }
    // The frame window the view lies in, or null.
    FrameWnd* GetParentFrame() const;

    // Once after New or Open; by default an update with hint 0.
    virtual void OnInitialUpdate();
    // The document changed; by default the view repaints.
    virtual void OnUpdate(View* sender, win::LPARAM hint);
    // Paints the view; the device context draws on the widget.
    virtual void OnDraw(gdi::DeviceContext& dc);

    // The view's own handlers, then its document's.
    bool OnCmdMsg(win::UINT id, int code, CmdUI* ui = nullptr, bool probe = false) override;

protected:
    // The mouse and the keys in the original's terms: client coordinates, MK_* flags,
    // virtual-key codes (0 for a key the program has no code for). Each runs guarded.
    virtual void OnLButtonDown(win::UINT flags, win::POINT point);
    virtual void OnLButtonUp(win::UINT flags, win::POINT point);
    virtual void OnMouseMove(win::UINT flags, win::POINT point);
    virtual void OnKeyDown(win::UINT nChar, win::UINT nRepCnt, win::UINT nFlags);
    // The view was resized to cx by cy.
    virtual void OnSize(win::UINT type, int cx, int cy);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class Document;
    Document* document_ = nullptr;
};

} // namespace fw
