#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/qt/FileDialogFilter.h"
#include "platform/qt/FilePath.h"
#include "platform/qt/QtModalServices.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/fw/CommonDialogs.h"
#include "qt/fw/FrameworkFixture.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>

#include <gtest/gtest-spi.h>

namespace fwtest {
namespace {

using Modal = FrameworkTest;

// A widget that asks the user something when clicked, as a view's mouse handler might.
class AskingWidget : public QWidget {
protected:
    void mousePressEvent(QMouseEvent*) override
    {
        answer = fw::AfxMessageBox("Delete the unit?", win::MB_YESNO);
    }

public:
    int answer = 0;
};

TEST_F(Modal, AnUnexpectedModalInsideAnEventIsDismissedRecordedAndFailsTheTest)
{
    AskingWidget widget;
    widget.show();
    QTest::mouseClick(&widget, Qt::LeftButton);
    EXPECT_EQ(widget.answer, win::IDNO); // Yes/No has no Cancel: dismissed is No
    ASSERT_EQ(modal->Unexpected().size(), 1u);
    EXPECT_NONFATAL_FAILURE(CheckModals(), "unexpected message box: Delete the unit?");
    EXPECT_TRUE(modal->Unexpected().empty());
}

TEST_F(Modal, AnAnswerForAnotherKindOfModalDoesNotAnswerThisOne)
{
    modal->AnswerNextFile(win::IDOK, "/tmp/chosen.txt");
    EXPECT_EQ(fw::AfxMessageBox("Do you want to save changes to the current layout?", win::MB_YESNOCANCEL),
        win::IDCANCEL);
    EXPECT_NONFATAL_FAILURE(CheckModals(), "unexpected message box");
    fw::FileDialog dialog(win::FALSE, "txt", "/home/studio/old.txt",
        win::OFN_HIDEREADONLY | win::OFN_OVERWRITEPROMPT, "Orvanel File (*.txt)|*.txt||");
    EXPECT_EQ(dialog.DoModal(), win::IDOK);
    EXPECT_EQ(dialog.GetPathName(), "/tmp/chosen.txt");
    ASSERT_EQ(modal->FileDialogs().size(), 1u);
    const win::FileDialogRequest& asked = modal->FileDialogs()[0];
    EXPECT_FALSE(asked.open);
    EXPECT_EQ(asked.defaultExt, "txt");
    EXPECT_EQ(asked.fileName, "/home/studio/old.txt");
    EXPECT_EQ(asked.flags, win::OFN_HIDEREADONLY | win::OFN_OVERWRITEPROMPT);
}

TEST_F(Modal, DismissingABoxAnswersItsCancelButtonOrItsOnlyWayOut)
{
    struct Case {
        win::UINT flags;
        int answer;
    };
    for (const Case c : { Case { win::MB_OK, win::IDOK }, Case { win::MB_OKCANCEL, win::IDCANCEL },
             Case { win::MB_ABORTRETRYIGNORE, win::IDABORT }, Case { win::MB_YESNOCANCEL, win::IDCANCEL },
             Case { win::MB_YESNO, win::IDNO }, Case { win::MB_RETRYCANCEL, win::IDCANCEL },
             Case { win::MB_YESNOCANCEL | win::MB_ICONQUESTION, win::IDCANCEL } })
        EXPECT_EQ(win::DismissAnswer(c.flags), c.answer) << c.flags;
}

TEST_F(Modal, ColourDialogStartsFromTheColourAndTheCallersCustomColours)
{
    std::array<win::COLORREF, 16> custom {};
    custom.fill(16777215);
    custom[3] = win::RGB(1, 2, 3);
    fw::ColorDialog dialog(win::RGB(200, 0, 0), win::CC_RGBINIT | win::CC_FULLOPEN);
    dialog.m_cc.lpCustColors = &custom;
    modal->AnswerNextColour(win::IDCANCEL);
    EXPECT_EQ(dialog.DoModal(), win::IDCANCEL);
    EXPECT_EQ(dialog.GetColor(), win::RGB(200, 0, 0));
    modal->AnswerNextColour(win::IDOK, win::RGB(0, 128, 255));
    EXPECT_EQ(dialog.DoModal(), win::IDOK);
    EXPECT_EQ(dialog.GetColor(), win::RGB(0, 128, 255));

    ASSERT_EQ(modal->ColourDialogs().size(), 2u);
    EXPECT_EQ(modal->ColourDialogs()[0].initial, win::RGB(200, 0, 0));
    EXPECT_EQ(modal->ColourDialogs()[0].flags, win::CC_RGBINIT | win::CC_FULLOPEN);
    EXPECT_EQ(modal->ColourDialogs()[0].customColours, custom);
}

TEST_F(Modal, PrintDialogAnswersWithTheOutputFileOrLeavesTheSetup)
{
    win::PrintSetup setup;
    setup.orientation = win::DMORIENT_LANDSCAPE;
    modal->AnswerNextPrint(win::IDCANCEL);
    EXPECT_EQ(win::AppContext::Instance().Modal().PrintDialog(setup), win::IDCANCEL);
    EXPECT_TRUE(setup.outputFile.empty());
    modal->AnswerNextPrint(win::IDOK, "/tmp/page.pdf");
    EXPECT_EQ(win::AppContext::Instance().Modal().PrintDialog(setup), win::IDOK);
    EXPECT_EQ(setup.outputFile, "/tmp/page.pdf");
    ASSERT_EQ(modal->PrintDialogs().size(), 2u);
    EXPECT_EQ(modal->PrintDialogs()[1].orientation, win::DMORIENT_LANDSCAPE);
    EXPECT_EQ(modal->PrintDialogs()[1].maxPage, 1);
}

// Draws the page's number as its only text.
void DrawPageNumber(gdi::DeviceContext& dc, int page)
{
    dc.TextOut(10, 10, "Page " + std::to_string(page));
}

TEST_F(Modal, PrintPreviewDrawsEveryPageOnTheScriptsDevicesAndAnswers)
{
    win::PrintRequest request;
    request.setup.orientation = win::DMORIENT_LANDSCAPE;
    request.setup.minPage = 2;
    request.setup.maxPage = 3;
    std::array<gdi::RecordingDeviceContext, 2> pages { gdi::RecordingDeviceContext(
                                                           { 4800, 6600, 600, 600 }, true),
        gdi::RecordingDeviceContext({ 4800, 6600, 600, 600 }, true) };
    modal->AnswerNextPreview(win::IDOK, [&](const win::PrintRequest& shown, int page) -> gdi::DeviceContext& {
        EXPECT_EQ(shown.setup.orientation, win::DMORIENT_LANDSCAPE);
        return pages.at(static_cast<std::size_t>(page - 2));
    });
    EXPECT_EQ(win::AppContext::Instance().Modal().PrintPreview(request, DrawPageNumber), win::IDOK);
    for (int page = 2; page <= 3; ++page) {
        const auto texts = pages[static_cast<std::size_t>(page - 2)].All<gdi::RecordedText>();
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text, "Page " + std::to_string(page));
    }
    ASSERT_EQ(modal->Previews().size(), 1u);
    EXPECT_EQ(modal->Previews()[0].pagesDrawn, 2);
    EXPECT_EQ(modal->Previews()[0].request.setup.orientation, win::DMORIENT_LANDSCAPE);
}

TEST_F(Modal, QtPrintPreviewShowsEveryPageOnItsPrinter)
{
    win::PrintRequest request;
    request.setup.maxPage = 3;
    request.setup.orientation = win::DMORIENT_LANDSCAPE;
    request.pageMargins = win::RECT { 100, 150, 100, 150 };
    int drawn = 0;
    const fw::QtModalServices::PreviewWindow window = fw::QtModalServices::MakePrintPreview(
        request,
        [&](gdi::DeviceContext& dc, int page) {
            ++drawn;
            DrawPageNumber(dc, page);
        },
        nullptr);
    window.dialog->show();
    QCoreApplication::processEvents();
    const auto* preview = window.dialog->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->pageCount(), 3);
    EXPECT_GE(drawn, 3);
    EXPECT_EQ(window.printer->pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_NEAR(window.printer->pageLayout().margins(QPageLayout::Millimeter).top(), 15.0, 0.01);
    window.dialog->close();
}

TEST(FileDialogFilter, OriginalFiltersBecomeQtNameFilters)
{
    struct Case {
        const char* filter;
        QStringList expected;
    };
    const Case cases[] = {
        { "Orvanel File (*.txt)|*.txt||", { "Orvanel File (*.txt)" } },
        { "JPEG Image files (*.jpg;*.jpeg)|*.jpg;*.jpeg||", { "JPEG Image files (*.jpg *.jpeg)" } },
        { "Application file (*.exe)|*.exe||", { "Application file (*.exe)" } },
        { "Pack CSV files (*.csv)|*.csv|All Files (*.*)|*.*||",
            { "Pack CSV files (*.csv)", "All Files (*)" } },
        { "Text|*.txt; *.csv||", { "Text (*.txt *.csv)" } }, // a name without patterns of its own
        { "Text (*.txt)|*.txt", { "Text (*.txt)" } }, // no closing bars
        { "(*.txt)|*.txt||", { "*.txt" } },
        { "Broken||Text (*.txt)|*.txt||", {} }, // "||" ends the list wherever it stands
        { "Text (*.txt)|;|Any|*||", { "Any (*)" } },
        { "Only a name", {} },
        { "", {} },
        { "Caf\xE9 (*.txt)|*.txt||", { QString::fromUtf8("Caf\xC3\xA9 (*.txt)") } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(fw::ConvertFileFilter(c.filter), c.expected) << c.filter;
}

TEST_F(Modal, QtFileDialogIsSetUpAsTheRequestSays)
{
    struct Case {
        win::FileDialogRequest request;
        QFileDialog::AcceptMode mode;
        QFileDialog::FileMode fileMode;
        bool confirmOverwrite;
    };
    const std::string folder = Folder().string() + "/";
    const Case cases[] = {
        { { true, "txt", folder + "layout.txt", win::OFN_HIDEREADONLY | win::OFN_OVERWRITEPROMPT,
              "Orvanel File (*.txt)|*.txt||" },
            QFileDialog::AcceptOpen, QFileDialog::AnyFile, true },
        { { true, "exe", "", win::OFN_FILEMUSTEXIST, "Application file (*.exe)|*.exe||" },
            QFileDialog::AcceptOpen, QFileDialog::ExistingFile, false },
        { { false, "txt", folder + "layout.txt", win::OFN_HIDEREADONLY | win::OFN_OVERWRITEPROMPT,
              "Orvanel File (*.txt)|*.txt||" },
            QFileDialog::AcceptSave, QFileDialog::AnyFile, true },
    };
    for (const Case& c : cases) {
        const auto dialog = fw::QtModalServices::MakeFileDialog(c.request, nullptr);
        EXPECT_EQ(dialog->acceptMode(), c.mode);
        EXPECT_EQ(dialog->fileMode(), c.fileMode);
        EXPECT_EQ(!dialog->testOption(QFileDialog::DontConfirmOverwrite), c.confirmOverwrite);
        EXPECT_EQ(dialog->defaultSuffix().toStdString(), c.request.defaultExt);
        EXPECT_EQ(dialog->nameFilters(), fw::ConvertFileFilter(c.request.filter));
        if (!c.request.fileName.empty()) {
            EXPECT_EQ(dialog->directory().absolutePath().toStdString() + "/", folder);
            ASSERT_FALSE(dialog->selectedFiles().isEmpty());
            EXPECT_TRUE(dialog->selectedFiles().front().endsWith("layout.txt"));
        }
    }
}

// Qt's file dialog keeps its history in QtProject.conf of the user's configuration folder; the
// program's services send it to a scratch folder of their own instead.
TEST_F(Modal, TheFileDialogWritesNothingInTheUsersConfigurationFolder)
{
    const std::filesystem::path user = Folder() / "config"; // stands in for ~/.config
    for (const QSettings::Format format : { QSettings::NativeFormat, QSettings::IniFormat })
        QSettings::setPath(format, QSettings::UserScope, QString::fromStdString(user.string()));
    win::FileDialogRequest request;
    request.fileName = (Folder() / "layout.txt").string();
    {
        const fw::QtModalServices services;
        {
            const auto dialog = fw::QtModalServices::MakeFileDialog(request, nullptr);
            dialog->show();
            dialog->reject();
        } // a closed file dialog writes its history
        EXPECT_TRUE(
            std::filesystem::exists(std::filesystem::path(services.OwnSettingsFolder()) / "QtProject.conf"))
            << "the dialog wrote its history, to the scratch folder";
    }
    EXPECT_FALSE(std::filesystem::exists(user / "QtProject.conf"));
    // Once the services are gone, Qt's own settings go nowhere.
    auto late = fw::QtModalServices::MakeFileDialog(request, nullptr);
    late.reset();
    EXPECT_FALSE(std::filesystem::exists(user / "QtProject.conf"));
}

TEST_F(Modal, QtMessageBoxShowsTheOriginalButtonsAndAnswersWithTheirIds)
{
    struct Case {
        win::UINT flags;
        std::vector<std::pair<QMessageBox::StandardButton, int>> buttons;
    };
    const Case cases[] = {
        { win::MB_OK, { { QMessageBox::Ok, win::IDOK } } },
        { win::MB_OKCANCEL, { { QMessageBox::Ok, win::IDOK }, { QMessageBox::Cancel, win::IDCANCEL } } },
        { win::MB_YESNOCANCEL | win::MB_ICONQUESTION,
            { { QMessageBox::Yes, win::IDYES }, { QMessageBox::No, win::IDNO },
                { QMessageBox::Cancel, win::IDCANCEL } } },
        { win::MB_YESNO, { { QMessageBox::Yes, win::IDYES }, { QMessageBox::No, win::IDNO } } },
        { win::MB_RETRYCANCEL,
            { { QMessageBox::Retry, win::IDRETRY }, { QMessageBox::Cancel, win::IDCANCEL } } },
        { win::MB_ABORTRETRYIGNORE,
            { { QMessageBox::Abort, win::IDABORT }, { QMessageBox::Retry, win::IDRETRY },
                { QMessageBox::Ignore, win::IDIGNORE } } },
    };
    const fw::QtModalServices services;
    for (const Case& c : cases) {
        for (const auto& [button, id] : c.buttons) {
            const auto box = services.MakeMessageBox(
                "Do you want to save changes to the current layout?", c.flags, nullptr);
            EXPECT_EQ(box->windowTitle().toStdString(), "Orvanel");
            EXPECT_EQ(static_cast<std::size_t>(box->buttons().size()), c.buttons.size());
            box->open(); // shown without a modal loop
            QTest::mouseClick(box->button(button), Qt::LeftButton);
            EXPECT_EQ(fw::QtModalServices::AnswerOf(*box, c.flags), id) << c.flags;
        }
        const auto box = services.MakeMessageBox("Dismissed", c.flags, nullptr);
        box->open();
        QTest::keyClick(box.get(), Qt::Key_Escape);
        EXPECT_EQ(fw::QtModalServices::AnswerOf(*box, c.flags), win::DismissAnswer(c.flags)) << c.flags;
    }
    const auto box = services.MakeMessageBox("Do you want to save changes to the current layout?",
        win::MB_YESNOCANCEL | win::MB_ICONEXCLAMATION, nullptr);
    box->show();
    box->grab().save(QString::fromStdString(qttest::OutputPath("fw_message_box.png").string()));
}

// A message that names files takes its text as UTF-8 (U+FFFD for bytes that are not), the same
// bytes in the other form as Windows-1252.
TEST_F(Modal, AMessageNamingFilesTakesUtf8)
{
    const fw::QtModalServices services;
    const std::string text = "Move \"\xCE\xA9\xE6\x97\xA5 bad\xFF.txt\" to the trash?";
    const auto box = services.MakeMessageBoxUtf8(text, win::MB_YESNO | win::MB_ICONQUESTION, nullptr);
    EXPECT_EQ(box->text(), QString::fromUtf8("Move \"Ω日 bad\uFFFD.txt\" to the trash?"));
    EXPECT_EQ(box->buttons().size(), 2);
    box->show();
    box->grab().save(QString::fromStdString(qttest::OutputPath("fw_message_box_names.png").string()));
    EXPECT_EQ(services.MakeMessageBox(text, win::MB_OK, nullptr)->text(),
        QString::fromUtf8("Move \"\u00CE\u00A9\u00E6\u2014\u00A5 bad\u00FF.txt\" to the trash?"));
}

// The lines of text in a picture of a label: runs of rows with dark pixels.
int TextLinesIn(const QImage& image)
{
    int lines = 0;
    bool inLine = false;
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < image.width() && !ink; ++x)
            ink = qGray(image.pixel(x, y)) < 128;
        lines += ink && !inLine;
        inLine = ink;
    }
    return lines;
}

// A list of tab-indented lines shows each line as one line; a line wider than any box the screen
// allows still wraps, in a box that stays on the screen.
TEST_F(Modal, MessageBoxKeepsEachLineWhereTheScreenHasRoom)
{
    struct Case {
        const char* name;
        std::string text;
        bool whole;
    };
    const std::string longLine(60, 'x');
    const Case cases[] = {
        { "legend",
            "The following abbreviations are used:\n"
            "\tH - Height in tenths of mm\n"
            "\tO - Orientation in degrees - can only be one of 0, 90, 180, 270\n"
            "\tM - Multiples - number of types that component should be repeated\n"
            "\tS - Multiple Separation - the separation between each multiple occurrence in tenths "
            "of mm\n",
            true },
        { "far_too_long",
            "Could not open file: /photos/" + longLine + " " + longLine + " " + longLine + " " + longLine
                + " " + longLine + " " + longLine + " " + longLine + " " + longLine,
            false },
    };
    const fw::QtModalServices services;
    for (const Case& c : cases) {
        const auto box = services.MakeMessageBox(c.text, win::MB_OK | win::MB_ICONINFORMATION, nullptr);
        box->show();
        QApplication::processEvents();
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        const QImage text = label->grab().toImage();
        text.save(QString::fromStdString(
            qttest::OutputPath(std::string("fw_message_lines_") + c.name + ".png").string()));
        const int lines = static_cast<int>(std::count(c.text.begin(), c.text.end(), '\n'))
            + (c.text.ends_with('\n') ? 0 : 1);
        if (c.whole)
            EXPECT_EQ(TextLinesIn(text), lines) << c.name;
        else
            EXPECT_GT(TextLinesIn(text), lines) << c.name;
        EXPECT_LE(box->width(), box->screen()->availableGeometry().width()) << c.name;
    }
}

TEST_F(Modal, ShellExecuteStartsThroughTheInstalledShellAndAMissingProgramIsNoError)
{
    auto recording = std::make_shared<win::RecordingShell>();
    win::AppContext::Instance().SetShell(recording);
    EXPECT_GT(win::ShellExecuteA(
                  nullptr, "open", "/opt/orvanel/Updater", "-quiet", "/opt/orvanel/", win::SW_SHOWNORMAL),
        32);
    EXPECT_EQ(recording->Calls(),
        (std::vector<win::RecordingShell::Call> {
            { "open", "/opt/orvanel/Updater", "-quiet", "/opt/orvanel/", win::SW_SHOWNORMAL } }));

    win::AppContext::Instance().SetShell(std::make_shared<fw::QtShell>());
    EXPECT_EQ(win::ShellExecuteA(nullptr, "open", "/nonexistent-folder/Updater", "-quiet",
                  "/nonexistent-folder/", win::SW_SHOWNORMAL),
        2);
    EXPECT_GT(win::ShellExecuteA(nullptr, "open", "/bin/true", "-quiet", "/", win::SW_SHOWNORMAL), 32);
}

// Puts a folder first on PATH for the object's life.
class PathFirst {
public:
    explicit PathFirst(const std::string& folder)
        : saved_(std::getenv("PATH") != nullptr ? std::getenv("PATH") : "")
    {
        ::setenv("PATH", (folder + ":" + saved_).c_str(), 1);
    }
    ~PathFirst() { ::setenv("PATH", saved_.c_str(), 1); }
    PathFirst(const PathFirst&) = delete;
    PathFirst& operator=(const PathFirst&) = delete;

private:
    std::string saved_;
};

// The desktop's opener is xdg-open, given the path's own bytes (here not UTF-8); whether it opened
// the file is its exit code, told on the event loop once it has ended. A stand-in first on PATH
// records what it was given and ends as told, so no real application starts.
TEST_F(Modal, OpeningWithTheDesktopRunsXdgOpenOnThePathsBytesAndTellsItsVerdict)
{
    const std::filesystem::path bin = Folder() / "bin";
    std::filesystem::create_directories(bin);
    std::ofstream(bin / "xdg-open") << "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.part\"\n"
                                       "mv \"$0.part\" \"$0.asked\"\nexit \"$(cat \"$0.code\")\"\n";
    std::filesystem::permissions(bin / "xdg-open", std::filesystem::perms(0755));
    const PathFirst first(bin.string());
    const std::string path = (Folder() / "caf\xE9 notes.txt").string();
    for (const int code : { 0, 4 }) {
        SCOPED_TRACE(code);
        std::filesystem::remove(bin / "xdg-open.asked");
        std::ofstream(bin / "xdg-open.code") << code;
        std::optional<bool> verdict;
        ASSERT_TRUE(fw::QtShell().OpenWithDesktop(path, [&](bool opened) { verdict = opened; }));
        ASSERT_TRUE(QTest::qWaitFor([&] { return verdict.has_value(); }, 30000));
        EXPECT_EQ(*verdict, code == 0);
        std::ifstream asked(bin / "xdg-open.asked", std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(asked), {}), path);
    }

