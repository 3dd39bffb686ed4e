#include "platform/qt/fw/Dialog.h"
#include "qt/fw/DialogScript.h"
#include "qt/fw/FrameworkFixture.h"
#include "qt/fw/SampleDialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace fwtest {
namespace {

class Dialogs : public FrameworkTest {
protected:
    // The script of the next sample dialog.
    void Script(std::function<void(SampleDialog&)> script)
    {
        qttest::ScriptDialog<SampleDialog>(*modal, SampleTemplate().id, std::move(script));
    }

    static void Type(SampleDialog& dialog, win::UINT id, const QString& text)
    {
        qttest::TypeInto(dialog, id, text);
    }
    static void Press(SampleDialog& dialog, win::UINT id) { qttest::Click(dialog, id); }
};

TEST_F(Dialogs, OkReturnsIdokWithTheValuesTheUserGave)
{
    SampleDialog dialog;
    Script([](SampleDialog& d) {
        // The initial values are in the controls.
        EXPECT_EQ(d.GetDlgItem(ids::width)->GetWindowText(), "2100");
        EXPECT_EQ(d.GetDlgItem(ids::landscape)->GetCheck(), 1);
        EXPECT_EQ(d.GetDlgItem(ids::pack)->GetCurSel(), 1);
        Type(d, ids::width, "2970");
        Type(d, ids::name, "Sample");
        Press(d, ids::square);
        Press(d, ids::colour);
        Press(d, win::IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), win::IDOK);
    EXPECT_EQ(dialog.width, 2970u);
    EXPECT_EQ(dialog.name, "Sample");
    EXPECT_EQ(dialog.orientation, 2);
    EXPECT_EQ(dialog.colourClicks, 1);
    EXPECT_EQ(dialog.GetDlgItem(ids::width), nullptr); // the window is gone
    EXPECT_EQ(modal->Dialogs(), std::vector<win::UINT> { 300 });
}

TEST_F(Dialogs, CancelEscapeAndTheCloseButtonLeaveTheValues)
{
    const std::function<void(SampleDialog&)> cancels[] = {
        [](SampleDialog& d) { Press(d, win::IDCANCEL); },
        [](SampleDialog& d) { QTest::keyClick(d.GetDlgItem(ids::name)->GetWidget(), Qt::Key_Escape); },
        [](SampleDialog& d) { d.GetWindow()->close(); },
    };
    for (const auto& cancel : cancels) {
        SampleDialog dialog;
        Script([&cancel](SampleDialog& d) {
            Type(d, ids::width, "10");
            cancel(d);
        });
        EXPECT_EQ(dialog.DoModal(), win::IDCANCEL);
        EXPECT_EQ(dialog.width, 2100u);
    }
}

TEST_F(Dialogs, EnterPressesTheDefaultButtonFromAnEditOrAnEditableCombo)
{
    SampleDialog dialog;
    Script([](SampleDialog& d) {
        Type(d, ids::offset, "-3");
        QTest::keyClick(d.GetDlgItem(ids::offset)->GetWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(), win::IDOK);
    EXPECT_EQ(dialog.offset, -3);

    Script([](SampleDialog& d) {
        auto* combo = qobject_cast<QComboBox*>(d.GetDlgItem(ids::pack)->GetWidget());
        Type(d, ids::pack, "/packs/new.csv");
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(combo->count(), 2); // the typed text did not join the list
    });
    EXPECT_EQ(dialog.DoModal(), win::IDOK);
    EXPECT_EQ(dialog.pack, "/packs/new.csv");

    Script([](SampleDialog& d) {
        d.GetDlgItem(ids::notes)->SetFocus();
        QTest::keyClick(d.GetDlgItem(ids::notes)->GetWidget(), Qt::Key_Return); // a line break
        EXPECT_FALSE(d.HasEnded());
        EXPECT_EQ(d.GetDlgItem(ids::notes)->GetWindowText(), "\r\nFirst line\r\nSecond line");
        d.GetDlgItem(win::IDCANCEL)->SetFocus();
        QTest::keyClick(d.GetDlgItem(win::IDCANCEL)->GetWidget(), Qt::Key_Return); // the focused button
    });
    EXPECT_EQ(dialog.DoModal(), win::IDCANCEL);
}

TEST_F(Dialogs, AValueThatFailsKeepsTheDialogOpenWithTheFocusOnIt)
{
    SampleDialog dialog;
    Script([this](SampleDialog& d) {
        Type(d, ids::width, "9000"); // above the dialog's limit of 5000
        Press(d, win::IDOK);
        EXPECT_FALSE(d.HasEnded());
        EXPECT_EQ(modal->Messages().back().text, "Enter an integer between 1 and 5000.");
        EXPECT_EQ(d.GetFocus()->GetDlgCtrlID(), ids::width);
        Type(d, ids::width, "3000000000"); // does not fit the unsigned range's check either
        Press(d, win::IDOK);
        EXPECT_FALSE(d.HasEnded());
        Type(d, ids::width, "500");
        Press(d, win::IDOK);
    });
    modal->AnswerNext(win::IDOK);
    modal->AnswerNext(win::IDOK);
    EXPECT_EQ(dialog.DoModal(), win::IDOK);
    EXPECT_EQ(dialog.width, 500u);
    EXPECT_EQ(modal->Messages().size(), 2u);
}

TEST_F(Dialogs, ADialogNobodyScriptedIsRecordedAndCancelled)
{
    SampleDialog dialog;
    EXPECT_EQ(dialog.DoModal(), win::IDCANCEL);
    EXPECT_EQ(modal->Unexpected(), std::vector<std::string> { "unexpected dialog 300 \"Sample Controls\"" });
    modal->ClearUnexpected();

    // A script for another dialog does not answer this one, and stays for that one.
    modal->AnswerNextDialog(136, [](win::ModalDialog& d) { d.Dismiss(); });
    EXPECT_EQ(dialog.DoModal(), win::IDCANCEL);
    EXPECT_EQ(modal->Unexpected().size(), 1u);
    modal->ClearUnexpected();
    fw::DialogTemplate proportions = SampleTemplate();
    proportions.id = 136;
    fw::Dialog other(proportions);
    EXPECT_EQ(other.DoModal(), win::IDCANCEL);
    EXPECT_TRUE(modal->AllAnswersUsed());
}

TEST_F(Dialogs, AScriptThatLeavesTheDialogOpenIsRecorded)
{
    SampleDialog dialog;
    Script([](SampleDialog&) {});
    EXPECT_EQ(dialog.DoModal(), win::IDCANCEL);
    EXPECT_EQ(modal->Unexpected(),
        std::vector<std::string> { "dialog 300 \"Sample Controls\" left open by its script" });
    modal->ClearUnexpected();
}

TEST_F(Dialogs, ADialogEndedByItsInitialisationReturnsAtOnce)
{
    class Refusing : public SampleDialog {
        win::BOOL OnInitDialog() override
        {
            SampleDialog::OnInitDialog();
            EndDialog(win::IDABORT);
            return win::TRUE;
        }
    } dialog;
    EXPECT_EQ(dialog.DoModal(), win::IDABORT);
    EXPECT_EQ(modal->Dialogs(), std::vector<win::UINT> {}); // never run
}

TEST_F(Dialogs, TheSampleDialogIsRenderedForAPersonToLookAt)
{
    for (const std::string font : { "MS Shell Dlg", "Arial" }) {
        SampleDialog dialog(font);
        Script([font](SampleDialog& d) {
            d.GetDlgItem(ids::notes)
                ->SetWindowText("The most recent significant changes\r\nare listed here.");
            const QImage picture = d.GetWindow()->grab().toImage();
            const std::string file = font == "Arial" ? "fw/SampleDialog-Arial.png" : "fw/SampleDialog.png";
            EXPECT_TRUE(picture.save(QString::fromStdString(qttest::OutputPath(file).string())));
            EXPECT_EQ(picture.size(), d.GetPanel()->size() * picture.devicePixelRatio());
            Press(d, win::IDCANCEL);
        });
        EXPECT_EQ(dialog.DoModal(), win::IDCANCEL);
    }
}

} // namespace
} // namespace fwtest
