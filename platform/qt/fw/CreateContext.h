// What a frame needs to create its views: the document they show and how to make a view.
#pragma once

#include <functional>
#include <memory>

namespace fw {

class Document;
class SingleDocTemplate;
class View;

using ViewFactory = std::function<std::unique_ptr<View>()>;

struct CreateContext {
    Document* m_pCurrentDoc = nullptr;
    ViewFactory m_pNewViewClass;
    SingleDocTemplate* m_pNewDocTemplate = nullptr;
};

} // namespace fw
