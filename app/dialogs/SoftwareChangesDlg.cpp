#include "app/dialogs/SoftwareChangesDlg.h"

#include "model/Money.h"
#include "platform/qt/fw/DataExchange.h"
#include "records/CsvNumbers.h"
#include "records/DataVersion.h"
#include "records/SharedFunctions.h"

namespace {

fw::DialogTemplate ChangesTemplate()
{
    using fw::ControlKind;
    return { SoftwareChangesDlg::IDD, "Recent Changes", 260, 170,
        {
            { fw::IDC_STATIC, ControlKind::staticText,
                "The most recent significant changes to the software are listed below", 7, 7, 246, 8 },
            { SoftwareChangesDlg::IDC_CHANGES, ControlKind::edit, "", 7, 19, 246, 124,
                fw::ES_MULTILINE | fw::WS_VSCROLL },
            { win::IDOK, ControlKind::button, "OK", 105, 149, 50, 14, fw::BS_DEFPUSHBUTTON },
        } };
}

} // namespace

SoftwareChangesDlg::SoftwareChangesDlg(QWidget* parent, std::string_view releaseNotes)
    : Dialog(ChangesTemplate(), parent)
    , text("Software Version " + FormatDouble(CurrentDataVersion) + "\r\n" + std::string(releaseNotes))
{
}

void SoftwareChangesDlg::DoDataExchange(fw::DataExchange& dx)
{
    fw::DDX_Text(dx, IDC_CHANGES, text);
}

bool ShowSoftwareChangesAfterUpgrade(std::string_view releaseNotes)
{
    if (releaseNotes.empty())
        return false;
    const double stored = RoundToDecimals(GetTheApp().GetProfileInt("Settings", "Version", 0) / 100000.0, 4);
    if (RoundToDecimals(CurrentDataVersion, 4) <= stored)
        return false;
    SoftwareChangesDlg dialog(nullptr, releaseNotes);
    dialog.DoModal();
    return true;
}
