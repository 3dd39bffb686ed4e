#include "app/form/OrvanelForm.h"

#include "app/document/DocumentHints.h"
#include "app/document/OrvanelDoc.h"
#include "app/form/FormExchange.h"
#include "app/form/FormTemplate.h"
#include "imaging/wrapper/ImageCache.h"
#include "model/Layout.h"
#include "model/LayoutUnit.h"
#include "model/PaperSpecs.h"
#include "model/RgbHex.h"
#include "platform/qt/Cp1252.h"
#include "platform/qt/fw/CommonDialogs.h"
#include "platform/qt/fw/DataExchange.h"
#include "platform/qt/fw/PathText.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {
using form::UnitRow;
using form::UnitValues;

constexpr const char* kPaperNames[]
    = { "A4", "A4 L", "A5", "A5 L", "8x6", "6x8", "7x5", "5x7", "6x4", "4x6", "Custom" };

// The order in which the values are exchanged (after the control members): values before a
// failing one have been taken, values after it have not.
constexpr win::UINT kExchangeOrder[] = { 1001, 1009, 1005, 1014, 1004, 1020, 1022, 1018, 1006, 1007, 1019,
    1025, 1029, 1086, 1057, 1030, 1070, 1074, 1075, 1038, 1039, 1048, 1049, 1036, 1037, 1034, 1047, 1044,
    1045, 1050, 1051, 1040, 1041, 1035, 1032, 1033, 1052, 1053, 1043, 1046, 1071, 1072, 1058, 1055, 1059,
    1054, 1113, 1118, 1108, 1110, 1115, 1100, 1099, 1097, 1098, 1095, 1114, 1107, 1105, 1106, 1119, 1109,
    1111, 1096, 1093, 1094, 1063, 1064, 1073, 1090, 1069, 1076, 1078, 1077, 1103, 1104, 1031, 1060, 1061,
    1062, 1079, 1089, 1091, 1092, 1101 };

// Enabled only for the combined proof type.
constexpr win::UINT kCombinedOnly[] = { 1113, 1093, 1094, 1115, 1097, 1098, 1099, 1100, 1084, 1085, 1114,
    1105, 1106, 1107, 1118, 1108, 1110, 1074, 1119, 1109, 1111, 1075, 1077 };

// The refusal of a text the layout file cannot hold, after the field's name.
constexpr const char* kUnfitText = " holds characters that a layout cannot keep.\n"
                                   "Use only the characters of the Western European (Windows-1252) set.";

using form::StoredLength;
using form::ToLength;

std::string ExtraTextName(int slot)
{
    return "ExtraTxt" + std::to_string(slot);
}

void LoadUnit(const LayoutUnit& unit, const UnitRow& row, UnitValues& values)
{
    const win::POINT position = row.absolute ? unit.GetAbsolutePosition(0) : unit.GetPosition();
    values.x = position.x;
    values.y = position.y;
    values.width = ToLength(unit.GetWidth());
    values.height = ToLength(unit.GetHeight());
    values.multiples = unit.GetRepeatCount();
    values.step = row.stepAxis == form::StepAxis::x ? unit.GetStepX() : unit.GetStepY();
    values.font = unit.GetFontSize();
    values.orientation = unit.GetAngle() / 10;
    values.shown = unit.IsShown() ? 1 : 0;
    values.singleOnly = unit.GetSingleOnly() ? 1 : 0;
}

void StoreUnit(LayoutUnit& unit, const UnitRow& row, UnitValues& values)
{
    if (row.absolute)
        unit.SetAbsolutePosition({ values.x, values.y });
    else
        unit.SetPosition({ values.x, values.y });
    if (row.width != 0)
        unit.SetSize(
            { StoredLength(values.width, unit.GetWidth()), StoredLength(values.height, unit.GetHeight()) });
    if (row.multiples != 0)
        unit.SetRepeatCount(values.multiples);
    // A step the user left as loaded keeps both axes as the file held them.
    if (row.stepAxis == form::StepAxis::x && values.step != unit.GetStepX())
        unit.SetStep({ values.step, 0 });
    else if (row.stepAxis == form::StepAxis::y && values.step != unit.GetStepY())
        unit.SetStep({ 0, values.step });
    if (row.font != 0)
        unit.SetFontSize(values.font);
    if (row.orientation != 0) {
        unit.SetAngle(values.orientation * 10);
        values.orientation = unit.GetAngle() / 10;
    }
    unit.SetVisible(values.shown != 0);
    if (row.singleOnly != 0)
        unit.SetSingleOnly(values.singleOnly != 0);
    if (row.image)
        unit.SetImageFlag(true);
}

