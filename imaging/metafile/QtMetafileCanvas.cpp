#include "imaging/metafile/QtMetafileCanvas.h"

#include "platform/qt/QtColour.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>

namespace metafile {
namespace {

QPolygonF PolygonOf(const std::vector<PointD>& points)
{
    QPolygonF polygon;
    for (const PointD& p : points)
        polygon << QPointF(p.x, p.y);
    return polygon;
}

} // namespace

void QtMetafileCanvas::Use(const PenStyle& pen, const BrushStyle& brush)
{
    if (pen.visible) {
        QPen qpen(fw::ToQColor(pen.colour));
        qpen.setWidthF(std::max(pen.width, 1.0));
        qpen.setJoinStyle(Qt::MiterJoin);
        m_painter.setPen(qpen);
    } else {
        m_painter.setPen(Qt::NoPen);
    }
    m_painter.setBrush(brush.visible ? QBrush(fw::ToQColor(brush.colour)) : QBrush(Qt::NoBrush));
}

void QtMetafileCanvas::Polygons(const std::vector<std::vector<PointD>>& polygons, const PenStyle& pen,
    const BrushStyle& brush, bool winding)
{
    QPainterPath path;
    path.setFillRule(winding ? Qt::WindingFill : Qt::OddEvenFill);
    for (const auto& polygon : polygons)
        if (!polygon.empty()) {
            path.addPolygon(PolygonOf(polygon));
            path.closeSubpath();
        }
    Use(pen, brush);
    m_painter.drawPath(path);
}

void QtMetafileCanvas::Polyline(const std::vector<PointD>& points, const PenStyle& pen)
{
    Use(pen, { false, 0 });
    m_painter.drawPolyline(PolygonOf(points));
}

void QtMetafileCanvas::Ellipse(PointD corner, PointD opposite, const PenStyle& pen, const BrushStyle& brush)
{
    Use(pen, brush);
    m_painter.drawEllipse(QRectF(QPointF(corner.x, corner.y), QPointF(opposite.x, opposite.y)).normalized());
}

void QtMetafileCanvas::Text(PointD at, const QString& text, const FontStyle& font, win::COLORREF colour,
    const TextPlacement& placement)
{
    QFont qfont(font.face);
    qfont.setPixelSize(std::max(1, static_cast<int>(font.height + 0.5)));
    qfont.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight == 0 ? 400 : font.weight, 100, 900)));
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStrikeOut(font.strikeOut);
    const QFontMetricsF metrics(qfont);
    const double width = metrics.horizontalAdvance(text);
    const double x = placement.centre ? -width / 2 : placement.right ? -width : 0;
    const double top = placement.baseline ? -metrics.ascent() : placement.bottom ? -metrics.height() : 0;
    m_painter.save();
    m_painter.translate(at.x, at.y);
    m_painter.rotate(-font.angle);
    m_painter.setFont(qfont);
    if (placement.opaque)
        m_painter.fillRect(QRectF(x, top, width, metrics.height()), fw::ToQColor(placement.background));
    m_painter.setPen(fw::ToQColor(colour));
    m_painter.drawText(QPointF(x, top + metrics.ascent()), text);
    m_painter.restore();
}

void QtMetafileCanvas::Picture(
    PointD corner, PointD opposite, const gdi::DibView& dib, int srcX, int srcY, int srcWidth, int srcHeight)
{
    QImage image(srcWidth, srcHeight, QImage::Format_RGB32);
    for (int y = 0; y < srcHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < srcWidth; ++x) {
            const win::COLORREF c = dib.PixelColor(uint64_t(srcX + x), uint64_t(srcY + y));
            row[x] = qRgb(win::GetRValue(c), win::GetGValue(c), win::GetBValue(c));
        }
    }
    const bool mirrorX = opposite.x < corner.x;
    const bool mirrorY = opposite.y < corner.y;
    if (mirrorX || mirrorY)
        image = image.mirrored(mirrorX, mirrorY);
    m_painter.drawImage(
        QRectF(QPointF(corner.x, corner.y), QPointF(opposite.x, opposite.y)).normalized(), image);
}

} // namespace metafile
