#include "app/dialogs/AboutDlg.h"

namespace {

fw::DialogTemplate AboutTemplate()
{
    using fw::ControlKind;
    return { CAboutDlg::IDD, "About Orvanel", 235, 44,
        {
            { fw::IDC_STATIC, ControlKind::icon, kProgramIcon, 11, 10, 20, 20 },
            { fw::IDC_STATIC, ControlKind::staticText, "Orvanel Version 1.0", 40, 10, 119, 8 },
            { fw::IDC_STATIC, ControlKind::staticText, "Copyright (C) Wendmoor", 40, 25, 119, 8 },
            { win::IDOK, ControlKind::button, "OK", 178, 7, 50, 14, fw::BS_DEFPUSHBUTTON },
        } };
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : Dialog(AboutTemplate(), parent)
{
}
