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
    // A packed DIB (header, colours, bits) drawn from the source rectangle (y from the bottom row) on
    // the logical destination.
    void DrawDib(const uint8_t* dib, uint64_t size, double x, double y, double width, double height, int srcX,
        int srcY, int srcWidth, int srcHeight);

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
