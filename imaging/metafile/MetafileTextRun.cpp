// The player's text on the canvas: the rectangle of an ExtTextOut record filled and clipping the
// text, and characters or glyph indices drawn in the font.
#include "imaging/metafile/MetafilePlayer.h"

namespace metafile {

QPainterPath MetafilePlayer::BoxPath(const Box& box) const
{
    QPainterPath path;
    const PointD corners[] = { Out(box.left, box.top), Out(box.right, box.top), Out(box.right, box.bottom),
        Out(box.left, box.bottom) };
    path.moveTo(corners[0].x, corners[0].y);
    for (size_t i = 1; i < 4; ++i)
        path.lineTo(corners[i].x, corners[i].y);
    path.closeSubpath();
    return path;
}

void MetafilePlayer::PutText(
    const TextRun& run, PointD at, const FontStyle& font, const TextPlacement& placement)
{
    Sync();
    if (run.opaque)
        m_canvas.Shape(BoxPath(*run.opaque), { false, 0, 0 }, { true, m_state.backgroundColour, nullptr });
    if (run.clip)
        m_canvas.Clip(m_state.clip ? m_state.clip->intersected(BoxPath(*run.clip)) : BoxPath(*run.clip));
    if (run.glyphIndices)
        m_canvas.Glyphs(at, run.glyphs, font, m_state.textColour, placement);
    else if (!run.text.isEmpty())
        m_canvas.Text(at, run.text, font, m_state.textColour, placement);
    if (run.clip)
        m_canvas.Clip(m_state.clip);
}

double MetafilePlayer::TextRunWidth(const TextRun& run, const FontStyle& font)
{
    return run.glyphIndices ? m_canvas.GlyphsWidth(run.glyphs, font) : m_canvas.TextWidth(run.text, font);
}

} // namespace metafile
