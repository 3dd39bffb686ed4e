// The start-up peer: a bare Qt main window with a toolbar and a splitter of two panes, shown at the
// size the tool's main window takes (three quarters of the screen), reporting its first painted
// frame exactly as the tool does (FirstFrameReport).
#include "platform/qt/FirstFrameReport.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QScreen>
#include <QSplitter>
#include <QToolBar>

#include <memory>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const FirstFrameReport firstFrame(application);
    QMainWindow window;
    window.addToolBar("Main")->addAction("Save");
    auto splitter = std::make_unique<QSplitter>();
    splitter->addWidget(std::make_unique<QLabel>("page").release()); // the splitter owns them
    splitter->addWidget(std::make_unique<QLabel>("form").release());
    window.setCentralWidget(splitter.release());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.resize(screen->availableGeometry().size() * 3 / 4);
    window.show();
    return QApplication::exec();
}
