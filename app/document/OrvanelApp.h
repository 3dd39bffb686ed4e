// The application object: wires the document, the main frame and the drawing view into the
// document template, and starts the program: settings, the first layout, the program folder, the
// picture cache, the release notes, the program version, the updater, the product catalogue and,
// last, the title and the pack template before the main window is shown.
#pragma once

#include "platform/qt/fw/CreateContext.h"
#include "platform/qt/fw/SingleDocTemplate.h"
#include "platform/qt/fw/WinApp.h"

#include <optional>
#include <string>
#include <vector>

class COrvanelDoc;

// What the application is built from: the frame and view classes of its document template, and
// where it looks for its files. The program gives the running executable's folder and its own
// command line; tests give a folder and arguments of their own.
struct AppParts {
    fw::FrameFactory frame;
    fw::ViewFactory view;
    std::string programFolder; // ending with '/'; empty: the running executable's folder
    std::optional<std::vector<std::string>> arguments; // none: the program's own arguments
};

class COrvanelApp : public fw::WinApp {
public:
    static constexpr win::UINT kTemplateId = 128;
    static constexpr const char* kTemplateString = "Orvanel\n\nOrvan\n\n\nOrvanel.Document\nOrvan Document";
    // The updater program beside the tool, started at every start-up unless "Settings"/"Updater"
    // is 0.
    static constexpr const char* kUpdaterName = "Updater";

    explicit COrvanelApp(AppParts parts);

    // False ends the program: the command line could not be processed, or the product catalogue
    // was refused (with its message).
    win::BOOL InitInstance() override;
    // Writes the program options, then the framework's own exit, which writes every value of the
    // session to the settings file.
    int ExitInstance() override;

    // The about box, modal (the framework's about command; nothing in the window issues it).
    void OnAppAbout();
    // The first document of the first template; null when there is none.
    COrvanelDoc* GetFirstDocument() const;

private:
    void ParseArguments(fw::CommandLineInfo& info) const;
    void StartUpdater(const std::string& programFolder) const;

    AppParts parts_;
};

// "Settings"/"Version": the program version times 100000, truncated (2.453 gives 245299).
int StoredProgramVersion();
