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
#include <QScreen>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <unordered_map>

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

struct ScreenDpi {
    int x = PLWEMFDecoder::kScreenDpi;
    int y = PLWEMFDecoder::kScreenDpi;
};

// The screen's logical resolution, as Qt gives it to the tool's windows and device contexts;
// without a graphical application or a screen, the usual 96 dpi.
ScreenDpi LogicalScreenDpi()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return {};
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return {};
    const auto dpi = [](qreal value) {
        return value >= 1 && value <= 10000 ? static_cast<int>(std::lround(value))
                                            : PLWEMFDecoder::kScreenDpi;
    };
    return { dpi(screen->logicalDotsPerInchX()), dpi(screen->logicalDotsPerInchY()) };
}

// The size a metafile is drawn at: its own, or the largest of the same proportions whose longer
// side is the bound. A few hundred bytes of header may describe a picture of gigabytes; a drawing
// loses nothing by being drawn smaller, and no proof sheet needs more.
PLCoord WithinBound(int64_t width, int64_t height)
{
    const int64_t longer = std::max(width, height);
    if (longer > PLWEMFDecoder::kMaxSide) {
        width = std::max<int64_t>(1, width * PLWEMFDecoder::kMaxSide / longer);
        height = std::max<int64_t>(1, height * PLWEMFDecoder::kMaxSide / longer);
    }
    return PLCoord(static_cast<int>(width), static_cast<int>(height));
}

// The bitmap's 32-bit rows as one block, when they lie evenly spaced in memory (top row first or
// bottom row first): the lowest row's address and the distance from one row to the next.
struct RowBlock {
    uint8_t* lowest = nullptr;
    ptrdiff_t step = 0;
};

std::optional<RowBlock> EvenlySpacedRows(const PLBmp& bmp)
{
    const int height = bmp.GetHeight();
    uint8_t* const* rows = bmp.GetLineArray();
    const auto rowBytes = static_cast<ptrdiff_t>(bmp.GetWidth()) * 4;
    const ptrdiff_t step = height > 1 ? rows[1] - rows[0] : rowBytes;
    if (std::abs(step) < rowBytes || std::abs(step) % 4 != 0)
        return std::nullopt;
    for (int y = 1; y < height; ++y)
        if (rows[y] - rows[y - 1] != step)
            return std::nullopt;
    return RowBlock { step > 0 ? rows[0] : rows[height - 1], step };
}

// The palette entry nearest each colour drawn, searched for once a colour: a drawing has few
// colours, and a search of the palette for every pixel made a paletted picture cost many times a
// true-colour one.
class NearestEntries {
public:
    explicit NearestEntries(const PLBmp& bmp)
        : m_Bmp(bmp)
    {
    }
    uint8_t operator()(QRgb colour)
    {
        colour |= 0xFF000000u; // drawn colours are opaque
        if (colour == m_Last)
            return m_LastIndex; // neighbours mostly share their colour
        const auto [found, added] = m_Found.try_emplace(colour, uint8_t { 0 });
        if (added)
            found->second = static_cast<uint8_t>(m_Bmp.FindNearestColor(
                PLPixel32(uint8_t(qRed(colour)), uint8_t(qGreen(colour)), uint8_t(qBlue(colour)), 255)));
        m_Last = colour;
        m_LastIndex = found->second;
        return m_LastIndex;
    }

private:
    const PLBmp& m_Bmp;
    std::unordered_map<QRgb, uint8_t> m_Found;
    QRgb m_Last = 0; // no opaque colour
    uint8_t m_LastIndex = 0;
};

void Play(const metafile::Metafile& metafile, QImage& image)
{
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    metafile::QtMetafileCanvas canvas(painter);
    metafile::MetafilePlayer player(metafile, canvas, image.width(), image.height());
    player.Play();
}

// Plays the metafile straight into a 32-bit bitmap's pixels, which lie in memory as Qt's RGB32
// does (blue, green, red, then the byte Qt keeps at 255): no second picture of the full size.
bool PlayIntoPixels(const metafile::Metafile& metafile, PLBmp& bmp)
{
    static_assert(std::endian::native == std::endian::little, "pixels are blue, green, red, alpha in memory");
    const std::optional<RowBlock> block = EvenlySpacedRows(bmp);
    if (!block)
        return false;
    const int width = bmp.GetWidth();
    const int height = bmp.GetHeight();
    QImage image(block->lowest, width, height, std::abs(block->step), QImage::Format_RGB32);
    if (image.isNull())
        return false;
    Play(metafile, image);
    // Drawn top row first from the lowest address: a bitmap that keeps its bottom row there is
    // turned over in place.
    if (block->step < 0)
        for (int y = 0; y < height / 2; ++y)
            std::swap_ranges(
                image.scanLine(y), image.scanLine(y) + size_t(width) * 4, image.scanLine(height - 1 - y));
    for (int y = 0; y < height; ++y) {
        PLPixel32* row = bmp.GetRow32(y);
        for (int x = 0; x < width; ++x)
            row[x].SetA(255);
    }
    return true;
}

} // namespace

PLWEMFDecoder::PLWEMFDecoder() = default;

PLWEMFDecoder::~PLWEMFDecoder() = default;

void PLWEMFDecoder::Open(PLDataSource* pDataSrc)
{
    const int size = pDataSrc->GetBytesLeft();
    const uint8_t* data = pDataSrc->ReadBytes(size);
    m_Data.assign(data, data + size);
    try {
        m_Metafile = metafile::Parse(m_Data.data(), m_Data.size());
    } catch (const PLTextException& e) {
        // Neither kind of metafile: data no metafile player can load.
        if (e.GetCode() != PL_ERR_WRONG_SIGNATURE)
            throw;
        RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED, "Windows Metafile functions failed to load this image.");
    }
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
            const ScreenDpi dpi = LogicalScreenDpi();
            width = dpi.x * (double(b.right) - b.left) / m_Metafile.unitsPerInch;
            height = dpi.y * (double(b.bottom) - b.top) / m_Metafile.unitsPerInch;
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
    const PLCoord size = WithinBound(SideOr(width, kDefaultWidth), SideOr(height, kDefaultHeight));
    PLBmp::CheckPictureSize(size.x, size.y, 32);
    return size;
}

void PLWEMFDecoder::DecodeImage(PLBmp* pBmp)
{
    if (!m_bOpen)
        RaiseError(PL_ERR_INTERNAL, "Metafile decoder has no picture open.");
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED, "Metafiles can only be drawn in a graphical application.");
    const int width = pBmp->GetWidth();
    const int height = pBmp->GetHeight();
    PLBmpLock lock(*pBmp, false, true);
    if (pBmp->GetBitsPerPixel() == 32 && PlayIntoPixels(m_Metafile, *pBmp))
        return;
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        RaiseError(PL_ERR_NO_MEMORY, "Cannot allocate memory bitmap.");
    Play(m_Metafile, image);
    const bool paletted = pBmp->GetBitsPerPixel() == 8;
    if (paletted)
        for (size_t i = 0; i < 256; ++i) {
            const PLPixel32 c
                = i < m_Metafile.palette.size() ? m_Metafile.palette[i] : PLPixel32(0, 0, 0, 255);
            pBmp->SetPaletteEntry(int(i), c.GetR(), c.GetG(), c.GetB(), 255);
        }
    NearestEntries nearest(*pBmp);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (paletted)
                pBmp->GetRow(y)[x] = nearest(row[x]);
            else
                pBmp->GetRow32(y)[x]
                    = PLPixel32(uint8_t(qRed(row[x])), uint8_t(qGreen(row[x])), uint8_t(qBlue(row[x])), 255);
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
