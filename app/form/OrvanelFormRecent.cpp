// The editing form's recent-layout list, its extra-text slots and its overprint colour.
#include "app/dialogs/ProfileValues.h"
#include "app/dialogs/ProgramOptions.h"
#include "app/document/OrvanelDoc.h"
#include "app/form/OrvanelForm.h"
#include "platform/qt/fw/CommonDialogs.h"
#include "platform/qt/fw/PathText.h"
#include "records/SharedFunctions.h"

#include <algorithm>

namespace {
constexpr const char* kSection = "Settings";

std::string RecentEntryName(int index)
{
    return "RecentFilePath" + FormatZeroPadded(static_cast<unsigned>(index), 2);
}
} // namespace

COrvanelForm::~COrvanelForm()
{
    // The whole list, and nothing stale after it: a shorter list clears the entries it left.
    auto& app = GetTheApp();
    for (int i = 0; i < kMaxRecent; ++i) {
        const size_t index = static_cast<size_t>(i);
        app.WriteProfileString(
            kSection, RecentEntryName(i), index < recentPaths.size() ? recentPaths[index] : "");
    }
}

void COrvanelForm::ReadRecentPaths()
{
    // Read once: a repeated initial update (File New) must not append the stored list again.
    if (recentRead_)
        return;
    recentRead_ = true;
    for (int i = 0; i < kMaxRecent; ++i) {
        const std::string path = GetProfileStringValue(kSection, RecentEntryName(i), "");
        if (!path.empty() && std::find(recentPaths.begin(), recentPaths.end(), path) == recentPaths.end())
            recentPaths.push_back(path);
    }
}

void COrvanelForm::OnInitialUpdate()
{
    fw::FormView::OnInitialUpdate();
    ReadRecentPaths();
    FillRecentCombo();
    LoadFromLayout();
    initialised = true;
}

void COrvanelForm::AddRecentPath(const std::string& path)
{
    if (path.empty()) {
        recentCombo.SetCurSel(-1);
        return;
    }
    if (const auto found = std::find(recentPaths.begin(), recentPaths.end(), path);
        found != recentPaths.end())
        recentPaths.erase(found);
    else if (recentPaths.size() >= static_cast<size_t>(kMaxRecent))
        recentPaths.pop_back();
    recentPaths.push_front(path);
    FillRecentCombo();
}

void COrvanelForm::RemoveRecentPath(const std::string& path)
{
    if (path.empty())
        return;
    if (const auto found = std::find(recentPaths.begin(), recentPaths.end(), path);
        found != recentPaths.end())
        recentPaths.erase(found);
    FillRecentCombo();
    ClearRecentSelection();
}

void COrvanelForm::FillRecentCombo()
{
    recentCombo.ResetContent();
    for (const std::string& path : recentPaths)
        fw::InsertPath(recentCombo, -1, path);
    if (!recentPaths.empty()) {
        recentText = recentPaths.front();
        recentCombo.SetCurSel(0);
    }
    UpdateData(win::FALSE);
}

void COrvanelForm::ClearRecentSelection()
{
    recentCombo.SetCurSel(-1);
    recentText.clear();
}

void COrvanelForm::LoadPathAndRecent()
{
    COrvanelDoc* document = GetDocument();
    UpdateData(win::TRUE);
    recentText = document->GetPath();
    UpdateData(win::FALSE);
    if (!document->GetFailedPath().empty())
        RemoveRecentPath(document->GetFailedPath());
    else
        AddRecentPath(document->GetPath());
    EnableControls();
}

void COrvanelForm::OnRecentSelChange()
{
    UpdateData(win::TRUE);
    const int selected = recentCombo.GetCurSel();
    if (selected == fw::CB_ERR)
        return;
    GetDocument()->OpenLayout(fw::ItemPath(recentCombo, selected));
}

win::BOOL COrvanelForm::SelectExtraText(int n)
{
    if (n >= kExtraTextCount)
        return win::FALSE;
    const win::UINT remembered = currentTextNumber;
    if (!UpdateData(win::TRUE)) {
        currentTextNumber = remembered;
        return win::FALSE;
    }
    extraTexts[remembered - 1] = currentText;
    if (n >= 0)
        currentTextNumber = static_cast<win::UINT>(n + 1);
    currentText = extraTexts[currentTextNumber - 1];
    UpdateData(win::FALSE);
    return win::TRUE;
}

void COrvanelForm::OnExtraTextIndexChange()
{
    SelectExtraText(-1);
}

void COrvanelForm::OnColour()
{
    PickColour(&overprintColour, swatch);
}

void COrvanelForm::PickColour(win::COLORREF* colour, fw::Control& swatchControl)
{
    fw::ColorDialog dialog(*colour, win::CC_RGBINIT | win::CC_FULLOPEN);
    dialog.m_cc.lpCustColors = &ProgramOptions::Instance().customColours;
    if (dialog.DoModal() == win::IDOK)
        SetSwatchColour(dialog.GetColor(), colour, swatchControl);
}

void COrvanelForm::SetSwatchColour(win::COLORREF colour, win::COLORREF* target, fw::Control& swatchControl)
{
    *target = colour;
    swatchControl.SetColor(colour);
}