template <class Values>
void LoadRows(Layout& layout, std::span<const UnitRow> rows, Values& values, bool group)
{
    for (size_t i = 0; i < rows.size(); ++i)
        if (const LayoutUnit* unit
            = layout.GetRootUnit()->FindByName(group ? rows[i].groupName : rows[i].portraitName))
            LoadUnit(*unit, rows[i], values[i]);
}

template <class Values>
void StoreRows(Layout& layout, std::span<const UnitRow> rows, Values& values, bool group)
{
    for (size_t i = 0; i < rows.size(); ++i)
        if (LayoutUnit* unit
            = layout.GetRootUnit()->FindByName(group ? rows[i].groupName : rows[i].portraitName))
            StoreUnit(*unit, rows[i], values[i]);
}
} // namespace

COrvanelForm::COrvanelForm(QWidget* parent)
    : fw::FormView(form::FormTemplate(), parent)
{
    if (fw::Control* paper = GetDlgItem(1001))
        for (const char* name : kPaperNames)
            paper->AddString(name);
    paperWidthEdit.Attach(*GetDlgItem(1005));
    paperHeightEdit.Attach(*GetDlgItem(1004));
    recentCombo.Attach(*GetDlgItem(1009));
    saveButton.Attach(*GetDlgItem(1012));
    swatch.Attach(*GetDlgItem(form::IDC_SWATCH));
    BuildExchanges();
    BuildMessageMap();
}

COrvanelDoc* COrvanelForm::GetDocument() const
{
    return dynamic_cast<COrvanelDoc*>(fw::View::GetDocument());
}

Layout& COrvanelForm::GetLayout() const
{
    return GetDocument()->GetLayout();
}

void COrvanelForm::BuildExchanges()
{
    auto length = [this](win::UINT id, win::UINT& value) {
        exchanges_[id] = [id, &value](fw::DataExchange& dx) { form::DDX_Length(dx, id, value); };
    };
    auto signedValue = [this](win::UINT id, int& value) {
        exchanges_[id] = [id, &value](fw::DataExchange& dx) { fw::DDX_Text(dx, id, value); };
    };
    auto check = [this](win::UINT id, int& value) {
        exchanges_[id] = [id, &value](fw::DataExchange& dx) { fw::DDX_Check(dx, id, value); };
    };
    auto radio = [this](win::UINT id, int& value) {
        exchanges_[id] = [id, &value](fw::DataExchange& dx) { fw::DDX_Radio(dx, id, value); };
    };
    auto text = [this](win::UINT id, QString& value) {
        exchanges_[id] = [id, &value](fw::DataExchange& dx) { fw::DDX_Text(dx, id, value); };
    };
    exchanges_[1001] = [this](fw::DataExchange& dx) { fw::DDX_CBIndex(dx, 1001, paperIndex); };
    exchanges_[1009] = [this](fw::DataExchange& dx) { fw::DDX_CBPath(dx, 1009, recentText); };
    length(1005, paperWidth);
    radio(1014, orientation);
    length(1004, paperHeight);
    exchanges_[1020] = [this](fw::DataExchange& dx) { fw::DDX_Path(dx, 1020, backgroundPath); };
    radio(1022, backgroundChoice);
    length(1018, marginBottom);
    length(1006, marginLeft);
    length(1007, marginRight);
    length(1019, marginTop);
    radio(1025, proofType);
    auto rows = [&](std::span<const UnitRow> table, std::span<UnitValues> values) {
        for (size_t i = 0; i < table.size(); ++i) {
            const UnitRow& row = table[i];
            UnitValues& v = values[i];
            signedValue(row.x, v.x);
            signedValue(row.y, v.y);
            if (row.width != 0) {
                length(row.width, v.width);
                length(row.height, v.height);
            }
            if (row.multiples != 0)
                length(row.multiples, v.multiples);
            if (row.step != 0)
                signedValue(row.step, v.step);
            if (row.font != 0)
                length(row.font, v.font);
            if (row.orientation != 0)
                signedValue(row.orientation, v.orientation);
            check(row.shown, v.shown);
            if (row.singleOnly != 0)
                check(row.singleOnly, v.singleOnly);
        }
    };
    rows(form::ProofUnitRows(), proofUnits);
    rows(form::CombinedUnitRows(), combinedUnits);
    check(1063, overprint);
    text(1064, overprintWord);
    check(1073, printMainImage);
    exchanges_[1103] = [this](fw::DataExchange& dx) {
        // A number outside the slots is never taken.
        win::UINT number = currentTextNumber;
        form::DDX_Length(dx, 1103, number);
        fw::DDV_MinMaxUInt(dx, number, 1, kExtraTextCount);
        currentTextNumber = number;
    };
    text(1104, currentText.text);
    length(1031, currentText.font);
    check(1060, currentText.shown);
    signedValue(1061, currentText.x);
    signedValue(1062, currentText.y);
    signedValue(1079, currentText.orientation);
    check(1089, diagonal);
    length(1091, diagonalWidth);
}

