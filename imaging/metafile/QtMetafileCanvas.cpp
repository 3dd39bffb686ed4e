#include "imaging/metafile/QtMetafileCanvas.h"

#include "imaging/metafile/RasterOperation.h"
#include "platform/qt/QtColour.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRawFont>

#include <algorithm>
#include <array>
#include <numeric>

namespace metafile {
namespace {

QFont FontOf(const FontStyle& font)
{
    QFont qfont(font.face);
    qfont.setPixelSize(std::max(1, static_cast<int>(font.height + 0.5)));
    qfont.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight == 0 ? 400 : font.weight, 100, 900)));
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStrikeOut(font.strikeOut);
    return qfont;
}

// The font the text is drawn in. A face of a symbol encoding draws the codes of its encoding and
// nothing else, and Qt gives it no fallback: text with a character it lacks (text of that encoding
// already read as the characters it stands for) is drawn in the default face, whose fallback has
// them.
QFont TextFontOf(const FontStyle& font, const QString& text)
{
    QFont qfont = FontOf(font);
    const QRawFont face = QRawFont::fromFont(qfont);
    if (!QFontDatabase::writingSystems(face.familyName()).contains(QFontDatabase::Symbol))
        return qfont;
    for (const QChar c : text)
        if (!c.isSpace() && !face.supportsCharacter(c)) {
            qfont.setFamily(QStringLiteral("Arial"));
            break;
        }
    return qfont;
}

Qt::PenCapStyle CapOf(LineCap cap)
{
    switch (cap) {
    case LineCap::Square:
        return Qt::SquareCap;
    case LineCap::Flat:
        return Qt::FlatCap;
    case LineCap::Round:
        break;
    }
    return Qt::RoundCap;
}

Qt::PenJoinStyle JoinOf(LineJoin join)
{
    switch (join) {
    case LineJoin::Bevel:
        return Qt::BevelJoin;
    case LineJoin::Miter:
        // Bevelled beyond the miter limit, as the metafile's miter is (Qt's plain miter join is
        // cut off at the limit instead).
        return Qt::SvgMiterJoin;
    case LineJoin::Round:
        break;
    }
    return Qt::RoundJoin;
}

// The pen's dashes in Qt's units, pen widths. A round or square cap reaches half the width past
// each end of a dash, so the dash is drawn that much shorter and its gap that much longer.
QList<qreal> DashPattern(const PenStyle& pen)
{
    const double width = std::max(pen.width, 1.0);
    const double caps = pen.width > 1 && pen.cap != LineCap::Flat ? width : 0;
    constexpr double kShortest = 1e-3; // a dot all cap
    QList<qreal> pattern;
    for (size_t i = 0; i < pen.dashes.size(); ++i) {
        const double length = i % 2 == 0 ? std::max(pen.dashes[i] - caps, kShortest) : pen.dashes[i] + caps;
        pattern.append(length / width);
    }
    return pattern;
}

QPen PenOf(const PenStyle& pen)
{
    QPen qpen(fw::ToQColor(pen.colour));
    qpen.setWidthF(std::max(pen.width, 1.0));
    if (pen.width <= 1) {
        // A line one pixel wide has no caps or joins to speak of.
        qpen.setJoinStyle(Qt::MiterJoin);
        if (!pen.dashes.empty()) {
            qpen.setCapStyle(Qt::FlatCap);
            qpen.setDashPattern(DashPattern(pen));
        }
        return qpen;
    }
    qpen.setCapStyle(CapOf(pen.cap));
    qpen.setJoinStyle(JoinOf(pen.join));
    if (!pen.dashes.empty())
        qpen.setDashPattern(DashPattern(pen));
    // The metafile's limit is the miter's length from the inner to the outer corner over the pen's
    // width, 1 / sin(half the angle between the segments). Qt's is the distance from the join's
    // point to the miter's tip over half the pen's width: (w / 2) / sin(half the angle) over w / 2,
    // the same number, so it is passed on as it is.
    qpen.setMiterLimit(pen.miterLimit);
    return qpen;
}

QBrush BrushOf(const Pattern& pattern)
{
    const bool gaps = !pattern.painted.empty();
    QImage image(pattern.width, pattern.height, gaps ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < pattern.height; ++y)
        for (int x = 0; x < pattern.width; ++x) {
            const size_t at = size_t(y) * size_t(pattern.width) + size_t(x);
            const bool painted = !gaps || (at < pattern.painted.size() && pattern.painted[at]);
            image.setPixel(x, y, painted ? fw::ToQColor(pattern.pixels[at]).rgb() : 0u);
        }
    return QBrush(image);
}

