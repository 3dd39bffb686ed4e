#include "app/dialogs/PersistCombo.h"

#include "app/dialogs/ProfileValues.h"
#include "records/SharedFunctions.h"

#include <QComboBox>

#include <utility>

namespace {

int FindExactItem(const fw::Control& combo, const std::string& text)
{
    for (int i = 0; i < combo.GetCount(); ++i)
        if (combo.GetLBText(i) == text)
            return i;
    return fw::CB_ERR;
}

} // namespace

PersistCombo::PersistCombo(std::string prefix)
    : prefix_(std::move(prefix))
{
}

std::string PersistCombo::EntryName(int index) const
{
    return prefix_ + FormatZeroPadded(static_cast<unsigned>(index), 2);
}

void PersistCombo::Load()
{
    // Qt's completion would finish a typed path with the first entry that begins with it,
    // letter case ignored ("/p/a.csv" becoming "/p/a.csv.old"): what the user types stays as typed.
    if (auto* combo = qobject_cast<QComboBox*>(GetWidget()))
        combo->setCompleter(nullptr);
    ResetContent();
    for (int i = 0; i < kMaxStored; ++i) {
        const std::string value = GetProfileStringValue(kSection, EntryName(i), "");
        if (value.empty())
            break;
        AddString(value);
    }
    if (GetCount() > 0)
        SetCurSel(0);
}

void PersistCombo::AddToHistory(const std::string& text, int max)
{
    if (text.empty())
        return;
    if (const int found = FindExact(text); found != fw::CB_ERR)
        DeleteString(found);
    InsertString(0, text);
    while (GetCount() > max && GetCount() > 0)
        DeleteString(GetCount() - 1);
    auto& app = GetTheApp();
    for (int i = 0; i < GetCount(); ++i)
        app.WriteProfileString(kSection, EntryName(i), GetLBText(i));
    SetCurSel(0);
}

int PersistCombo::FindExact(const std::string& text) const
{
    return FindExactItem(*this, text);
}

void DDX_CBStringExact(fw::DataExchange& dx, win::UINT id, std::string& value)
{
    fw::Control& combo = dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate) {
        value = combo.GetWindowText();
        return;
    }
    if (const int found = FindExactItem(combo, value); found != fw::CB_ERR)
        combo.SetCurSel(found);
    else {
        combo.SetCurSel(-1);
        combo.SetWindowText(value);
    }
}
