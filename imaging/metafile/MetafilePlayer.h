// Plays the records of a metafile onto a canvas: the device context's state (mapping, colours,
// modes, the selected pen, brush and font, the current position), saved and restored as a stack,
// the table of created objects, the path being recorded, and the drawing records turned into canvas
// calls in output pixels. A record too short for its parameters is skipped; records the player
// does not know are skipped.
#pragma once

#include "imaging/metafile/DashesAndHatches.h"
#include "imaging/metafile/MetafileData.h"
#include "imaging/metafile/MetafileDib.h"
#include "imaging/metafile/MetafileGeometry.h"
#include "imaging/metafile/MetafileMapping.h"
#include "imaging/metafile/SymbolText.h"
#include "imaging/metafile/TextRun.h"

#include <optional>
#include <variant>
#include <vector>

namespace metafile {

struct LogPen {
    bool visible = true;
    win::COLORREF colour = 0;
    double width = 0; // logical units; 0 one pixel whatever the mapping
    LineCap cap = LineCap::Round;
    LineJoin join = LineJoin::Round;
    uint32_t style = 0; // the dash style (the style's low four bits)
    bool geometric = false; // dashes as long as its width says (else as a cosmetic pen's)
    std::vector<double> userLengths {}; // a user style's dashes and gaps (logical units when geometric)
};

struct LogBrush {
    bool visible = true;
    win::COLORREF colour = win::RGB(255, 255, 255);
    std::shared_ptr<const Pattern> pattern;
    // A monochrome pattern (black and white) drawn in the text and background colours of its use.
    bool monochrome = false;
    // A hatched brush's style: lines in its colour, gaps in the background colour when the
    // background mode is opaque.
    std::optional<uint32_t> hatch {};
};

// More rectangles a region than this and the rest are left out, so that no metafile makes the
// clip's arithmetic run away.
inline constexpr size_t kMaxRegionRectangles = 1024;

// A Windows metafile's region: rectangles in logical units.
struct LogRegion {
    std::vector<Box> rectangles;
};

// A world transform: page x = x m11 + y m21 + dx, page y = x m12 + y m22 + dy.
struct Transform {
    double m11 = 1;
    double m12 = 0;
    double m21 = 0;
    double m22 = 1;
    double dx = 0;
    double dy = 0;

    // This transform followed by next.
    Transform Then(const Transform& next) const;
    // How much it scales lengths (the root of the determinant's magnitude).
    double Scale() const;
};

struct LogFont {
    double height = 0; // logical units; 0 the default size
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    double angle = 0; // degrees
    uint8_t charset = 0; // the character set, which gives the code page of ANSI text
    QString face;

    // The character set its text is read in: the symbol set's codes are those of the Symbol
    // encoding only in the Symbol font itself; other fonts of that set (Wingdings and the like)
    // put pictures of their own at those codes, and their text is read as it always was, as ANSI.
    uint8_t TextCharset() const
    {
        constexpr uint8_t kAnsiCharset = 0;
        return charset == kSymbolCharset && face.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) != 0
            ? kAnsiCharset
            : charset;
    }
};

// A created object; a palette takes its slot without being drawn with.
using GdiObject = std::variant<std::monostate, LogPen, LogBrush, LogFont, LogRegion>;

// The pixels a metafile's blits and gradients may work out one by one, per pixel of the picture.
inline constexpr int64_t kPixelWorkPerPixel = 64;

// How an arc is closed: not at all, by its chord, or through the centre.
enum class ArcClosing { Open, Chord, Pie };

// How a region combines with the clip.
enum class ClipMode { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };

class MetafilePlayer {
public:
    // The picture is width x height output pixels.
    MetafilePlayer(const Metafile& metafile, MetafileCanvas& canvas, int width, int height);

    void Play();

    int PlayedRecords() const { return m_played; }
    int SkippedRecords() const { return m_skipped; }

    // A picture's source rectangle, in pixels; y counts from the first row stored (the bottom row of
    // a bottom-up picture), or from the top row for the blits, which take their source as a device.
    struct Source {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        bool fromTop = false;
    };

private:
    struct State {
        Mapping mapping;
        Transform world;
        LogPen pen;
        LogBrush brush;
        LogFont font;
        win::COLORREF textColour = 0;
        win::COLORREF backgroundColour = win::RGB(255, 255, 255);
        bool opaqueBackground = true;
        bool winding = false;
        int textAlign = 0;
        PointD position;
        std::optional<QPainterPath> clip; // output pixels; none: the whole picture
        int rop2 = kRop2CopyPen;
        bool smoothStretch = false;
        bool clockwise = false;
        double miterLimit = 10;
    };

    // Each returns false for a record it does not play.
    bool PlayWmf(const Record& record);
    bool PlayEmf(const Record& record);
    bool PlayWmfObject(const Record& record);
    bool PlayWmfDrawing(const Record& record);
    bool PlayEmfObject(const Record& record);
    bool PlayEmfDrawing(const Record& record);
    bool PlayEmfText(const Record& record);
    bool PlayEmfState(const Record& record);
    bool PlayEmfCurves(const Record& record);
    bool PlayEmfBlit(const Record& record);
    bool PlayEmfPath(const Record& record);
    bool PlayEmfClip(const Record& record);
    bool PlayEmfArc(const Record& record);
    bool PlayWmfMapping(const Record& record);
    bool PlayWmfClip(const Record& record);
    bool PlayWmfArc(const Record& record);
    bool PlayWmfBlit(const Record& record);

    // The object table: WMF objects take the lowest free slot, EMF objects the one named.
    void AddObject(GdiObject object);
    void PutObject(uint32_t index, GdiObject object);
    void SelectObject(uint32_t index);
    const GdiObject* Object(uint32_t index) const;
    void SelectStockObject(uint32_t index);
    // The brush of a table slot or (with the stock flag) a stock brush; nullopt for another object.
    std::optional<BrushStyle> BrushObject(uint32_t index, bool stock) const;
    void DeleteObject(uint32_t index);

