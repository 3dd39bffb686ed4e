// What the metafile player draws on: shapes, lines, text and pictures in device pixels of the
// output picture, with the pen, brush and font already converted to pixels. The Qt canvas paints
// them into a QImage; the recording canvas (fuzzing, tests) keeps them.
#pragma once

#include "platform/gdi/Dib.h"
#include "platform/win/Types.h"

#include <QString>
#include <vector>

namespace metafile {

struct PointD {
    double x = 0;
    double y = 0;
};

struct PenStyle {
    bool visible = true;
    win::COLORREF colour = 0;
    double width = 0; // pixels; 0 draws one pixel wide
};

struct BrushStyle {
    bool visible = true;
    win::COLORREF colour = win::RGB(255, 255, 255);
};

struct FontStyle {
    QString face;
    double height = 0; // pixels: the character (em) height
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    double angle = 0; // degrees, counter-clockwise
};

// How text lies on its reference point.
struct TextPlacement {
    bool centre = false; // horizontally centred on the point
    bool right = false; // ending at the point
    bool baseline = false; // the baseline at the point (else the top, or with bottom the bottom)
    bool bottom = false;
    bool opaque = false; // the cell filled with the background colour first
    win::COLORREF background = 0;
};

class MetafileCanvas {
public:
    virtual ~MetafileCanvas() = default;
    // Polygons filled together (alternate or winding rule), then outlined.
    virtual void Polygons(const std::vector<std::vector<PointD>>& polygons, const PenStyle& pen,
        const BrushStyle& brush, bool winding)
        = 0;
    virtual void Polyline(const std::vector<PointD>& points, const PenStyle& pen) = 0;
    virtual void Ellipse(PointD corner, PointD opposite, const PenStyle& pen, const BrushStyle& brush) = 0;
    virtual void Text(PointD at, const QString& text, const FontStyle& font, win::COLORREF colour,
        const TextPlacement& placement)
        = 0;
    // The source rectangle (srcY counted from the picture's top row) stretched onto the rectangle
    // between the two corners; the view has been checked.
    virtual void Picture(PointD corner, PointD opposite, const gdi::DibView& dib, int srcX, int srcY,
        int srcWidth, int srcHeight)
        = 0;
};

} // namespace metafile
