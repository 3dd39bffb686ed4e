// The application object: one per process, over the QApplication the program (or the test)
// creates. It keeps the document template, the main window and the recent-file list, reads the
// command line, gives every part of the program the profile functions (the settings store of
// win::AppContext, the one GetTheApp returns), runs the event loop and calls OnIdle once per
// batch of events, when Qt is about to wait for more.
#pragma once

#include "platform/qt/fw/CmdTarget.h"
#include "platform/qt/fw/RecentFileList.h"
#include "platform/win/Types.h"

#include <QMetaObject>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class CommandLineInfo;
class Document;
class FrameWnd;
class SingleDocTemplate;

class WinApp : public CmdTarget {
public:
    explicit WinApp(std::string appName = "Orvanel");
    ~WinApp() override;

    virtual win::BOOL InitInstance() { return win::TRUE; }
    // Closes what is still open, writes the recent-file list and writes the session's settings to
    // the settings file; returns the exit code (1, after a message, when that file cannot be written).
    virtual int ExitInstance();
    // Idle time after a batch of events: count 0 updates the main window's command actions.
    // True asks for another call with the next count before Qt waits.
    virtual win::BOOL OnIdle(win::LONG count);
    // The event loop until the main window closes; then ExitInstance, whose code it returns.
    virtual int Run();

    // Settings are kept in ~/.config/<key>/<application name>.conf (ORVANEL_SETTINGS names
    // another file).
    void SetRegistryKey(std::string_view key);
    // The recent-file list of the given size and "Settings"/"PreviewPages", read from the settings.
    void LoadStdProfileSettings(win::UINT maxMru = 4);

    int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const;
    win::BOOL WriteProfileInt(std::string_view section, std::string_view entry, int value);
    std::string GetProfileString(
        std::string_view section, std::string_view entry, std::string_view defaultValue = {}) const;
    win::BOOL WriteProfileString(std::string_view section, std::string_view entry, std::string_view value);

    void AddDocTemplate(std::unique_ptr<SingleDocTemplate> docTemplate);
    SingleDocTemplate* GetFirstDocTemplate() const;

    // Fills the command-line info from the program's arguments.
    void ParseCommandLine(CommandLineInfo& info) const;
    // File New, or the framework's open of the named file; false when nothing came of it (no
    // main window after File New, or a file that could not be opened, already reported).
    win::BOOL ProcessShellCommand(CommandLineInfo& info);
    Document* OpenDocumentFile(std::string_view path);
    // The framework's File New and File Open, for the application's handler map.
    void OnFileNew();
    void OnFileOpen();
    // The framework's print setup: the print dialog on the program's default printer; OK makes the
    // printer and orientation chosen the program's default printer.
    void OnFilePrintSetup();

    void AddToRecentFileList(std::string_view path);
    const RecentFileList& GetRecentFileList() const { return recentFiles_; }

    FrameWnd* GetMainWnd() const { return m_pMainWnd; }
    void SetMainWnd(FrameWnd* frame);

    // Back to the state after construction (no templates, no main window, an empty recent-file
    // list, no settings key), in place: references to the application stay valid. The handler
    // map stays as the constructors made it.
    void Reset();

    const std::string m_pszAppName;
    std::string m_pszRegistryKey;
    FrameWnd* m_pMainWnd = nullptr;
    // How the main frame is shown when File New or Open first makes it; SW_HIDE leaves it hidden
    // until the application shows it. -1 once used.
    int m_nCmdShow = win::SW_SHOWNORMAL;
    int m_nNumPreviewPages = 0;

private:
    void HookIdle();
    void RunIdle();

    std::vector<std::unique_ptr<SingleDocTemplate>> templates_;
    RecentFileList recentFiles_ { 0 }; // no list until LoadStdProfileSettings
    QMetaObject::Connection idleConnection_;
    bool inIdle_ = false;
};

// The application object, or null when there is none.
WinApp* AfxGetApp();

} // namespace fw
