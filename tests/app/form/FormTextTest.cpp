// Texts typed into the form that go into the layout, whose fields hold single bytes of code page
// 1252: the form keeps what the user typed, and Update refuses what the layout cannot hold.
#include "app/form/FormFixture.h"

#include <QLineEdit>
#include <QTest>
#include <filesystem>

namespace formtest {
namespace {

const std::string unfit = "\xC5\x81\xC3\xB3"
                          "d\xC5\xBA \xE6\x97\xA5\xE6\x9C\xAC"; // Łódź 日本, UTF-8
const std::string unfitMessage = " holds characters that a layout cannot keep.\n"
                                 "Use only the characters of the Western European (Windows-1252) set.";

// Types the text into the edit as the user would, with key events that carry characters beyond
// ASCII (which QTest's key clicks cannot name).
void TypeText(COrvanelForm& form, win::UINT id, const std::string& utf8)
{
    fw::Control* control = form.GetDlgItem(id);
    control->SetFocus();
    auto* edit = qobject_cast<QLineEdit*>(control->GetWidget());
    edit->selectAll();
    for (const QChar character : QString::fromStdString(utf8)) {
        QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_unknown, QString(character), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, edit, Qt::Key_unknown, QString(character), Qt::NoModifier);
    }
}

// The text an edit shows, every character of it, in UTF-8.
std::string Shown(const COrvanelForm& form, win::UINT id)
{
    return qobject_cast<QLineEdit*>(form.GetDlgItem(id)->GetWidget())->text().toStdString();
}

struct UnfitCase {
    const char* field;
    win::UINT id;
    const char* slot; // typed into the slot number first, or empty
};

void PrintTo(const UnfitCase& c, std::ostream* os)
{
    *os << c.field;
}

class FormUnfitText : public FormTest, public ::testing::WithParamInterface<UnfitCase> { };

// Update takes nothing, names the field, shows the slot that holds the text and puts the focus on
// it; the text stays as typed.
TEST_P(FormUnfitText, IsRefusedByUpdateNamingTheField)
{
    const UnfitCase& c = GetParam();
    Activate(*form);
    const std::string before = LayoutBytes(document->GetLayout());
    if (*c.slot != 0)
        Type(1103, c.slot);
    TypeText(*form, c.id, unfit);
    if (*c.slot != 0)
        Type(1103, "1"); // the text waits in its slot
    modal->AnswerNext(win::IDOK);

    Click(1016);

    ASSERT_EQ(modal->Messages().size(), 1u);
    EXPECT_EQ(modal->Messages()[0].text, c.field + unfitMessage);
    ASSERT_NE(form->GetFocus(), nullptr);
    EXPECT_EQ(form->GetFocus()->GetDlgCtrlID(), c.id);
    EXPECT_EQ(Shown(*form, c.id), unfit);
    EXPECT_EQ(LayoutBytes(document->GetLayout()), before);
}

INSTANTIATE_TEST_SUITE_P(EveryText, FormUnfitText,
    ::testing::Values(UnfitCase { "Extra Text 1", 1104, "" }, UnfitCase { "Extra Text 3", 1104, "3" },
        UnfitCase { "Overprint word", 1064, "" }),
    [](const ::testing::TestParamInfo<UnfitCase>& info) {
        std::string name = info.param.field;
        std::erase(name, ' ');
        return name;
    });

// Save As applies first: the refusal stops it before its file dialog.
TEST_F(FormTest, SaveAsStopsAtATextTheLayoutCannotHold)
{
    TypeText(*form, 1064, unfit);
    modal->AnswerNext(win::IDOK);
    Click(1013);
    ASSERT_EQ(modal->Messages().size(), 1u);
    EXPECT_EQ(modal->Messages()[0].text, "Overprint word" + unfitMessage);
    EXPECT_TRUE(modal->FileDialogs().empty());
    EXPECT_EQ(document->GetLayout().GetOverprintWord(), "Proof");
}

// Other readings of the form keep the text as typed: a paper change keeps every text, and a
// proof-type change, which stores the general values, is refused as Update is while a text does
// not fit. Characters of the code page (dashes, signs, curly quotes) go into the layout as its
// bytes and come back as they were typed.
TEST_F(FormTest, TypedTextsSurvivePaperAndProofTypeChanges)
{
    const std::string word = "\xE2\x80\x93 \xC2\xA9 \xE2\x82\xAC \xE2\x80\x9Cok\xE2\x80\x9D"; // – © € “ok”
    Activate(*form);
    TypeText(*form, 1104, unfit);
    TypeText(*form, 1064, word);

    form->GetDlgItem(1001)->SetFocus();
    QTest::keyClick(form->GetDlgItem(1001)->GetWidget(), Qt::Key_Down);
    ASSERT_EQ(Text(1001), "A4 L");
    EXPECT_EQ(Shown(*form, 1104), unfit);
    EXPECT_EQ(Shown(*form, 1064), word);
    const std::filesystem::path file = qttest::OutputPath("form") / "typed-texts.png";
    std::filesystem::create_directories(file.parent_path());
    EXPECT_TRUE(form->GetPanel()->grab().toImage().save(QString::fromStdString(file.string())));

    modal->AnswerNext(win::IDOK);
    Click(1026);
    ASSERT_EQ(modal->Messages().size(), 1u);
    EXPECT_EQ(modal->Messages()[0].text, "Extra Text 1" + unfitMessage);
    EXPECT_EQ(document->GetLayout().GetLayoutType(), 0);
    EXPECT_EQ(form->GetDlgItem(1025)->GetCheck(), 1);
    EXPECT_EQ(form->GetDlgItem(1026)->GetCheck(), 0);
    EXPECT_EQ(Shown(*form, 1104), unfit);

    TypeText(*form, 1104, word);
    Click(1026);
    ASSERT_EQ(document->GetLayout().GetLayoutType(), 1);
    const std::string bytes = "\x96 \xA9 \x80 \x93ok\x94";
    EXPECT_EQ(document->GetLayout().GetOverprintWord(), bytes);
    EXPECT_EQ(Unit("ExtraTxt1").GetCaption(), bytes);
    EXPECT_EQ(Shown(*form, 1104), word);
    EXPECT_EQ(Shown(*form, 1064), word);
}

} // namespace
} // namespace formtest
