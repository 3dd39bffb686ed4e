// The image library's clipboard over Qt's. A bitmap goes on it as a BMP file (the 14-byte file
// header followed by the DIB block) under "image/bmp" and as an image, so that other programs can
// paste it; the DIB is read back from the BMP data, and any image on the clipboard, ours or
// another program's, is offered as a device bitmap. Qt's clipboard carries no separate palette:
// the BMP data holds its colour table.
#pragma once

#include "imaging/bitmap/PLClipboard.h"

class QtBitmapClipboard : public PLClipboard {
public:
    bool Open() override;
    void Close() override { }
    void Empty() override;
    bool IsFormatAvailable(unsigned format) const override;
    bool SetDib(const std::vector<uint8_t>& block) override;
    std::optional<std::vector<uint8_t>> GetDib() const override;
    std::optional<gdi::Bitmap> GetBitmap() const override;
    std::optional<gdi::Palette> GetPalette() const override { return std::nullopt; }
};

// Makes it the clipboard of the image library's bitmaps.
void RegisterQtBitmapClipboard();
