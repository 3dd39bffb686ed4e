// The editing form's buttons and selections: most of them call the document or a dialog.
#include "app/dialogs/CalcImagePropsDlg.h"
#include "app/dialogs/ProgramOptions.h"
#include "app/dialogs/ProgramOptionsDlg.h"
#include "app/document/DocumentHints.h"
#include "app/document/OrvanelDoc.h"
#include "app/form/FormExchange.h"
#include "app/form/OrvanelForm.h"
#include "imaging/wrapper/ImageCache.h"
#include "model/PaperSpecs.h"
#include "platform/qt/Cp1252.h"
#include "platform/qt/fw/CommonDialogs.h"
#include "platform/qt/fw/UserNotifications.h"

#include <algorithm>

namespace {
constexpr const char* kProofTypePrompt = "The current layout has not been saved and changing the Proof Type "
                                         "will loose all existing layout data.\n"
                                         "Do you want to save changes to the current layout?";

constexpr const char* kLegend
    = "The following abbreviations are used:\n"
      "\tL - Printer left margin in tenths of mm\n"
      "\tR - Printer right margin in tenths of mm\n"
      "\tT - Printer top margin in tenths of mm\n"
      "\tB - Printer bottom margin in tenths of mm\n"
      "\tX - Distance from the left edge in tenths of mm\n"
      "\tY - Distance from the top edge in tenths of mm\n"
      "\tW - Width in tenths of mm\n"
      "\tH - Height in tenths of mm\n"
      "\tF - Font point size in tenths of a point eg 120 is 12 point\n"
      "\tO - Orientation in degrees - can only be one of 0, 90, 180, 270\n"
      "\tM - Multiples - number of types that component should be repeated\n"
      "\tS - Multiple Separation - the separation between each multiple occurrence in "
      "tenths of mm\n";
} // namespace

void COrvanelForm::BuildMessageMap()
{
    using Self = COrvanelForm;
    OnCommand<Self>(1008, &Self::OnMarginTest);
    OnCommand<Self>(1010, &Self::OnNew);
    OnCommand<Self>(1011, &Self::OnOpen);
    OnCommand<Self>(1012, &Self::OnSave);
    OnCommand<Self>(1013, &Self::OnSaveAs);
    OnNotify<Self>(1001, fw::CBN_SELCHANGE, &Self::OnPaperSelChange);
    OnNotify<Self>(1009, fw::CBN_SELCHANGE, &Self::OnRecentSelChange);
    OnCommand<Self>(1016, &Self::OnUpdateButton);
    OnCommand<Self>(1017, &Self::OnOptions);
    OnCommand<Self>(1021, &Self::OnBrowseBackground);
    OnCommand<Self>(1024, &Self::OnPrintLayout);
    OnCommand<Self>(1025, &Self::OnProofTypeChanged);
    OnCommand<Self>(1027, &Self::OnProofTypeChanged);
    OnCommand<Self>(1026, &Self::OnProofTypeChanged);
    OnCommand<Self>(1081, &Self::OnLegend);
    OnCommand<Self>(1082, &Self::OnImageWidthFromHeight);
    OnCommand<Self>(1083, &Self::OnImageHeightFromWidth);
    OnCommand<Self>(1084, &Self::OnCombinedImageWidthFromHeight);
    OnCommand<Self>(1085, &Self::OnCombinedImageHeightFromWidth);
    OnCommand<Self>(1087, &Self::OnColour);
    OnNotify<Self>(1103, fw::EN_CHANGE, &Self::OnExtraTextIndexChange);
}

void COrvanelForm::OnMarginTest()
{
    GetDocument()->PrintMarginTest();
}

void COrvanelForm::OnPrintLayout()
{
    GetDocument()->PrintLayout();
}

void COrvanelForm::OnNew()
{
    UpdateData(win::TRUE);
    GetDocument()->OnNewDocument();
}

void COrvanelForm::OnOpen()
{
    UpdateData(win::TRUE);
    GetDocument()->OpenLayout("");
}

// Saving stops when the values do not validate: the file must not get a layout that lacks them.
void COrvanelForm::OnSave()
{
    if (ApplyToLayout())
        GetDocument()->OnFileSave();
}

