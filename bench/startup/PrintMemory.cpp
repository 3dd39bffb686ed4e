// The tool's memory when it prints the combined proof type (both sample photographs) to a PDF
// file: the tool started in this process as the program starts it, from the release build's
// program folder, the layout switched to combined and painted, then printed as the form's Print
// button prints it, the print dialog answered with the PDF file. Prints the process's peak
// resident size (VmHWM) before the print, its peak during the print (the peak is reset just before
// the job), and the resident size (VmRSS) before the print and after the job.
//   print-memory <program folder> <PDF file to write>
#include "app/document/DocumentHints.h"
#include "app/document/OrvanelApp.h"
#include "app/document/OrvanelDoc.h"
#include "app/document/ProgramParts.h"
#include "model/Layout.h"
#include "platform/qt/QtModalServices.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/fw/FrameWnd.h"
#include "platform/win/AppContext.h"
#include "platform/win/ScriptedModalServices.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

namespace {

// A size from /proc/self/status ("VmHWM:", "VmRSS:"), in MiB.
double StatusMiB(std::string_view key)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with(key))
            return std::stod(line.substr(key.size())) / 1024.0;
    return 0;
}

// Sets the process's peak resident size back to its present resident size.
bool ResetPeak()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5\n";
    clear.flush();
    return static_cast<bool>(clear);
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
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <program folder> <PDF file to write>\n", argv[0]);
        return 2;
    }
    QApplication qtApplication(argc, argv);
    win::AppContext& context = win::AppContext::Instance();
    context.SetModalServices(std::make_shared<fw::QtModalServices>());
    context.SetShell(std::make_shared<fw::QtShell>());
    AppParts parts = ProgramParts();
    parts.programFolder = std::string(argv[1]) + "/";
    parts.arguments = std::vector<std::string> {};
    COrvanelApp app(std::move(parts));
    if (!app.InitInstance())
        return 1;
    QWidget& window = *app.GetMainWnd();
    auto* document = dynamic_cast<COrvanelDoc*>(app.GetMainWnd()->GetActiveDocument());
    if (document == nullptr)
        return 1;
    // What the form's proof-type change does to the document.
    document->GetLayout().SetLayoutType(2);
    document->UpdatePackCounts();
    document->UpdateAllViews(nullptr, hint::layoutReplaced);
    document->LayoutChanged();
    Paint(window);
    const double peakBefore = StatusMiB("VmHWM:");
    const double residentBefore = StatusMiB("VmRSS:");
    auto modal = std::make_shared<win::ScriptedModalServices>();
    modal->AnswerNextPrint(win::IDOK, argv[2]);
    context.SetModalServices(modal);
    if (!ResetPeak()) {
        std::fprintf(stderr, "the peak resident size cannot be reset (/proc/self/clear_refs)\n");
        return 1;
    }
    document->PrintLayout(); // the form's Print button: prints, then releases the print's pictures
    Paint(window);
    const double peakDuring = StatusMiB("VmHWM:");
    const double residentAfter = StatusMiB("VmRSS:");
    if (!modal->Unexpected().empty() || modal->PrintDialogs().size() != 1) {
        std::fprintf(stderr, "the print did not run as scripted\n");
        return 1;
    }
    std::printf("printing the combined proof to PDF: peak resident (VmHWM) before %.1f MiB, during %.1f MiB "
                "(%.1f MiB above the resident size before); resident (VmRSS) before %.1f MiB, after the job "
                "%.1f MiB\n",
        peakBefore, peakDuring, peakDuring - residentBefore, residentBefore, residentAfter);
    std::fflush(stdout);
    // Until the settings' static destruction order is mended, the process ends here.
    std::_Exit(0);
}
