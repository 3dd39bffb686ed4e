#include "model/PaperSpecs.h"

#include "platform/win/IntArithmetic.h"
#include "records/SharedFunctions.h"

const std::array<PaperSize, 11> PaperSizeTable = { {
    { "A4", 2970, 2100 },
    { "A4 L", 2100, 2970 },
    { "A5", 2100, 1480 },
    { "A5 L", 1480, 2100 },
    { "8x6", 2032, 1524 },
    { "6x8", 1524, 2032 },
    { "7x5", 1778, 1270 },
    { "5x7", 1270, 1778 },
    { "6x4", 1524, 1016 },
    { "4x6", 1016, 1524 },
    { "Custom", 2970, 2100 },
} };

namespace {

constexpr const char* settingsSection = "Settings";

bool InTable(int32_t index)
{
    return index >= 0 && index < static_cast<int32_t>(PaperSizeTable.size());
}

} // namespace

PaperSpecs::PaperSpecs(int32_t paperIndex)
{
    // An index outside the table has no sizes to go with it: the sheet becomes custom.
    const int32_t index = InTable(paperIndex) ? paperIndex : customPaper;
    paperType_ = index;
    paperHeight_ = PaperSizeTable[static_cast<std::size_t>(index)].height;
    paperWidth_ = PaperSizeTable[static_cast<std::size_t>(index)].width;
    ReadMarginSettings();
}

PaperSpecs::PaperSpecs(int32_t height, int32_t width)
    : paperType_(customPaper)
    , paperHeight_(height)
    , paperWidth_(width)
{
    ReadMarginSettings();
    FindPaperIndex();
}

PaperSpecs::~PaperSpecs()
{
    if (!storeMargins_)
        return;
    win::AppContext& app = GetTheApp();
    app.WriteProfileInt(settingsSection, "PaperMarginLeft", marginLeft_);
    app.WriteProfileInt(settingsSection, "PaperMarginRight", marginRight_);
    app.WriteProfileInt(settingsSection, "PaperMarginTop", marginTop_);
    app.WriteProfileInt(settingsSection, "PaperMarginBottom", marginBottom_);
}

void PaperSpecs::ReadMarginSettings()
{
    const win::AppContext& app = GetTheApp();
    marginLeft_ = app.GetProfileInt(settingsSection, "PaperMarginLeft", 30);
    marginRight_ = app.GetProfileInt(settingsSection, "PaperMarginRight", 30);
    marginTop_ = app.GetProfileInt(settingsSection, "PaperMarginTop", 30);
    marginBottom_ = app.GetProfileInt(settingsSection, "PaperMarginBottom", 30);
}

void PaperSpecs::KeepPaperTypeInTable()
{
    if (InTable(paperType_))
        return;
    if (FindPaperIndex() == noPaperFound)
        paperType_ = customPaper;
}

void PaperSpecs::SelectPaper(int32_t paperIndex)
{
    if (InTable(paperIndex)) {
        paperType_ = paperIndex;
        paperHeight_ = PaperSizeTable[static_cast<std::size_t>(paperIndex)].height;
        paperWidth_ = PaperSizeTable[static_cast<std::size_t>(paperIndex)].width;
    } else {
        paperType_ = paperIndex;
        KeepPaperTypeInTable();
    }
    SetFieldModified(fieldPaperType);
    SetFieldModified(fieldPaperHeight);
    SetFieldModified(fieldPaperWidth);
}

void PaperSpecs::SetHeight(int32_t height)
{
    paperHeight_ = height;
    SetFieldModified(fieldPaperHeight);
    FindPaperIndex();
}

void PaperSpecs::SetWidth(int32_t width)
{
    paperWidth_ = width;
    SetFieldModified(fieldPaperWidth);
    FindPaperIndex();
}

int32_t PaperSpecs::FindPaperIndex()
{
    for (std::size_t i = 0; i < PaperSizeTable.size(); ++i) {
        if (PaperSizeTable[i].height == paperHeight_ && PaperSizeTable[i].width == paperWidth_) {
            paperType_ = static_cast<int32_t>(i);
            SetFieldModified(fieldPaperType);
            return paperType_;
        }
    }
    return noPaperFound;
}

win::RECT PaperSpecs::GetPrintableRect() const
{
    return { marginLeft_, marginTop_, win::WrapToInt32(int64_t { paperWidth_ } - marginRight_),
        win::WrapToInt32(int64_t { paperHeight_ } - marginBottom_) };
}

void PaperSpecs::SetMarginLeft(int32_t margin)
{
    marginLeft_ = margin;
    SetFieldModified(fieldMarginLeft);
}

void PaperSpecs::SetMarginRight(int32_t margin)
{
    marginRight_ = margin;
    SetFieldModified(fieldMarginRight);
}

void PaperSpecs::SetMarginTop(int32_t margin)
{
    marginTop_ = margin;
    SetFieldModified(fieldMarginTop);
}

void PaperSpecs::SetMarginBottom(int32_t margin)
{
    marginBottom_ = margin;
    SetFieldModified(fieldMarginBottom);
}

void PaperSpecs::SetPortrait(bool portrait)
{
    portrait_ = portrait;
    SetFieldModified(fieldPortrait);
}
