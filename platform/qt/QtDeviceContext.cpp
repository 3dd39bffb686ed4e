#include "platform/qt/QtDeviceContext.h"

#include "platform/qt/Cp1252.h"
#include "platform/qt/QtColour.h"
#include "platform/qt/QtStraightBlit.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace gdi {

namespace {

// Device coordinates handed to Qt stay well inside its integer range; anything beyond lies
// far outside every page anyway.
constexpr int64_t kFar = 1 << 28;
int Near(int64_t v)
{
    return static_cast<int>(std::clamp<int64_t>(v, -kFar, kFar));
}

// The faces the program names, drawn with their metric-compatible free counterparts.
QString QtFamily(const std::string& face)
{
    if (face.empty() || face == "Arial")
        return QStringLiteral("Liberation Sans");
    return fw::FromCp1252(face);
}

QVector<QRgb> ColourTable(const DibView& dib, int entries)
{
    QVector<QRgb> table(entries, qRgb(0, 0, 0));
    const int known = static_cast<int>(std::min<std::size_t>(dib.paletteEntries, entries));
    for (int i = 0; dib.palette != nullptr && i < known; ++i)
        table[i] = qRgb(dib.palette[i].rgbRed, dib.palette[i].rgbGreen, dib.palette[i].rgbBlue);
    return table;
}

// The source rectangle of a picture whose depth Qt has no format for (4-bit indices, 16-bit
// 5-5-5 pixels), read pixel by pixel into a top-down opaque QImage.
QImage SourceImageByPixel(const DibCall& call)
{
    const DibView& dib = call.dib;
    const int top = static_cast<int>(dib.Rows()) - call.srcY - call.srcHeight;
    QImage part(call.srcWidth, call.srcHeight, QImage::Format_RGB32);
    for (int y = 0; y < call.srcHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(part.scanLine(y));
        for (int x = 0; x < call.srcWidth; ++x) {
            const win::COLORREF c
                = dib.PixelColor(static_cast<uint64_t>(call.srcX + x), static_cast<uint64_t>(top + y));
            line[x] = qRgb(win::GetRValue(c), win::GetGValue(c), win::GetBValue(c));
        }
    }
    return part;
}

// The source rectangle of the picture as a top-down QImage of its own.
QImage SourceImage(const DibCall& call)
{
    const DibView& dib = call.dib;
    if (dib.bitsPerPixel == 4 || dib.bitsPerPixel == 16)
        return SourceImageByPixel(call);
    const int rows = static_cast<int>(dib.Rows());
    const auto rowBytes = static_cast<qsizetype>(DibView::RowBytes(dib.width, dib.bitsPerPixel));
    QImage::Format format = QImage::Format_ARGB32;
    if (dib.bitsPerPixel == 24)
        format = QImage::Format_BGR888;
    else if (dib.bitsPerPixel == 8)
        format = QImage::Format_Indexed8;
    else if (dib.bitsPerPixel == 1)
        format = QImage::Format_Mono;
    // A view of the caller's rows, in stored order; nothing is written through it.
    const QImage stored(dib.bits, dib.width, rows, rowBytes, format);
    // Source y counts up from the bottom row of the picture.
    const int top = rows - call.srcY - call.srcHeight;
    const int storedTop = dib.TopDown() ? top : rows - top - call.srcHeight;
    QImage part = stored.copy(call.srcX, storedTop, call.srcWidth, call.srcHeight);
    if (!dib.TopDown())
        part = part.mirrored(false, true);
    if (format == QImage::Format_Indexed8 || format == QImage::Format_Mono)
        part.setColorTable(ColourTable(dib, format == QImage::Format_Mono ? 2 : 256));
    // The fourth byte of a 32-bit pixel is not drawn: the picture is opaque.
    return part.convertToFormat(QImage::Format_RGB32);
}

// Whether the painter's target keeps no alpha (an image without an alpha channel, such as a window's
// backing store or an RGB32 page): there the fourth byte of a 32-bit pixel is never seen, so the
// caller's rows can be drawn as they are.
bool TargetIgnoresAlpha(QPainter& painter)
{
    const QPaintEngine* engine = painter.paintEngine();
    const QPaintDevice* device = engine != nullptr ? engine->paintDevice() : nullptr;
    return device != nullptr && device->devType() == QInternal::Image
        && !static_cast<const QImage*>(device)->hasAlphaChannel();
}

// Whether every pixel of the source rectangle has 0xFF in its fourth byte, as Qt's RGB32 expects.
// Qt copies that byte into the target as it is, and a target whose fourth bytes are not 0xFF shows
// through wherever it is itself drawn over a picture with alpha.
bool SourceOpaque(const DibCall& call)
{
    const DibView& dib = call.dib;
    const int top = static_cast<int>(dib.Rows()) - call.srcY - call.srcHeight;
    for (int row = top; row < top + call.srcHeight; ++row) {
        const uint8_t* pixel
            = dib.PictureRow(static_cast<uint64_t>(row)) + 4 * static_cast<std::size_t>(call.srcX);
        for (int x = 0; x < call.srcWidth; ++x, pixel += 4)
            if (pixel[3] != 0xFF)
                return false;
    }
    return true;
}

// Whether the painter writes a PDF file (printing goes through one too): it keeps only the colours
// of an opaque picture, so 32-bit rows reach it as they are.
bool WritesPdf(QPainter& painter)
{
    const QPaintEngine* engine = painter.paintEngine();
    return engine != nullptr && engine->type() == QPaintEngine::Pdf;
}

// Whether the stored rows show mirrored across, and upside down, on the device.
bool FlipsX(const DibCall& call)
{
    return call.deviceWidth < 0;
}

bool FlipsY(const DibCall& call)
{
    return (call.deviceHeight < 0) != !call.dib.TopDown();
}

// Whether the rows can be drawn in place: 32-bit rows that show upright as stored, opaque on a
// target that keeps no alpha, or in a PDF file. Turning rows over through the painter's transform
// costs more than the copy it saves (Qt leaves its fast path for any mirroring), so mirrored draws
// take a copy.
bool DrawsInPlace(QPainter& painter, const DibCall& call)
{
    return call.dib.bitsPerPixel == 32 && !FlipsX(call) && !FlipsY(call)
        && ((TargetIgnoresAlpha(painter) && SourceOpaque(call)) || WritesPdf(painter));
}

// A view of the caller's 32-bit rows in stored order, and the call's source rectangle in them.
QImage StoredRows(const DibCall& call, QRect& source)
{
    const DibView& dib = call.dib;
    const int rows = static_cast<int>(dib.Rows());
    const auto rowBytes = static_cast<qsizetype>(DibView::RowBytes(dib.width, dib.bitsPerPixel));
    // Source y counts up from the bottom row of the picture.
    const int top = rows - call.srcY - call.srcHeight;
    const int storedTop = dib.TopDown() ? top : rows - top - call.srcHeight;
    source = QRect(call.srcX, storedTop, call.srcWidth, call.srcHeight);
    return QImage(dib.bits, dib.width, rows, rowBytes, QImage::Format_RGB32);
}

// Draws 32-bit rows in place, without a copy.
void DrawRowsInPlace(QPainter& painter, const DibCall& call, const QRect& target)
{
    QRect source;
    const QImage stored = StoredRows(call, source);
    painter.drawImage(target, stored, source);
}

// Draws mirrored 32-bit rows into a PDF file from one copy, turned over where it is made: a PDF
// image is the page's pixels as they are, so the rows are never turned by the file's matrix (a
// viewer would sample them at other rows).
void DrawMirroredRowsToPdf(QPainter& painter, const DibCall& call, const QRect& target)
{
    QRect source;
    const QImage stored = StoredRows(call, source);
    painter.drawImage(target, stored.copy(source).mirrored(FlipsX(call), FlipsY(call)));
}

// Draws the source rectangle of the picture over the target rectangle: straight into the target
// image where it lands one pixel to one, else through the painter: from the rows themselves where
// they show upright and opaque (or upright in a PDF file), in a PDF file from one copy turned over
// as it is made, or else from an upright opaque copy.
void DrawPicture(QPainter& painter, const DibCall& call, const QRect& target)
{
    if (BlitStraight(painter, call, target))
        return;
    if (DrawsInPlace(painter, call))
        DrawRowsInPlace(painter, call, target);
    else if (call.dib.bitsPerPixel == 32 && WritesPdf(painter))
        DrawMirroredRowsToPdf(painter, call, target);
    else
        painter.drawImage(target, SourceImage(call).mirrored(FlipsX(call), call.deviceHeight < 0));
}

// The raster operations that combine the picture's colours with the device's bit by bit; copying
// keeps the painter's own mode.
void SetRasterOp(QPainter& painter, win::DWORD rop)
{
    if (rop == SRCAND)
        painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    else if (rop == SRCPAINT)
        painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
}

} // namespace

