#include "app/dialogs/ProgramOptionsDlg.h"
#include "app/dialogs/DialogsFixture.h"
#include "qt/fw/DialogScript.h"
#include "records/SharedFunctions.h"

#include <QComboBox>
#include <QLineEdit>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace dialogstest {
namespace {

using D = ProgramOptionsDlg;

std::shared_ptr<PackDetails> MakePack(const std::string& name, int32_t price)
{
    auto pack = std::make_shared<PackDetails>();
    pack->SetShortDescription(name);
    pack->SetPrice(price);
    return pack;
}

std::vector<std::string> Names(const PacksCollection& packs)
{
    std::vector<std::string> names;
    for (const auto& pack : packs.GetPacks())
        names.push_back(pack->GetShortDescription());
    return names;
}

class ProgramOptionsDlgTest : public DialogsTest {
protected:
    void SetUp() override
    {
        DialogsTest::SetUp();
        ProgramOptions& options = ProgramOptions::Instance();
        options.SetProgramFolder("/opt/orvanel/");
        options.packDetailsPath = "/p/a.csv";
        options.extraText[7] = "Sitting 42";
        GetTheApp().WriteProfileString("PersistentCombos", "PackCsv00", "/p/a.csv.old");
        GetTheApp().WriteProfileString("PersistentCombos", "PackCsv01", "/p/a.csv");
        documentPacks.AddPack(MakePack("Classic", 2500));
        documentPacks.AddPack(MakePack("Deluxe", 4500));
    }
    // The script runs on the active dialog, so that the focus moves as the user moves it.
    void Script(std::function<void(D&)> script)
    {
        qttest::ScriptDialog<D>(*modal, D::IDD, [script = std::move(script)](D& d) {
            Activate(*d.GetWindow());
            script(d);
        });
    }
    static std::string Text(D& d, win::UINT id) { return d.GetDlgItem(id)->GetWindowText(); }
    static fw::Control& Combo(D& d) { return *d.GetDlgItem(D::IDC_PACK_CSV); }

