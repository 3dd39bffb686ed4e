#include "platform/qt/fw/SingleDocTemplate.h"

#include "platform/qt/fw/Document.h"
#include "platform/qt/fw/FrameWnd.h"
#include "platform/qt/fw/View.h"
#include "platform/qt/fw/WinApp.h"

#include <QCoreApplication>
#include <QPointer>

namespace fw {

SingleDocTemplate::SingleDocTemplate(win::UINT idResource, std::string templateString,
    DocumentFactory documentClass, FrameFactory frameClass, ViewFactory viewClass)
    : idResource_(idResource)
    , templateString_(std::move(templateString))
    , documentClass_(std::move(documentClass))
    , frameClass_(std::move(frameClass))
{
    context_.m_pNewViewClass = std::move(viewClass);
    context_.m_pNewDocTemplate = this;
}

SingleDocTemplate::~SingleDocTemplate()
{
    CloseAllDocuments();
}

win::BOOL SingleDocTemplate::GetDocString(std::string& text, DocStringIndex index) const
{
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = templateString_.find('\n', start);
        if (start == std::string::npos) {
            text.clear();
            return win::FALSE;
        }
        ++start;
    }
    const std::size_t end = templateString_.find('\n', start);
    text = templateString_.substr(start, end == std::string::npos ? std::string::npos : end - start);
    return win::TRUE;
}

void SingleDocTemplate::SetDefaultTitle(Document* document) const
{
    std::string title;
    GetDocString(title, docName);
    document->SetTitle(title.empty() ? "Untitled" : title);
}

Document* SingleDocTemplate::OpenDocumentFile(std::string_view path, win::BOOL makeVisible)
{
    bool created = false;
    if (document_ != nullptr) {
        if (!document_->SaveModified())
            return nullptr;
    } else {
        if (!documentClass_ || !frameClass_)
            return nullptr;
        document_ = documentClass_();
        if (document_ == nullptr)
            return nullptr;
        document_->template_ = this;
        frame_ = frameClass_();
        context_.m_pCurrentDoc = document_.get();
        const bool loaded = frame_ != nullptr && frame_->LoadFrame(idResource_, &context_);
        context_.m_pCurrentDoc = nullptr;
        if (!loaded) {
            CloseAllDocuments();
            return nullptr;
        }
        created = true;
    }

    const bool ready = path.empty()
        ? (SetDefaultTitle(document_.get()), document_->OnNewDocument() != win::FALSE)
        : document_->OnOpenDocument(path) != win::FALSE;
    if (!ready) {
        if (created)
            CloseAllDocuments();
        return nullptr;
    }
    if (!path.empty())
        document_->SetPathName(path);

    WinApp* app = AfxGetApp();
    if (created && app != nullptr && app->m_pMainWnd == nullptr)
        app->SetMainWnd(frame_.get());
    frame_->InitialUpdateFrame(document_.get(), makeVisible);
    return document_.get();
}

void SingleDocTemplate::CloseAllDocuments()
{
    if (frame_ != nullptr) {
        WinApp* app = AfxGetApp();
        if (app != nullptr && app->m_pMainWnd == frame_.get())
            app->SetMainWnd(nullptr);
        frame_.reset();
    }
    document_.reset();
}

void SingleDocTemplate::CloseFrameLater(FrameWnd* frame)
{
    if (frame != frame_.get())
        return;
    const WinApp* app = AfxGetApp();
    const bool mainWindow = app != nullptr && app->m_pMainWnd == frame;
    // The frame cannot be destroyed inside its own close event; the template may be gone by the
    // time the queued call runs, which the guarded frame pointer tells.
    QPointer<FrameWnd> guard(frame);
    QMetaObject::invokeMethod(
        qApp,
        [this, guard, mainWindow] {
            if (guard == nullptr)
                return;
            CloseAllDocuments();
            if (mainWindow)
                QCoreApplication::quit();
        },
        Qt::QueuedConnection);
}

} // namespace fw