DeviceCaps QtDeviceContext::CapsOf(const QPaintDevice& device)
{
    return { device.width(), device.height(), device.logicalDpiX(), device.logicalDpiY() };
}

QtDeviceContext::QtDeviceContext(QPaintDevice& device, bool printing)
    : DeviceContext(CapsOf(device), printing)
    , ownPainter_(std::make_unique<QPainter>(&device))
    , painter_(ownPainter_.get())
{
}

QtDeviceContext::QtDeviceContext(QImage& image)
    : QtDeviceContext(static_cast<QPaintDevice&>(image), false)
{
}

QtDeviceContext::QtDeviceContext(QWidget& widget)
    : QtDeviceContext(static_cast<QPaintDevice&>(widget), false)
{
}

QtDeviceContext::QtDeviceContext(QPrinter& printer, bool printing)
    : QtDeviceContext(static_cast<QPaintDevice&>(printer), printing)
{
}

QtDeviceContext::QtDeviceContext(QPdfWriter& writer, bool printing)
    : QtDeviceContext(static_cast<QPaintDevice&>(writer), printing)
{
}

QtDeviceContext::QtDeviceContext(QPainter& painter, bool printing)
    : DeviceContext(painter.device() ? CapsOf(*painter.device()) : DeviceCaps {}, printing)
    , painter_(&painter)
{
}

