#include "util/window/MessagePump.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>

void BeepRepeatedly(int, int duration, int count, int pause, const Pause& wait)
{
    const bool canBeep = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
    for (int i = 0; i < count; ++i) {
        if (canBeep)
            QApplication::beep();
        wait(std::chrono::milliseconds(std::max(duration, 0)));
        wait(std::chrono::milliseconds(std::max(pause, 0)));
    }
}

void PumpMessages()
{
    if (QCoreApplication::instance() == nullptr)
        return;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void PumpWaitingMessages()
{
    if (QCoreApplication::instance() == nullptr)
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
