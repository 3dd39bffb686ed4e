// The Qt application of the benchmark program, made on first use: offscreen (no display), and a
// widget application, since the start-up bench shows main windows and text needs the font
// database.
#pragma once

#include <QApplication>

#include <memory>

inline void EnsureGuiApplication()
{
    static std::unique_ptr<QApplication> app;
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "orvanel_bench";
        static char* argv[] = { name, nullptr };
        app = std::make_unique<QApplication>(argc, argv);
    }
}