QtDeviceContext::~QtDeviceContext()
{
    if (ownPainter_ && ownPainter_->isActive())
        ownPainter_->end();
}

bool QtDeviceContext::IsActive() const
{
    return painter_->isActive();
}

QFont QtDeviceContext::ToQFont(const DeviceFont& font) const
{
    QFont q(QtFamily(font.faceName));
    q.setStyleStrategy(QFont::PreferOutline);
    q.setHintingPreference(QFont::PreferNoHinting);
    q.setKerning(false);
    q.setWeight(
        font.weight == 0 ? QFont::Normal : static_cast<QFont::Weight>(std::clamp(font.weight, 100, 900)));
    q.setItalic(font.italic);
    q.setUnderline(font.underline);
    q.setStrikeOut(font.strikeOut);
    int pixels = 0;
    if (font.height < 0) {
        pixels = -font.height; // the em height
    } else if (font.height > 0) {
        // A cell height: take away the internal leading, measured on a large reference size.
        q.setPixelSize(1000);
        const QFontMetricsF metrics(q);
        const double cell = metrics.ascent() + metrics.descent();
        pixels = static_cast<int>(std::lround(font.height * 1000.0 / (cell > 0 ? cell : 1000.0)));
    } else {
        pixels = static_cast<int>(std::lround(12.0 * GetDeviceCaps(LOGPIXELSY) / 72.0)); // 12 points
    }
    q.setPixelSize(std::clamp(pixels, 1, kMaxDeviceFontHeight));
    return q;
}

void QtDeviceContext::DoFillRect(const FillCall& call)
{
    const win::RECT& r = call.device;
    if (!IsActive() || r.right <= r.left || r.bottom <= r.top)
        return;
    const int left = Near(r.left);
    const int top = Near(r.top);
    const QRect rect(left, top, Near(r.right) - left, Near(r.bottom) - top);
    if (!call.halftone) {
        painter_->fillRect(rect, fw::ToQColor(call.color));
        return;
    }
    // Qt's 50 % pattern sets the pixels where x + y is odd (from the brush origin, the device's
    // corner); with a transparent background the others are left alone.
    painter_->save();
    painter_->setBackgroundMode(Qt::TransparentMode);
    painter_->setBrushOrigin(0, 0);
    painter_->fillRect(rect, QBrush(fw::ToQColor(call.color), Qt::Dense4Pattern));
    painter_->restore();
}

void QtDeviceContext::DoLine(const LineCall& call)
{
    if (!IsActive())
        return;
    painter_->save();
    painter_->setRenderHint(QPainter::Antialiasing, false);
    QPen pen(fw::ToQColor(call.pen.color));
    pen.setWidth(call.pen.width); // 0 is Qt's one-pixel pen as well
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter_->setPen(pen);
    painter_->drawLine(
        QPoint(call.deviceFrom.x, call.deviceFrom.y), QPoint(call.deviceTo.x, call.deviceTo.y));
    painter_->restore();
}

