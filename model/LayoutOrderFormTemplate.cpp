// Layout::ReadOrderFormTemplate: places the units of the layout's current tree from the settings
// of a legacy order-form template. Positions are absolute points on the page, so every parent is
// placed before its children; a unit the tree lacks is skipped.
#include "model/Layout.h"
#include "model/LegacyOrderForm.h"
#include "platform/win/IntArithmetic.h"

#include <optional>

namespace {

// Template values are arbitrary 32-bit numbers; sums and differences wrap as 32-bit values
// (without undefined overflow) instead of being computed in a wider type the unit cannot hold.
int32_t Minus(int32_t a, int32_t b)
{
    return win::WrapToInt32(int64_t { a } - b);
}
int32_t Plus(int32_t a, int32_t b)
{
    return win::WrapToInt32(int64_t { a } + b);
}

class Placer {
public:
    explicit Placer(LayoutUnit& root)
        : root_(root)
    {
    }

    // A unit that holds others: placed, repeated and shown.
    void Frame(const char* name, win::POINT at, uint32_t repeat, win::POINT step) const
    {
        if (LayoutUnit* unit = root_.FindByName(name)) {
            unit->SetAbsolutePosition(at);
            unit->SetRepeatCount(repeat);
            unit->SetStep(step);
            unit->SetVisible(true);
        }
    }

    // A picture: placed and sized, shown when it has a width.
    void Image(const char* name, win::POINT at, int32_t width, int32_t height) const
    {
        if (LayoutUnit* unit = root_.FindByName(name)) {
            unit->SetAbsolutePosition(at);
            unit->SetSize({ width, height });
            unit->SetImageFlag(true);
            unit->SetVisible(width != 0);
        }
    }

    // A list of packs: placed with its line step, shown.
    void Packs(const char* name, win::POINT at, int32_t lineStep) const
    {
        if (LayoutUnit* unit = root_.FindByName(name)) {
            unit->SetAbsolutePosition(at);
            unit->SetStep({ 0, lineStep });
            unit->SetVisible(true);
        }
    }

    // A text: placed at the point (or, without one, at its parent's origin) in its font size.
    void Text(const char* name, std::optional<win::POINT> at, bool visible, uint32_t font) const
    {
        if (LayoutUnit* unit = root_.FindByName(name)) {
            if (at)
                unit->SetAbsolutePosition(*at);
            else
                unit->SetPosition({ 0, 0 });
            unit->SetVisible(visible);
            unit->SetFontSize(font);
        }
    }

    // Reference boxes: the first box's position and the step to the second.
    void RefBoxes(const char* name, int32_t top, int32_t box1, int32_t box2, uint32_t font) const
    {
        if (LayoutUnit* unit = root_.FindByName(name)) {
            unit->SetAbsolutePosition({ box1, top });
            unit->SetStep({ Minus(box2, box1), 0 });
            unit->SetVisible(box1 != 0);
            unit->SetFontSize(font);
        }
    }

private:
    LayoutUnit& root_;
};

// The barcode's position is its centre less half the width of the default barcode unit.
constexpr int32_t HalfBarcodeWidth = 300;

} // namespace

void Layout::ReadOrderFormTemplate(std::istream& in)
{
    const OrderFormSettings settings = ReadOrderFormTemplateValues(in);
    const Placer p(*root_);
    const auto S = [&](std::size_t index) { return settings[index]; };
    const auto fontOf = [&](std::size_t index) { return static_cast<uint32_t>(S(index)); };

    SetBackgroundPOD(false);
    if (layoutType_ == 0 || layoutType_ == 2)
        paper_.SetPortrait(true);
    else if (layoutType_ == 1)
        paper_.SetPortrait(false);

    p.Frame("Port", { 50, 150 }, static_cast<uint32_t>(S(25)), { 0, S(24) });
    p.Image("PImage", { S(6), S(7) }, S(4), S(5));
    p.Text("PBarcode", win::POINT { Minus(S(8), HalfBarcodeWidth), S(9) }, true, fontOf(0));
    p.RefBoxes("PRefBoxes", S(10), S(11), S(12), fontOf(1));
    p.Packs("PPacks", { S(17), S(18) }, S(21));
    p.Text("PDescription", std::nullopt, S(17) != 0, fontOf(3));
    p.Text("PPrice", win::POINT { S(15), S(16) }, S(15) != 0, fontOf(1));

    p.Frame("Group", { 50, 150 }, 1, { 0, 0 });
    p.Image("GImage", { S(28), S(29) }, S(26), S(27));
    p.Text("GBarcode", win::POINT { Minus(S(30), HalfBarcodeWidth), S(31) }, true, fontOf(0));
    p.RefBoxes("GRefBoxes", S(32), S(33), S(34), fontOf(1));
    p.Packs("GPacks", { S(39), S(40) }, S(41));
    p.Text("GDescription", std::nullopt, S(39) != 0, fontOf(3));
    p.Text("GPrice", win::POINT { S(37), S(38) }, S(37) != 0, fontOf(1));

    p.Frame("CombinedGroup", { 50, Plus(Plus(S(7), S(5)), 50) }, 1, { 0, 0 });
    p.Image("CGImage", { S(48), S(49) }, S(46), S(47));
    p.Packs("CGPacks", { S(17), S(45) }, S(21));
    p.Text("CGDescription", std::nullopt, S(45) != 0, fontOf(3));
    p.Text("CGPrice", win::POINT { S(15), S(44) }, S(44) != 0, fontOf(1));

    if (layoutType_ == 1)
        p.Text("ExtraTxt1", win::POINT { S(42), S(43) }, S(42) != 0, fontOf(2));
    else
        p.Text("ExtraTxt1", win::POINT { S(22), S(23) }, S(22) != 0, fontOf(2));
    p.Text("ExtraTxt2", win::POINT { 50, 50 }, false, fontOf(2));
}
