#include "platform/qt/QtStraightBlit.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>

#include <cmath>
#include <cstdint>

namespace gdi {

namespace {

// One row with 0xFF in each pixel's fourth byte, as Qt's RGB32 expects. Built twice and picked when
// the program starts: the AVX2 form keeps up with a plain memory copy, the baseline one does not.
__attribute__((target_clones("avx2", "default"))) void CopyOpaque(
    uint32_t* __restrict out, const uint32_t* __restrict in, int count)
{
    for (int x = 0; x < count; ++x)
        out[x] = in[x] | 0xFF000000u;
}

bool ThirtyTwoBitImage(const QImage& image)
{
    const QImage::Format format = image.format();
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
        || format == QImage::Format_ARGB32_Premultiplied;
}

// The target image of a raster painter, or null.
QImage* TargetImage(QPainter& painter)
{
    QPaintEngine* engine = painter.paintEngine();
    if (engine == nullptr || engine->type() != QPaintEngine::Raster || engine->paintDevice() == nullptr
        || engine->paintDevice()->devType() != QInternal::Image)
        return nullptr;
    // A copy of the image taken while it is painted shares its pixels; writing would part them, and
    // the painter would go on drawing into the copy's.
    auto* image = static_cast<QImage*>(engine->paintDevice());
    return ThirtyTwoBitImage(*image) && image->isDetached() ? image : nullptr;
}

// Where the painter lets the picture's pixels land unchanged: plain copying at full opacity (an
// opaque picture copies the same over the target as onto it), no clip of its own.
bool CopiesPlainly(const QPainter& painter)
{
    const QPainter::CompositionMode mode = painter.compositionMode();
    return (mode == QPainter::CompositionMode_SourceOver || mode == QPainter::CompositionMode_Source)
        && painter.opacity() == 1.0 && !painter.hasClipping();
}

// The device transform's move, when it only moves by whole pixels.
bool WholePixelMove(const QPainter& painter, QPoint& move)
{
    const QTransform& transform = painter.deviceTransform();
    if (transform.type() > QTransform::TxTranslate || transform.dx() != std::floor(transform.dx())
        || transform.dy() != std::floor(transform.dy()) || std::abs(transform.dx()) > 1e6
        || std::abs(transform.dy()) > 1e6)
        return false;
    move = QPoint(static_cast<int>(transform.dx()), static_cast<int>(transform.dy()));
    return true;
}

bool OnePixelToOne(const DibCall& call, const QRect& target)
{
    return call.dib.bitsPerPixel == 32 && call.deviceWidth > 0 && target.width() == call.srcWidth
        && target.height() == call.srcHeight;
}

// Copies the part of the picture that lands in `area` (device pixels inside the target rectangle).
void CopyArea(QImage& image, const DibCall& call, const QRect& target, const QRect& area)
{
    const DibView& dib = call.dib;
    // Source y counts up from the bottom row of the picture; picture rows count from the top.
    const int top = static_cast<int>(dib.Rows()) - call.srcY - call.srcHeight;
    const bool upright = call.deviceHeight > 0;
    const int left = call.srcX + (area.left() - target.left());
    uchar* const bits = image.bits();
    const qsizetype rowBytes = image.bytesPerLine();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const int offset = y - target.top();
        const int row = top + (upright ? offset : call.srcHeight - 1 - offset);
        const auto* in = reinterpret_cast<const uint32_t*>(dib.PictureRow(static_cast<uint64_t>(row))) + left;
        auto* out = reinterpret_cast<uint32_t*>(bits + y * rowBytes) + area.left();
        CopyOpaque(out, in, area.width());
    }
}

} // namespace

bool BlitStraight(QPainter& painter, const DibCall& call, const QRect& target)
{
    QPoint move;
    QImage* image = OnePixelToOne(call, target) && CopiesPlainly(painter) && WholePixelMove(painter, move)
        ? TargetImage(painter)
        : nullptr;
    if (image == nullptr)
        return false;
    const QRect placed = target.translated(move);
    QRegion region = QRegion(placed).intersected(image->rect());
    // A widget's paint event restricts the painter to the region being painted.
    const QRegion paintRegion = painter.paintEngine()->systemClip();
    if (!paintRegion.isEmpty())
        region = region.intersected(paintRegion);
    for (const QRect& area : region)
        CopyArea(*image, call, placed, area);
    return true;
}

} // namespace gdi
