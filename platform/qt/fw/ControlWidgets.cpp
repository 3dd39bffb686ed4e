#include "platform/qt/fw/ControlWidgets.h"

#include "platform/qt/QtColour.h"

#include <QPainter>

namespace fw {

Swatch::Swatch(QWidget* parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::Box);
}

void Swatch::SetColor(win::COLORREF colour)
{
    colour_ = colour;
    update();
}

void Swatch::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        painter.fillRect(rect(), ToQColor(colour_));
    }
    QFrame::paintEvent(event);
}

} // namespace fw
