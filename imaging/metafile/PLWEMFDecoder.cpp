#include "imaging/metafile/PLWEMFDecoder.h"

#include "imaging/bitmap/PLBmp.h"
#include "imaging/codec/PLMetafileDecoderFactory.h"
#include "imaging/io/PLTextException.h"
#include "imaging/metafile/MetafilePlayer.h"
#include "imaging/metafile/QtMetafileCanvas.h"
#include "imaging/metafile/WmfFunctions.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>

namespace {

constexpr int kDefaultWidth = 320;
constexpr int kDefaultHeight = 200;

// A side computed from the metafile: below 1 (or not a number) the default.
int64_t SideOr(double side, int fallback)
{
    if (!(side >= 1))
        return fallback;
    return side > 1e9 ? int64_t(1e9) : static_cast<int64_t>(side);
}

// The window extent a Windows metafile without placeable header sets first, if any.
std::optional<std::pair<int, int>> FirstWindowExtent(const metafile::Metafile& m)
{
    for (const metafile::Record& record : m.records)
        if (record.type == metafile::wmf::SetWindowExt && record.size >= 4) {
            const metafile::Params p(record);
            return std::pair { std::abs(int(p.I16(2))), std::abs(int(p.I16(0))) };
        }
    return std::nullopt;
}

} // namespace

PLWEMFDecoder::PLWEMFDecoder() = default;

PLWEMFDecoder::~PLWEMFDecoder() = default;

void PLWEMFDecoder::Open(PLDataSource* pDataSrc)
{
    const int size = pDataSrc->GetBytesLeft();
    const uint8_t* data = pDataSrc->ReadBytes(size);
    m_Data.assign(data, data + size);
    m_Metafile = metafile::Parse(m_Data.data(), m_Data.size());
    const PLCoord pictureSize = PictureSize();
    const bool paletted = !m_Metafile.palette.empty() && m_Metafile.palette.size() < 256;
    SetInfo(pictureSize, paletted ? 8 : 32, PLCoord(0, 0), !paletted, false);
    m_bOpen = true;
}

PLCoord PLWEMFDecoder::PictureSize() const
{
    const metafile::Rect& b = m_Metafile.bounds;
    double width = 0;
    double height = 0;
    if (m_Metafile.kind == metafile::Kind::PlaceableWmf) {
        if (m_Metafile.unitsPerInch != 0) {
            width = kScreenDpi * (double(b.right) - b.left) / m_Metafile.unitsPerInch;
            height = kScreenDpi * (double(b.bottom) - b.top) / m_Metafile.unitsPerInch;
        }
    } else if (m_Metafile.kind == metafile::Kind::Emf) {
        if (m_Metafile.deviceWidthMm > 0 && m_Metafile.deviceHeightMm > 0) {
            width = (double(b.right) - b.left) * m_Metafile.deviceWidth / (m_Metafile.deviceWidthMm * 100.0);
            height
                = (double(b.bottom) - b.top) * m_Metafile.deviceHeight / (m_Metafile.deviceHeightMm * 100.0);
        }
    } else if (const auto extent = FirstWindowExtent(m_Metafile)) {
        width = extent->first;
        height = extent->second;
    }
    // Truncated toward zero, as every device size computed by a division.
    const int64_t w = SideOr(width, kDefaultWidth);
    const int64_t h = SideOr(height, kDefaultHeight);
    PLBmp::CheckPictureSize(w, h, 32);
    return PLCoord(static_cast<int>(w), static_cast<int>(h));
}

void PLWEMFDecoder::DecodeImage(PLBmp* pBmp)
{
    if (!m_bOpen)
        RaiseError(PL_ERR_INTERNAL, "Metafile decoder has no picture open.");
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED, "Metafiles can only be drawn in a graphical application.");
    const int width = pBmp->GetWidth();
    const int height = pBmp->GetHeight();
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        RaiseError(PL_ERR_NO_MEMORY, "Cannot allocate memory bitmap.");
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        metafile::QtMetafileCanvas canvas(painter);
        metafile::MetafilePlayer player(m_Metafile, canvas, width, height);
        player.Play();
    }
    const bool paletted = pBmp->GetBitsPerPixel() == 8;
    if (paletted)
        for (size_t i = 0; i < 256; ++i) {
            const PLPixel32 c
                = i < m_Metafile.palette.size() ? m_Metafile.palette[i] : PLPixel32(0, 0, 0, 255);
            pBmp->SetPaletteEntry(int(i), c.GetR(), c.GetG(), c.GetB(), 255);
        }
    PLBmpLock lock(*pBmp, false, true);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const PLPixel32 colour(
                uint8_t(qRed(row[x])), uint8_t(qGreen(row[x])), uint8_t(qBlue(row[x])), 255);
            if (paletted)
                pBmp->GetRow(y)[x] = static_cast<uint8_t>(pBmp->FindNearestColor(colour));
            else
                pBmp->GetRow32(y)[x] = colour;
        }
    }
}

void PLWEMFDecoder::Close()
{
    m_bOpen = false;
    m_Metafile = {};
    m_Data.clear();
    PLPicDecoder::Close();
}

void RegisterMetafileDecoder()
{
    SetMetafileDecoderFactory(
        []() -> std::unique_ptr<PLPicDecoder> { return std::make_unique<PLWEMFDecoder>(); });
}
