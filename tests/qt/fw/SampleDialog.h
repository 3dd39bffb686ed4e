// A dialog template with every kind of control, a window that holds it for the tests (its
// notifications and keys logged), and the dialog the DoModal tests run.
#pragma once

#include "platform/qt/fw/CmdTarget.h"
#include "platform/qt/fw/ControlHost.h"
#include "platform/qt/fw/ControlPanel.h"
#include "platform/qt/fw/DataExchange.h"
#include "platform/qt/fw/Dialog.h"
#include "platform/qt/fw/DialogTemplate.h"
#include "platform/qt/fw/UserNotifications.h"

#include <QWidget>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace fwtest {

namespace ids {
constexpr win::UINT width = 1001; // unsigned edit
constexpr win::UINT offset = 1002; // signed edit
constexpr win::UINT paper = 1003; // drop-down list
constexpr win::UINT pack = 1004; // editable combo
constexpr win::UINT show = 1005; // check box
constexpr win::UINT portrait = 1006; // radios: portrait, landscape, square
constexpr win::UINT landscape = 1007;
constexpr win::UINT square = 1008;
constexpr win::UINT extras = 1009; // list box
constexpr win::UINT notes = 1010; // multi-line edit
constexpr win::UINT swatch = 1011;
constexpr win::UINT colour = 1012; // button
constexpr win::UINT ratio = 1013; // double edit
constexpr win::UINT name = 1014; // text edit
constexpr win::UINT paperBox = 1015; // group box
constexpr win::UINT mode = 1016; // a second radio group: one, two
constexpr win::UINT modeTwo = 1017;
} // namespace ids

// In the dialog font of the original's templates, or another face ("Arial").
inline fw::DialogTemplate SampleTemplate(const std::string& fontName = "MS Shell Dlg")
{
    using fw::ControlKind;
    fw::DialogTemplate sample { 300, "Sample Controls", 232, 186,
        {
            { ids::paperBox, ControlKind::groupBox, "Paper", 7, 4, 218, 66 },
            { fw::IDC_STATIC, ControlKind::staticText, "Width", 14, 18, 24, 8 },
            { ids::width, ControlKind::edit, "", 40, 16, 36, 12 },
            { fw::IDC_STATIC, ControlKind::staticText, "Offset", 84, 18, 24, 8 },
            { ids::offset, ControlKind::edit, "", 110, 16, 36, 12 },
            { fw::IDC_STATIC, ControlKind::staticText, "Ratio", 154, 18, 22, 8 },
            { ids::ratio, ControlKind::edit, "", 178, 16, 40, 12 },
            { ids::paper, ControlKind::dropDownList, "", 14, 34, 60, 80 },
            { ids::pack, ControlKind::dropDown, "", 80, 34, 138, 80 },
            { ids::show, ControlKind::checkBox, "Show", 14, 53, 36, 10 },
            { ids::portrait, ControlKind::radioButton, "Port", 56, 53, 34, 10, fw::WS_GROUP },
            { ids::landscape, ControlKind::radioButton, "Land", 94, 53, 34, 10 },
            { ids::square, ControlKind::radioButton, "Square", 132, 53, 42, 10 },
            { ids::mode, ControlKind::radioButton, "One", 178, 47, 40, 10, fw::WS_GROUP },
            { ids::modeTwo, ControlKind::radioButton, "Two", 178, 57, 40, 10 },
            { fw::IDC_STATIC, ControlKind::staticText, "Extra texts", 7, 76, 80, 8 },
            { ids::extras, ControlKind::listBox, "", 7, 86, 80, 46, fw::WS_VSCROLL },
            { fw::IDC_STATIC, ControlKind::staticText, "Notes", 94, 76, 80, 8 },
            { ids::notes, ControlKind::edit, "", 94, 86, 131, 46, fw::ES_MULTILINE | fw::WS_VSCROLL },
            { fw::IDC_STATIC, ControlKind::staticText, "Name", 7, 142, 24, 8 },
            { ids::name, ControlKind::edit, "", 34, 140, 90, 12 },
            { ids::colour, ControlKind::button, "Colour", 132, 139, 50, 14 },
            { ids::swatch, ControlKind::swatch, "", 188, 139, 37, 14 },
            { fw::IDC_STATIC, ControlKind::staticText,
                "Leave the image viewer blank to use your current Windows default", 7, 158, 140, 20 },
            { win::IDOK, ControlKind::button, "OK", 152, 157, 34, 14, fw::BS_DEFPUSHBUTTON },
            { win::IDCANCEL, ControlKind::button, "Cancel", 191, 157, 34, 14 },
        } };
    sample.fontName = fontName;
    return sample;
}

