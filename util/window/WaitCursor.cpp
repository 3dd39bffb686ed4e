#include "util/window/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

WaitCursor::WaitCursor()
    : shown_(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr)
{
    if (shown_)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

WaitCursor::~WaitCursor()
{
    if (shown_ && qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr)
        QGuiApplication::restoreOverrideCursor();
}
