#include "app/dialogs/ProgramOptionsDlg.h"

#include "platform/qt/fw/CommonDialogs.h"
#include "platform/qt/fw/DataExchange.h"
#include "platform/qt/fw/PathText.h"
#include "platform/qt/fw/UserNotifications.h"

namespace {

constexpr const char* kSampleFilter = "JPEG Image files (*.jpg;*.jpeg)|*.jpg;*.jpeg||";
constexpr const char* kViewerFilter = "Application file (*.exe)|*.exe||";
constexpr const char* kPackFilter = "Pack CSV files (*.csv)|*.csv||";

fw::DialogTemplate OptionsTemplate()
{
    using fw::ControlKind;
    using D = ProgramOptionsDlg;
    fw::DialogTemplate options { D::IDD, "Program Options", 316, 214,
        {
            { fw::IDC_STATIC, ControlKind::staticText, "Portrait sample image", 7, 9, 78, 8 },
            { D::IDC_PORTRAIT_SAMPLE, ControlKind::edit, "", 88, 7, 170, 14 },
            { D::IDC_BROWSE_PORTRAIT, ControlKind::button, "Browse", 262, 7, 47, 14 },
            { fw::IDC_STATIC, ControlKind::staticText, "Group sample image", 7, 27, 78, 8 },
            { D::IDC_GROUP_SAMPLE, ControlKind::edit, "", 88, 25, 170, 14 },
            { D::IDC_BROWSE_GROUP, ControlKind::button, "Browse", 262, 25, 47, 14 },
            { fw::IDC_STATIC, ControlKind::staticText, "Image viewer s/w", 7, 45, 78, 8 },
            { D::IDC_IMAGE_VIEWER, ControlKind::edit, "", 88, 43, 170, 14 },
            { D::IDC_BROWSE_VIEWER, ControlKind::button, "Browse", 262, 43, 47, 14 },
            { fw::IDC_STATIC, ControlKind::staticText,
                "Leave the image viewer blank to use your current Windows default", 88, 60, 221, 8 },
            { fw::IDC_STATIC, ControlKind::staticText, "Pack CSV", 7, 77, 78, 8 },
            { D::IDC_PACK_CSV, ControlKind::dropDown, "", 88, 75, 170, 100 },
            { D::IDC_BROWSE_PACK_CSV, ControlKind::button, "Browse", 262, 75, 47, 14 },
            { fw::IDC_STATIC, ControlKind::groupBox, "Sample display data", 7, 96, 302, 92 },
        } };
    for (int i = 0; i < ProgramOptions::kExtraTextCount; ++i) {
        const int x = i < 4 ? 14 : 161;
        const int y = 111 + (i % 4) * 18;
        const auto id = static_cast<win::UINT>(D::IDC_EXTRA_TEXT_1 + i);
        options.controls.push_back({ fw::IDC_STATIC, ControlKind::staticText,
            "Extra text " + std::to_string(i + 1), x, y + 2, 46, 8 });
        options.controls.push_back({ id, ControlKind::edit, "", x + 48, y, 92, 14 });
    }
    options.controls.push_back(
        { win::IDOK, ControlKind::button, "OK", 205, 194, 50, 14, fw::BS_DEFPUSHBUTTON });
    options.controls.push_back({ win::IDCANCEL, ControlKind::button, "Cancel", 259, 194, 50, 14 });
    return options;
}

} // namespace

ProgramOptionsDlg::ProgramOptionsDlg(PacksCollection* target, QWidget* parent)
    : Dialog(OptionsTemplate(), parent)
    , target(target)
{
    if (target != nullptr)
        packs.CopyFrom(*target);
    OnNotify(IDC_BROWSE_GROUP, fw::BN_CLICKED, &ProgramOptionsDlg::OnBrowseGroupImage);
    OnNotify(IDC_BROWSE_VIEWER, fw::BN_CLICKED, &ProgramOptionsDlg::OnBrowseViewer);
    OnNotify(IDC_BROWSE_PORTRAIT, fw::BN_CLICKED, &ProgramOptionsDlg::OnBrowsePortraitImage);
    OnNotify(IDC_PACK_CSV, fw::CBN_KILLFOCUS, &ProgramOptionsDlg::OnPackCsvKillFocus);
    OnNotify(IDC_BROWSE_PACK_CSV, fw::BN_CLICKED, &ProgramOptionsDlg::OnBrowsePackCsv);
    OnNotify(IDC_PACK_CSV, fw::CBN_SELCHANGE, [] {}); // a pick from the history is taken on OK
}

