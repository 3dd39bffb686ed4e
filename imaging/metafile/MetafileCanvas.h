// What the metafile player draws on: shapes, text and pictures in device pixels of the output
// picture, with the pen, brush and font already converted to pixels, under a clip and a binary
// raster operation. The Qt canvas paints them into a QImage; the recording canvas (fuzzing, tests)
// keeps them.
#pragma once

#include "platform/gdi/Dib.h"
#include "platform/win/Types.h"

#include <QPainterPath>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace metafile {

struct PointD {
    double x = 0;
    double y = 0;
};

// How a pen wider than a pixel ends its lines and joins their segments.
enum class LineCap { Round, Square, Flat };
enum class LineJoin { Round, Bevel, Miter };

struct PenStyle {
    bool visible = true;
    win::COLORREF colour = 0;
    double width = 0; // pixels; 0 draws one pixel wide
    LineCap cap = LineCap::Round;
    LineJoin join = LineJoin::Round;
    // A miter join whose miter (from the inner to the outer corner) is longer than this many pen
    // widths is bevelled instead.
    double miterLimit = 10;
    // A dashed pen's lengths in pixels, on and off by turns, each as it shows (caps included);
    // empty: a solid line.
    std::vector<double> dashes {};
    // The colour the gaps between dashes are filled with (the opaque background mode); none: the
    // gaps are left as they are.
    std::optional<win::COLORREF> gapColour {};
};

// A brush's pattern: width x height colours, top row first.
struct Pattern {
    int width = 0;
    int height = 0;
    std::vector<win::COLORREF> pixels;
    // For each pixel whether it is painted (a hatch's gaps under the transparent background mode
    // are not); empty: every pixel is.
    std::vector<bool> painted {};
};

struct BrushStyle {
    bool visible = true;
    win::COLORREF colour = win::RGB(255, 255, 255);
    std::shared_ptr<const Pattern> pattern; // tiled from the picture's origin when set
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
    std::vector<double> advances; // pixels from each character to the next; empty: the font's own
};

// How a picture is put down.
struct PictureStyle {
    int constantAlpha = 255; // the whole picture's opacity
    bool sourceAlpha = false; // 32-bit pixels carry a premultiplied alpha in their fourth byte
    bool smooth = false; // stretched with filtering (the halftone stretch mode)
};

// A blit under a ternary raster operation, in output pixels: each pixel of the area that lies inside
// the clip becomes the operation (by its index, its truth table) of the pattern's colour there, the
// source's and its own.
struct RasterBlit {
    int left = 0; // the area, inside the picture
    int top = 0;
    int width = 0;
    int height = 0;
    uint8_t index = 0;
    std::vector<win::COLORREF> source {}; // width x height, top row first; empty when not used
    BrushStyle pattern {}; // its pattern tiled from the picture's origin
};

// The binary raster operations (how a pen or brush combines with the picture), 1 to 16.
inline constexpr int kRop2Black = 1;
inline constexpr int kRop2Not = 6;
inline constexpr int kRop2Xor = 7;
inline constexpr int kRop2CopyPen = 13;
inline constexpr int kRop2White = 16;

class MetafileCanvas {
public:
    virtual ~MetafileCanvas() = default;
    // The path filled (by its own fill rule) with the brush, then outlined with the pen.
    virtual void Shape(const QPainterPath& path, const PenStyle& pen, const BrushStyle& brush) = 0;
    virtual void Text(PointD at, const QString& text, const FontStyle& font, win::COLORREF colour,
        const TextPlacement& placement)
        = 0;
    // The text's width in pixels drawn in the font.
    virtual double TextWidth(const QString& text, const FontStyle& font) = 0;
    // Glyphs of the font's face by their indices in it, placed as text is. Indices mean something
    // in that very face only: where it is not installed nothing is drawn.
    virtual void Glyphs(PointD at, const std::vector<uint16_t>& glyphs, const FontStyle& font,
        win::COLORREF colour, const TextPlacement& placement)
        = 0;
    // The glyphs' width in pixels; 0 where the face is not installed.
    virtual double GlyphsWidth(const std::vector<uint16_t>& glyphs, const FontStyle& font) = 0;
    // The source rectangle (srcY counted from the picture's top row) stretched onto the rectangle
    // between the two corners; the view has been checked.
    virtual void Picture(PointD corner, PointD opposite, const gdi::DibView& dib, int srcX, int srcY,
        int srcWidth, int srcHeight, const PictureStyle& style)
        = 0;
    // What is drawn from now on is kept inside the clip (everywhere without one).
    virtual void Clip(const std::optional<QPainterPath>& clip) = 0;
    // What is drawn from now on combines with the picture by the binary raster operation.
    virtual void Rop2(int rop2) = 0;
    // The blit's pixels combined with the picture's (the binary raster operation does not apply).
    virtual void Blit(const RasterBlit& blit) = 0;
};

} // namespace metafile
