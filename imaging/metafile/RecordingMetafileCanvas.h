// A metafile canvas that keeps what was drawn, one line of text per call, for the tests and the
// fuzz target (which plays metafiles without painting them).
#pragma once

#include "imaging/metafile/MetafileCanvas.h"

#include <string>
#include <vector>

namespace metafile {

class RecordingMetafileCanvas : public MetafileCanvas {
public:
    void Polygons(
        const std::vector<std::vector<PointD>>& polygons, const PenStyle&, const BrushStyle&, bool) override
    {
        calls.push_back("polygons " + std::to_string(polygons.size()));
    }
    void Polyline(const std::vector<PointD>& points, const PenStyle&) override
    {
        calls.push_back("polyline " + std::to_string(points.size()));
    }
    void Ellipse(PointD, PointD, const PenStyle&, const BrushStyle&) override { calls.push_back("ellipse"); }
    void Text(PointD, const QString& text, const FontStyle&, win::COLORREF, const TextPlacement&) override
    {
        calls.push_back("text " + text.toStdString());
    }
    void Picture(
        PointD, PointD, const gdi::DibView& dib, int srcX, int srcY, int srcWidth, int srcHeight) override
    {
        // Reading every source pixel proves the view was checked.
        uint64_t sum = 0;
        for (int y = 0; y < srcHeight; ++y)
            for (int x = 0; x < srcWidth; ++x)
                sum += dib.PixelColor(uint64_t(srcX + x), uint64_t(srcY + y));
        calls.push_back("picture " + std::to_string(sum % 2));
    }

    std::vector<std::string> calls;
};

} // namespace metafile