// The sample's controls in a plain window, with the exchange the test gives and a log of the
// notifications and keys that reach it.
class SampleHost : public fw::CmdTarget, public fw::ControlHost {
public:
    explicit SampleHost(const std::string& fontName = "MS Shell Dlg")
    {
        CreateControls(SampleTemplate(fontName), *this, &window);
        window.resize(GetPanel()->size());
        for (const win::UINT id : { ids::width, ids::offset, ids::ratio, ids::name, ids::notes })
            Log(id, fw::EN_CHANGE, "EN_CHANGE");
        for (const win::UINT id : { ids::paper, ids::pack }) {
            Log(id, fw::CBN_SELCHANGE, "CBN_SELCHANGE");
            Log(id, fw::CBN_EDITCHANGE, "CBN_EDITCHANGE");
            Log(id, fw::CBN_KILLFOCUS, "CBN_KILLFOCUS");
        }
        Log(ids::extras, fw::LBN_SELCHANGE, "LBN_SELCHANGE");
        for (const win::UINT id : { ids::show, ids::portrait, ids::landscape, ids::square, ids::colour })
            Log(id, fw::BN_CLICKED, "BN_CLICKED");
    }

    void DoDataExchange(fw::DataExchange& dx) override
    {
        if (exchange)
            exchange(dx);
    }

    win::BOOL PreTranslateMessage(fw::MSG* msg) override
    {
        if (msg->message == fw::WM_KEYDOWN && msg->wParam == win::VK_RETURN && msg->idFrom == ids::pack) {
            log.push_back("Enter in " + std::to_string(ids::pack));
            return win::TRUE;
        }
        return win::FALSE;
    }

    QWidget window;
    std::function<void(fw::DataExchange&)> exchange;
    std::vector<std::string> log;

private:
    void Log(win::UINT id, int code, std::string name)
    {
        OnNotify(id, code, [this, id, name] { log.push_back(name + " " + std::to_string(id)); });
    }
};

// A dialog with its values, its exchange and a button that opens a message box.
class SampleDialog : public fw::Dialog {
public:
    explicit SampleDialog(const std::string& fontName = "MS Shell Dlg")
        : Dialog(SampleTemplate(fontName))
    {
        OnNotify(ids::colour, fw::BN_CLICKED, [this] { ++colourClicks; });
    }

    void DoDataExchange(fw::DataExchange& dx) override
    {
        fw::DDX_Text(dx, ids::width, width);
        fw::DDV_MinMaxUInt(dx, width, 1, 5000);
        fw::DDX_Text(dx, ids::offset, offset);
        fw::DDX_Text(dx, ids::ratio, ratio);
        fw::DDX_CBIndex(dx, ids::paper, paper);
        fw::DDX_CBString(dx, ids::pack, pack);
        fw::DDX_Check(dx, ids::show, show);
        fw::DDX_Radio(dx, ids::portrait, orientation);
        fw::DDX_Text(dx, ids::name, name);
        fw::DDX_Text(dx, ids::notes, notes);
    }

    win::BOOL OnInitDialog() override
    {
        fw::Control* paperList = GetDlgItem(ids::paper);
        for (const char* paperName : { "A4", "A4 L", "A5", "Custom" })
            paperList->AddString(paperName);
        fw::Control* packs = GetDlgItem(ids::pack);
        for (const char* path : { "/packs/wedding.csv", "/packs/school.csv" })
            packs->AddString(path);
        fw::Control* extras = GetDlgItem(ids::extras);
        for (int n = 1; n <= 8; ++n)
            extras->AddString("Extra text " + std::to_string(n));
        GetDlgItem(ids::swatch)->SetColor(win::RGB(200, 30, 40));
        return Dialog::OnInitDialog();
    }

    win::UINT width = 2100;
    int offset = -15;
    double ratio = 1.25;
    int paper = 0;
    std::string pack = "/packs/school.csv";
    int show = 1;
    int orientation = 1;
    std::string name = "Proof";
    std::string notes = "First line\r\nSecond line";
    int colourClicks = 0;
};

} // namespace fwtest
