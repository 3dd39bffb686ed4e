// The stored fields of a layout unit, in the order of its document line and archive form.
#include "model/LayoutDocumentVersions.h"
#include "model/LayoutUnit.h"

#include <array>

using namespace layoutdoc;

FieldTable<LayoutUnit> LayoutUnit::Fields()
{
    using U = LayoutUnit;
    static const std::array<FieldRow<U>, 15> rows = { {
        { fieldName, "Name", &U::name_ },
        { fieldCaption, "Caption", &U::caption_, CaptionSince, [](U& unit) { unit.caption_ = unit.name_; } },
        { fieldPosition, "X", &U::x_ },
        { fieldPosition, "Y", &U::y_ },
        { fieldSize, "Width", &U::width_ },
        { fieldSize, "Height", &U::height_ },
        { fieldRepeatCount, "RepeatCount", &U::repeatCount_ },
        { fieldStep, "StepX", &U::stepX_ },
        { fieldStep, "StepY", &U::stepY_ },
        { fieldSingleOnly, "SingleOnly", &U::singleOnly_, SingleOnlySince },
        { fieldVisible, "Visible", &U::visible_ },
        { fieldAlignment, "Alignment", &U::alignment_ },
        { fieldImageFlag, "ImageFlag", &U::imageFlag_, ImageFlagSince },
        { fieldQuarterTurns, "QuarterTurns", &U::quarterTurns_, TurnsAndFontSince,
            [](U& unit) { unit.quarterTurns_ = 0; } },
        { fieldFontSize, "FontSize", &U::fontSize_, TurnsAndFontSince },
    } };
    return rows;
}
