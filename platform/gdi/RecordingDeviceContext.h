// A device context that draws nothing and keeps every primitive with its logical and device
// geometry and the state at that moment, so that tests can check exact geometry without fonts
// or pixels. Text is measured by an exchangeable function; the default is deterministic.
#pragma once

#include "platform/gdi/DeviceContext.h"

#include <array>
#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace gdi {

// The state of the device context when a primitive was drawn.
struct RecordedState {
    int mapMode = MM_TEXT;
    win::POINT windowOrg;
    win::POINT viewportOrg;
    win::COLORREF textColor = 0;
    win::COLORREF bkColor = 0;
    int bkMode = OPAQUE;
    int stretchMode = BLACKONWHITE;
};

struct RecordedFill {
    FillCall call;
    RecordedState state;
};

struct RecordedLine {
    LineCall call;
    RecordedState state;
};

struct RecordedText {
    win::POINT logicalOrigin;
    win::POINT deviceOrigin;
    std::string text;
    DeviceFont font;
    win::SIZE deviceExtent; // as measured, unturned
    // The text's cell on the device, turned by the escapement: the corner at the origin, then
    // along the run, then the far corner, then down from the origin.
    std::array<win::POINT, 4> deviceCorners;
    RecordedState state;
    // The smallest normalised device rectangle holding the four corners.
    win::RECT DeviceBounds() const;
};

struct RecordedDib {
    DibCall call; // call.dib points at the caller's pixels, valid only during the call
    RecordedState state;
    // With KeepPixels on: the colours of the source rectangle, its top row first, srcWidth a row.
    std::vector<win::COLORREF> pixels;
};

struct RecordedDragRect {
    DragRectCall call;
    RecordedState state;
};

using RecordedPrimitive
    = std::variant<RecordedFill, RecordedLine, RecordedText, RecordedDib, RecordedDragRect>;

class RecordingDeviceContext : public DeviceContext {
public:
    // Device-pixel size of a text in a device font.
    using TextMeasurer = std::function<win::SIZE(std::string_view text, const DeviceFont& font)>;

    // By default a 254 dpi surface, on which one tenth of a millimetre is one pixel.
    static constexpr DeviceCaps kDefaultCaps { 2100, 2970, 254, 254 };
    explicit RecordingDeviceContext(const DeviceCaps& caps = kDefaultCaps, bool printing = false);

    // Each character is max(1, h / 2) pixels wide and the text h pixels high, where h is the
    // magnitude of the device font height (16 for the default size).
    static win::SIZE DefaultMeasure(std::string_view text, const DeviceFont& font);
    void SetTextMeasurer(TextMeasurer measurer) { measurer_ = std::move(measurer); }
    // Keeps a copy of the colours of every picture drawn from now on (off by default: pictures
    // can be large), for tests that look at what a temporary picture held.
    void KeepPixels(bool keep) { keepPixels_ = keep; }

    const std::vector<RecordedPrimitive>& Primitives() const { return primitives_; }
    void Clear() { primitives_.clear(); }

    // The recorded primitives of one kind, in drawing order.
    template <typename T> std::vector<T> All() const
    {
        std::vector<T> out;
        for (const auto& primitive : primitives_)
            if (const T* p = std::get_if<T>(&primitive))
                out.push_back(*p);
        return out;
    }

protected:
    void DoFillRect(const FillCall& call) override;
    void DoLine(const LineCall& call) override;
    void DoText(const TextCall& call) override;
    win::SIZE DoMeasureText(std::string_view text, const DeviceFont& font) const override;
    void DoStretchDib(const DibCall& call) override;
    void DoDragRect(const DragRectCall& call) override;

private:
    RecordedState State() const;
    TextMeasurer measurer_;
    bool keepPixels_ = false;
    std::vector<RecordedPrimitive> primitives_;
};

} // namespace gdi
