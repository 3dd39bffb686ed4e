// The metafile canvas over a QPainter (on the QImage the metafile decoder plays into).
#pragma once

#include "imaging/metafile/MetafileCanvas.h"

#include <QBrush>
#include <QPointF>

#include <functional>
#include <memory>

class QFontMetricsF;
class QPainter;

namespace metafile {

class QtMetafileCanvas : public MetafileCanvas {
public:
    explicit QtMetafileCanvas(QPainter& painter)
        : m_painter(painter)
    {
    }

    void Shape(const QPainterPath& path, const PenStyle& pen, const BrushStyle& brush) override;
    void Text(PointD at, const QString& text, const FontStyle& font, win::COLORREF colour,
        const TextPlacement& placement) override;
    double TextWidth(const QString& text, const FontStyle& font) override;
    void Glyphs(PointD at, const std::vector<uint16_t>& glyphs, const FontStyle& font, win::COLORREF colour,
        const TextPlacement& placement) override;
    double GlyphsWidth(const std::vector<uint16_t>& glyphs, const FontStyle& font) override;
    void Picture(PointD corner, PointD opposite, const gdi::DibView& dib, int srcX, int srcY, int srcWidth,
        int srcHeight, const PictureStyle& style) override;
    void Clip(const std::optional<QPainterPath>& clip) override;
    void Rop2(int rop2) override;
    void Blit(const RasterBlit& blit) override;

private:
    // Text of the width put down at its reference point, turned by the font's angle, on its cell
    // filled when the placement asks: draw gets the start of its baseline.
    void PlaceText(PointD at, const FontStyle& font, const QFontMetricsF& metrics, double width,
        const TextPlacement& placement, const std::function<void(QPointF)>& draw);
    void Use(const PenStyle& pen, const BrushStyle& brush);
    // The brush of a visible pattern, made once for the pattern the last shape used: a metafile
    // draws many shapes with the brush it selected.
    const QBrush& PatternBrush(const std::shared_ptr<const Pattern>& pattern);

    QPainter& m_painter;
    std::shared_ptr<const Pattern> m_brushPattern;
    QBrush m_patternBrush;
};

} // namespace metafile
