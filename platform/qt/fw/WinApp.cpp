#include "platform/qt/fw/WinApp.h"

#include "platform/qt/FilePath.h"
#include "platform/qt/QtProfileStore.h"
#include "platform/qt/fw/CommandIds.h"
#include "platform/qt/fw/CommandLineInfo.h"
#include "platform/qt/fw/CommonDialogs.h"
#include "platform/qt/fw/Document.h"
#include "platform/qt/fw/FrameWnd.h"
#include "platform/qt/fw/Guard.h"
#include "platform/qt/fw/SingleDocTemplate.h"
#include "platform/win/AppContext.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QStringList>

namespace fw {

namespace {
WinApp* currentApp = nullptr;
// Idle calls with rising counts before Qt waits; a handler that always asks for more cannot
// keep the loop from waiting.
constexpr win::LONG maxIdleCalls = 64;
} // namespace

WinApp* AfxGetApp()
{
    return currentApp;
}

WinApp::WinApp(std::string appName)
    : m_pszAppName(std::move(appName))
{
    currentApp = this;
}

WinApp::~WinApp()
{
    QObject::disconnect(idleConnection_);
    templates_.clear();
    if (currentApp == this)
        currentApp = nullptr;
}

void WinApp::Reset()
{
    QObject::disconnect(idleConnection_);
    templates_.clear();
    m_pMainWnd = nullptr;
    m_nCmdShow = win::SW_SHOWNORMAL;
    m_pszRegistryKey.clear();
    m_nNumPreviewPages = 0;
    recentFiles_ = RecentFileList(0);
    inIdle_ = false;
}

void WinApp::SetRegistryKey(std::string_view key)
{
    m_pszRegistryKey = std::string(key);
    win::AppContext::Instance().SetProfileStore(
        std::make_shared<QtProfileStore>(QtProfileStore::DefaultPath(m_pszRegistryKey, m_pszAppName)));
}

void WinApp::LoadStdProfileSettings(win::UINT maxMru)
{
    recentFiles_ = RecentFileList(maxMru);
    recentFiles_.ReadList();
    m_nNumPreviewPages = GetProfileInt("Settings", "PreviewPages", 0);
}

int WinApp::GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const
{
    return win::AppContext::Instance().GetProfileInt(section, entry, defaultValue);
}

win::BOOL WinApp::WriteProfileInt(std::string_view section, std::string_view entry, int value)
{
    return win::AppContext::Instance().WriteProfileInt(section, entry, value) ? win::TRUE : win::FALSE;
}

std::string WinApp::GetProfileString(
    std::string_view section, std::string_view entry, std::string_view defaultValue) const
{
    return win::AppContext::Instance().GetProfileString(section, entry, defaultValue);
}

win::BOOL WinApp::WriteProfileString(std::string_view section, std::string_view entry, std::string_view value)
{
    return win::AppContext::Instance().WriteProfileString(section, entry, value) ? win::TRUE : win::FALSE;
}

void WinApp::AddDocTemplate(std::unique_ptr<SingleDocTemplate> docTemplate)
{
    if (docTemplate)
        templates_.push_back(std::move(docTemplate));
}

SingleDocTemplate* WinApp::GetFirstDocTemplate() const
{
    return templates_.empty() ? nullptr : templates_.front().get();
}

void WinApp::ParseCommandLine(CommandLineInfo& info) const
{
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        // Paths stay in the system's own file-name encoding, so that the file opens.
        const std::string param = ToFilePath(arguments[i]);
        const bool flag = param.size() > 1 && param.front() == '-';
        info.ParseParam(flag ? std::string_view(param).substr(1) : std::string_view(param),
            flag ? win::TRUE : win::FALSE, i + 1 == arguments.size() ? win::TRUE : win::FALSE);
    }
}

win::BOOL WinApp::ProcessShellCommand(CommandLineInfo& info)
{
    switch (info.m_nShellCommand) {
    case CommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND))
            OnFileNew();
        return m_pMainWnd != nullptr ? win::TRUE : win::FALSE;
    case CommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName) != nullptr ? win::TRUE : win::FALSE;
    }
    return win::FALSE;
}

Document* WinApp::OpenDocumentFile(std::string_view path)
{
    SingleDocTemplate* docTemplate = GetFirstDocTemplate();
    return docTemplate != nullptr && !path.empty() ? docTemplate->OpenDocumentFile(path) : nullptr;
}

void WinApp::OnFileNew()
{
    if (SingleDocTemplate* docTemplate = GetFirstDocTemplate())
        docTemplate->OpenDocumentFile({});
}

void WinApp::OnFileOpen()
{
    FileDialog dialog(
        win::TRUE, "", "", win::OFN_HIDEREADONLY | win::OFN_FILEMUSTEXIST, "All Files (*.*)|*.*||");
    if (dialog.DoModal() == win::IDOK)
        OpenDocumentFile(dialog.GetPathName());
}

void WinApp::OnFilePrintSetup()
{
    std::optional<win::DeviceMode>& defaults = win::AppContext::Instance().Printers().defaults;
    win::PrintSetup setup;
    if (defaults) {
        setup.printerName = defaults->deviceName;
        setup.orientation = defaults->orientation;
    }
    if (win::AppContext::Instance().Modal().PrintDialog(setup) != win::IDOK)
        return;
    win::DeviceMode chosen = defaults.value_or(win::DeviceMode {});
    chosen.deviceName = setup.printerName;
    chosen.orientation = setup.orientation;
    chosen.fields |= win::DM_ORIENTATION;
    defaults = chosen;
}

void WinApp::AddToRecentFileList(std::string_view path)
{
    recentFiles_.Add(path);
}

void WinApp::SetMainWnd(FrameWnd* frame)
{
    m_pMainWnd = frame;
    if (frame != nullptr)
        HookIdle();
}

void WinApp::HookIdle()
{
    if (idleConnection_)
        return;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(qApp->thread());
    if (dispatcher != nullptr)
        idleConnection_
            = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [this] { RunIdle(); });
}

void WinApp::RunIdle()
{
    if (inIdle_)
        return; // a modal loop inside an idle handler
    inIdle_ = true;
    GuardedCall([this] {
        for (win::LONG count = 0; count < maxIdleCalls && OnIdle(count); ++count) { }
    });
    inIdle_ = false;
}

win::BOOL WinApp::OnIdle(win::LONG count)
{
    if (count == 0 && m_pMainWnd != nullptr && m_pMainWnd->isVisible())
        m_pMainWnd->OnUpdateCmdUI();
    return win::FALSE;
}

int WinApp::Run()
{
    HookIdle();
    qApp->setQuitOnLastWindowClosed(false); // the main frame quits once its document is closed
    if (m_pMainWnd != nullptr)
        QApplication::exec();
    return ExitInstance();
}

int WinApp::ExitInstance()
{
    for (const auto& docTemplate : templates_)
        docTemplate->CloseAllDocuments();
    if (recentFiles_.GetSize() > 0)
        recentFiles_.WriteList();
    if (m_nNumPreviewPages != 0)
        WriteProfileInt("Settings", "PreviewPages", m_nNumPreviewPages);
    // The settings file receives every value kept since the start. A file that cannot take them
    // is said, since the settings of this session are lost with the program.
    if (auto* file = dynamic_cast<QtProfileStore*>(&win::AppContext::Instance().Profile())) {
        if (!file->Flush()) {
            AfxMessageBox("The settings could not be saved to " + file->FileName() + ".",
                win::MB_OK | win::MB_ICONEXCLAMATION);
            return 1;
        }
    }
    return 0;
}

} // namespace fw