void COrvanelForm::DoDataExchange(fw::DataExchange& dx)
{
    fw::DDX_Control(dx, 1005, paperWidthEdit);
    fw::DDX_Control(dx, 1004, paperHeightEdit);
    fw::DDX_Control(dx, 1009, recentCombo);
    fw::DDX_Control(dx, 1012, saveButton);
    for (const win::UINT id : kExchangeOrder) {
        exchanges_.at(id)(dx);
        if (id == 1079)
            fw::DDX_Control(dx, form::IDC_SWATCH, swatch);
    }
}

void COrvanelForm::OnUpdate(fw::View*, win::LPARAM hint)
{
    if (!initialised)
        return;
    if (hint == hint::everything || (hint & hint::unitNudged) != 0 || (hint & hint::layoutReplaced) != 0)
        LoadFromLayout();
    if ((hint & hint::saveAttempted) != 0)
        LoadPathAndRecent();
}

win::BOOL COrvanelForm::PreTranslateMessage(fw::MSG* msg)
{
    if (msg->message == fw::WM_KEYDOWN && msg->wParam == win::VK_RETURN) {
        ApplyToLayout();
        return win::TRUE;
    }
    return fw::FormView::PreTranslateMessage(msg);
}

int COrvanelForm::GetPanelWidth() const
{
    const fw::Control* box = GetDlgItem(form::IDC_PAPER_BOX);
    return box != nullptr && box->GetWidget() != nullptr ? box->GetWidget()->width() : 0;
}

void COrvanelForm::LoadFromLayout()
{
    UpdateData(win::TRUE);
    proofType = GetLayout().GetLayoutType();
    UpdateData(win::FALSE);
    LoadPathAndRecent();
    LoadPaper();
    LoadBackground();
    LoadProofUnits();
    LoadCombinedUnits();
    LoadGeneral();
    EnableControls();
}

void COrvanelForm::SetPaperEditsReadOnly(bool readOnly)
{
    paperHeightEdit.SetReadOnly(readOnly ? win::TRUE : win::FALSE);
    paperWidthEdit.SetReadOnly(readOnly ? win::TRUE : win::FALSE);
}

void COrvanelForm::LoadPaper()
{
    UpdateData(win::TRUE);
    const PaperSpecs& paper = GetLayout().GetPaper();
    paperIndex = paper.GetPaperType();
    orientation = paper.GetPortrait() ? 0 : 1;
    marginLeft = ToLength(paper.GetMarginLeft());
    marginRight = ToLength(paper.GetMarginRight());
    marginTop = ToLength(paper.GetMarginTop());
    marginBottom = ToLength(paper.GetMarginBottom());
    paperHeight = ToLength(paper.GetPaperHeight());
    paperWidth = ToLength(paper.GetPaperWidth());
    UpdateData(win::FALSE);
    SetPaperEditsReadOnly(paperIndex != PaperSpecs::customPaper);
}

