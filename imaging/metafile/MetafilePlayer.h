// Plays the records of a metafile onto a canvas: the device context's state (mapping, colours,
// modes, the selected pen, brush and font, the current position), saved and restored as a stack,
// the table of created objects, and the drawing records turned into canvas calls in output pixels.
// A record too short for its parameters is skipped; records the player does not know are skipped.
#pragma once

#include "imaging/metafile/MetafileData.h"
#include "imaging/metafile/MetafileMapping.h"

#include <optional>
#include <variant>
#include <vector>

namespace metafile {

struct LogPen {
    bool visible = true;
    win::COLORREF colour = 0;
    double width = 0; // logical units
};

struct LogBrush {
    bool visible = true;
    win::COLORREF colour = win::RGB(255, 255, 255);
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
    QString face;
};

// A created object; a palette, region or pattern takes its slot without being drawn with.
using GdiObject = std::variant<std::monostate, LogPen, LogBrush, LogFont>;

class MetafilePlayer {
public:
    // The picture is width x height output pixels.
    MetafilePlayer(const Metafile& metafile, MetafileCanvas& canvas, int width, int height);

    void Play();

    int PlayedRecords() const { return m_played; }
    int SkippedRecords() const { return m_skipped; }

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
    };

    // Each returns false for a record it does not play.
    bool PlayWmf(const Record& record);
    bool PlayEmf(const Record& record);
    bool PlayWmfObject(const Record& record);
    bool PlayWmfDrawing(const Record& record);
    bool PlayEmfObject(const Record& record);
    bool PlayEmfDrawing(const Record& record);
    bool PlayEmfState(const Record& record);
    bool PlayEmfCurves(const Record& record);
    bool PlayEmfBlit(const Record& record);

    // The object table: WMF objects take the lowest free slot, EMF objects the one named.
    void AddObject(GdiObject object);
    void PutObject(uint32_t index, GdiObject object);
    void SelectObject(uint32_t index);
    void SelectStockObject(uint32_t index);
    void DeleteObject(uint32_t index);

    void SaveState();
    void RestoreState(int relative);

    PointD Out(double x, double y) const;
    PenStyle Pen() const;
    BrushStyle Brush() const;
    void DrawPolygons(const std::vector<std::vector<PointD>>& logical);
    void DrawPolyline(const std::vector<PointD>& logical);
    void DrawRectangle(double left, double top, double right, double bottom);
    void DrawEllipse(double left, double top, double right, double bottom);
    void LineTo(double x, double y);
    void DrawText(double x, double y, const QString& text);
    // A packed DIB (header, colours, bits) drawn from the source rectangle on the logical
    // destination; srcY counts from the bottom row, or from the top row for the blits, which take
    // their source as a device.
    void DrawDib(const uint8_t* dib, uint64_t size, double x, double y, double width, double height, int srcX,
        int srcY, int srcWidth, int srcHeight, bool srcFromTop = false);
    // A blit without picture: the pattern (the brush), white or black over the rectangle; false for
    // another raster operation.
    bool FillBlit(uint32_t rop, double x, double y, double width, double height);
    // Cubic Bézier segments from the first point (three points each), flattened into a line.
    void DrawBeziers(const std::vector<PointD>& points);

    const Metafile& m_metafile;
    MetafileCanvas& m_canvas;
    Output m_output;
    State m_state;
    std::vector<State> m_saved;
    std::vector<GdiObject> m_objects;
    std::vector<bool> m_used;
    int m_played = 0;
    int m_skipped = 0;
};

} // namespace metafile
