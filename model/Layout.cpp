#include "model/Layout.h"

#include "model/DefaultUnitTrees.h"

#include <initializer_list>

const char* const OrderBackgroundName = "OrderBackground.jpg";

Layout::Layout()
{
    // The type starts at 3 so that this first call builds the portrait tree.
    SetLayoutType(0);
}

Layout::~Layout() = default;

std::unique_ptr<Layout> Layout::Duplicate() const
{
    auto copy = std::make_unique<Layout>();
    Clone(*copy); // the layout's own fields, the type among them
    paper_.Clone(copy->paper_);
    copy->root_ = std::make_shared<LayoutUnit>();
    copy->root_->CopyFrom(*root_);
    copy->loaded_ = loaded_;
    return copy;
}

void Layout::SetLayoutType(int32_t layoutType)
{
    if (layoutType == layoutType_)
        return;
    auto root = BuildDefaultUnitTree(layoutType);
    AddExtraTextUnits(*root);
    root_ = std::move(root);
    layoutType_ = layoutType;
}

void Layout::ApplyLegacyFontSizes(uint32_t barcode, uint32_t text, uint32_t small, uint32_t description)
{
    const struct {
        uint32_t size;
        std::initializer_list<const char*> units;
    } assignments[] = {
        { barcode, { "PBarcode", "GBarcode" } },
        { text, { "PRefBoxes", "PPrice", "GRefBoxes", "GPrice", "CGPrice" } },
        { description, { "PDescription", "GDescription", "CGDescription" } },
        { small, { "ExtraTxt1", "ExtraTxt2" } },
    };
    for (const auto& assignment : assignments) {
        for (const char* name : assignment.units) {
            if (LayoutUnit* unit = root_->FindByName(name))
                unit->SetFontSize(assignment.size);
        }
    }
}

void Layout::HideLateExtraTexts()
{
    for (int n = 3; n <= 8; ++n) {
        if (LayoutUnit* unit = root_->FindByName("ExtraTxt" + std::to_string(n)))
            unit->SetVisible(false);
    }
}

void Layout::SetBackgroundImage(const std::string& path)
{
    backgroundImage_ = path;
    SetFieldModified(fieldBackgroundImage);
}

void Layout::SetBackgroundPOD(bool onPaper)
{
    backgroundPOD_ = onPaper;
    SetFieldModified(fieldBackgroundPOD);
}

void Layout::SetPrintMainImage(bool print)
{
    printMainImage_ = print;
    SetFieldModified(fieldPrintMainImage);
}

void Layout::SetOverprintCopyright(bool overprint)
{
    overprintCopyright_ = overprint;
    SetFieldModified(fieldOverprintCopyright);
}

void Layout::SetOverprintWord(const std::string& word)
{
    overprintWord_ = word;
    SetFieldModified(fieldOverprintWord);
}

void Layout::SetOverprintColour(const std::string& colour)
{
    overprintColour_ = colour;
    SetFieldModified(fieldOverprintColour);
}

void Layout::SetOverprintDiagonal(bool diagonal)
{
    overprintDiagonal_ = diagonal;
    SetFieldModified(fieldOverprintDiagonal);
}

void Layout::SetOverprintDiagWidth(uint32_t width)
{
    overprintDiagWidth_ = width;
    SetFieldModified(fieldOverprintDiagWidth);
}
