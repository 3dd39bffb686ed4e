#include "platform/qt/FirstFrameReport.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>

FirstFrameReport::FirstFrameReport(QApplication& application)
{
    const char* value = std::getenv("ORVANEL_FIRST_FRAME_EXIT");
    if (value == nullptr || *value == '\0')
        return;
    quit_ = std::string_view(value) == "quit";
    watched_ = &application;
    application.installEventFilter(this);
}

FirstFrameReport::~FirstFrameReport()
{
    if (watched_ != nullptr)
        watched_->removeEventFilter(this);
}

// The paint and the flush of the window's backing store run in the same pass of the event loop;
// the zero timer runs after both, when the frame has gone out.
bool FirstFrameReport::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && watched->isWidgetType() && !seen_) {
        seen_ = true;
        QTimer::singleShot(0, [quit = quit_] {
            timespec now {};
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::printf(
                "first-frame %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
            std::fflush(stdout);
            if (quit)
                QCoreApplication::quit();
            else
                std::_Exit(0);
        });
    }
    return false;
}