void ProgramOptionsDlg::DoDataExchange(fw::DataExchange& dx)
{
    fw::DDX_Control(dx, IDC_PACK_CSV, packCsvCombo);
    // Paths are the file system's bytes: shown as UTF-8, or byte by byte when they are not, and
    // kept as they were unless the user changes them.
    fw::DDX_Path(dx, IDC_GROUP_SAMPLE, groupSample);
    fw::DDX_Path(dx, IDC_IMAGE_VIEWER, imageViewer);
    fw::DDX_Path(dx, IDC_PORTRAIT_SAMPLE, portraitSample);
    // Paths are matched whole and with their letter case: "/p/a.csv" must not show "/p/a.csv.old".
    DDX_CBStringExact(dx, IDC_PACK_CSV, packPath);
    for (int i = 0; i < ProgramOptions::kExtraTextCount; ++i)
        fw::DDX_Text(dx, static_cast<win::UINT>(IDC_EXTRA_TEXT_1 + i), extraTexts[i]);
}

win::BOOL ProgramOptionsDlg::OnInitDialog()
{
    Dialog::OnInitDialog();
    const ProgramOptions& options = ProgramOptions::Instance();
    portraitSample = options.portraitSamplePath;
    groupSample = options.groupSamplePath;
    imageViewer = options.imageViewer;
    packPath = options.packDetailsPath;
    extraTexts = options.extraText;
    packCsvCombo.Load();
    UpdateData(win::FALSE);
    return win::TRUE;
}

void ProgramOptionsDlg::OnOK()
{
    if (!UpdateData(win::TRUE))
        return;
    ProgramOptions& options = ProgramOptions::Instance();
    options.portraitSamplePath = portraitSample;
    options.groupSamplePath = groupSample;
    options.imageViewer = imageViewer;
    options.packDetailsPath = packPath;
    options.extraText = extraTexts;
    if (target != nullptr)
        target->CopyFrom(packs);
    EndDialog(win::IDOK);
}

bool ProgramOptionsDlg::BrowseInto(const char* defaultExt, const char* filter, std::string& value)
{
    fw::FileDialog dialog(
        win::TRUE, defaultExt, value, win::OFN_HIDEREADONLY | win::OFN_OVERWRITEPROMPT, filter);
    if (dialog.DoModal() != win::IDOK)
        return false;
    // What the user typed since the last transfer is taken over first, so that the transfer
    // back keeps it.
    UpdateData(win::TRUE);
    value = dialog.GetPathName();
    return true;
}

void ProgramOptionsDlg::OnBrowsePortraitImage()
{
    if (BrowseInto("pcp", kSampleFilter, portraitSample))
        UpdateData(win::FALSE);
}

void ProgramOptionsDlg::OnBrowseGroupImage()
{
    if (BrowseInto("pcp", kSampleFilter, groupSample))
        UpdateData(win::FALSE);
}

void ProgramOptionsDlg::OnBrowseViewer()
{
    if (BrowseInto("exe", kViewerFilter, imageViewer))
        UpdateData(win::FALSE);
}

void ProgramOptionsDlg::OnPackCsvKillFocus()
{
    UpdateData(win::TRUE);
    packCsvCombo.AddToHistory(packPath, kPackHistoryLength);
}

void ProgramOptionsDlg::OnBrowsePackCsv()
{
    if (!BrowseInto("csv", kPackFilter, packPath))
        return;
    packCsvCombo.AddToHistory(packPath, kPackHistoryLength);
    UpdateData(win::FALSE);
}
