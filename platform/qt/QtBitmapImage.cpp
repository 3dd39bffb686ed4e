#include "platform/qt/QtBitmapImage.h"

#include <algorithm>
#include <cstring>

namespace fw {

gdi::Bitmap BitmapFromImage(const QImage& image)
{
    if (image.isNull())
        return {};
    QImage converted;
    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB)
        converted = image.convertToFormat(QImage::Format_Mono);
    else if (image.format() == QImage::Format_Indexed8)
        converted = image;
    else
        converted = image.convertToFormat(QImage::Format_ARGB32);
    gdi::Bitmap bitmap;
    bitmap.width = converted.width();
    bitmap.height = converted.height();
    bitmap.bitsPerPixel = converted.depth();
    for (const QRgb colour : converted.colorTable())
        bitmap.colours.push_back({ static_cast<win::BYTE>(qBlue(colour)),
            static_cast<win::BYTE>(qGreen(colour)), static_cast<win::BYTE>(qRed(colour)), 0 });
    const auto rowBytes = static_cast<size_t>(gdi::DibView::RowBytes(bitmap.width, bitmap.bitsPerPixel));
    bitmap.bits.assign(rowBytes * static_cast<size_t>(bitmap.height), 0);
    const size_t copied = std::min(rowBytes, static_cast<size_t>(converted.bytesPerLine()));
    for (int y = 0; y < bitmap.height; ++y)
        std::memcpy(
            bitmap.bits.data() + static_cast<size_t>(y) * rowBytes, converted.constScanLine(y), copied);
    return bitmap;
}

} // namespace fw