void COrvanelForm::LoadBackground()
{
    UpdateData(win::TRUE);
    backgroundPath = GetLayout().GetBackgroundImage();
    backgroundChoice = GetLayout().GetBackgroundPOD() ? 0 : 1;
    UpdateData(win::FALSE);
}

void COrvanelForm::LoadProofUnits()
{
    UpdateData(win::TRUE);
    LoadRows(GetLayout(), form::ProofUnitRows(), proofUnits, proofType == 1);
    UpdateData(win::FALSE);
}

void COrvanelForm::LoadCombinedUnits()
{
    UpdateData(win::TRUE);
    LoadRows(GetLayout(), form::CombinedUnitRows(), combinedUnits, false);
    UpdateData(win::FALSE);
}

void COrvanelForm::LoadGeneral()
{
    UpdateData(win::TRUE);
    const Layout& layout = GetLayout();
    overprint = layout.GetOverprintCopyright() ? 1 : 0;
    overprintWord = fw::FromCp1252(layout.GetOverprintWord());
    overprintColour = ParseRgbHex(layout.GetOverprintColour());
    diagonal = layout.GetOverprintDiagonal() ? 1 : 0;
    diagonalWidth = layout.GetOverprintDiagWidth();
    printMainImage = layout.GetPrintMainImage() ? 1 : 0;
    for (int n = 1; n <= kExtraTextCount; ++n) {
        const LayoutUnit* unit = layout.GetRootUnit()->FindByName(ExtraTextName(n));
        if (unit == nullptr)
            continue;
        ExtraTextSlot& slot = extraTexts[static_cast<size_t>(n - 1)];
        const win::POINT position = unit->GetAbsolutePosition(0);
        slot.x = position.x;
        slot.y = position.y;
        slot.shown = unit->IsShown() ? 1 : 0;
        slot.font = unit->GetFontSize();
        slot.text = fw::FromCp1252(unit->GetCaption());
        slot.orientation = unit->GetAngle() / 10;
    }
    currentText = extraTexts[currentTextNumber - 1];
    UpdateData(win::FALSE);
    swatch.SetColor(overprintColour);
}

win::BOOL COrvanelForm::ApplyToLayout()
{
    if (!UpdateData(win::TRUE) || !TextsFitTheLayout())
        return win::FALSE;
    StorePaper();
    StoreBackground();
    StoreProofUnits();
    StoreCombinedUnits();
    StoreGeneral();
    GetDocument()->LayoutChanged();
    UpdateData(win::FALSE);
    EnableControls();
    return win::TRUE;
}

bool COrvanelForm::TextsFitTheLayout()
{
    struct Held {
        const QString& text;
        win::UINT id;
        std::string field;
        int slot; // the extra-text slot number, or 0
    };
    // The background's path is the file system's bytes, not a text of the code page.
    std::vector<Held> texts = { { overprintWord, 1064, "Overprint word", 0 } };
    for (int n = 1; n <= kExtraTextCount; ++n) {
        const bool current = n == static_cast<int>(currentTextNumber);
        texts.push_back({ current ? currentText.text : extraTexts[static_cast<size_t>(n - 1)].text, 1104,
            "Extra Text " + std::to_string(n), n });
    }
    const auto unfit = std::find_if(
        texts.begin(), texts.end(), [](const Held& held) { return !fw::FitsCp1252(held.text); });
    if (unfit == texts.end())
        return true;
    // The slot that holds the text is shown, so that the user sees what to change.
    if (unfit->slot != 0 && unfit->slot != static_cast<int>(currentTextNumber))
        SelectExtraText(unfit->slot - 1);
    fw::AfxMessageBox(unfit->field + kUnfitText, win::MB_OK | win::MB_ICONEXCLAMATION);
    if (fw::Control* control = GetDlgItem(unfit->id)) {
        control->SetFocus();
        control->SetSel(0, -1);
    }
    return false;
}

