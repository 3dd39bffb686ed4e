#include "app/document/OrvanelApp.h"

#include "app/dialogs/AboutDlg.h"
#include "app/dialogs/ProgramFolder.h"
#include "app/dialogs/ProgramOptions.h"
#include "app/dialogs/SoftwareChangesDlg.h"
#include "app/document/OrvanelDoc.h"
#include "imaging/wrapper/ImageCache.h"
#include "model/ProductCatalog.h"
#include "model/ProductCatalogFile.h"
#include "platform/qt/fw/CommandIds.h"
#include "platform/qt/fw/CommandLineInfo.h"
#include "platform/qt/fw/CommonDialogs.h"
#include "platform/qt/fw/FrameWnd.h"
#include "platform/win/Shell.h"
#include "records/DataVersion.h"

#include <utility>

namespace {

// The picture cache keeps this many sample pictures.
constexpr uint32_t kCachedPictures = 5;

} // namespace

int StoredProgramVersion()
{
    return static_cast<int>(CurrentDataVersion * 100000.0);
}

COrvanelApp::COrvanelApp(AppParts parts)
    : parts_(std::move(parts))
{
    OnCommand(fw::ID_APP_ABOUT, &COrvanelApp::OnAppAbout);
    OnCommand(fw::ID_FILE_NEW, [this] { OnFileNew(); });
    OnCommand(fw::ID_FILE_OPEN, [this] { OnFileOpen(); });
    OnCommand(fw::ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
}

win::BOOL COrvanelApp::InitInstance()
{
    SetRegistryKey("Wendmoor");
    LoadStdProfileSettings(4);
    AddDocTemplate(std::make_unique<fw::SingleDocTemplate>(
        kTemplateId, kTemplateString, [] { return std::make_unique<COrvanelDoc>(); }, parts_.frame,
        parts_.view));

    // The main window stays hidden until start-up has succeeded: a refused catalogue ends the
    // program before any window is shown.
    m_nCmdShow = win::SW_HIDE;
    fw::CommandLineInfo info;
    ParseArguments(info);
    if (!ProcessShellCommand(info))
        return win::FALSE;

    // The folder of the running executable, whatever the current folder is.
    const std::string programFolder
        = parts_.programFolder.empty() ? RunningProgramFolder() : parts_.programFolder;
    ProgramOptions::Instance().SetProgramFolder(programFolder);
    GetImageCache().SetSize(kCachedPictures, true);

    ShowSoftwareChangesAfterUpgrade();
    WriteProfileInt("Settings", "Version", StoredProgramVersion());
    if (GetProfileInt("Settings", "Updater", 1) != 0)
        StartUpdater(programFolder);

    // The reader's own result is not looked at: whatever it read is the catalogue.
    const CatalogFileStatus status
        = ReadProductCatalogFile(programFolder + "ProductCatalog.csv", GlobalProductCatalog());
    if (status != CatalogFileStatus::read) {
        fw::AfxMessageBox(CatalogFileMessage(status));
        return win::FALSE;
    }

    if (COrvanelDoc* document = GetFirstDocument()) {
        document->InitTitleAndPacks();
        // The sample photographs are decoded while the window is shown; its first drawing waits
        // for them.
        document->PrefetchSampleImages();
    }
    if (fw::FrameWnd* frame = GetMainWnd()) {
        frame->ShowWindow(win::SW_SHOW);
        frame->UpdateWindow();
    }
    return win::TRUE;
}

int COrvanelApp::ExitInstance()
{
    // The options first, so that the framework's exit writes them to the settings file with the
    // rest of the session's values.
    ProgramOptions::Instance().Save();
    return WinApp::ExitInstance();
}

void COrvanelApp::OnAppAbout()
{
    CAboutDlg dialog;
    dialog.DoModal();
}

COrvanelDoc* COrvanelApp::GetFirstDocument() const
{
    const fw::SingleDocTemplate* docTemplate = GetFirstDocTemplate();
    return docTemplate != nullptr ? dynamic_cast<COrvanelDoc*>(docTemplate->GetDocument()) : nullptr;
}

void COrvanelApp::ParseArguments(fw::CommandLineInfo& info) const
{
    if (!parts_.arguments) {
        ParseCommandLine(info);
        return;
    }
    const std::vector<std::string>& arguments = *parts_.arguments;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& param = arguments[i];
        const bool flag = param.size() > 1 && param.front() == '-';
        info.ParseParam(flag ? std::string_view(param).substr(1) : std::string_view(param),
            flag ? win::TRUE : win::FALSE, i + 1 == arguments.size() ? win::TRUE : win::FALSE);
    }
}

void COrvanelApp::StartUpdater(const std::string& programFolder) const
{
    // By its full path, never looked up in PATH; whether it started is not looked at.
    win::ShellExecuteA(
        nullptr, "open", programFolder + kUpdaterName, "-quiet", programFolder, win::SW_SHOWNORMAL);
}
