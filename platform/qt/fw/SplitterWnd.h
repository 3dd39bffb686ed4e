// A static splitter of one row and N columns (the main frame's drawing view and form), over
// QSplitter. Each column has an ideal width and a minimum; RecalcLayout gives every column but
// the last its ideal width (at least its minimum) and the last the rest. The user can still drag
// the bar. F6 and Shift+F6 (next and previous pane) move the focus between the panes.
//
//   splitter.CreateStatic(this, 1, 2);
//   splitter.CreateView(0, 0, drawingViewFactory, { cx - 250, cy }, context);
//   splitter.CreateView(0, 1, formFactory, { 250, cy }, context);
//   ... on a resize: splitter.SetColumnInfo(0, cx - formWidth, 50); splitter.RecalcLayout();
#pragma once

#include "platform/qt/fw/CreateContext.h"
#include "platform/win/Types.h"

#include <QSplitter>

#include <vector>

namespace fw {

class FrameWnd;
class View;

class SplitterWnd : public QSplitter {
public:
    SplitterWnd();

    // Makes the splitter the frame's client; only one row is supported.
    win::BOOL CreateStatic(FrameWnd* parent, int rows, int columns);
    // A view made by the factory for the context's document, in the pane; its initial width is
    // the size's cx.
    win::BOOL CreateView(
        int row, int column, const ViewFactory& viewClass, win::SIZE initial, CreateContext& context);
    View* GetPane(int row, int column) const;
    // Destroys the pane's view (it leaves its document), so that CreateView can fill the pane
    // again.
    void DeleteView(int row, int column);
    int GetColumnCount() const { return static_cast<int>(columns_.size()); }

    void SetColumnInfo(int column, int ideal, int minimum);
    // The current and minimum widths of the column.
    void GetColumnInfo(int column, int& current, int& minimum) const;
    void RecalcLayout();

    // Moves the focus to the next (or previous) pane and makes it the frame's active view.
    void ActivateNext(bool previous = false);

private:
    struct Column {
        View* view = nullptr;
        int ideal = 0;
        int minimum = 0;
    };
    FrameWnd* frame_ = nullptr;
    std::vector<Column> columns_;
};

} // namespace fw
