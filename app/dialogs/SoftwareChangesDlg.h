// The "Recent Changes" dialog: the program's version line followed by its release notes, shown
// once after an upgrade when the program carries notes. OK closes it.
#pragma once

#include "platform/qt/fw/Dialog.h"
#include "util/SharedStrings.h"

#include <string>
#include <string_view>

class QWidget;

class SoftwareChangesDlg : public fw::Dialog {
public:
    static constexpr win::UINT IDD = 257;
    static constexpr win::UINT IDC_CHANGES = 1664;

    // The notes are the program's own; tests hand in others.
    explicit SoftwareChangesDlg(
        QWidget* parent = nullptr, std::string_view releaseNotes = SoftwareChangesText);

    void DoDataExchange(fw::DataExchange& dx) override;

    std::string text; // "Software Version 2.453" and CR LF, then the notes
};

// Start-up's look at the release notes: only when there are notes, and only when the version
// stored in "Settings"/"Version" (in hundred-thousandths) is below this program's, compared to
// four decimal places, the dialog is shown. True when it was shown. Writes nothing.
bool ShowSoftwareChangesAfterUpgrade(std::string_view releaseNotes = SoftwareChangesText);