    void SaveState();
    void RestoreState(int relative);

    PointD Out(double x, double y) const;
    PointD Out(PointD p) const { return Out(p.x, p.y); }
    // A length along x in output pixels per logical unit.
    double PixelsPerUnit() const;
    // Segments a whole turn of an arc is drawn with, for its radius in logical units.
    int SegmentsPerTurn(double radius) const;
    PenStyle Pen() const;
    BrushStyle Brush() const;
    BrushStyle BrushOf(const LogBrush& brush) const;
    // A monochrome pattern in the text colour (for black) and the background colour (for white).
    std::shared_ptr<const Pattern> Coloured(const std::shared_ptr<const Pattern>& pattern) const;

    // Drawing: each shape is built in output pixels, then added to the path being recorded or
    // drawn on the canvas (after the canvas has taken the clip and raster operation).
    void Sync();
    void Emit(const QPainterPath& path, bool filled);
    void DrawPolygons(const std::vector<std::vector<PointD>>& logical);
    // Lines (or cubic Bézier segments, three points each) through the points; fromPosition starts
    // them at the current position and leaves it at their end.
    void DrawLines(std::vector<PointD> logical, bool bezier, bool fromPosition);
    void DrawRectangle(double left, double top, double right, double bottom);
    void DrawEllipse(const Box& box);
    void DrawArc(const Box& box, PointD start, PointD end, ArcClosing closing, bool fromPosition);
    void DrawRoundRect(const Box& box, double cornerWidth, double cornerHeight);
    void LineTo(double x, double y);
    void SetPixel(double x, double y, win::COLORREF colour);
    // The text at its reference point (the current position with the alignment that asks for it).
    void DrawText(const TextRun& run);
    // The text on the canvas at the point (output pixels): its rectangle filled first and clipping
    // it as its options say, its characters or glyphs drawn in the font.
    void PutText(const TextRun& run, PointD at, const FontStyle& font, const TextPlacement& placement);
    // The width of the text's characters or glyphs in the font, in pixels.
    double TextRunWidth(const TextRun& run, const FontStyle& font);
    // A rectangle in logical units as a path in output pixels.
    QPainterPath BoxPath(const Box& box) const;
    // A packed DIB drawn from the source rectangle between two output corners (the part of the
    // source inside the picture, onto its part of the destination).
    void DrawDib(const Bytes& dib, PointD corner, PointD opposite, Source source, uint32_t rop,
        PictureStyle style = {});
    void DrawDibLogical(
        const Bytes& dib, double x, double y, double width, double height, Source source, uint32_t rop);
    // A blit without picture: the pattern (the brush), white, black or the picture inverted over
    // the rectangle; false for another raster operation.
    bool FillBlit(uint32_t rop, double x, double y, double width, double height);
    // A blit under any ternary raster operation between two output corners, of the source part
    // (from srcX, srcY counted from its top row) of the picture when there is one; false when the
    // operation needs a source and there is none.
    bool RasterBlitOf(uint32_t rop, PointD corner, PointD opposite, const gdi::DibView* view = nullptr,
        int srcX = 0, int srcY = 0, int srcWidth = 0, int srcHeight = 0);
    // Whether the pixels of a blit or gradient worked out one by one still fit in what a picture
    // may take (kPixelWorkPerPixel times its size), counting them; records beyond it are skipped, so
    // that no metafile makes the player run for long.
    bool SpendPixelWork(int64_t pixels);
    // The dashes of the selected pen, its width in pixels.
    std::vector<double> Dashes(double width) const;
    // A gradient fill (rectangles or triangles).
    bool PlayEmfGradient(const Record& record);

    // Paths and clipping.
    void BeginPath();
    void EndPath(bool keep);
    void DrawPath(bool fill, bool stroke);
    void SelectClipPath(ClipMode mode);
    void CombineClip(const QPainterPath& region, ClipMode mode);
    void ClipRectangle(double left, double top, double right, double bottom, ClipMode mode);
    void OffsetClip(double dx, double dy);
    QPainterPath RegionPath(const std::vector<Box>& rectangles, bool logical) const;
    // A region filled with a brush, framed, painted with the selected brush or inverted.
    void FillRegion(const QPainterPath& region, const BrushStyle& brush);
    void FrameRegion(const QPainterPath& region, const BrushStyle& brush, double width, double height);
    void InvertRegion(const QPainterPath& region);

    const Metafile& m_metafile;
    MetafileCanvas& m_canvas;
    Output m_output;
    State m_state;
    std::vector<State> m_saved;
    std::vector<GdiObject> m_objects;
    std::vector<bool> m_used;
    int m_width;
    int m_height;
    // The path being recorded (output pixels) and whether a figure continues at its end.
    QPainterPath m_path;
    bool m_inPath = false;
    bool m_figureOpen = false;
    std::optional<PenStyle> m_widened; // the path stands for its outline drawn with this pen
    bool m_canvasStale = false; // the canvas has not yet taken the clip or raster operation
    // The monochrome pattern last coloured, and its colours: a metafile draws many shapes with one
    // brush and the same colours.
    struct ColouredPattern {
        std::shared_ptr<const Pattern> monochrome;
        win::COLORREF text = 0;
        win::COLORREF background = 0;
        std::shared_ptr<const Pattern> coloured;
    };
    mutable ColouredPattern m_coloured;
    mutable HatchPatterns m_hatches;
    int64_t m_pixelWork = 0;
    int m_played = 0;
    int m_skipped = 0;
};

} // namespace metafile
