#include "app/dialogs/SoftwareChangesDlg.h"
#include "app/dialogs/DialogsFixture.h"
#include "qt/fw/DialogScript.h"
#include "records/SharedFunctions.h"

namespace dialogstest {
namespace {

using SoftwareChangesDlgTest = DialogsTest;

constexpr const char* kNotes = "Packs: the pack template is chosen in the options.\r\n"
                               "Printing: the margin test page shows the printer's margins.";

TEST_F(SoftwareChangesDlgTest, ShowsTheVersionLineFollowedByTheNotes)
{
    SoftwareChangesDlg dialog(nullptr, kNotes);
    EXPECT_EQ(dialog.text, std::string("Software Version 2.453\r\n") + kNotes);
    qttest::ScriptDialog<SoftwareChangesDlg>(*modal, SoftwareChangesDlg::IDD, [](SoftwareChangesDlg& d) {
        EXPECT_EQ(d.GetDlgItem(SoftwareChangesDlg::IDC_CHANGES)->GetWindowText(), d.text);
        Render(d, "SoftwareChangesDlg");
        qttest::Click(d, win::IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), win::IDOK);
    EXPECT_EQ(SoftwareChangesDlg().text, "Software Version 2.453\r\n"); // this release has no notes
}

TEST_F(SoftwareChangesDlgTest, IsShownAfterAnUpgradeOnlyWhenThereAreNotes)
{
    struct Case {
        std::string_view notes;
        int storedVersion; // -1: none stored
        bool shown;
    };
    for (const Case& c : {
             Case { "", -1, false }, // the program's own notes are empty
             Case { "", 245200, false },
             Case { kNotes, -1, true },
             Case { kNotes, 245200, true },
             Case { kNotes, 245299, false }, // how 2.453 is stored: equal to four places
             Case { kNotes, 245300, false },
             Case { kNotes, 250000, false },
         }) {
        win::AppContext::Instance().Profile().WriteProfileString("Settings", "Version", "");
        if (c.storedVersion >= 0)
            GetTheApp().WriteProfileInt("Settings", "Version", c.storedVersion);
        if (c.shown)
            qttest::ScriptDialog<SoftwareChangesDlg>(
                *modal, SoftwareChangesDlg::IDD, [](SoftwareChangesDlg& d) { qttest::Click(d, win::IDOK); });
        const auto before = modal->Dialogs().size();
        EXPECT_EQ(ShowSoftwareChangesAfterUpgrade(c.notes), c.shown) << c.storedVersion;
        EXPECT_EQ(modal->Dialogs().size() - before, c.shown ? 1u : 0u) << c.storedVersion;
    }
    EXPECT_FALSE(ShowSoftwareChangesAfterUpgrade()); // the program's own notes
}

} // namespace
} // namespace dialogstest
