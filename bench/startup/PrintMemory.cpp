// The tool's memory when it prints the combined proof type (both sample photographs) to a PDF
// file: the tool started in this process as the program starts it, from the release build's
// program folder, the layout switched to combined and painted, then printed as the form's Print
// button prints it, the print dialog answered with the PDF file. Prints the process's peak
// resident size (VmHWM) before the print, its peak during the print (the peak is reset just before
// the job), and the resident size (VmRSS) before the print and after the job.
//   print-memory <program folder> <PDF file to write>
#include "bench/startup/StartedTool.h"
#include "platform/win/AppContext.h"
#include "platform/win/ScriptedModalServices.h"

#include <QApplication>

#include <cstdio>
#include <fstream>
#include <memory>

namespace {

// Sets the process's peak resident size back to its present resident size.
bool ResetPeak()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5\n";
    clear.flush();
    return static_cast<bool>(clear);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <program folder> <PDF file to write>\n", argv[0]);
        return 2;
    }
    QApplication qtApplication(argc, argv);
    benchstartup::StartedTool tool(argv[1]);
    if (!tool.Started())
        return 1;
    tool.SwitchToCombined();
    COrvanelDoc* document = tool.Document();
    win::AppContext& context = win::AppContext::Instance();
    const double peakBefore = benchstartup::StatusMiB("VmHWM:");
    const double residentBefore = benchstartup::StatusMiB("VmRSS:");
    auto modal = std::make_shared<win::ScriptedModalServices>();
    modal->AnswerNextPrint(win::IDOK, argv[2]);
    context.SetModalServices(modal);
    if (!ResetPeak()) {
        std::fprintf(stderr, "the peak resident size cannot be reset (/proc/self/clear_refs)\n");
        return 1;
    }
    document->PrintLayout(); // the form's Print button: prints, then releases the print's pictures
    benchstartup::Paint(tool.Window());
    const double peakDuring = benchstartup::StatusMiB("VmHWM:");
    const double residentAfter = benchstartup::StatusMiB("VmRSS:");
    if (!modal->Unexpected().empty() || modal->PrintDialogs().size() != 1) {
        std::fprintf(stderr, "the print did not run as scripted\n");
        return 1;
    }
    std::printf("printing the combined proof to PDF: peak resident (VmHWM) before %.1f MiB, during %.1f MiB "
                "(%.1f MiB above the resident size before); resident (VmRSS) before %.1f MiB, after the job "
                "%.1f MiB\n",
        peakBefore, peakDuring, peakDuring - residentBefore, residentBefore, residentAfter);
    return 0;
}
