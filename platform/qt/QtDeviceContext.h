// The device context over Qt's painter: screen widgets, pictures in memory (QImage), printers
// and PDF files all draw through it. "Arial" is drawn in Liberation Sans, whose metrics match
// it; text arrives in code page 1252.
#pragma once

#include "platform/gdi/DeviceContext.h"

#include <QFont>

#include <memory>

class QImage;
class QPaintDevice;
class QPainter;
class QPdfWriter;
class QPrinter;
class QWidget;

namespace gdi {

class QtDeviceContext : public DeviceContext {
public:
    // Paints on the device with a painter of its own, ended when the context is destroyed. On a
    // widget this is only allowed inside its paint event. The printing flag defaults to what the
    // device is: true for printers and PDF writers.
    explicit QtDeviceContext(QImage& image);
    explicit QtDeviceContext(QWidget& widget);
    QtDeviceContext(QPrinter& printer, bool printing = true);
    QtDeviceContext(QPdfWriter& writer, bool printing = true);
    // Paints through a painter that is already active on its device (the print loop's, a paint
    // event's); the painter stays the caller's.
    QtDeviceContext(QPainter& painter, bool printing);
    ~QtDeviceContext() override;

    // The device's drawable size and resolution as the device context reports them.
    static DeviceCaps CapsOf(const QPaintDevice& device);
    // The Qt font that draws a device font; public for tests of the font choice.
    QFont ToQFont(const DeviceFont& font) const;
    // False when the painter could not be started on the device (nothing is drawn then).
    bool IsActive() const;

protected:
    void DoFillRect(const FillCall& call) override;
    void DoLine(const LineCall& call) override;
    void DoText(const TextCall& call) override;
    win::SIZE DoMeasureText(std::string_view text, const DeviceFont& font) const override;
    void DoStretchDib(const DibCall& call) override;
    void DoDragRect(const DragRectCall& call) override;

private:
    QtDeviceContext(QPaintDevice& device, bool printing);
    std::unique_ptr<QPainter> ownPainter_;
    QPainter* painter_;
};

} // namespace gdi
