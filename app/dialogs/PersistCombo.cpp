#include "app/dialogs/PersistCombo.h"

#include "app/dialogs/ProfileValues.h"
#include "platform/qt/fw/PathText.h"
#include "records/SharedFunctions.h"

#include <QComboBox>

#include <utility>

namespace {

QComboBox* ComboOf(const fw::Control& control)
{
    return qobject_cast<QComboBox*>(control.GetWidget());
}

int FindExactItem(const fw::Control& control, const std::string& path)
{
    if (const QComboBox* combo = ComboOf(control))
        for (int i = 0; i < combo->count(); ++i)
            if (fw::ItemPath(control, i) == path)
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
        fw::InsertPath(*this, -1, value);
    }
    if (GetCount() > 0)
        SetCurSel(0);
}

void PersistCombo::AddToHistory(const std::string& text, int max)
{
    if (text.empty())
        return;
    if (ComboOf(*this) == nullptr)
        return;
    if (const int found = FindExact(text); found != fw::CB_ERR)
        DeleteString(found);
    fw::InsertPath(*this, 0, text);
    while (GetCount() > max && GetCount() > 0)
        DeleteString(GetCount() - 1);
    auto& app = GetTheApp();
    for (int i = 0; i < GetCount(); ++i)
        app.WriteProfileString(kSection, EntryName(i), fw::ItemPath(*this, i));
    SetCurSel(0);
}

int PersistCombo::FindExact(const std::string& text) const
{
    return FindExactItem(*this, text);
}

void DDX_CBStringExact(fw::DataExchange& dx, win::UINT id, std::string& value)
{
    fw::Control& control = dx.PrepareCtrl(id);
    QComboBox* combo = ComboOf(control);
    if (combo == nullptr)
        return;
    if (dx.m_bSaveAndValidate) {
        // The selected entry's bytes while the edit shows it; else the text as a path.
        const int selected = combo->currentIndex();
        const bool showsEntry = selected >= 0 && combo->currentText() == combo->itemText(selected);
        value = fw::TextToPath(combo->currentText(), showsEntry ? fw::ItemPath(control, selected) : value);
        return;
    }
    if (const int found = FindExactItem(control, value); found != fw::CB_ERR)
        combo->setCurrentIndex(found);
    else {
        combo->setCurrentIndex(-1);
        combo->setEditText(fw::PathToText(value));
    }
}
