// The metafile canvas over a QPainter (on the QImage the metafile decoder plays into).
#pragma once

#include "imaging/metafile/MetafileCanvas.h"

class QPainter;

namespace metafile {

class QtMetafileCanvas : public MetafileCanvas {
public:
    explicit QtMetafileCanvas(QPainter& painter)
        : m_painter(painter)
    {
    }

    void Polygons(const std::vector<std::vector<PointD>>& polygons, const PenStyle& pen,
        const BrushStyle& brush, bool winding) override;
    void Polyline(const std::vector<PointD>& points, const PenStyle& pen) override;
    void Ellipse(PointD corner, PointD opposite, const PenStyle& pen, const BrushStyle& brush) override;
    void Text(PointD at, const QString& text, const FontStyle& font, win::COLORREF colour,
        const TextPlacement& placement) override;
    void Picture(PointD corner, PointD opposite, const gdi::DibView& dib, int srcX, int srcY, int srcWidth,
        int srcHeight) override;

private:
    void Use(const PenStyle& pen, const BrushStyle& brush);

    QPainter& m_painter;
};

} // namespace metafile
