// What a text record draws: characters or glyph indices at a reference point, with the advances
// it gives, and the rectangle its options fill first and keep the text inside. All in logical
// units.
#pragma once

#include "imaging/metafile/MetafileGeometry.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace metafile {

// The options of the ExtTextOut records.
inline constexpr uint32_t kTextOpaque = 0x0002; // the rectangle filled with the background colour
inline constexpr uint32_t kTextClipped = 0x0004; // the text kept inside the rectangle
inline constexpr uint32_t kTextGlyphIndex = 0x0010; // glyph indices of the font, not characters

struct TextRun {
    PointD at;
    QString text;
    // With glyphIndices, the text is these glyphs of the selected font.
    bool glyphIndices = false;
    std::vector<uint16_t> glyphs;
    std::vector<double> advances; // from each character (or glyph) to the next; empty: the font's own
    std::optional<Box> opaque; // filled with the background colour first, also when there is no text
    std::optional<Box> clip; // the text is kept inside

    // The rectangle as the options use it.
    void SetRectangle(uint32_t options, const Box& rectangle)
    {
        if (options & kTextOpaque)
            opaque = rectangle;
        if (options & kTextClipped)
            clip = rectangle;
    }
};

} // namespace metafile
