#include "app/dialogs/CalcImagePropsDlg.h"
#include "app/dialogs/ProgramOptions.h"
#include "app/dialogs/ProgramOptionsDlg.h"
#include "app/document/DocumentHints.h"
#include "app/form/FormFixture.h"
#include "imaging/wrapper/ImageCache.h"
#include "platform/qt/fw/CommandIds.h"

#include <filesystem>

namespace formtest {
namespace {

TEST_F(FormTest, ExtraTextsOneToEightThroughOneSetOfControls)
{
    Activate(*form);
    Type(1104, "Studio name");
    Type(1061, "-15");
    Type(1103, "3"); // the user's edit selects slot 3; slot 1 keeps what was typed
    EXPECT_EQ(Text(1104), "ExtraTxt3");
    EXPECT_EQ(form->extraTexts[0].text, "Studio name");
    // A click on ExtraTxt8 in the drawing: the number set by code notifies nothing.
    ASSERT_TRUE(form->SelectExtraText(7));
    EXPECT_EQ(Text(1103), "8");
    EXPECT_EQ(Text(1104), "ExtraTxt8");
    EXPECT_EQ(form->currentTextNumber, 8u);
    Type(1104, "Eighth");
    ASSERT_TRUE(form->ApplyToLayout());
    EXPECT_EQ(Unit("ExtraTxt1").GetCaption(), "Studio name");
    EXPECT_EQ(Unit("ExtraTxt1").GetAbsolutePosition(0).x, -15);
    EXPECT_EQ(Unit("ExtraTxt8").GetCaption(), "Eighth");
    // A number outside the slots: the range message, the slot stays.
    modal->AnswerNext(win::IDOK);
    Type(1103, "9");
    EXPECT_EQ(modal->Messages().back().text, "Enter an integer between 1 and 8.");
    EXPECT_EQ(form->currentTextNumber, 8u);
    EXPECT_EQ(Text(1104), "Eighth");
}

TEST_F(FormTest, TheColourButtonPicksWithTheProgramsCustomColours)
{
    ProgramOptions::Instance().customColours[3] = win::RGB(9, 8, 7);
    modal->AnswerNextColour(win::IDOK, win::RGB(1, 2, 3));
    Click(1087);
    ASSERT_EQ(modal->ColourDialogs().size(), 1u);
    EXPECT_EQ(modal->ColourDialogs()[0].customColours[3], win::RGB(9, 8, 7));
    EXPECT_EQ(modal->ColourDialogs()[0].flags, win::CC_RGBINIT | win::CC_FULLOPEN);
    EXPECT_EQ(form->swatch.GetColor(), win::RGB(1, 2, 3));
    EXPECT_NE(document->GetLayout().GetOverprintColour(), "010203"); // only an apply takes it
    ASSERT_TRUE(form->ApplyToLayout());
    EXPECT_EQ(document->GetLayout().GetOverprintColour(), "010203");
    modal->AnswerNextColour(win::IDCANCEL);
    Click(1087);
    EXPECT_EQ(form->overprintColour, win::RGB(1, 2, 3));
}

TEST_F(FormTest, AProofTypeChangeRebuildsTheLayoutKeepingPaperAndGeneralValues)
{
    Type(1006, "44");
    Type(1064, "SAMPLE");
    Click(1026);
    EXPECT_EQ(document->GetLayout().GetLayoutType(), 1);
    EXPECT_NE(document->GetLayout().GetRootUnit()->FindByName("GImage"), nullptr);
    EXPECT_EQ(document->GetLayout().GetPaper().GetMarginLeft(), 44);
    EXPECT_EQ(document->GetLayout().GetOverprintWord(), "SAMPLE");
    EXPECT_EQ(Text(1046), "Group");
    EXPECT_NE(
        std::find(drawing->hints.begin(), drawing->hints.end(), hint::layoutReplaced), drawing->hints.end());
}

// The sample of the new type is prepared once: loaded and cropped, not then copied back from the
// picture as loaded and cropped again.
TEST_F(FormTest, AProofTypeChangePreparesTheNewSampleOnce)
{
    const std::filesystem::path shipped
        = std::filesystem::path(ORVANEL_TEST_OUTPUT).parent_path() / "bin" / "GroupSample.jpg";
    ProgramOptions::Instance().groupSamplePath = shipped.string();
    int decodes = 0;
    int copies = 0;
    GetImageCache().SetOutOfMemorySeam([&](CacheStep step) {
        decodes += step == CacheStep::Decode ? 1 : 0;
        copies += step == CacheStep::Copy ? 1 : 0;
        return false;
    });
    Click(1026);
    ASSERT_EQ(document->GetLayout().GetLayoutType(), 1);
    EXPECT_TRUE(GetImageCache().Contains(shipped.string()));
    EXPECT_EQ(decodes, 1);
    EXPECT_EQ(copies, 1) << "the picture as loaded is kept once";
}

TEST_F(FormTest, AProofTypeChangeCancelledKeepsTheLayoutAndTheRadio)
{
    document->SetModifiedFlag();
    const std::string before = LayoutBytes(document->GetLayout());
    modal->AnswerNext(win::IDCANCEL);
    Click(1027);
    EXPECT_EQ(form->GetDlgItem(1025)->GetCheck(), 1);
    EXPECT_EQ(form->GetDlgItem(1027)->GetCheck(), 0);
    EXPECT_EQ(LayoutBytes(document->GetLayout()), before);
}

// Yes, then the save is cancelled: counted as Cancel, nothing of the unsaved layout is lost.
TEST_F(FormTest, AProofTypeChangeWhoseSaveIsCancelledKeepsTheLayout)
{
    document->SetModifiedFlag();
    const std::string before = LayoutBytes(document->GetLayout());
    modal->AnswerNext(win::IDYES);
    modal->AnswerNextFile(win::IDCANCEL); // the Save As dialog of a layout without a path
    Click(1026);
    EXPECT_EQ(document->GetLayout().GetLayoutType(), 0);
    EXPECT_EQ(form->GetDlgItem(1025)->GetCheck(), 1);
    EXPECT_EQ(form->GetDlgItem(1026)->GetCheck(), 0);
    EXPECT_EQ(LayoutBytes(document->GetLayout()), before);
    EXPECT_TRUE(document->IsModified());
}

// A value that does not validate stops the save: the file never gets the unapplied layout.
TEST_F(FormTest, SaveAndSaveAsStopWhenTheValuesDoNotValidate)
{
    const auto path = Folder() / "kept.csv";
    ASSERT_TRUE(document->WriteLayout(path.string()));
    document->SetModifiedFlag();
    Type(1053, "wide");
    Type(1064, "NEW WORD");
    modal->AnswerNext(win::IDOK);
    form->OnSave();
    modal->AnswerNext(win::IDOK);
    form->OnSaveAs(); // no file dialog follows
    EXPECT_EQ(document->GetLayout().GetOverprintWord(), "Proof");
    EXPECT_EQ(modal->FileDialogs().size(), 0u);
    EXPECT_TRUE(document->IsModified()); // nothing was written
}

struct WidthCase {
    win::UINT button;
    win::UINT knownEdit;
    win::UINT computedEdit;
    const char* known;
    const char* computed;
};

void PrintTo(const WidthCase& c, std::ostream* os)
{
    *os << "button " << c.button;
}

class FormProportions : public FormTest, public ::testing::WithParamInterface<WidthCase> { };

TEST_P(FormProportions, ComputeTheOtherSideAndApply)
{
    const WidthCase& c = GetParam();
    UseProofType(2);
    Type(c.knownEdit, c.known);
    qttest::ScriptDialog<CalcImagePropsDlg>(*modal, CalcImagePropsDlg::IDD, [](CalcImagePropsDlg& d) {
        d.GetDlgItem(CalcImagePropsDlg::IDC_PROPORTION)->SetCurSel(0);
        qttest::Click(d, CalcImagePropsDlg::IDC_PORTRAIT);
        qttest::Click(d, win::IDOK);
    });
    Click(c.button);
    EXPECT_EQ(Text(c.computedEdit), c.computed);
    EXPECT_EQ(Text(c.knownEdit), c.known);
}

INSTANTIATE_TEST_SUITE_P(EveryButton, FormProportions,
    ::testing::Values(WidthCase { 1082, 1052, 1053, "1000", "800" },
        WidthCase { 1083, 1053, 1052, "800", "1000" }, WidthCase { 1084, 1100, 1099, "1000", "800" },
        WidthCase { 1085, 1099, 1100, "800", "1000" }));

TEST_F(FormTest, PrintAndMarginTestReachTheDocumentWithoutApplying)
{
    Type(1064, "NOT YET");
    Click(1024);
    Click(1008);
    ASSERT_GE(drawing->hints.size(), 2u);
    EXPECT_EQ(drawing->hints[drawing->hints.size() - 2], hint::printLayout);
    EXPECT_EQ(drawing->hints.back(), hint::printMarginTest);
    EXPECT_EQ(document->GetLayout().GetOverprintWord(), "Proof");
}

TEST_F(FormTest, EnterInAnEditAndCtrlUApplyAsUpdateDoes)
{
    Activate(*form);
    Type(1064, "ENTER");
    QTest::keyClick(form->GetDlgItem(1064)->GetWidget(), Qt::Key_Return);
    EXPECT_EQ(document->GetLayout().GetOverprintWord(), "ENTER");
    Type(1064, "CTRL U");
    EXPECT_TRUE(form->OnCmdMsg(1016, fw::CN_COMMAND));
    EXPECT_EQ(document->GetLayout().GetOverprintWord(), "CTRL U");
    Type(1064, "BUTTON");
    Click(1016);
    EXPECT_EQ(document->GetLayout().GetOverprintWord(), "BUTTON");
}

TEST_F(FormTest, LegendBrowseNewAndOpen)
{
    modal->AnswerNext(win::IDOK);
    Click(1081);
    EXPECT_EQ(modal->Messages().back().flags, win::MB_OK | win::MB_ICONINFORMATION);
    EXPECT_TRUE(modal->Messages().back().text.starts_with("The following abbreviations are used:\n\tL - "));

    modal->AnswerNextFile(win::IDOK, "/photos/back.jpg");
    Click(1021);
    EXPECT_EQ(modal->FileDialogs().back().defaultExt, "jpg");
    EXPECT_EQ(Text(1020), "/photos/back.jpg");

    const std::string path = (Folder() / "opened.csv").string();
    ASSERT_TRUE(document->WriteLayout(path));
    document->GetLayout().SetOverprintWord("Unsaved");
    Click(1010);
    EXPECT_EQ(document->GetLayout().GetOverprintWord(), "Proof");
    modal->AnswerNextFile(win::IDOK, path);
    Click(1011);
    EXPECT_EQ(document->GetPath(), path);
}

TEST_F(FormTest, PaperChoiceFillsTheSizeOrFreesTheEdits)
{
    auto* combo = form->GetDlgItem(1001);
    combo->SetCurSel(2); // A5
    form->OnPaperSelChange();
    EXPECT_EQ(Text(1004), "2100");
    EXPECT_EQ(Text(1005), "1480");
    EXPECT_TRUE(form->paperHeightEdit.IsReadOnly());
    combo->SetCurSel(10);
    form->OnPaperSelChange();
    EXPECT_FALSE(form->paperHeightEdit.IsReadOnly());
}

} // namespace
} // namespace formtest

namespace formtest {
namespace {

TEST_F(FormTest, ANudgeOrDragReloadsTheForm)
{
    Unit("PImage").SetX(77);
    document->UnitMoved(false);
    EXPECT_EQ(Text(1036), "77");
    Unit("PImage").SetX(88);
    document->UnitMoved(true);
    EXPECT_EQ(Text(1036), "88");
}

TEST_F(FormTest, OptionsOkEmptiesTheImageCacheCancelLeavesIt)
{
    GetImageCache().SetSize(3, false);
    qttest::ScriptDialog<ProgramOptionsDlg>(
        *modal, ProgramOptionsDlg::IDD, [](ProgramOptionsDlg& d) { qttest::Click(d, win::IDCANCEL); });
    Click(1017);
    EXPECT_EQ(GetImageCache().GetSlotCount(), 3u);
    qttest::ScriptDialog<ProgramOptionsDlg>(
        *modal, ProgramOptionsDlg::IDD, [](ProgramOptionsDlg& d) { qttest::Click(d, win::IDOK); });
    Click(1017);
    EXPECT_EQ(GetImageCache().GetSlotCount(), ImageCache::kInitialSize);
}

} // namespace
} // namespace formtest
