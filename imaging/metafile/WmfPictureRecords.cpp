// The records of a Windows metafile that put down pictures and blits, clip and paint regions.
#include "imaging/metafile/MetafilePlayer.h"
#include "imaging/metafile/WmfFunctions.h"

namespace metafile {
namespace {

constexpr uint32_t kSourceCopy = 0x00CC0020;

// A blit carries no picture when its parameters are only the words its function number announces
// (the function's high byte); it then fills with the brush.
bool WithoutPicture(const Record& record)
{
    return record.size == 2 * size_t(record.type >> 8);
}

} // namespace

bool MetafilePlayer::PlayWmfBlit(const Record& record)
{
    const Params p(record);
    switch (record.type) {
    case wmf::PatBlt:
        FillBlit(p.U32(0), p.I16(10), p.I16(8), p.I16(6), p.I16(4));
        return true;
    case wmf::BitBlt:
    case wmf::DibBitBlt: {
        if (WithoutPicture(record))
            return FillBlit(p.U32(0), p.I16(16), p.I16(14), p.I16(12), p.I16(10));
        const Bytes dib = record.type == wmf::BitBlt
            ? Bitmap16Dib(p, 16, 26)
            : Bytes(p.Bytes(16, 0), p.Bytes(16, 0) + (p.Size() - 16));
        DrawDibLogical(dib, p.I16(14), p.I16(12), p.I16(10), p.I16(8),
            { p.I16(6), p.I16(4), p.I16(10), p.I16(8), true }, p.U32(0));
        return true;
    }
    case wmf::StretchBlt:
    case wmf::DibStretchBlt: {
        if (WithoutPicture(record))
            return FillBlit(p.U32(0), p.I16(20), p.I16(18), p.I16(16), p.I16(14));
        const Bytes dib = record.type == wmf::StretchBlt
            ? Bitmap16Dib(p, 20, 30)
            : Bytes(p.Bytes(20, 0), p.Bytes(20, 0) + (p.Size() - 20));
        DrawDibLogical(dib, p.I16(18), p.I16(16), p.I16(14), p.I16(12),
            { p.I16(10), p.I16(8), p.I16(6), p.I16(4), true }, p.U32(0));
        return true;
    }
    case wmf::StretchDib: {
        constexpr size_t kPicture = 22;
        if (p.Size() <= kPicture) {
            // Played even with a raster operation that draws nothing.
            FillBlit(p.U32(0), p.I16(20), p.I16(18), p.I16(16), p.I16(14));
            return true;
        }
        const Bytes dib(p.Bytes(kPicture, 0), p.Bytes(kPicture, 0) + (p.Size() - kPicture));
        DrawDibLogical(dib, p.I16(20), p.I16(18), p.I16(16), p.I16(14),
            { p.I16(12), p.I16(10), p.I16(8), p.I16(6), false }, p.U32(0));
        return true;
    }
    case wmf::SetDibToDev: {
        // The bits hold only the scan lines from the first one given.
        constexpr size_t kPicture = 18;
        Bytes dib(p.Bytes(kPicture, 0), p.Bytes(kPicture, 0) + (p.Size() - kPicture));
        if (!KeepScanLines(dib, p.U16(2)))
            return true;
        DrawDibLogical(dib, p.I16(16), p.I16(14), p.I16(12), p.I16(10),
            { p.I16(8), p.I16(6) - p.U16(4), p.I16(12), p.I16(10), false }, kSourceCopy);
        return true;
    }
    default:
        return false;
    }
}

bool MetafilePlayer::PlayWmfClip(const Record& record)
{
    const Params p(record);
    // A region of the object table, if the slot holds one.
    const auto region = [&](uint16_t index) -> const LogRegion* {
        const GdiObject* object = Object(index);
        return object ? std::get_if<LogRegion>(object) : nullptr;
    };
    switch (record.type) {
    case wmf::IntersectClipRect:
    case wmf::ExcludeClipRect:
        ClipRectangle(p.I16(6), p.I16(4), p.I16(2), p.I16(0),
            record.type == wmf::IntersectClipRect ? ClipMode::And : ClipMode::Diff);
        return true;
    case wmf::OffsetClipRgn:
        OffsetClip(p.I16(2), p.I16(0));
        return true;
    case wmf::SelectClipRegion:
        if (const LogRegion* r = region(p.U16(0))) {
            CombineClip(RegionPath(r->rectangles, true), ClipMode::Copy);
        } else {
            m_state.clip.reset(); // no region: the whole picture
            m_canvasStale = true;
        }
        return true;
    case wmf::FillRegion:
    case wmf::FrameRegion: {
        const LogRegion* r = region(p.U16(0));
        const auto brush = BrushObject(p.U16(2), false);
        if (r == nullptr || !brush)
            return true;
        const QPainterPath path = RegionPath(r->rectangles, true);
        if (record.type == wmf::FrameRegion)
            FrameRegion(path, *brush, p.I16(6), p.I16(4));
        else
            FillRegion(path, *brush);
        return true;
    }
    case wmf::InvertRegion:
    case wmf::PaintRegion:
        if (const LogRegion* r = region(p.U16(0))) {
            const QPainterPath path = RegionPath(r->rectangles, true);
            if (record.type == wmf::InvertRegion)
                InvertRegion(path);
            else
                FillRegion(path, Brush());
        }
        return true;
    default:
        return false;
    }
}

} // namespace metafile