// The face itself, when it is installed: a font that stands in for a missing face (as another of
// the same metrics does) numbers its glyphs otherwise.
std::optional<QRawFont> InstalledFace(const QFont& font, const QString& face)
{
    QRawFont raw = QRawFont::fromFont(font);
    // Qt names a family that more than one foundry makes with the foundry after it: "Face [Foundry]".
    QString family = raw.familyName();
    if (const qsizetype foundry = family.indexOf(QStringLiteral(" [")); foundry > 0)
        family.truncate(foundry);
    if (!raw.isValid() || family.compare(face, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    return raw;
}

// The advance of each glyph: the placement's, else the face's own.
QList<double> GlyphAdvances(
    const QRawFont& face, const QList<quint32>& indexes, const TextPlacement& placement)
{
    QList<double> advances;
    if (!placement.advances.empty()) {
        for (qsizetype i = 0; i < indexes.size(); ++i)
            advances.push_back(size_t(i) < placement.advances.size() ? placement.advances[size_t(i)] : 0);
        return advances;
    }
    for (const QPointF advance : face.advancesForGlyphIndexes(indexes))
        advances.push_back(advance.x());
    return advances;
}

} // namespace

const QBrush& QtMetafileCanvas::PatternBrush(const std::shared_ptr<const Pattern>& pattern)
{
    if (pattern != m_brushPattern) {
        m_patternBrush = BrushOf(*pattern);
        m_brushPattern = pattern;
    }
    return m_patternBrush;
}

void QtMetafileCanvas::Use(const PenStyle& pen, const BrushStyle& brush)
{
    if (pen.visible) {
        m_painter.setPen(PenOf(pen));
    } else {
        m_painter.setPen(Qt::NoPen);
    }
    const Pattern* pattern = brush.pattern.get();
    if (!brush.visible)
        m_painter.setBrush(Qt::NoBrush);
    else if (pattern == nullptr || pattern->width <= 0 || pattern->height <= 0)
        m_painter.setBrush(QBrush(fw::ToQColor(brush.colour)));
    else
        m_painter.setBrush(PatternBrush(brush.pattern));
}

void QtMetafileCanvas::Shape(const QPainterPath& path, const PenStyle& pen, const BrushStyle& brush)
{
    if (pen.visible && !pen.dashes.empty() && pen.gapColour) {
        // The gaps between the dashes in the background colour: the line drawn solid in it first.
        PenStyle gaps = pen;
        gaps.dashes.clear();
        gaps.colour = *pen.gapColour;
        Use(gaps, brush);
        m_painter.drawPath(path);
        Use(pen, { false, 0, nullptr });
        m_painter.drawPath(path);
        return;
    }
    Use(pen, brush);
    m_painter.drawPath(path);
}

double QtMetafileCanvas::TextWidth(const QString& text, const FontStyle& font)
{
    return QFontMetricsF(TextFontOf(font, text)).horizontalAdvance(text);
}

void QtMetafileCanvas::Text(PointD at, const QString& text, const FontStyle& font, win::COLORREF colour,
    const TextPlacement& placement)
{
    const QFont qfont = TextFontOf(font, text);
    const QFontMetricsF metrics(qfont);
    const bool spaced = !placement.advances.empty();
    double width = 0;
    if (spaced)
        for (const double advance : placement.advances)
            width += advance;
    else
        width = metrics.horizontalAdvance(text);
    PlaceText(at, font, metrics, width, placement, [&](QPointF baseline) {
        m_painter.setFont(qfont);
        m_painter.setPen(fw::ToQColor(colour));
        if (!spaced) {
            m_painter.drawText(baseline, text);
            return;
        }
        // Each character at its own place: the advances the metafile gives, not the font's.
        double along = baseline.x();
        for (qsizetype i = 0; i < text.size(); ++i) {
            m_painter.drawText(QPointF(along, baseline.y()), QString(text[i]));
            along += size_t(i) < placement.advances.size() ? placement.advances[size_t(i)] : 0;
        }
    });
}

void QtMetafileCanvas::Glyphs(PointD at, const std::vector<uint16_t>& glyphs, const FontStyle& font,
    win::COLORREF colour, const TextPlacement& placement)
{
    const QFont qfont = FontOf(font);
    const std::optional<QRawFont> face = InstalledFace(qfont, font.face);
    if (!face || glyphs.empty())
        return;
    const QList<quint32> indexes(glyphs.begin(), glyphs.end());
    const QList<double> advances = GlyphAdvances(*face, indexes, placement);
    QList<QPointF> positions;
    double width = 0;
    for (const double advance : advances) {
        positions.push_back(QPointF(width, 0));
        width += advance;
    }
    QGlyphRun run;
    run.setRawFont(*face);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    run.setUnderline(font.underline);
    run.setStrikeOut(font.strikeOut);
    PlaceText(at, font, QFontMetricsF(qfont), width, placement, [&](QPointF baseline) {
        m_painter.setPen(fw::ToQColor(colour));
        m_painter.drawGlyphRun(baseline, run);
    });
}

double QtMetafileCanvas::GlyphsWidth(const std::vector<uint16_t>& glyphs, const FontStyle& font)
{
    const std::optional<QRawFont> face = InstalledFace(FontOf(font), font.face);
    if (!face)
        return 0;
    const QList<double> advances = GlyphAdvances(*face, QList<quint32>(glyphs.begin(), glyphs.end()), {});
    return std::accumulate(advances.begin(), advances.end(), 0.0);
}

void QtMetafileCanvas::PlaceText(PointD at, const FontStyle& font, const QFontMetricsF& metrics, double width,
    const TextPlacement& placement, const std::function<void(QPointF)>& draw)
{
    const double x = placement.centre ? -width / 2 : placement.right ? -width : 0;
    const double top = placement.baseline ? -metrics.ascent() : placement.bottom ? -metrics.height() : 0;
    m_painter.save();
    m_painter.translate(at.x, at.y);
    m_painter.rotate(-font.angle);
    if (placement.opaque)
        m_painter.fillRect(QRectF(x, top, width, metrics.height()), fw::ToQColor(placement.background));
    draw(QPointF(x, top + metrics.ascent()));
    m_painter.restore();
}

void QtMetafileCanvas::Picture(PointD corner, PointD opposite, const gdi::DibView& dib, int srcX, int srcY,
    int srcWidth, int srcHeight, const PictureStyle& style)
{
    const bool alpha = style.sourceAlpha && dib.bitsPerPixel == 32;
    QImage image(srcWidth, srcHeight, alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    for (int y = 0; y < srcHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uint8_t* source = alpha ? dib.PictureRow(uint64_t(srcY + y)) : nullptr;
        for (int x = 0; x < srcWidth; ++x) {
            const win::COLORREF c = dib.PixelColor(uint64_t(srcX + x), uint64_t(srcY + y));
            const int a = alpha ? source[4 * size_t(srcX + x) + 3] : 255;
            // Premultiplied colours never exceed their alpha.
            row[x] = qRgba(std::min<int>(win::GetRValue(c), a), std::min<int>(win::GetGValue(c), a),
                std::min<int>(win::GetBValue(c), a), a);
        }
    }
    const bool mirrorX = opposite.x < corner.x;
    const bool mirrorY = opposite.y < corner.y;
    if (mirrorX || mirrorY)
        image = image.mirrored(mirrorX, mirrorY);
    m_painter.save();
    m_painter.setOpacity(std::clamp(style.constantAlpha, 0, 255) / 255.0);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, style.smooth);
    m_painter.drawImage(
        QRectF(QPointF(corner.x, corner.y), QPointF(opposite.x, opposite.y)).normalized(), image);
    m_painter.restore();
}

void QtMetafileCanvas::Clip(const std::optional<QPainterPath>& clip)
{
    if (clip)
        m_painter.setClipPath(*clip);
    else
        m_painter.setClipping(false);
}

void QtMetafileCanvas::Blit(const RasterBlit& blit)
{
    // The picture painted on is read where the blit lies; the result is put down through the clip.
    const auto* image = dynamic_cast<const QImage*>(m_painter.device());
    if (image == nullptr || blit.width <= 0 || blit.height <= 0
        || !image->rect().contains(QRect(blit.left, blit.top, blit.width, blit.height)))
        return;
    const bool withSource = blit.source.size() == size_t(blit.width) * size_t(blit.height);
    QImage result(blit.width, blit.height, QImage::Format_RGB32);
    for (int y = 0; y < blit.height; ++y) {
        const auto* under = reinterpret_cast<const QRgb*>(image->constScanLine(blit.top + y));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < blit.width; ++x) {
            const QRgb d = under[blit.left + x];
            const win::COLORREF source
                = withSource ? blit.source[size_t(y) * size_t(blit.width) + size_t(x)] : 0;
            const win::COLORREF c
                = Rop3(blit.index, PatternColourAt(blit.pattern, blit.left + x, blit.top + y), source,
                    win::RGB(uint8_t(qRed(d)), uint8_t(qGreen(d)), uint8_t(qBlue(d))));
            out[x] = qRgb(win::GetRValue(c), win::GetGValue(c), win::GetBValue(c));
        }
    }
    m_painter.save();
    m_painter.setCompositionMode(QPainter::CompositionMode_Source);
    m_painter.drawImage(QPoint(blit.left, blit.top), result);
    m_painter.restore();
}