void COrvanelForm::OnSaveAs()
{
    if (ApplyToLayout())
        GetDocument()->OnFileSaveAs();
}

void COrvanelForm::OnOptions()
{
    COrvanelDoc* document = GetDocument();
    const std::string packPath = ProgramOptions::Instance().packDetailsPath;
    ProgramOptionsDlg dialog(&document->GetPacks(), nullptr);
    if (dialog.DoModal() != win::IDOK)
        return;
    document->FinishSamplePrefetch();
    GetImageCache().Reset();
    if (ProgramOptions::Instance().packDetailsPath != packPath) {
        document->LoadPackTemplate();
        document->LoadSampleImages();
    }
}

void COrvanelForm::OnBrowseBackground()
{
    fw::FileDialog dialog(win::TRUE, "jpg", backgroundPath, win::OFN_HIDEREADONLY | win::OFN_OVERWRITEPROMPT,
        "JPEG Image files (*.jpg;*.jpeg)|*.jpg;*.jpeg||");
    if (dialog.DoModal() != win::IDOK)
        return;
    UpdateData(win::TRUE);
    backgroundPath = dialog.GetPathName();
    UpdateData(win::FALSE);
}

void COrvanelForm::OnLegend()
{
    fw::AfxMessageBox(kLegend, win::MB_OK | win::MB_ICONINFORMATION);
}

void COrvanelForm::ComputeImageSide(bool widthFromHeight, win::UINT& known, win::UINT& computed)
{
    UpdateData(win::TRUE);
    CalcImagePropsDlg dialog(widthFromHeight, form::FromLength(known));
    if (dialog.DoModal() != win::IDOK)
        return;
    computed = form::ToLength(dialog.result);
    UpdateData(win::FALSE);
    ApplyToLayout();
}

void COrvanelForm::OnImageWidthFromHeight()
{
    ComputeImageSide(true, proofUnits[1].height, proofUnits[1].width);
}

void COrvanelForm::OnImageHeightFromWidth()
{
    ComputeImageSide(false, proofUnits[1].width, proofUnits[1].height);
}

void COrvanelForm::OnCombinedImageWidthFromHeight()
{
    ComputeImageSide(true, combinedUnits[1].height, combinedUnits[1].width);
}

void COrvanelForm::OnCombinedImageHeightFromWidth()
{
    ComputeImageSide(false, combinedUnits[1].width, combinedUnits[1].height);
}

void COrvanelForm::OnPaperSelChange()
{
    UpdateData(win::TRUE);
    if (paperIndex == PaperSpecs::customPaper) {
        SetPaperEditsReadOnly(false);
        return;
    }
    const PaperSpecs paper(paperIndex);
    paperHeight = form::ToLength(paper.GetPaperHeight());
    paperWidth = form::ToLength(paper.GetPaperWidth());
    SetPaperEditsReadOnly(true);
    UpdateData(win::FALSE);
}

void COrvanelForm::OnProofTypeChanged()
{
    COrvanelDoc* document = GetDocument();
    const int previous = proofType;
    UpdateData(win::TRUE);
    // The paper, background and general values go into the layout below: a text it cannot hold
    // keeps the type as it was, as Cancel does.
    bool keep = !TextsFitTheLayout();
    if (!keep && proofType != previous && document->IsModified()) {
        const int answer = fw::AfxMessageBox(kProofTypePrompt, win::MB_YESNOCANCEL);
        // A save that was cancelled or failed counts as Cancel: the layout must not be lost.
        keep = answer == win::IDCANCEL || (answer == win::IDYES && !document->OnFileSave());
    }
    if (keep) {
        proofType = previous;
        UpdateData(win::FALSE);
        return;
    }
    Layout& layout = document->GetLayout();
    layout.SetLayoutType(proofType);
    StorePaper();
    StoreBackground();
    StoreGeneral();
    document->UpdatePackCounts();
    document->UpdateAllViews(nullptr, hint::layoutReplaced);
    // Prepares the samples of the new type, once: the hint above only schedules the repaint.
    document->LayoutChanged();
    document->LoadPackTemplate();
    LoadFromLayout();
}
