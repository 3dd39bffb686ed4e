// The device context every drawing goes through: the state and the coordinate rules of the
// original graphics model live here once, and a backend (the recording device in tests, the Qt
// device for screen, printer and PDF) only draws primitives in device coordinates.
//
// Coordinates: the caller works in logical units. MM_TEXT maps one logical unit to one device
// pixel with y down; MM_LOMETRIC makes the logical unit a tenth of a millimetre with y up, so
// that on a device of D dots per inch
//     device x = round((x - windowOrg.x) * D / 254) + viewportOrg.x
//     device y = round((windowOrg.y - y) * D / 254) + viewportOrg.y
// (64-bit arithmetic, halves away from zero, results saturated to 32 bits). Device pixels have
// y down and (0, 0) at the top-left of the drawable area (for a printer: its printable area).
#pragma once

#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/win/Types.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gdi {

// Mapping modes.
constexpr int MM_TEXT = 1;
constexpr int MM_LOMETRIC = 2;
// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
// Stretch modes: COLORONCOLOR picks the nearest source pixel, HALFTONE averages.
constexpr int BLACKONWHITE = 1;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;
// GetDeviceCaps indexes: drawable size in device pixels, and dots per inch.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
// Raster operations of bitmap drawing: plain copying, and the two that draw a picture through a
// mask (the mask ANDed onto the device, then the picture ORed over it).
constexpr win::DWORD SRCCOPY = 0x00CC0020;
constexpr win::DWORD SRCAND = 0x008800C6; // device = device AND picture
constexpr win::DWORD SRCPAINT = 0x00EE0086; // device = device OR picture

// Largest font height and pen width in device pixels that a backend is asked to draw.
constexpr int kMaxDeviceFontHeight = 16384;
constexpr int kMaxDevicePenWidth = 16384;

// What the backend reports about its surface.
struct DeviceCaps {
    int horzRes = 0; // drawable width in pixels
    int vertRes = 0; // drawable height in pixels
    int logPixelsX = 96; // dots per inch across (> 0)
    int logPixelsY = 96; // dots per inch down (> 0)
};

// A font converted for the device: height in device pixels with the sign meaning of LOGFONT
// (negative em height, positive cell height, 0 the device's default size), never 0 unless the
// logical height was 0, and at most kMaxDeviceFontHeight in magnitude.
struct DeviceFont {
    LOGFONT logical;
    std::string faceName;
    int height = 0;
    int escapement = 0; // tenths of a degree counter-clockwise, 0..3599
    int weight = 0;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

// A pen converted for the device: width in device pixels (0 = one pixel).
struct DevicePen {
    LOGPEN logical;
    int width = 0;
    win::COLORREF color = 0;
};

// The primitives a backend draws; each carries the logical geometry it came from as well,
// for the recording device.
struct FillCall {
    win::RECT logical; // as the caller gave it
    win::RECT device; // normalised: left <= right, top <= bottom; right and bottom exclusive
    win::COLORREF color = 0;
    // Only every other pixel, in a checkerboard fixed to the device's pixels: those where
    // device x + y is odd; the others keep what lies under them.
    bool halftone = false;
};

struct LineCall {
    win::POINT logicalFrom, logicalTo;
    win::POINT deviceFrom, deviceTo;
    DevicePen pen;
};

// Text drawn with its top-left corner at the origin, turned counter-clockwise by the font's
// escapement about that corner. With bkMode OPAQUE the text's cell is filled with bkColor first.
struct TextCall {
    win::POINT logicalOrigin;
    win::POINT deviceOrigin;
    std::string_view text; // single-byte code page 1252
    DeviceFont font;
    win::COLORREF textColor = 0;
    int bkMode = OPAQUE;
    win::COLORREF bkColor = 0;
};

// The picture's top-left corner goes to (deviceX, deviceY) and its bottom-right corner to
// (deviceX + deviceWidth, deviceY + deviceHeight): a negative extent mirrors the picture along
// that axis. The source rectangle is in picture pixels with y counted up from the bottom row
// (srcY = 0, srcHeight = rows is the whole picture); it always lies inside the picture.
struct DibCall {
    int logicalX = 0, logicalY = 0, logicalWidth = 0, logicalHeight = 0;
    int deviceX = 0, deviceY = 0, deviceWidth = 0, deviceHeight = 0;
    int srcX = 0, srcY = 0, srcWidth = 0, srcHeight = 0;
    DibView dib;
    int stretchMode = BLACKONWHITE;
    win::DWORD rop = SRCCOPY; // SRCCOPY, SRCAND or SRCPAINT
};

// The drag frame: the border (thickness size.cx across, size.cy down) of rect is inverted through
// the 50 % halftone pattern (the pixels where x + y is odd), after the border of the previous
// frame, when there is one, has been inverted back. Device coordinates, normalised.
struct DragRectCall {
    win::RECT rect;
    win::SIZE size;
    bool hasLast = false;
    win::RECT lastRect;
    win::SIZE lastSize;
};

class DeviceContext {
public:
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;
    virtual ~DeviceContext();

