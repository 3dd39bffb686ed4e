// What every unit painter of one page drawing works with: the drawing's converter and device
// context, the layout, where the pictures come from and their display copies, the packs to list
// and the sample reference.
#pragma once

#include "app/view/DisplayConverter.h"
#include "app/view/DisplayCopyCache.h"
#include "app/view/PictureSource.h"
#include "platform/gdi/DeviceContext.h"

#include <cstdint>
#include <memory>
#include <string>

class Layout;
class PacksCollection;

struct PaintContext {
    const LayoutConverter& converter;
    gdi::DeviceContext& dc;
    const Layout& layout;
    PictureSource& pictures;
    DisplayCopyCache& copies;
    const std::string& reference;
    const PacksCollection* packs = nullptr; // the document's pack template; none lists no packs
};

// The size in device pixels of the logical rectangle (x, y) to (x + width, y + height), signed.
win::SIZE DeviceExtent(const PaintContext& context, int32_t x, int32_t y, int32_t width, int32_t height);

// Draws the picture turned clockwise by the quarter turns and stretched onto the logical
// rectangle (x, y) to (x + width, y + height) (a negative extent flips that axis), from a display
// copy of the destination's pixel size. A print keeps no copy: it draws a picture that stands as
// drawn from its own rows, any other from a copy made for that draw alone.
void DrawPictureCopy(const PaintContext& context, const std::shared_ptr<Pellimar::DeviceIndepBitmap>& picture,
    int quarterTurns, int32_t x, int32_t y, int32_t width, int32_t height);
