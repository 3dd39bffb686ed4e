#include "app/document/OrvanelDoc.h"

#include "app/document/DocumentHints.h"
#include "app/document/UndoManager.h"
#include "imaging/wrapper/ImageCache.h"
#include "platform/qt/fw/CommandIds.h"
#include "platform/qt/fw/CommonDialogs.h"
#include "records/DataVersion.h"
#include "records/SharedFunctions.h"

#include <cstdio>

namespace {
constexpr unsigned undoLimit = 20;
constexpr const char* savePrompt = "Do you want to save changes to the current layout?";
constexpr const char* layoutFilter = "Orvanel File (*.txt)|*.txt||";
constexpr const char* settingsSection = "Settings";
constexpr const char* lastFileEntry = "OrvanelFile";

// The open or save dialog for layout files, starting at the last file used; empty when cancelled.
std::string ChooseLayoutFile(bool open)
{
    fw::FileDialog dialog(open ? win::TRUE : win::FALSE, "txt",
        GetTheApp().GetProfileString(settingsSection, lastFileEntry, ""),
        win::OFN_HIDEREADONLY | win::OFN_OVERWRITEPROMPT, layoutFilter);
    return dialog.DoModal() == win::IDOK ? dialog.GetPathName() : std::string();
}
} // namespace

COrvanelDoc::COrvanelDoc()
    : layout_(std::make_unique<Layout>())
{
    OnCommand(fw::ID_FILE_OPEN, &COrvanelDoc::OnFileOpen);
    OnCommand(fw::ID_FILE_SAVE, [this] { OnFileSave(); });
    OnUpdateCommandUI(fw::ID_FILE_SAVE, &COrvanelDoc::OnUpdateFileSave);
    OnCommand(fw::ID_FILE_SAVE_AS, [this] { OnFileSaveAs(); });
    OnCommand(fw::ID_EDIT_UNDO, &COrvanelDoc::OnEditUndo);
    OnUpdateCommandUI(fw::ID_EDIT_UNDO, &COrvanelDoc::OnUpdateEditUndo);
    GetUndoManager().SetLimit(undoLimit);
    // The sample pictures are not loaded here: the framework's New empties the image cache right
    // after, and the drawing view loads the samples it finds missing on its first drawing.
}

COrvanelDoc::~COrvanelDoc() = default;

COrvanelDoc::Proceed COrvanelDoc::AskToSave()
{
    if (!IsModified())
        return Proceed::yes;
    switch (GetTheApp().MessageBox(savePrompt, win::MB_YESNOCANCEL)) {
    case win::IDYES:
        // A save that was cancelled or failed must not lose the changes.
        return OnFileSave() ? Proceed::yes : Proceed::no;
    case win::IDNO:
        return Proceed::yes;
    default:
        return Proceed::no;
    }
}

win::BOOL COrvanelDoc::SaveModified()
{
    if (AskToSave() == Proceed::no)
        return win::FALSE;
    SetModifiedFlag(win::FALSE);
    return win::TRUE;
}

win::BOOL COrvanelDoc::OnNewDocument()
{
    if (AskToSave() == Proceed::no)
        return win::TRUE;
    FinishSamplePrefetch();
    layout_.reset();
    GetImageCache().Reset();
    layout_ = std::make_unique<Layout>();
    path_.clear();
    // Steps recorded on the old layout would move units of the new one.
    GetUndoManager().Clear();
    // The views let go of the old layout's units before anything can show a message box (the
    // pack template below may), during which the window repaints.
    UpdateViews(hint::layoutReplaced);
    if (packTemplateEnabled_)
        LoadPackTemplate();
    return win::TRUE;
}

void COrvanelDoc::OpenLayout(const std::string& path)
{
    if (AskToSave() == Proceed::no)
        return;
    const std::string chosen = path.empty() ? ChooseLayoutFile(true) : path;
    if (!chosen.empty() && ReadLayout(chosen))
        GetTheApp().WriteProfileString(settingsSection, lastFileEntry, chosen);
}

void COrvanelDoc::OnFileOpen()
{
    OpenLayout({});
}

bool COrvanelDoc::OnFileSave()
{
    return path_.empty() ? OnFileSaveAs() : WriteLayout(path_);
}

bool COrvanelDoc::OnFileSaveAs()
{
    const std::string chosen = ChooseLayoutFile(false);
    if (chosen.empty())
        return false;
    const bool written = WriteLayout(chosen);
    if (written)
        GetTheApp().WriteProfileString(settingsSection, lastFileEntry, chosen);
    UpdateViews(hint::saveAttempted);
    return written;
}

void COrvanelDoc::OnUpdateFileSave(fw::CmdUI& ui)
{
    ui.Enable(path_.empty() ? win::FALSE : win::TRUE);
}

void COrvanelDoc::OnEditUndo()
{
    if (GetUndoManager().Undo(*this))
        SetModifiedFlag();
    UpdateViews(hint::layoutReplaced);
}

void COrvanelDoc::OnUpdateEditUndo(fw::CmdUI& ui)
{
    const UndoManager& undo = GetUndoManager();
    ui.SetText(undo.GetUndoText(0) + "\tCtrl+Z");
    ui.Enable(undo.GetUndoCount() > 0 ? win::TRUE : win::FALSE);
}

void COrvanelDoc::LayoutChanged()
{
    LoadSampleImages();
    UpdateViews(hint::layoutValues);
    SetModifiedFlag();
}

void COrvanelDoc::UnitMoved(bool full)
{
    UpdateViews(full ? hint::everything : hint::unitNudged);
    SetModifiedFlag();
}

void COrvanelDoc::PrintMarginTest()
{
    UpdateViews(hint::printMarginTest);
}

void COrvanelDoc::PrintLayout()
{
    UpdateViews(hint::printLayout);
}

bool COrvanelDoc::InitTitleAndPacks()
{
    char title[32];
    std::snprintf(title, sizeof title, "Version V%.3f", CurrentDataVersion);
    SetTitle(title);
    packTemplateEnabled_ = true;
    return LoadPackTemplate();
}