    PacksCollection documentPacks;
};

TEST_F(ProgramOptionsDlgTest, ShowsTheOptionsAndTheExactPackPath)
{
    D dialog(&documentPacks);
    EXPECT_EQ(Names(dialog.packs), Names(documentPacks)); // the working copy
    Script([](D& d) {
        EXPECT_EQ(Text(d, D::IDC_PORTRAIT_SAMPLE), "/opt/orvanel/PortraitSample.jpg");
        EXPECT_EQ(Text(d, D::IDC_GROUP_SAMPLE), "/opt/orvanel/GroupSample.jpg");
        EXPECT_EQ(Text(d, D::IDC_IMAGE_VIEWER), "");
        EXPECT_EQ(Text(d, D::IDC_EXTRA_TEXT_1), "Extra Text 1");
        EXPECT_EQ(Text(d, D::IDC_EXTRA_TEXT_1 + 7), "Sitting 42");
        // The path itself, not the first history entry that begins with it.
        EXPECT_EQ(Combo(d).GetCount(), 2);
        EXPECT_EQ(Combo(d).GetCurSel(), 1);
        EXPECT_EQ(Text(d, D::IDC_PACK_CSV), "/p/a.csv");
        Render(d, "ProgramOptionsDlg");
        qttest::Click(d, win::IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), win::IDCANCEL);
}

TEST_F(ProgramOptionsDlgTest, OkStoresTheValuesAndCopiesThePacksBack)
{
    const std::shared_ptr<PackDetails> firstPack = documentPacks.GetPack(0);
    D dialog(&documentPacks);
    Script([](D& d) {
        qttest::TypeInto(d, D::IDC_PORTRAIT_SAMPLE, "/photos/portrait.jpg");
        qttest::TypeInto(d, D::IDC_IMAGE_VIEWER, "/usr/bin/eog");
        qttest::TypeInto(d, D::IDC_EXTRA_TEXT_1 + 2, "Third");
        qttest::TypeInto(d, D::IDC_PACK_CSV, "/p/Packs.csv");
        d.packs.GetPack(0)->SetPrice(2750);
        d.packs.RemoveLastPack();
        qttest::Click(d, win::IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), win::IDOK);

    const ProgramOptions& options = ProgramOptions::Instance();
    EXPECT_EQ(options.portraitSamplePath, "/photos/portrait.jpg");
    EXPECT_EQ(options.groupSamplePath, "/opt/orvanel/GroupSample.jpg");
    EXPECT_EQ(options.imageViewer, "/usr/bin/eog");
    EXPECT_EQ(options.packDetailsPath, "/p/Packs.csv");
    EXPECT_EQ(options.extraText[2], "Third");
    EXPECT_EQ(options.extraText[7], "Sitting 42");
    // The options reach the settings only when the program saves them at exit.
    EXPECT_FALSE(IsStored("Settings", "PackDetails"));
    // Leaving the combo for the OK button entered the path in the history, letter case kept.
    EXPECT_EQ(Stored("PersistentCombos", "PackCsv00"), "/p/Packs.csv");
    EXPECT_EQ(Stored("PersistentCombos", "PackCsv01"), "/p/a.csv.old");

    EXPECT_EQ(Names(documentPacks), std::vector<std::string> { "Classic" });
    EXPECT_EQ(documentPacks.GetPack(0), firstPack); // the document keeps its pack objects
    EXPECT_EQ(firstPack->GetPrice().GetAmount(), 2750);
}

TEST_F(ProgramOptionsDlgTest, CancelChangesNoOptionAndNoPackButATypedPathStaysInTheHistory)
{
    D dialog(&documentPacks);
    Script([](D& d) {
        qttest::TypeInto(d, D::IDC_PACK_CSV, "/p/A.csv");
        qttest::TypeInto(d, D::IDC_GROUP_SAMPLE, "/photos/group.jpg"); // the combo loses the focus
        EXPECT_EQ(Combo(d).GetCount(), 3);
        d.packs.RemoveLastPack();
        qttest::Click(d, win::IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), win::IDCANCEL);

    const ProgramOptions& options = ProgramOptions::Instance();
    EXPECT_EQ(options.packDetailsPath, "/p/a.csv");
    EXPECT_EQ(options.groupSamplePath, "/opt/orvanel/GroupSample.jpg");
    EXPECT_EQ(Names(documentPacks), (std::vector<std::string> { "Classic", "Deluxe" }));
    EXPECT_EQ(Stored("PersistentCombos", "PackCsv00"), "/p/A.csv");
    EXPECT_EQ(Stored("PersistentCombos", "PackCsv02"), "/p/a.csv");
}

TEST_F(ProgramOptionsDlgTest, BrowsingKeepsWhatWasTypedAndEntersAChosenTemplateInTheHistory)
{
    D dialog(&documentPacks);
    Script([](D& d) {
        qttest::TypeInto(d, D::IDC_EXTRA_TEXT_1, "Typed before browsing");
        qttest::Click(d, D::IDC_BROWSE_PORTRAIT);
        EXPECT_EQ(Text(d, D::IDC_PORTRAIT_SAMPLE), "/photos/portrait 2.jpeg");
        qttest::TypeInto(d, D::IDC_EXTRA_TEXT_1 + 1, "Typed before choosing the viewer");
        qttest::Click(d, D::IDC_BROWSE_VIEWER);
        EXPECT_EQ(Text(d, D::IDC_IMAGE_VIEWER), "/usr/bin/display");
        EXPECT_EQ(Text(d, D::IDC_EXTRA_TEXT_1 + 1), "Typed before choosing the viewer");
        qttest::Click(d, D::IDC_BROWSE_GROUP); // cancelled: nothing changes
        EXPECT_EQ(Text(d, D::IDC_GROUP_SAMPLE), "/opt/orvanel/GroupSample.jpg");
        qttest::Click(d, D::IDC_BROWSE_PACK_CSV);
        EXPECT_EQ(Text(d, D::IDC_PACK_CSV), "/templates/School.csv");
        EXPECT_EQ(Combo(d).GetCurSel(), 0);
        EXPECT_EQ(Text(d, D::IDC_EXTRA_TEXT_1), "Typed before browsing");
        qttest::Click(d, win::IDOK);
    });
    modal->AnswerNextFile(win::IDOK, "/photos/portrait 2.jpeg");
    modal->AnswerNextFile(win::IDOK, "/usr/bin/display");
    modal->AnswerNextFile(win::IDCANCEL);
    modal->AnswerNextFile(win::IDOK, "/templates/School.csv");
    ASSERT_EQ(dialog.DoModal(), win::IDOK);

    const auto& asked = modal->FileDialogs();
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[0].defaultExt, "pcp");
    EXPECT_EQ(asked[0].fileName, "/opt/orvanel/PortraitSample.jpg");
    EXPECT_EQ(asked[0].filter, "JPEG Image files (*.jpg;*.jpeg)|*.jpg;*.jpeg||");
    EXPECT_EQ(asked[1].defaultExt, "exe");
    EXPECT_EQ(asked[1].filter, "Application file (*.exe)|*.exe||");
    EXPECT_EQ(asked[3].defaultExt, "csv");
    EXPECT_EQ(asked[3].fileName, "/p/a.csv");
    EXPECT_EQ(asked[3].filter, "Pack CSV files (*.csv)|*.csv||");
    for (const auto& request : asked) {
        EXPECT_TRUE(request.open);
        EXPECT_EQ(request.flags, win::OFN_HIDEREADONLY | win::OFN_OVERWRITEPROMPT);
    }

    const ProgramOptions& options = ProgramOptions::Instance();
    EXPECT_EQ(options.portraitSamplePath, "/photos/portrait 2.jpeg");
    EXPECT_EQ(options.imageViewer, "/usr/bin/display");
    EXPECT_EQ(options.packDetailsPath, "/templates/School.csv");
    EXPECT_EQ(options.extraText[0], "Typed before browsing");
    EXPECT_EQ(options.extraText[1], "Typed before choosing the viewer");
    EXPECT_EQ(Stored("PersistentCombos", "PackCsv00"), "/templates/School.csv");
}

// The four path fields, each with where the options hold it.
struct PathField {
    const char* name;
    win::UINT id;
    std::string ProgramOptions::*path;
    friend void PrintTo(const PathField& c, std::ostream* os) { *os << c.name; }
};

class ProgramOptionsPaths : public ProgramOptionsDlgTest, public ::testing::WithParamInterface<PathField> {
protected:
    static QString Shown(D& d, win::UINT id)
    {
        QWidget* widget = d.GetDlgItem(id)->GetWidget();
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            return combo->currentText();
        return qobject_cast<QLineEdit*>(widget)->text();
    }
    // Types the text as the user would, with key events that carry characters beyond ASCII.
    static void TypePath(D& d, win::UINT id, const QString& text)
    {
        fw::Control* control = d.GetDlgItem(id);
        QWidget* widget = control->GetWidget();
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            widget = combo->lineEdit();
        control->SetFocus();
        auto* edit = qobject_cast<QLineEdit*>(widget);
        edit->selectAll();
        for (const QChar character : text) {
            QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_unknown, QString(character), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, edit, Qt::Key_unknown, QString(character), Qt::NoModifier);
        }
    }
};

// A path is the file system's bytes: one in UTF-8 shows as such, one that is not shows byte by
// byte as Windows-1252 and comes back as the same bytes when left alone, and a typed one is kept
// in UTF-8. None is refused for letters outside the code page.
TEST_P(ProgramOptionsPaths, AreShownAndKeptAsTheFileSystemsBytes)
{
    const PathField& c = GetParam();
    struct Step {
        std::string held;
        const char* typed; // or null: left alone
        QString shown;
        std::string stored;
    };
    const std::string utf8 = "/photos/\xC3\xA9t\xC3\xA9.jpg";
    const std::string latin = "/photos/\xE9t\xE9.jpg";
    const Step steps[] = { { utf8, nullptr, QStringLiteral(u"/photos/\u00E9t\u00E9.jpg"), utf8 },
        { latin, nullptr, QStringLiteral(u"/photos/\u00E9t\u00E9.jpg"), latin },
        { "/p/a.csv", "/photos/\xC3\xA9t\xC3\xA9 \xE2\x82\xAC.jpg", QStringLiteral(u"/p/a.csv"),
            "/photos/\xC3\xA9t\xC3\xA9 \xE2\x82\xAC.jpg" } };
    for (const Step& step : steps) {
        ProgramOptions::Instance().*c.path = step.held;
        D dialog(&documentPacks);
        Script([&](D& d) {
            EXPECT_EQ(Shown(d, c.id), step.shown);
            if (step.typed != nullptr)
                TypePath(d, c.id, QString::fromUtf8(step.typed));
            qttest::Click(d, win::IDOK);
        });
        EXPECT_EQ(dialog.DoModal(), win::IDOK);
        EXPECT_TRUE(modal->Messages().empty());
        EXPECT_EQ(ProgramOptions::Instance().*c.path, step.stored);
    }
}

INSTANTIATE_TEST_SUITE_P(All, ProgramOptionsPaths,
    ::testing::Values(
        PathField { "portrait_sample", D::IDC_PORTRAIT_SAMPLE, &ProgramOptions::portraitSamplePath },
        PathField { "group_sample", D::IDC_GROUP_SAMPLE, &ProgramOptions::groupSamplePath },
        PathField { "image_viewer", D::IDC_IMAGE_VIEWER, &ProgramOptions::imageViewer },
        PathField { "pack_template", D::IDC_PACK_CSV, &ProgramOptions::packDetailsPath }),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace dialogstest
