// A device context of a window outside its paint, for measuring and converting: the window's
// resolution (so MM_LOMETRIC converts as on the window), drawing nothing the user sees. The
// drawing view converts mouse points and fits its page with one:
//   fw::ClientDC dc(*this);
//   dc->SetMapMode(gdi::MM_LOMETRIC);
//   dc->DPtoLP(&point);
#pragma once

#include "platform/qt/QtDeviceContext.h"

#include <QImage>

#include <memory>

class QWidget;

namespace fw {

class ClientDC {
public:
    explicit ClientDC(const QWidget& window);
    ClientDC(const ClientDC&) = delete;
    ClientDC& operator=(const ClientDC&) = delete;

    gdi::DeviceContext& operator*() { return *dc_; }
    gdi::DeviceContext* operator->() { return dc_.get(); }

private:
    QImage probe_; // one pixel at the window's resolution
    std::unique_ptr<gdi::QtDeviceContext> dc_;
};

} // namespace fw
