// The document: the data one frame shows, with its title, path, modified flag and views. The
// framework creates it through the document template and tells it about New and Open; the
// application's document derives from it.
#pragma once

#include "platform/qt/fw/CmdTarget.h"
#include "platform/win/Types.h"

#include <string>
#include <string_view>
#include <vector>

namespace win {
class Archive;
}

namespace fw {

class FrameWnd;
class SingleDocTemplate;
class View;

class Document : public CmdTarget {
public:
    Document() = default;
    ~Document() override;

    const std::string& GetTitle() const { return title_; }
    // Also retitles every frame that shows the document.
    virtual void SetTitle(std::string_view title);
    const std::string& GetPathName() const { return pathName_; }
    // Takes the path (made absolute), titles the document with its file name and, unless told
    // otherwise, puts it at the top of the application's recent-file list.
    virtual void SetPathName(std::string_view path, win::BOOL addToMru = win::TRUE);

    win::BOOL IsModified() const { return modified_ ? win::TRUE : win::FALSE; }
    void SetModifiedFlag(win::BOOL modified = win::TRUE) { modified_ = modified != win::FALSE; }

    void AddView(View* view);
    void RemoveView(View* view);
    const std::vector<View*>& GetViews() const { return views_; }
    // Calls OnUpdate with the hint on every view but the sender (null: every view), in the order
    // the views were added.
    void UpdateAllViews(View* sender, win::LPARAM hint = 0);

    SingleDocTemplate* GetDocTemplate() const { return template_; }

    // File New: empties the document, forgets its path and clears the modified flag.
    virtual win::BOOL OnNewDocument();
    // The framework's open: opens the file for reading (reporting a file that cannot be opened,
    // which leaves the document as it was), empties the document and lets Serialize read it. A
    // read that fails leaves a new, untitled document without a path.
    virtual win::BOOL OnOpenDocument(std::string_view path);
    virtual void DeleteContents() { }
    // Reads (or writes) the document's contents; the framework's own open calls it to read.
    virtual void Serialize(win::Archive& archive);
    // Asked before the document's contents are replaced or its frame closes: a modified
    // document asks whether to save it. False keeps everything as it is.
    virtual win::BOOL SaveModified();
    // Writes the document after Yes at the save question; false when it was not written. The
    // framework cannot write a document of its own: the application's document does.
    virtual win::BOOL DoFileSave() { return win::FALSE; }
    // Asked when a frame showing the document is about to close.
    virtual win::BOOL CanCloseFrame(FrameWnd* frame);

    // Routes a command to this document's own handlers.
    bool OnCmdMsg(win::UINT id, int code, CmdUI* ui = nullptr, bool probe = false) override;

private:
    friend class SingleDocTemplate;
    void UpdateFrameTitles();
    // After a read that failed part way: empty, untitled, without a path, unmodified.
    void ForgetFailedRead();

    std::string title_;
    std::string pathName_;
    bool modified_ = false;
    std::vector<View*> views_;
    SingleDocTemplate* template_ = nullptr;
};

} // namespace fw