    const std::string none = Folder() / "none";
    std::filesystem::create_directories(none);
    const std::string saved = std::getenv("PATH");
    ::setenv("PATH", none.c_str(), 1); // no opener anywhere
    bool called = false;
    EXPECT_FALSE(fw::QtShell().OpenWithDesktop(path, [&](bool) { called = true; }));
    ::setenv("PATH", saved.c_str(), 1);
    EXPECT_FALSE(called);
}

// Polls until the condition holds, for at most half a minute.
bool Eventually(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// The started program runs in the folder given, with the parameters split as a shell splits them,
// and once it has ended it is gone: nothing is left behind as a zombie.
TEST(QtShell, StartsTheProgramInItsFolderWithItsParametersAndLeavesNoZombie)
{
    const QTemporaryDir folder;
    const std::filesystem::path path = fw::ToFilePath(folder.path());
    ASSERT_TRUE(fw::QtShell().Execute("open", "/bin/sh",
        R"(-c "pwd > out; echo $1 >> out; echo $$ > finished" sh "two words")", path.string(),
        win::SW_SHOWNORMAL));
    std::string child;
    ASSERT_TRUE(Eventually([&] {
        std::ifstream finished(path / "finished");
        return static_cast<bool>(std::getline(finished, child));
    }));
    std::ifstream out(path / "out");
    std::string where, words;
    std::getline(out, where);
    std::getline(out, words);
    EXPECT_EQ(std::filesystem::path(where), std::filesystem::canonical(path));
    EXPECT_EQ(words, "two words");
    EXPECT_TRUE(Eventually([&] { return !std::filesystem::exists("/proc/" + child); }))
        << "the program stays a zombie";
}

} // namespace
} // namespace fwtest
