// The one transform between layout coordinates (tenths of a millimetre, origin at the paper's
// top-left, y down) and the logical coordinates of a device context in the metric mapping
// (tenths of a millimetre, y up), for one drawing: zoomed and centred on screen, at true size from
// the printer's margin corner on paper. Also makes fonts that follow the transform and draws the
// text of a unit at its anchor with the unit's alignment and turn.
#pragma once

#include "platform/gdi/DeviceContext.h"
#include "platform/win/Types.h"

#include <cstdint>
#include <string>

class LayoutUnit;

class DisplayConverter {
public:
    DisplayConverter() = default;
    DisplayConverter(const DisplayConverter&) = default;
    DisplayConverter& operator=(const DisplayConverter&) = default;
    virtual ~DisplayConverter();

    // Layout point to device point, in place:
    //   x' = truncate((x - originX) * scale) + offsetX,  y' = truncate((originY - y) * scale) + offsetY
    void ToDevice(win::POINT& point) const;
    // Both corners with the point rules (not normalised).
    void ToDeviceRect(win::RECT& rect) const;
    // Device point to layout point, in place: the inverse rules with the division by the scale.
    void ToLayout(win::POINT& point) const;
    int ToLayoutX(int deviceX) const;
    int ToLayoutY(int deviceY) const;
    int ScaleLength(int length) const; // truncate(length * scale)
    int ScaleLengthNegated(int length) const; // truncate(-length * scale)
    void ToLayoutSize(win::SIZE& size) const; // each component truncate(component / scale)
    int ToLayoutLength(int length) const; // truncate(length / scale)

    // The scale is the logical device units per layout unit; a zero, negative or non-finite scale
    // is refused (the previous one stays and false is returned), so no conversion ever divides
    // by one.
    bool SetScale(double scale);
    double GetScale() const { return scale_; }
    void SetOrigin(win::POINT origin)
    {
        originX_ = origin.x;
        originY_ = origin.y;
    }
    win::POINT GetOrigin() const { return { originX_, originY_ }; }
    void SetOffsetX(int32_t offset) { offsetX_ = offset; }
    int32_t GetOffsetX() const { return offsetX_; }
    void SetOffsetY(int32_t offset) { offsetY_ = offset; }
    int32_t GetOffsetY() const { return offsetY_; }
    void SetPrinting(bool printing) { printing_ = printing; }
    bool IsPrinting() const { return printing_; }

    // Fills the font with a face at a size in tenths of a point, following the scale:
    // height = truncate(size * 254 * scale / -720) (the em height), computed in 64 bits and kept
    // within what a device can draw; a height that comes out 0 at a very small scale becomes -1,
    // the smallest visible size, rather than 0, which would ask for the device's default size.
    // Escapement in tenths of a degree, counter-clockwise. False when the font already holds one.
    bool CreateFont(gdi::CFont& font, int64_t size, const std::string& faceName, int escapement) const;
    // The em height CreateFont gives for a size.
    int32_t FontHeight(int64_t size) const;

    // Draws the text with the selected font at the unit's anchor (its absolute position for the
    // item), aligned by the unit's alignment (0 left, 1 centre, 2 right, other: not drawn) along
    // the unit's turned run, then grows the unit's item size to the text's extent in layout units
    // (after setting it to 0 when resetSize is set).
    void DrawUnitText(
        LayoutUnit& unit, const std::string& text, gdi::DeviceContext& dc, bool resetSize, int item) const;

private:
    bool printing_ = false;
    double scale_ = 1.0;
    int32_t originX_ = 0;
    int32_t originY_ = 0;
    int32_t offsetX_ = 0;
    int32_t offsetY_ = 0;
};

// The converter the view and the painters use.
class LayoutConverter : public DisplayConverter {
public:
    LayoutConverter() = default;
    LayoutConverter(const LayoutConverter&) = default;
    LayoutConverter& operator=(const LayoutConverter&) = default;
    ~LayoutConverter() override;
};

// The escapement (counter-clockwise, tenths of a degree) of text turned clockwise by the angle
// (tenths of a degree): (3600 - angle) mod 3600.
int TextEscapement(int clockwiseAngle);

// Sets each edge of dst to the same edge of src times the factor (dst may be src); 64-bit
// products, saturated to 32 bits.
void ScaleRect(win::RECT& dst, const win::RECT& src, int factor);
