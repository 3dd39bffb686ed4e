// The program orvanel: the Qt application, the interactive services (message boxes and dialogs,
// the settings file, starting other programs) and the application object's start-up and event
// loop.
#include "app/document/OrvanelApp.h"
#include "app/document/ProgramParts.h"
#include "app/document/QtBitmapClipboard.h"
#include "imaging/metafile/PLWEMFDecoder.h"
#include "platform/qt/FirstFrameReport.h"
#include "platform/qt/QtServices.h"

#include <QApplication>

#include <csignal>
#include <cstdlib>
#include <iostream>

namespace {

// Qt aborts with a long message when there is no display to open; a platform named by
// QT_QPA_PLATFORM (offscreen, a virtual display) needs none.
bool HasDisplay()
{
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv)
{
    // A save past the file size limit must fail like a full disk and be reported, not end the
    // program with the user's work unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    if (!HasDisplay()) {
        std::cerr << "orvanel: no display to open a window on; start it on a desktop, or under a "
                     "virtual display: xvfb-run -a "
                  << argv[0] << "\n";
        return 1;
    }
    QApplication qtApplication(argc, argv);
    const FirstFrameReport firstFrame(qtApplication); // for the start-up bench only
    const fw::QtServices services;
    // Metafiles (background pictures among them) are played through Qt by a library of their own.
    RegisterMetafileDecoder();
    // Bitmaps are copied and pasted through Qt's clipboard.
    RegisterQtBitmapClipboard();
    // The settings file is installed by the application's SetRegistryKey at start-up.
    COrvanelApp app(ProgramParts());
    if (!app.InitInstance()) {
        // Start-up was refused (its message was shown): the program ends, and says so to its caller.
        app.ExitInstance();
        return 1;
    }
    return app.Run();
}
