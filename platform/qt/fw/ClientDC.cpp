#include "platform/qt/fw/ClientDC.h"

#include <QWidget>

namespace fw {

ClientDC::ClientDC(const QWidget& window)
    : probe_(1, 1, QImage::Format_RGB32)
{
    probe_.setDotsPerMeterX(static_cast<int>(window.logicalDpiX() / 0.0254 + 0.5));
    probe_.setDotsPerMeterY(static_cast<int>(window.logicalDpiY() / 0.0254 + 0.5));
    dc_ = std::make_unique<gdi::QtDeviceContext>(probe_);
}

} // namespace fw
