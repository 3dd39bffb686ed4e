// The tool's memory after start-up and after switching the layout to the combined proof type (both
// sample photographs shown): the tool started in this process as the program starts it, from the
// release build's program folder, on the display it is given (bench/peers/startup.sh runs it on a
// virtual one), with the main window painted after each step. Prints the process's peak resident
// size (VmHWM) after each step, the figure GNU time reports at the end.
//   combined-memory <program folder>
#include "app/document/DocumentHints.h"
#include "app/document/OrvanelApp.h"
#include "app/document/OrvanelDoc.h"
#include "app/document/ProgramParts.h"
#include "model/Layout.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/fw/FrameWnd.h"

#include <QApplication>

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>

namespace {

// The peak resident size of this process so far, in MiB.
double PeakMiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

void Paint(QWidget& window)
{
    QApplication::processEvents();
    window.repaint();
    QApplication::processEvents();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <program folder>\n", argv[0]);
        return 2;
    }
    QApplication qtApplication(argc, argv);
    const fw::QtServices services;
    AppParts parts = ProgramParts();
    parts.programFolder = std::string(argv[1]) + "/";
    parts.arguments = std::vector<std::string> {};
    COrvanelApp app(std::move(parts));
    if (!app.InitInstance())
        return 1;
    QWidget& window = *app.GetMainWnd();
    Paint(window);
    const double afterStart = PeakMiB();
    // What the form's proof-type change does to the document.
    auto* document = dynamic_cast<COrvanelDoc*>(app.GetMainWnd()->GetActiveDocument());
    if (document == nullptr)
        return 1;
    document->GetLayout().SetLayoutType(2);
    document->UpdatePackCounts();
    document->UpdateAllViews(nullptr, hint::layoutReplaced);
    document->LayoutChanged();
    Paint(window);
    std::printf("peak resident (VmHWM): after start %.1f MiB, after switching to combined %.1f MiB\n",
        afterStart, PeakMiB());
    app.ExitInstance();
    return 0;
}