    // --- the device
    int GetDeviceCaps(int index) const; // HORZRES, VERTRES, LOGPIXELSX, LOGPIXELSY; else 0
    bool IsPrinting() const { return printing_; }

    // --- mapping (each setter returns the previous value)
    int SetMapMode(int mode); // MM_TEXT or MM_LOMETRIC; another value changes nothing, returns 0
    int GetMapMode() const { return mapMode_; }
    win::POINT SetWindowOrg(int x, int y);
    win::POINT GetWindowOrg() const { return windowOrg_; }
    win::POINT SetViewportOrg(int x, int y);
    win::POINT GetViewportOrg() const { return viewportOrg_; }

    void LPtoDP(win::POINT* points, int count = 1) const;
    void LPtoDP(win::RECT* rect) const; // both corners, not normalised
    void LPtoDP(win::SIZE* size) const; // lengths: magnitudes scaled, signs kept
    void DPtoLP(win::POINT* points, int count = 1) const;
    void DPtoLP(win::RECT* rect) const;
    void DPtoLP(win::SIZE* size) const;

    // --- objects: returns the previously selected one (the device's own default font or pen
    // when nothing else was selected), or nullptr when the object is null or was never created.
    CFont* SelectObject(CFont* font);
    CPen* SelectObject(CPen* pen);
    const LOGFONT& GetSelectedFont() const { return font_; }
    const LOGPEN& GetSelectedPen() const { return pen_; }

    // --- colours and modes (each setter returns the previous value)
    win::COLORREF SetTextColor(win::COLORREF color);
    win::COLORREF GetTextColor() const { return textColor_; }
    win::COLORREF SetBkColor(win::COLORREF color);
    win::COLORREF GetBkColor() const { return bkColor_; }
    int SetBkMode(int mode); // TRANSPARENT or OPAQUE; another value changes nothing, returns 0
    int GetBkMode() const { return bkMode_; }
    int SetStretchBltMode(int mode);
    int GetStretchBltMode() const { return stretchMode_; }

