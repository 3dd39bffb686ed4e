#include "util/window/WzdBitmap.h"

#include "platform/qt/QtColour.h"
#include "platform/win/LittleEndian.h"

#include <QFile>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr int32_t kMaxSide = 32768;

uint64_t Read(const std::vector<uint8_t>& file, std::size_t offset, std::size_t bytes)
{
    return win::LoadLittleEndian(file.data() + offset, bytes);
}

int32_t ReadInt32(const std::vector<uint8_t>& file, std::size_t offset)
{
    return static_cast<int32_t>(static_cast<uint32_t>(Read(file, offset, 4)));
}

} // namespace

std::string CWzdBitmap::ResourceName(int resourceId)
{
    return ":/bitmaps/" + std::to_string(resourceId) + ".bmp";
}

void CWzdBitmap::LoadBitmapResource(int resourceId, bool replace, win::COLORREF colour)
{
    *this = CWzdBitmap();
    QFile resource(QString::fromStdString(ResourceName(resourceId)));
    if (!resource.open(QIODevice::ReadOnly))
        return;
    const QByteArray content = resource.readAll();
    if (!Parse(std::vector<uint8_t>(content.begin(), content.end()))) {
        *this = CWzdBitmap();
        return;
    }
    if (!replace)
        return;
    const win::COLORREF face = ButtonFaceColour();
    for (gdi::RGBQUAD& entry : palette_) {
        if (win::RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue) == (colour & 0xFFFFFF)) {
            entry.rgbRed = win::GetRValue(face);
            entry.rgbGreen = win::GetGValue(face);
            entry.rgbBlue = win::GetBValue(face);
        }
    }
}

// Reads the file and information headers, the colour table and the pixels, each checked against
// what the file holds.
bool CWzdBitmap::Parse(const std::vector<uint8_t>& file)
{
    if (file.size() < kFileHeaderSize + kInfoHeaderSize || file[0] != 'B' || file[1] != 'M')
        return false;
    const uint64_t bitsOffset = Read(file, 10, 4);
    const uint64_t headerSize = Read(file, kFileHeaderSize, 4);
    const int32_t width = ReadInt32(file, kFileHeaderSize + 4);
    const int32_t height = ReadInt32(file, kFileHeaderSize + 8);
    const int bitsPerPixel = static_cast<int>(Read(file, kFileHeaderSize + 14, 2));
    const uint64_t compression = Read(file, kFileHeaderSize + 16, 4);
    const uint64_t coloursUsed = Read(file, kFileHeaderSize + 32, 4);
    const bool knownDepth
        = bitsPerPixel == 1 || bitsPerPixel == 8 || bitsPerPixel == 24 || bitsPerPixel == 32;
    if (headerSize < kInfoHeaderSize || !knownDepth || compression != 0 || width <= 0 || width > kMaxSide
        || height == 0 || height < -kMaxSide || height > kMaxSide)
        return false;

    const uint64_t colours = coloursUsed != 0 ? coloursUsed : (bitsPerPixel <= 8 ? 1u << bitsPerPixel : 0);
    const uint64_t tableOffset = kFileHeaderSize + headerSize;
    if (colours > 256 || tableOffset + colours * 4 > file.size())
        return false;
    const uint64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
    const uint64_t bitsSize = gdi::DibView::RowBytes(width, bitsPerPixel) * rows;
    if (bitsOffset > file.size() || file.size() - bitsOffset < bitsSize)
        return false;

    for (uint64_t i = 0; i < colours; ++i) {
        const std::size_t entry = tableOffset + i * 4;
        palette_.push_back({ file[entry], file[entry + 1], file[entry + 2], 0 });
    }
    bits_.assign(file.begin() + static_cast<std::ptrdiff_t>(bitsOffset),
        file.begin() + static_cast<std::ptrdiff_t>(bitsOffset + bitsSize));
    width_ = width;
    height_ = static_cast<int32_t>(rows);
    storedHeight_ = height;
    bitsPerPixel_ = bitsPerPixel;
    return true;
}

gdi::DibView CWzdBitmap::GetDib() const
{
    return { width_, storedHeight_, bitsPerPixel_, palette_.data(), palette_.size(), bits_.data(),
        bits_.size() };
}

void DrawBitmap(int x, int y, gdi::DeviceContext& dc, const CWzdBitmap& bitmap)
{
    if (!bitmap.IsEmpty())
        dc.SetDIBitsToDevice(x, y, bitmap.GetWidth(), bitmap.GetHeight(), 0, 0, bitmap.GetDib());
}

win::COLORREF ButtonFaceColour()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return win::RGB(240, 240, 240);
    return fw::FromQColor(QGuiApplication::palette().color(QPalette::Button));
}
