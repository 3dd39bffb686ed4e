#include "app/dialogs/CalcImagePropsDlg.h"
#include "app/dialogs/DialogsFixture.h"
#include "app/dialogs/ImageProportions.h"
#include "qt/fw/DialogScript.h"
#include "records/SharedFunctions.h"

#include <climits>
#include <ostream>

namespace dialogstest {
namespace {

using Orientation = ProportionOrientation;

struct SideCase {
    int value;
    int proportionIndex;
    Orientation orientation;
    bool widthFromHeight;
    int expected;
};

void PrintTo(const SideCase& c, std::ostream* os)
{
    *os << (c.widthFromHeight ? "W from H " : "H from W ") << c.value << " at proportion "
        << c.proportionIndex << (c.orientation == Orientation::landscape ? " landscape" : " portrait");
}

class ProportionalSide : public ::testing::TestWithParam<SideCase> { };

TEST_P(ProportionalSide, IsTheKnownSideTimesTheFactorTruncated)
{
    const SideCase& c = GetParam();
    EXPECT_EQ(
        ComputeProportionalSide(c.value, c.proportionIndex, c.orientation, c.widthFromHeight), c.expected);
}

constexpr auto P = Orientation::portrait;
constexpr auto L = Orientation::landscape;

INSTANTIATE_TEST_SUITE_P(EveryProportion, ProportionalSide,
    ::testing::Values(SideCase { 1000, 0, P, true, 800 }, SideCase { 1000, 0, L, true, 1250 },
        SideCase { 800, 0, P, false, 1000 }, SideCase { 1250, 0, L, false, 1000 },
        SideCase { 1000, 1, P, true, 700 }, SideCase { 1000, 1, L, true, 1428 },
        SideCase { 700, 1, P, false, 1000 }, SideCase { 1000, 2, P, true, 666 }, // truncated, not 667
        SideCase { 1000, 2, L, true, 1500 }, SideCase { 600, 2, P, false, 900 },
        SideCase { 1000, 3, P, true, 750 }, SideCase { 900, 3, P, false, 1200 },
        SideCase { 1000, 3, L, false, 750 }, SideCase { 1000, 4, P, true, 714 },
        SideCase { 500, 4, P, false, 700 }, SideCase { 1000, 4, L, true, 1400 },
        SideCase { -1000, 0, P, true, -800 }, // truncated toward zero
        SideCase { INT_MAX, 0, L, true, INT_MAX }, // saturates instead of overflowing
        SideCase { INT_MIN, 2, P, false, INT_MIN }));

TEST(ProportionalSideUnknown, AnIndexOutsideTheTableGivesNothing)
{
    for (const int index : { -1, 5, INT_MAX, INT_MIN })
        EXPECT_EQ(ComputeProportionalSide(1000, index, P, true), std::nullopt) << index;
}

class CalcImagePropsDlgTest : public DialogsTest {
protected:
    void Script(std::function<void(CalcImagePropsDlg&)> script)
    {
        qttest::ScriptDialog<CalcImagePropsDlg>(*modal, CalcImagePropsDlg::IDD, std::move(script));
    }
    static void Choose(CalcImagePropsDlg& d, int proportion, win::UINT orientationRadio)
    {
        d.GetDlgItem(CalcImagePropsDlg::IDC_PROPORTION)->SetCurSel(proportion);
        qttest::Click(d, orientationRadio);
    }
};

TEST_F(CalcImagePropsDlgTest, OkComputesTheSideAndRemembersTheChoiceForNextTime)
{
    CalcImagePropsDlg first(true, 1000);
    Script([](CalcImagePropsDlg& d) {
        // Nothing stored yet: the first proportion, portrait.
        EXPECT_EQ(d.GetDlgItem(CalcImagePropsDlg::IDC_PROPORTION)->GetCurSel(), 0);
        EXPECT_EQ(d.GetDlgItem(CalcImagePropsDlg::IDC_PORTRAIT)->GetCheck(), 1);
        EXPECT_EQ(d.GetDlgItem(CalcImagePropsDlg::IDC_PROPORTION)->GetLBText(4), "7 x 5");
        Choose(d, 1, CalcImagePropsDlg::IDC_LANDSCAPE);
        qttest::Click(d, win::IDOK);
    });
    ASSERT_EQ(first.DoModal(), win::IDOK);
    EXPECT_EQ(first.result, 1428);
    EXPECT_EQ(Stored("Settings", "CalcImageProportion"), "1");
    EXPECT_EQ(Stored("Settings", "CalcImageOrientation"), "1");

    CalcImagePropsDlg second(false, 700);
    Script([](CalcImagePropsDlg& d) {
        EXPECT_EQ(d.GetDlgItem(CalcImagePropsDlg::IDC_PROPORTION)->GetCurSel(), 1);
        EXPECT_EQ(d.GetDlgItem(CalcImagePropsDlg::IDC_LANDSCAPE)->GetCheck(), 1);
        Render(d, "CalcImagePropsDlg");
        qttest::Click(d, win::IDOK);
    });
    ASSERT_EQ(second.DoModal(), win::IDOK);
    EXPECT_EQ(second.result, 489); // 700 x (1 / (1 / 0.7)) is 489.99... in double: truncated
}

TEST_F(CalcImagePropsDlgTest, CancelWritesNothing)
{
    CalcImagePropsDlg dialog(true, 1000);
    Script([](CalcImagePropsDlg& d) {
        Choose(d, 3, CalcImagePropsDlg::IDC_LANDSCAPE);
        qttest::Click(d, win::IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), win::IDCANCEL);
    EXPECT_FALSE(IsStored("Settings", "CalcImageProportion"));
    EXPECT_FALSE(IsStored("Settings", "CalcImageOrientation"));
    EXPECT_EQ(dialog.result, 0);
}

TEST_F(CalcImagePropsDlgTest, AnUnknownProportionKeepsTheDialogOpenAndWritesNothing)
{
    // A stored index beyond the list opens it without a selection.
    GetTheApp().WriteProfileInt("Settings", "CalcImageProportion", 7);
    CalcImagePropsDlg dialog(true, 1000);
    Script([this](CalcImagePropsDlg& d) {
        EXPECT_EQ(d.GetDlgItem(CalcImagePropsDlg::IDC_PROPORTION)->GetCurSel(), -1);
        qttest::Click(d, win::IDOK);
        EXPECT_FALSE(d.HasEnded());
        ASSERT_EQ(modal->Messages().size(), 1u);
        EXPECT_EQ(modal->Messages().back().text, "Unknown proportion selected");
        EXPECT_FALSE(IsStored("Settings", "CalcImageOrientation"));
        EXPECT_EQ(Stored("Settings", "CalcImageProportion"), "7");
        Choose(d, 2, CalcImagePropsDlg::IDC_PORTRAIT);
        qttest::Click(d, win::IDOK);
    });
    modal->AnswerNext(win::IDOK);
    ASSERT_EQ(dialog.DoModal(), win::IDOK);
    EXPECT_EQ(dialog.result, 666);
    EXPECT_EQ(Stored("Settings", "CalcImageProportion"), "2");
}

} // namespace
} // namespace dialogstest