    // --- drawing
    // Text with its top-left corner at (x, y), in the selected font, turned by its escapement.
    win::BOOL TextOut(int x, int y, std::string_view text);
    // Width and height of the text in the selected font, logical units, unturned.
    win::SIZE GetTextExtent(std::string_view text) const;
    // Fills the rectangle with the colour; like the original it leaves the background colour
    // set to that colour.
    void FillSolidRect(const win::RECT& rect, win::COLORREF color);
    // Paints the rectangle with the colour through the original's halftone pattern: every other
    // pixel, in a checkerboard fixed to the device's pixels, so that what lies under it shows
    // between. The background colour is left as it was.
    void FillHalftoneRect(const win::RECT& rect, win::COLORREF color);
    // Moves the current position; returns the previous one.
    win::POINT MoveTo(int x, int y);
    // A line from the current position to (x, y) with the selected pen; (x, y) becomes current.
    win::BOOL LineTo(int x, int y);
    // Stretches the source rectangle (srcY counted up from the picture's bottom row) onto the
    // logical rectangle (x, y, width, height); a negative extent flips that axis, on top of the
    // mapping mode's own flip. The colours are combined with the device's by the rop: SRCCOPY,
    // SRCAND or SRCPAINT. Returns the number of source rows drawn, 0 when nothing was drawn
    // (invalid picture, source outside the picture, another rop).
    int StretchDIBits(int x, int y, int width, int height, int srcX, int srcY, int srcWidth, int srcHeight,
        const DibView& dib, win::DWORD rop);
    // Copies the source rectangle one picture pixel to one device pixel, its top-left corner at
    // the logical point (x, y). Returns the rows drawn, 0 when nothing was drawn.
    int SetDIBitsToDevice(int x, int y, int width, int height, int srcX, int srcY, const DibView& dib);
    // The drag frame of a rubber-band move (last may be null): the border of the rectangle, of the
    // given thickness, inverted through the halftone pattern, so that it shows over dark and light
    // pixels alike and what lies under it shows between its dots; drawn again it is gone. In device
    // coordinates, whatever the mapping mode, as the platform's.
    void DrawDragRect(const win::RECT& rect, win::SIZE size, const win::RECT* lastRect, win::SIZE lastSize);

    // --- checks of object handling
    // Faults so far (an object deleted or destroyed while selected) and, at the moment of the
    // call, every font or pen of the caller's that is still selected. Empty when all is well.
    std::vector<std::string> ObjectFaults() const;

    // Conversions of lengths between logical and device units along one axis (magnitude
    // scaled, sign kept, 64-bit, saturated). Exposed for backends and tests.
    int LogicalToDeviceX(int64_t length) const;
    int LogicalToDeviceY(int64_t length) const;
    int DeviceToLogicalX(int64_t length) const;
    int DeviceToLogicalY(int64_t length) const;
    DeviceFont ToDeviceFont(const LOGFONT& font) const;
    DevicePen ToDevicePen(const LOGPEN& pen) const;

protected:
    // caps.logPixelsX and caps.logPixelsY below 1 count as 96.
    DeviceContext(const DeviceCaps& caps, bool printing);

    virtual void DoFillRect(const FillCall& call) = 0;
    virtual void DoLine(const LineCall& call) = 0;
    virtual void DoText(const TextCall& call) = 0;
    // Unturned width and height of the text in device pixels.
    virtual win::SIZE DoMeasureText(std::string_view text, const DeviceFont& font) const = 0;
    virtual void DoStretchDib(const DibCall& call) = 0;
    virtual void DoDragRect(const DragRectCall& call) = 0;

private:
    friend class GdiObject;
    void ObjectDeletedWhileSelected(const GdiObject& object, bool destroyed);
    void Deselect(GdiObject* object);
    win::POINT ToDevicePoint(win::POINT logical) const;
    void Fill(const win::RECT& rect, win::COLORREF color, bool halftone);

    DeviceCaps caps_;
    bool printing_;
    int mapMode_ = MM_TEXT;
    win::POINT windowOrg_ {};
    win::POINT viewportOrg_ {};
    win::COLORREF textColor_ = win::RGB(0, 0, 0);
    win::COLORREF bkColor_ = win::RGB(255, 255, 255);
    int bkMode_ = OPAQUE;
    int stretchMode_ = BLACKONWHITE;
    win::POINT position_ {};
    CFont stockFont_;
    CPen stockPen_;
    CFont* selectedFont_ = nullptr;
    CPen* selectedPen_ = nullptr;
    LOGFONT font_; // copy of the selected font's description
    LOGPEN pen_;
    std::vector<std::string> faults_;
};

} // namespace gdi
