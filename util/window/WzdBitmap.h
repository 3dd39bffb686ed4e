// A bitmap that carries its own palette, loaded from the program's compiled-in resources
// (":/bitmaps/<id>.bmp", uncompressed BMP of 1, 8, 24 or 32 bits per pixel), and its drawing.
#pragma once

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/win/Types.h"

#include <cstdint>
#include <string>
#include <vector>

class CWzdBitmap {
public:
    // The resource name of a bitmap id.
    static std::string ResourceName(int resourceId);

    // Loads the bitmap. With replace set, every palette entry of the colour (RGB value) becomes
    // the button-face colour of the application's palette, so that the picture's background
    // blends with the window. A resource that cannot be found or read leaves the bitmap empty.
    void LoadBitmapResource(int resourceId, bool replace, win::COLORREF colour);

    bool IsEmpty() const { return bits_.empty(); }
    int32_t GetWidth() const { return width_; }
    int32_t GetHeight() const { return height_; }
    // The palette, empty above 8 bits per pixel.
    const std::vector<gdi::RGBQUAD>& GetPalette() const { return palette_; }
    // The pixels as a DIB; valid while the bitmap lives and is not loaded again.
    gdi::DibView GetDib() const;

private:
    bool Parse(const std::vector<uint8_t>& file);

    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t storedHeight_ = 0; // the header's height: negative for rows stored top first
    int bitsPerPixel_ = 0;
    std::vector<gdi::RGBQUAD> palette_;
    std::vector<uint8_t> bits_;
};

// Copies the whole bitmap, one pixel to one device pixel, with its top-left corner at the logical
// point (x, y). An empty bitmap draws nothing.
void DrawBitmap(int x, int y, gdi::DeviceContext& dc, const CWzdBitmap& bitmap);

// The button-face colour of the application's palette (a light grey without an application).
win::COLORREF ButtonFaceColour();
