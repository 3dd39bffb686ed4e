// Fonts and pens of the painters, selected into a device context only while they live: the
// previous object goes back in before the new one is deleted, so nothing is deleted while
// selected and nothing is left behind.
#pragma once

#include "app/view/DisplayConverter.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/win/Types.h"

#include <cstdint>
#include <string>

inline constexpr char kPainterFace[] = "Arial";

class ScopedFont {
public:
    // A font of the face at the size (tenths of a point) following the converter's scale, turned by
    // the escapement (tenths of a degree, counter-clockwise).
    ScopedFont(gdi::DeviceContext& dc, const DisplayConverter& converter, int64_t size, int escapement,
        const std::string& face = kPainterFace);
    ~ScopedFont();
    ScopedFont(const ScopedFont&) = delete;
    ScopedFont& operator=(const ScopedFont&) = delete;

private:
    gdi::DeviceContext& dc_;
    gdi::CFont font_;
    gdi::CFont* previous_ = nullptr;
};

class ScopedPen {
public:
    // A solid pen; the width in logical units is saturated to what a pen takes.
    ScopedPen(gdi::DeviceContext& dc, int64_t width, win::COLORREF colour);
    ~ScopedPen();
    ScopedPen(const ScopedPen&) = delete;
    ScopedPen& operator=(const ScopedPen&) = delete;

private:
    gdi::DeviceContext& dc_;
    gdi::CPen pen_;
    gdi::CPen* previous_ = nullptr;
};
