// Start-up timing from outside the process: when the environment variable
// ORVANEL_FIRST_FRAME_EXIT is set, the first paint of any window is followed by one line on
// standard output, "first-frame <nanoseconds>" on the monotonic clock, and the process ends at once.
// The bench's start-up runner reads the line; the bench's peer window reports the same way.
// With the value "quit" the application is asked to quit instead, and the program takes its
// normal way out (the test that the program ends cleanly uses it).
#pragma once

#include <QObject>

class QApplication;

// Watches the application's paint events while it lives, when the variable is set.
class FirstFrameReport : public QObject {
public:
    explicit FirstFrameReport(QApplication& application);
    ~FirstFrameReport() override;
    FirstFrameReport(const FirstFrameReport&) = delete;
    FirstFrameReport& operator=(const FirstFrameReport&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QApplication* watched_ = nullptr;
    bool seen_ = false;
    bool quit_ = false;
};