void QtMetafileCanvas::Rop2(int rop2)
{
    // Indexed by the binary raster operation, 1 to 16.
    static constexpr std::array<QPainter::CompositionMode, 16> kModes {
        QPainter::RasterOp_ClearDestination, // black
        QPainter::RasterOp_NotSourceAndNotDestination, // not (pen or picture)
        QPainter::RasterOp_NotSourceAndDestination, QPainter::RasterOp_NotSource,
        QPainter::RasterOp_SourceAndNotDestination, QPainter::RasterOp_NotDestination,
        QPainter::RasterOp_SourceXorDestination, QPainter::RasterOp_NotSourceOrNotDestination,
        QPainter::RasterOp_SourceAndDestination, QPainter::RasterOp_NotSourceXorDestination,
        QPainter::CompositionMode_Destination, // no operation
        QPainter::RasterOp_NotSourceOrDestination,
        QPainter::CompositionMode_SourceOver, // the pen itself
        QPainter::RasterOp_SourceOrNotDestination, QPainter::RasterOp_SourceOrDestination,
        QPainter::RasterOp_SetDestination, // white
    };
    m_painter.setCompositionMode(
        rop2 >= 1 && rop2 <= 16 ? kModes[size_t(rop2 - 1)] : QPainter::CompositionMode_SourceOver);
}

} // namespace metafile
