// Changing what a splitter pane shows.
#pragma once

#include "platform/qt/fw/CreateContext.h"

#include <functional>
#include <memory>

namespace fw {
class SplitterWnd;
class View;
} // namespace fw

// A class of views: how to make one, and whether a view is one.
struct ViewClass {
    fw::ViewFactory create;
    std::function<bool(const fw::View&)> isKindOf;
};

template <class V> ViewClass ViewClassOf()
{
    return { [] { return std::unique_ptr<fw::View>(std::make_unique<V>()); },
        [](const fw::View& view) { return dynamic_cast<const V*>(&view) != nullptr; } };
}

// Puts a view of the class into the pane, for the same document, in the old view's place and
// size; the new view becomes the frame's active view when the old one was (or none was), and
// gets its initial update. A pane already of the class is returned as it is; null when the pane
// holds no view.
fw::View* ReplaceSplitterView(fw::SplitterWnd& splitter, int row, int column, const ViewClass& viewClass);