void QtDeviceContext::DoText(const TextCall& call)
{
    if (!IsActive() || call.text.empty())
        return;
    const QFont font = ToQFont(call.font);
    const QFontMetricsF metrics(font, painter_->device());
    const QString text = fw::FromCp1252(call.text);
    painter_->save();
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
    painter_->translate(call.deviceOrigin.x, call.deviceOrigin.y);
    // Escapement turns counter-clockwise; Qt's rotation turns clockwise on the y-down device.
    painter_->rotate(-call.font.escapement / 10.0);
    if (call.bkMode == OPAQUE)
        painter_->fillRect(
            QRectF(0, 0, metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent()),
            fw::ToQColor(call.bkColor));
    painter_->setFont(font);
    painter_->setPen(fw::ToQColor(call.textColor));
    painter_->drawText(QPointF(0, metrics.ascent()), text);
    painter_->restore();
}

win::SIZE QtDeviceContext::DoMeasureText(std::string_view text, const DeviceFont& font) const
{
    const QFontMetricsF metrics(ToQFont(font), painter_->device());
    const double width = metrics.horizontalAdvance(fw::FromCp1252(text));
    return { static_cast<win::LONG>(std::lround(std::min(width, 2e9))),
        static_cast<win::LONG>(std::lround(metrics.ascent() + metrics.descent())) };
}

void QtDeviceContext::DoStretchDib(const DibCall& call)
{
    if (!IsActive())
        return;
    const int x1 = Near(call.deviceX);
    const int y1 = Near(call.deviceY);
    const int x2 = Near(static_cast<int64_t>(call.deviceX) + call.deviceWidth);
    const int y2 = Near(static_cast<int64_t>(call.deviceY) + call.deviceHeight);
    painter_->save();
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, call.stretchMode == HALFTONE);
    // PDF output (and printing, which goes through it) would otherwise store the picture as JPEG,
    // losing detail and shifting its colours.
    painter_->setRenderHint(QPainter::LosslessImageRendering, true);
    SetRasterOp(*painter_, call.rop);
    const QRect target(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1), std::abs(y2 - y1));
    DrawPicture(*painter_, call, target);
    painter_->restore();
}

namespace {

// The platform's 50 % halftone brush for the drag frame: white where x + y is odd, black between.
// XORed onto the device, the white pixels invert what lies under them and the black ones leave it.
QBrush HalftoneInvertBrush()
{
    QImage pattern(2, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            pattern.setPixel(x, y, (x + y) % 2 == 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return QBrush(pattern);
}

} // namespace

void QtDeviceContext::DoDragRect(const DragRectCall& call)
{
    if (!IsActive())
        return;
    const QBrush brush = HalftoneInvertBrush();
    auto invertFrame = [&](const win::RECT& r, const win::SIZE& s) {
        const int64_t w64 = static_cast<int64_t>(r.right) - r.left;
        const int64_t h64 = static_cast<int64_t>(r.bottom) - r.top;
        if (w64 <= 0 || h64 <= 0 || w64 > INT32_MAX || h64 > INT32_MAX)
            return;
        const int w = static_cast<int>(w64);
        const int h = static_cast<int>(h64);
        const int bx = static_cast<int>(std::clamp<int64_t>(s.cx, 1, w));
        const int by = static_cast<int>(std::clamp<int64_t>(s.cy, 1, h));
        // The strips do not overlap, so each pixel of the pattern flips once.
        if (2 * static_cast<int64_t>(bx) >= w || 2 * static_cast<int64_t>(by) >= h) {
            painter_->fillRect(QRect(r.left, r.top, w, h), brush);
            return;
        }
        painter_->fillRect(QRect(r.left, r.top, w, by), brush);
        painter_->fillRect(QRect(r.left, r.bottom - by, w, by), brush);
        painter_->fillRect(QRect(r.left, r.top + by, bx, h - 2 * by), brush);
        painter_->fillRect(QRect(r.right - bx, r.top + by, bx, h - 2 * by), brush);
    };
    painter_->save();
    painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter_->setBrushOrigin(0, 0);
    if (call.hasLast)
        invertFrame(call.lastRect, call.lastSize);
    invertFrame(call.rect, call.size);
    painter_->restore();
}

} // namespace gdi
