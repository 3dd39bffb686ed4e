#include "app/dialogs/CalcImagePropsDlg.h"

#include "app/dialogs/ImageProportions.h"
#include "platform/qt/fw/CommonDialogs.h"
#include "platform/qt/fw/DataExchange.h"
#include "records/SharedFunctions.h"

namespace {

constexpr const char* kSection = "Settings";
constexpr const char* kProportionEntry = "CalcImageProportion";
constexpr const char* kOrientationEntry = "CalcImageOrientation";

fw::DialogTemplate ProportionTemplate()
{
    using fw::ControlKind;
    return { CalcImagePropsDlg::IDD, "Calculate the image proportions", 232, 88,
        {
            { fw::IDC_STATIC, ControlKind::staticText,
                "Select the desired image proportion and whether you want it oriented portrait or landscape",
                7, 7, 162, 18 },
            { fw::IDC_STATIC, ControlKind::groupBox, "Orientation", 7, 30, 78, 50 },
            { CalcImagePropsDlg::IDC_PORTRAIT, ControlKind::radioButton, "Portrait", 15, 44, 62, 10,
                fw::WS_GROUP },
            { CalcImagePropsDlg::IDC_LANDSCAPE, ControlKind::radioButton, "Landscape", 15, 60, 62, 10 },
            { fw::IDC_STATIC, ControlKind::groupBox, "Proportion", 91, 30, 78, 50, fw::WS_GROUP },
            { CalcImagePropsDlg::IDC_PROPORTION, ControlKind::dropDownList, "", 99, 45, 62, 80 },
            { win::IDOK, ControlKind::button, "OK", 175, 7, 50, 14, fw::BS_DEFPUSHBUTTON },
            { win::IDCANCEL, ControlKind::button, "Cancel", 175, 25, 50, 14 },
        } };
}

} // namespace

CalcImagePropsDlg::CalcImagePropsDlg(bool widthFromHeight, int value, QWidget* parent)
    : Dialog(ProportionTemplate(), parent)
    , value(value)
    , widthFromHeight(widthFromHeight)
{
}

void CalcImagePropsDlg::DoDataExchange(fw::DataExchange& dx)
{
    fw::DDX_Radio(dx, IDC_PORTRAIT, orientation);
    fw::DDX_CBIndex(dx, IDC_PROPORTION, proportionIndex);
}

win::BOOL CalcImagePropsDlg::OnInitDialog()
{
    fw::Control* list = GetDlgItem(IDC_PROPORTION);
    for (const ImageProportion& proportion : kImageProportions)
        list->AddString(proportion.name);
    Dialog::OnInitDialog();
    proportionIndex = GetTheApp().GetProfileInt(kSection, kProportionEntry, 0);
    orientation = GetTheApp().GetProfileInt(kSection, kOrientationEntry, 0);
    UpdateData(win::FALSE);
    return win::TRUE;
}

void CalcImagePropsDlg::OnOK()
{
    if (!UpdateData(win::TRUE))
        return;
    const auto side = ComputeProportionalSide(value, proportionIndex,
        orientation == 1 ? ProportionOrientation::landscape : ProportionOrientation::portrait,
        widthFromHeight);
    if (!side) {
        // Closing now would hand the form a meaningless size: the user picks a proportion first.
        fw::AfxMessageBox("Unknown proportion selected");
        return;
    }
    GetTheApp().WriteProfileInt(kSection, kProportionEntry, proportionIndex);
    GetTheApp().WriteProfileInt(kSection, kOrientationEntry, orientation);
    result = *side;
    EndDialog(win::IDOK);
}
