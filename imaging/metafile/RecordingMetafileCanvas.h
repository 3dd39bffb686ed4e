// A metafile canvas that keeps what was drawn, one line of text per call, for the tests and the
// fuzz target (which plays metafiles without painting them).
#pragma once

#include "imaging/metafile/MetafileCanvas.h"

#include <string>
#include <vector>

namespace metafile {

class RecordingMetafileCanvas : public MetafileCanvas {
public:
    void Shape(const QPainterPath& path, const PenStyle&, const BrushStyle&) override
    {
        calls.push_back("shape " + std::to_string(path.elementCount()));
    }
    // "text <text> font <face>", then the advances when the metafile gives them.
    void Text(PointD, const QString& text, const FontStyle& font, win::COLORREF,
        const TextPlacement& placement) override
    {
        std::string line = "text " + text.toStdString() + " font " + font.face.toStdString();
        if (!placement.advances.empty())
            line += " advances";
        for (const double advance : placement.advances)
            line += " " + QString::number(advance).toStdString();
        calls.push_back(line);
    }
    double TextWidth(const QString& text, const FontStyle& font) override
    {
        return double(text.size()) * font.height / 2;
    }
    // "glyphs <index> ... font <face>".
    void Glyphs(PointD, const std::vector<uint16_t>& glyphs, const FontStyle& font, win::COLORREF,
        const TextPlacement&) override
    {
        std::string line = "glyphs";
        for (const uint16_t glyph : glyphs)
            line += " " + std::to_string(glyph);
        calls.push_back(line + " font " + font.face.toStdString());
    }
    double GlyphsWidth(const std::vector<uint16_t>& glyphs, const FontStyle& font) override
    {
        return double(glyphs.size()) * font.height / 2;
    }
    void Picture(PointD, PointD, const gdi::DibView& dib, int srcX, int srcY, int srcWidth, int srcHeight,
        const PictureStyle&) override
    {
        // Reading every source pixel proves the view was checked.
        uint64_t sum = 0;
        for (int y = 0; y < srcHeight; ++y)
            for (int x = 0; x < srcWidth; ++x)
                sum += dib.PixelColor(uint64_t(srcX + x), uint64_t(srcY + y));
        calls.push_back("picture " + std::to_string(sum % 2));
    }
    void Clip(const std::optional<QPainterPath>& clip) override
    {
        calls.push_back(clip ? "clip " + std::to_string(clip->elementCount()) : "no clip");
    }
    void Rop2(int rop2) override { calls.push_back("rop2 " + std::to_string(rop2)); }
    void Blit(const RasterBlit& blit) override
    {
        calls.push_back("blit " + std::to_string(blit.index) + " " + std::to_string(blit.width) + "x"
            + std::to_string(blit.height));
    }

    std::vector<std::string> calls;
};

} // namespace metafile
