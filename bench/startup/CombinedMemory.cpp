// The tool's memory after start-up and after switching the layout to the combined proof type (both
// sample photographs shown): the tool started in this process as the program starts it, from the
// release build's program folder, on the display it is given (bench/peers/startup.sh runs it on a
// virtual one), with the main window painted after each step. Prints the process's peak resident
// size (VmHWM) after each step, the figure GNU time reports at the end.
//   combined-memory <program folder>
#include "bench/startup/StartedTool.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <program folder>\n", argv[0]);
        return 2;
    }
    QApplication qtApplication(argc, argv);
    benchstartup::StartedTool tool(argv[1]);
    if (!tool.Started())
        return 1;
    benchstartup::Paint(tool.Window());
    const double afterStart = benchstartup::StatusMiB("VmHWM:");
    tool.SwitchToCombined();
    std::printf("peak resident (VmHWM): after start %.1f MiB, after switching to combined %.1f MiB\n",
        afterStart, benchstartup::StatusMiB("VmHWM:"));
    return 0;
}
