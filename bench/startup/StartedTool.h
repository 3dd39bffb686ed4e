// What the start-up and print memory benches share: the tool started in the bench's process as the
// program starts it (its Qt services, the application object, the release build's program folder),
// the layout switched to the combined proof type as the form's proof-type change does, and the
// process's memory figures from /proc/self/status.
#pragma once

#include "app/document/DocumentHints.h"
#include "app/document/OrvanelApp.h"
#include "app/document/OrvanelDoc.h"
#include "app/document/ProgramParts.h"
#include "model/Layout.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/fw/FrameWnd.h"

#include <QApplication>

#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace benchstartup {

// A size from /proc/self/status ("VmHWM:", "VmRSS:"), in MiB.
inline double StatusMiB(std::string_view key)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with(key))
            return std::stod(line.substr(key.size())) / 1024.0;
    return 0;
}

inline void Paint(QWidget& window)
{
    QApplication::processEvents();
    window.repaint();
    QApplication::processEvents();
}

class StartedTool {
public:
    // Starts the tool from the program folder; Started() tells whether start-up went through.
    explicit StartedTool(const std::string& programFolder)
        : app_(Parts(programFolder))
    {
        started_ = app_.InitInstance() != 0;
    }
    ~StartedTool() { app_.ExitInstance(); }
    StartedTool(const StartedTool&) = delete;
    StartedTool& operator=(const StartedTool&) = delete;

    bool Started() const { return started_ && Document() != nullptr; }
    QWidget& Window() { return *app_.GetMainWnd(); }
    COrvanelDoc* Document() const
    {
        return app_.GetMainWnd() != nullptr
            ? dynamic_cast<COrvanelDoc*>(app_.GetMainWnd()->GetActiveDocument())
            : nullptr;
    }
    // What the form's proof-type change does to the document, then the window painted.
    void SwitchToCombined()
    {
        COrvanelDoc& document = *Document();
        document.GetLayout().SetLayoutType(2);
        document.UpdatePackCounts();
        document.UpdateAllViews(nullptr, hint::layoutReplaced);
        document.LayoutChanged();
        Paint(Window());
    }

private:
    static AppParts Parts(const std::string& programFolder)
    {
        AppParts parts = ProgramParts();
        parts.programFolder = programFolder + "/";
        parts.arguments = std::vector<std::string> {};
        return parts;
    }

    fw::QtServices services_;
    COrvanelApp app_;
    bool started_ = false;
};

} // namespace benchstartup
