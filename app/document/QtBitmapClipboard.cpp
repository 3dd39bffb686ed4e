#include "app/document/QtBitmapClipboard.h"

#include "platform/gdi/BmpFile.h"
#include "platform/qt/QtBitmapImage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

namespace {

const QString kBmpType = QStringLiteral("image/bmp");

// The clipboard, when there is an application with windows.
QClipboard* Clipboard()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
        ? QGuiApplication::clipboard()
        : nullptr;
}

const QMimeData* Data()
{
    QClipboard* const clipboard = Clipboard();
    return clipboard != nullptr ? clipboard->mimeData() : nullptr;
}

std::optional<std::vector<uint8_t>> BmpDib(const QMimeData* data)
{
    if (data == nullptr || !data->hasFormat(kBmpType))
        return std::nullopt;
    const QByteArray file = data->data(kBmpType);
    return gdi::DibFromBmpFile(std::vector<uint8_t>(file.begin(), file.end()));
}

QImage Image(const QMimeData* data)
{
    return data != nullptr && data->hasImage() ? qvariant_cast<QImage>(data->imageData()) : QImage();
}

} // namespace

bool QtBitmapClipboard::Open()
{
    return Clipboard() != nullptr;
}

void QtBitmapClipboard::Empty()
{
    if (QClipboard* const clipboard = Clipboard())
        clipboard->clear();
}

bool QtBitmapClipboard::IsFormatAvailable(unsigned format) const
{
    const QMimeData* const data = Data();
    switch (format) {
    // What the clipboard offers, not yet read: reading checks the data (GetDib, GetBitmap).
    case PL_CF_DIB:
        return data != nullptr && data->hasFormat(kBmpType);
    case PL_CF_BITMAP:
        return data != nullptr && data->hasImage();
    default:
        return false;
    }
}

bool QtBitmapClipboard::SetDib(const std::vector<uint8_t>& block)
{
    QClipboard* const clipboard = Clipboard();
    const std::optional<std::vector<uint8_t>> file = gdi::BmpFileFromDib(block);
    if (clipboard == nullptr || !file)
        return false;
    const QByteArray bytes(reinterpret_cast<const char*>(file->data()), static_cast<qsizetype>(file->size()));
    auto data = std::make_unique<QMimeData>();
    data->setData(kBmpType, bytes);
    const QImage image = QImage::fromData(bytes, "BMP");
    if (!image.isNull())
        data->setImageData(image);
    clipboard->setMimeData(data.release()); // the clipboard owns it
    const QMimeData* const now = clipboard->mimeData();
    return now != nullptr && now->hasFormat(kBmpType);
}

std::optional<std::vector<uint8_t>> QtBitmapClipboard::GetDib() const
{
    return BmpDib(Data());
}

std::optional<gdi::Bitmap> QtBitmapClipboard::GetBitmap() const
{
    const QImage image = Image(Data());
    if (image.isNull())
        return std::nullopt;
    return fw::BitmapFromImage(image);
}

void RegisterQtBitmapClipboard()
{
    SetClipboardFactory(
        []() -> std::unique_ptr<PLClipboard> { return std::make_unique<QtBitmapClipboard>(); });
}
