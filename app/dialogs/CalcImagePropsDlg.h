// The "Calculate the image proportions" dialog of the editing form's "W from H" and "H from W"
// buttons: the user picks a print proportion and an orientation, and the dialog computes the
// missing side of an image unit from the known one. The last choice is remembered in the
// settings ("CalcImageProportion", "CalcImageOrientation"), written on OK only.
#pragma once

#include "platform/qt/fw/Dialog.h"

class QWidget;

class CalcImagePropsDlg : public fw::Dialog {
public:
    static constexpr win::UINT IDD = 136;
    static constexpr win::UINT IDC_PORTRAIT = 1084;
    static constexpr win::UINT IDC_LANDSCAPE = 1023;
    static constexpr win::UINT IDC_PROPORTION = 1085;

    // widthFromHeight: value is the unit's height and result its width, else the reverse.
    CalcImagePropsDlg(bool widthFromHeight, int value, QWidget* parent = nullptr);

    void DoDataExchange(fw::DataExchange& dx) override;
    win::BOOL OnInitDialog() override;
    // With no proportion selected the user is told and the dialog stays open, nothing written.
    void OnOK() override;

    int result = 0; // the computed side, after IDOK
    int orientation = 0; // 0 portrait, 1 landscape
    int proportionIndex = 0;
    int value;
    bool widthFromHeight;
};
