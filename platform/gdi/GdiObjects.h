// The drawing objects that are selected into a device context: fonts and pens. An object
// remembers the device contexts it is selected into, so that deleting a selected object is
// refused and reported, as the drawing code must always select the previous object back first.
#pragma once

#include "platform/win/Types.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace gdi {

class DeviceContext;

constexpr int LF_FACESIZE = 32;
constexpr win::BYTE ANSI_CHARSET = 0;
constexpr win::BYTE OUT_TT_ONLY_PRECIS = 7;
constexpr win::LONG FW_DONTCARE = 0;
constexpr win::LONG FW_NORMAL = 400;
constexpr win::LONG FW_BOLD = 700;

// Largest font height and pen width, in logical units, that an object accepts; larger values
// are clamped to it (a larger one would be far beyond any page a device can print).
constexpr win::LONG kMaxFontHeight = 16384;
constexpr win::LONG kMaxPenWidth = 16384;

// A font description: the height in logical units (negative: the character (em) height,
// positive: the cell height including internal leading, 0: the device's default size);
// escapement in tenths of a degree, counter-clockwise; weight 0 (default), 400 normal, 700 bold.
struct LOGFONT {
    win::LONG lfHeight = 0;
    win::LONG lfWidth = 0;
    win::LONG lfEscapement = 0;
    win::LONG lfOrientation = 0;
    win::LONG lfWeight = 0;
    win::BYTE lfItalic = 0;
    win::BYTE lfUnderline = 0;
    win::BYTE lfStrikeOut = 0;
    win::BYTE lfCharSet = 0;
    win::BYTE lfOutPrecision = 0;
    win::BYTE lfClipPrecision = 0;
    win::BYTE lfQuality = 0;
    win::BYTE lfPitchAndFamily = 0;
    std::array<char, LF_FACESIZE> lfFaceName {}; // zero-terminated
};

// The face name of a font description, and setting it (cut to LF_FACESIZE - 1 bytes).
std::string GetFaceName(const LOGFONT& font);
void SetFaceName(LOGFONT& font, std::string_view face);

constexpr int PS_SOLID = 0;

// A pen: style (PS_SOLID only), width in logical units (0 = one device pixel), colour.
struct LOGPEN {
    int lopnStyle = PS_SOLID;
    win::LONG lopnWidth = 0;
    win::COLORREF lopnColor = 0;
};

class GdiObject {
public:
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    // Destroying an object that is still selected is a fault of the caller: every device
    // context holding it records the fault and keeps drawing with a copy of its description.
    virtual ~GdiObject();

    bool IsCreated() const { return created_; }
    bool IsSelected() const { return !selectedIn_.empty(); }
    // FALSE, and the fault recorded in the device context, while the object is selected;
    // otherwise the object becomes empty (it may be created again).
    win::BOOL DeleteObject();

protected:
    GdiObject() = default;
    void MarkCreated() { created_ = true; }

private:
    friend class DeviceContext;
    bool created_ = false;
    std::vector<DeviceContext*> selectedIn_;
};

class CFont : public GdiObject {
public:
    CFont() = default;
    // Copies the description (height and escapement clamped to the accepted ranges).
    // FALSE when the object already holds a font.
    win::BOOL CreateFontIndirect(const LOGFONT* logFont);
    const LOGFONT& GetLogFont() const { return logFont_; }

private:
    LOGFONT logFont_;
};

class CPen : public GdiObject {
public:
    CPen() = default;
    // FALSE for a style other than PS_SOLID or when the object already holds a pen; a
    // negative width counts as 0, a width above kMaxPenWidth as kMaxPenWidth.
    win::BOOL CreatePen(int style, int width, win::COLORREF color);
    const LOGPEN& GetLogPen() const { return logPen_; }

private:
    LOGPEN logPen_;
};

} // namespace gdi
