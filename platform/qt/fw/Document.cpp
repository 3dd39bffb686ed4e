#include "platform/qt/fw/Document.h"

#include "platform/qt/fw/FrameWnd.h"
#include "platform/qt/fw/SingleDocTemplate.h"
#include "platform/qt/fw/View.h"
#include "platform/qt/fw/WinApp.h"
#include "platform/win/AppContext.h"
#include "platform/win/Archive.h"
#include "platform/win/LastError.h"
#include "platform/win/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <utility>

namespace fw {

namespace {
// Documents are read whole into memory; nothing a document holds comes near this.
constexpr std::uintmax_t maxDocumentBytes = 64u << 20;

std::string SystemText(int code)
{
    return win::SystemErrorText(static_cast<win::DWORD>(code)).value_or("Reason not known");
}

// Reads the regular file whole into bytes; returns why it could not, or nothing. A folder, a
// device or a pipe is refused once opened without waiting, so that nothing waits on it.
std::string ReadDocumentFile(const std::string& path, std::string& bytes)
{
    win::RegularFileBytes file = win::ReadRegularFile(path, maxDocumentBytes);
    switch (file.status) {
    case win::RegularFileStatus::read:
        bytes = std::move(file.bytes);
        return {};
    case win::RegularFileStatus::tooLarge:
        return SystemText(EFBIG);
    case win::RegularFileStatus::cannotOpen:
        break;
    }
    return file.error == EINVAL ? "Not a regular file" : SystemText(file.error);
}
} // namespace

Document::~Document()
{
    for (View* view : views_)
        view->document_ = nullptr;
}

void Document::SetTitle(std::string_view title)
{
    title_ = std::string(title);
    UpdateFrameTitles();
}

void Document::SetPathName(std::string_view path, win::BOOL addToMru)
{
    const std::filesystem::path full
        = std::filesystem::absolute(std::filesystem::path(path)).lexically_normal();
    pathName_ = full.string();
    SetTitle(full.filename().string());
    if (addToMru != win::FALSE && AfxGetApp() != nullptr)
        AfxGetApp()->AddToRecentFileList(pathName_);
}

void Document::AddView(View* view)
{
    if (view == nullptr || std::find(views_.begin(), views_.end(), view) != views_.end())
        return;
    views_.push_back(view);
    view->document_ = this;
}

void Document::RemoveView(View* view)
{
    const auto it = std::find(views_.begin(), views_.end(), view);
    if (it == views_.end())
        return;
    views_.erase(it);
    view->document_ = nullptr;
}

void Document::UpdateAllViews(View* sender, win::LPARAM hint)
{
    // A copy: a view may be added or removed while the views update.
    const std::vector<View*> views = views_;
    for (View* view : views)
        if (view != sender && std::find(views_.begin(), views_.end(), view) != views_.end())
            view->OnUpdate(sender, hint);
}

void Document::UpdateFrameTitles()
{
    for (View* view : views_)
        if (FrameWnd* frame = view->GetParentFrame())
            frame->OnUpdateFrameTitle();
}

win::BOOL Document::OnNewDocument()
{
    DeleteContents();
    pathName_.clear();
    SetModifiedFlag(win::FALSE);
    return win::TRUE;
}

win::BOOL Document::OnOpenDocument(std::string_view path)
{
    std::string bytes;
    const std::string reason = ReadDocumentFile(std::string(path), bytes);
    if (!reason.empty()) {
        win::AppContext::Instance().MessageBox(
            "Cannot open the document " + std::string(path) + ":\n" + reason,
            win::MB_OK | win::MB_ICONEXCLAMATION);
        return win::FALSE;
    }
    DeleteContents();
    win::Archive archive(std::move(bytes));
    try {
        Serialize(archive);
    } catch (const win::ArchiveException&) {
        ForgetFailedRead();
        win::AppContext::Instance().MessageBox(
            "Unexpected file format in " + std::string(path) + ".", win::MB_OK | win::MB_ICONEXCLAMATION);
        return win::FALSE;
    } catch (...) {
        ForgetFailedRead();
        throw;
    }
    SetModifiedFlag(win::FALSE);
    return win::TRUE;
}

void Document::ForgetFailedRead()
{
    // The contents of the file shown before are gone: the document is a new, untitled one, so
    // that a save cannot write the emptied document over that file.
    DeleteContents();
    pathName_.clear();
    if (template_ != nullptr)
        template_->SetDefaultTitle(this);
    else
        SetTitle("Untitled");
    SetModifiedFlag(win::FALSE);
}

void Document::Serialize(win::Archive&) { }

win::BOOL Document::SaveModified()
{
    if (!IsModified())
        return win::TRUE;
    const std::string name = title_.empty() ? std::string("Untitled") : title_;
    switch (win::AppContext::Instance().MessageBox(
        "Save changes to " + name + "?", win::MB_YESNOCANCEL | win::MB_ICONEXCLAMATION)) {
    case win::IDYES:
        return DoFileSave();
    case win::IDNO:
        return win::TRUE;
    default:
        return win::FALSE;
    }
}

win::BOOL Document::CanCloseFrame(FrameWnd*)
{
    return SaveModified();
}

bool Document::OnCmdMsg(win::UINT id, int code, CmdUI* ui, bool probe)
{
    return HandleOwn(id, code, ui, probe);
}

} // namespace fw
