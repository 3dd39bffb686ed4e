// The "Program Options" dialog: the sample photographs, the image viewer, the pack template (an
// editable combo box with the history of the templates chosen) and the eight sample texts of the
// extra text units. OK copies the values into the program options and the working copy of the
// packs back into the document's; Cancel copies nothing (a pack path entered in the combo has
// already joined its history, which is written as it grows).
#pragma once

#include "app/dialogs/PersistCombo.h"
#include "app/dialogs/ProgramOptions.h"
#include "model/PacksCollection.h"
#include "platform/qt/fw/Dialog.h"

#include <array>
#include <string>

class QWidget;

class ProgramOptionsDlg : public fw::Dialog {
public:
    static constexpr win::UINT IDD = 135;
    static constexpr win::UINT IDC_PORTRAIT_SAMPLE = 1018;
    static constexpr win::UINT IDC_BROWSE_PORTRAIT = 1019;
    static constexpr win::UINT IDC_GROUP_SAMPLE = 1020;
    static constexpr win::UINT IDC_BROWSE_GROUP = 1021;
    static constexpr win::UINT IDC_IMAGE_VIEWER = 1022;
    static constexpr win::UINT IDC_BROWSE_VIEWER = 1023;
    static constexpr win::UINT IDC_PACK_CSV = 1032;
    static constexpr win::UINT IDC_BROWSE_PACK_CSV = 1033;
    static constexpr win::UINT IDC_EXTRA_TEXT_1 = 1034; // to 1041 for extra text 8
    static constexpr int kPackHistoryLength = 10;

    // target: the document's packs, which the working copy starts from and OK copies back into.
    explicit ProgramOptionsDlg(PacksCollection* target, QWidget* parent = nullptr);

    void DoDataExchange(fw::DataExchange& dx) override;
    win::BOOL OnInitDialog() override;
    void OnOK() override;

    void OnBrowseGroupImage();
    void OnBrowseViewer();
    void OnBrowsePortraitImage();
    void OnPackCsvKillFocus();
    void OnBrowsePackCsv();

    PersistCombo packCsvCombo { "PackCsv" };
    std::string groupSample;
    std::string imageViewer;
    std::string portraitSample;
    std::string packPath;
    std::array<std::string, ProgramOptions::kExtraTextCount> extraTexts;
    PacksCollection* const target;
    PacksCollection packs; // the working copy

private:
    // The file dialog for opening, starting at the value; on OK the typed values are taken over
    // and the value becomes the chosen path. False when the user cancelled.
    bool BrowseInto(const char* defaultExt, const char* filter, std::string& value);
};
