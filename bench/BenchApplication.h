// The Qt application of the benchmark program, made on first use: offscreen (no display), and a
// widget application, since the start-up bench shows main windows and text needs the font
// database.
#pragma once

#include <QApplication>

#include <memory>

// The application lives until the process ends and is never destroyed: a widget application
// destroyed by a static destructor at exit crashes, Qt's own globals being gone by then.
inline void EnsureGuiApplication()
{
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "orvanel_bench";
        static char* argv[] = { name, nullptr };
        static QApplication* const app = std::make_unique<QApplication>(argc, argv).release();
        (void)app;
    }
}
