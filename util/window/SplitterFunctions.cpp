#include "util/window/SplitterFunctions.h"

#include "platform/qt/fw/FrameWnd.h"
#include "platform/qt/fw/SplitterWnd.h"
#include "platform/qt/fw/View.h"

fw::View* ReplaceSplitterView(fw::SplitterWnd& splitter, int row, int column, const ViewClass& viewClass)
{
    fw::View* const pane = splitter.GetPane(row, column);
    if (pane == nullptr || !viewClass.create)
        return nullptr;
    if (viewClass.isKindOf && viewClass.isKindOf(*pane))
        return pane;

    fw::FrameWnd* const frame = pane->GetParentFrame();
    const bool wasActive
        = frame == nullptr || frame->GetActiveView() == nullptr || frame->GetActiveView() == pane;
    fw::Document* const document = pane->GetDocument();
    const QList<int> sizes = splitter.sizes();
    const QSize size = pane->size();

    splitter.DeleteView(row, column);
    fw::CreateContext context { document, viewClass.create, nullptr };
    if (!splitter.CreateView(row, column, viewClass.create, { size.width(), size.height() }, context))
        return nullptr;
    fw::View* const view = splitter.GetPane(row, column);
    splitter.setSizes(sizes);
    view->update();
    if (frame != nullptr) {
        if (wasActive)
            frame->SetActiveView(view);
        frame->InitialUpdateFrame(document, win::TRUE);
    }
    return view;
}