void COrvanelForm::StorePaper()
{
    PaperSpecs& paper = GetLayout().GetPaper();
    const int32_t left = StoredLength(marginLeft, paper.GetMarginLeft());
    const int32_t right = StoredLength(marginRight, paper.GetMarginRight());
    const int32_t top = StoredLength(marginTop, paper.GetMarginTop());
    const int32_t bottom = StoredLength(marginBottom, paper.GetMarginBottom());
    const int32_t height = StoredLength(paperHeight, paper.GetPaperHeight());
    const int32_t width = StoredLength(paperWidth, paper.GetPaperWidth());
    const bool custom = paperIndex == PaperSpecs::customPaper;
    // A background trimmed to the old printable area would be stretched onto a new one.
    const bool changed = paperIndex != paper.GetPaperType() || left != paper.GetMarginLeft()
        || right != paper.GetMarginRight() || top != paper.GetMarginTop() || bottom != paper.GetMarginBottom()
        || (custom && (height != paper.GetPaperHeight() || width != paper.GetPaperWidth()));
    paper.SelectPaper(paperIndex);
    paper.SetMarginLeft(left);
    paper.SetMarginRight(right);
    paper.SetMarginTop(top);
    paper.SetMarginBottom(bottom);
    paper.SetPortrait(orientation == 0);
    if (custom) {
        paper.SetHeight(height);
        paper.SetWidth(width);
    }
    if (changed) {
        GetDocument()->FinishSamplePrefetch();
        GetImageCache().Reset();
    }
}

void COrvanelForm::StoreBackground()
{
    GetLayout().SetBackgroundImage(backgroundPath);
    GetLayout().SetBackgroundPOD(backgroundChoice == 0);
}

void COrvanelForm::StoreProofUnits()
{
    constexpr size_t barcode = 2;
    constexpr size_t refBoxes = 3;
    if (proofUnits[barcode].shown != 0)
        proofUnits[refBoxes].shown = 1;
    StoreRows(GetLayout(), form::ProofUnitRows(), proofUnits, proofType == 1);
}

void COrvanelForm::StoreCombinedUnits()
{
    StoreRows(GetLayout(), form::CombinedUnitRows(), combinedUnits, false);
}

void COrvanelForm::StoreGeneral()
{
    Layout& layout = GetLayout();
    layout.SetOverprintCopyright(overprint != 0);
    layout.SetOverprintWord(fw::ToCp1252(overprintWord));
    layout.SetOverprintColour(FormatRgbHex(overprintColour));
    layout.SetOverprintDiagonal(diagonal != 0);
    layout.SetOverprintDiagWidth(diagonalWidth);
    layout.SetPrintMainImage(printMainImage != 0);
    extraTexts[currentTextNumber - 1] = currentText;
    for (int n = 1; n <= kExtraTextCount; ++n) {
        LayoutUnit* unit = layout.GetRootUnit()->FindByName(ExtraTextName(n));
        if (unit == nullptr)
            continue;
        ExtraTextSlot& slot = extraTexts[static_cast<size_t>(n - 1)];
        unit->SetAbsolutePosition({ slot.x, slot.y });
        unit->SetVisible(slot.shown != 0);
        unit->SetFontSize(slot.font);
        unit->SetCaption(fw::ToCp1252(slot.text));
        unit->SetAngle(slot.orientation * 10);
        slot.orientation = unit->GetAngle() / 10;
    }
    currentText = extraTexts[currentTextNumber - 1];
}

void COrvanelForm::EnableControls()
{
    auto enable = [this](win::UINT id, bool on) {
        if (fw::Control* control = GetDlgItem(id))
            control->EnableWindow(on ? win::TRUE : win::FALSE);
    };
    const COrvanelDoc* document = GetDocument();
    enable(1012, document != nullptr && document->IsModified() && !document->GetPath().empty());
    if (fw::Control* header = GetDlgItem(1046))
        header->SetWindowText(proofType == 1 ? "Group" : "Portrait");
    for (const win::UINT id : { 1034u, 1035u, 1092u })
        enable(id, proofType == 0);
    for (const win::UINT id : { 1101u, 1095u, 1096u })
        enable(id, false);
    for (const win::UINT id : kCombinedOnly)
        enable(id, proofType == 2);
}
