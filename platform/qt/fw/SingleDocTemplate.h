// The single-document template: makes the one document, its frame and the frame's views from
// their factories, and runs File New and the framework's own open on them. The template string
// holds the window title, the document name, the file-new name, the filter name and extension
// and the registry names, separated by line feeds.
#pragma once

#include "platform/qt/fw/CmdTarget.h"
#include "platform/qt/fw/CreateContext.h"
#include "platform/win/Types.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace fw {

class Document;
class FrameWnd;

using DocumentFactory = std::function<std::unique_ptr<Document>()>;
using FrameFactory = std::function<std::unique_ptr<FrameWnd>()>;

class SingleDocTemplate : public CmdTarget {
public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };

    SingleDocTemplate(win::UINT idResource, std::string templateString, DocumentFactory documentClass,
        FrameFactory frameClass, ViewFactory viewClass);
    ~SingleDocTemplate() override;

    win::BOOL GetDocString(std::string& text, DocStringIndex index) const;

    // An empty path is File New: the document asks to save its changes, takes the default
    // title and runs OnNewDocument. Otherwise the document asks to save, then opens the file.
    // The document and its frame are made on first use; then every view of the frame gets its
    // initial update. Null when the document refused or the file could not be opened (a frame
    // made for it is closed again).
    Document* OpenDocumentFile(std::string_view path, win::BOOL makeVisible = win::TRUE);
    // "Untitled" unless the template string names the document.
    void SetDefaultTitle(Document* document) const;

    Document* GetDocument() const { return document_.get(); }
    FrameWnd* GetFrame() const { return frame_.get(); }
    // Destroys the frame (with its views) and then the document.
    void CloseAllDocuments();
    // The frame's close was accepted: destroy it and the document once the close event is over;
    // the application quits when it was its main window.
    void CloseFrameLater(FrameWnd* frame);

private:
    win::UINT idResource_;
    std::string templateString_;
    DocumentFactory documentClass_;
    FrameFactory frameClass_;
    CreateContext context_;
    std::unique_ptr<Document> document_;
    std::unique_ptr<FrameWnd> frame_;
};

} // namespace fw
