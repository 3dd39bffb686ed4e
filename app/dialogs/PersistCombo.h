// A combo box whose drop-down list is the history of the values entered in it, newest first,
// kept in the settings section "PersistentCombos" as values named by a prefix and a two-digit
// index ("PackCsv00", "PackCsv01", ...). A dialog makes it stand for its control with
// DDX_Control and calls Load once the control exists.
//
// Entries are paths, the file system's bytes, shown as paths are (UTF-8, or byte by byte when not)
// and kept as they were: two are the same entry only when equal in every byte, letter case
// included ("/p/Packs.csv" and "/p/packs.csv" are different files).
#pragma once

#include "platform/qt/fw/Control.h"
#include "platform/qt/fw/DataExchange.h"

#include <string>

class PersistCombo : public fw::Control {
public:
    static constexpr const char* kSection = "PersistentCombos";
    static constexpr int kMaxStored = 100; // indexes 00 to 99

    explicit PersistCombo(std::string prefix);

    // Fills the list from the settings, up to the first empty value, and selects the newest.
    // From then on the control completes nothing the user types.
    void Load();
    // Puts the text at the top of the history (moving it there when it is already in the list),
    // keeps at most max entries, writes the whole history and selects the newest. An empty text
    // does nothing.
    void AddToHistory(const std::string& text, int max);

    // The index of the item equal to the text, letter case significant; CB_ERR when none is.
    int FindExact(const std::string& text) const;

    const std::string& GetPrefix() const { return prefix_; }

private:
    std::string EntryName(int index) const;

    std::string prefix_;
};

// The path of an editable combo box of paths. Putting selects the item equal to the value (every
// byte significant), or shows the value in the edit when no item is; taking gives the selected
// item's path or the held value while the edit shows it unchanged, else the edit's text as UTF-8.
void DDX_CBStringExact(fw::DataExchange& dx, win::UINT id, std::string& value);
