#include "platform/qt/fw/SplitterWnd.h"

#include "platform/qt/fw/FrameWnd.h"
#include "platform/qt/fw/View.h"

#include <QList>

#include <algorithm>
#include <memory>

namespace fw {

SplitterWnd::SplitterWnd()
    : QSplitter(Qt::Horizontal)
{
    setChildrenCollapsible(false);
}

win::BOOL SplitterWnd::CreateStatic(FrameWnd* parent, int rows, int columns)
{
    if (parent == nullptr || rows != 1 || columns < 1)
        return win::FALSE;
    frame_ = parent;
    columns_.assign(static_cast<std::size_t>(columns), Column {});
    parent->setCentralWidget(this); // the frame owns the splitter from here
    return win::TRUE;
}

win::BOOL SplitterWnd::CreateView(
    int row, int column, const ViewFactory& viewClass, win::SIZE initial, CreateContext& context)
{
    if (frame_ == nullptr || row != 0 || column < 0 || column >= GetColumnCount()
        || columns_[static_cast<std::size_t>(column)].view != nullptr)
        return win::FALSE;
    CreateContext paneContext = context;
    paneContext.m_pNewViewClass = viewClass;
    View* view = frame_->CreateView(paneContext, this);
    if (view == nullptr)
        return win::FALSE;
    // Panes keep their column's order whatever order they are made in.
    int at = 0;
    for (int c = 0; c < column; ++c)
        if (columns_[static_cast<std::size_t>(c)].view != nullptr)
            ++at;
    insertWidget(at, view);
    columns_[static_cast<std::size_t>(column)] = { view, initial.cx, 0 };
    return win::TRUE;
}

View* SplitterWnd::GetPane(int row, int column) const
{
    if (row != 0 || column < 0 || column >= GetColumnCount())
        return nullptr;
    return columns_[static_cast<std::size_t>(column)].view;
}

void SplitterWnd::DeleteView(int row, int column)
{
    View* const view = GetPane(row, column);
    if (view == nullptr)
        return;
    columns_[static_cast<std::size_t>(column)].view = nullptr;
    // The splitter let go of it: destroying the widget takes it out of the splitter, the
    // document's views and the frame's active view.
    std::unique_ptr<View> owned(view);
}

void SplitterWnd::SetColumnInfo(int column, int ideal, int minimum)
{
    if (column < 0 || column >= GetColumnCount())
        return;
    Column& info = columns_[static_cast<std::size_t>(column)];
    info.ideal = ideal;
    info.minimum = std::max(0, minimum);
    if (info.view != nullptr)
        info.view->setMinimumWidth(info.minimum);
}

void SplitterWnd::GetColumnInfo(int column, int& current, int& minimum) const
{
    current = 0;
    minimum = 0;
    if (column < 0 || column >= GetColumnCount())
        return;
    const Column& info = columns_[static_cast<std::size_t>(column)];
    current = info.view != nullptr ? info.view->width() : 0;
    minimum = info.minimum;
}

void SplitterWnd::RecalcLayout()
{
    QList<int> widths;
    int left = width() - handleWidth() * std::max(0, count() - 1);
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        if (columns_[c].view == nullptr)
            continue;
        const bool last = c + 1 == columns_.size();
        const int wanted = last ? left : std::max(columns_[c].ideal, columns_[c].minimum);
        const int given = std::max(0, wanted);
        widths.push_back(given);
        left -= given;
    }
    setSizes(widths);
}

void SplitterWnd::ActivateNext(bool previous)
{
    std::vector<View*> panes;
    for (const Column& column : columns_)
        if (column.view != nullptr)
            panes.push_back(column.view);
    if (panes.empty() || frame_ == nullptr)
        return;
    const auto current = std::find(panes.begin(), panes.end(), frame_->GetActiveView());
    const int count = static_cast<int>(panes.size());
    const int index = current == panes.end() ? 0 : static_cast<int>(current - panes.begin());
    const int next = (index + (previous ? count - 1 : 1)) % count;
    View* view = panes[static_cast<std::size_t>(next)];
    frame_->SetActiveView(view, win::FALSE);
    if (view->focusPolicy() != Qt::NoFocus) {
        view->setFocus(Qt::TabFocusReason);
        return;
    }
    // A form: its first control that takes the focus.
    for (QWidget* child : view->findChildren<QWidget*>())
        if ((child->focusPolicy() & Qt::TabFocus) != 0 && child->isEnabled() && child->isVisibleTo(view)) {
            child->setFocus(Qt::TabFocusReason);
            return;
        }
}

} // namespace fw
