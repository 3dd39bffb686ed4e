// Start-up of the application object in a program folder and settings file of the test's own,
// with scripted modal services and a recording shell: the version and the updater, the three
// refusals of the catalogue, a layout file on the command line, the shown main window, the
// program folder of the running executable and the about command.
#include "HookedModals.h"
#include "UnexpectedModals.h"
#include "app/dialogs/AboutDlg.h"
#include "app/dialogs/ProgramOptions.h"
#include "app/document/OrvanelApp.h"
#include "app/document/OrvanelDoc.h"
#include "app/document/ProgramParts.h"
#include "app/document/UndoManager.h"
#include "app/form/OrvanelForm.h"
#include "app/frame/MainFrame.h"
#include "app/view/OrvanelView.h"
#include "imaging/wrapper/ImageCache.h"
#include "model/Layout.h"
#include "model/LayoutUnit.h"
#include "model/ProductCatalog.h"
#include "platform/qt/QtProfileStore.h"
#include "platform/qt/fw/CommandIds.h"
#include "platform/qt/fw/FrameWnd.h"
#include "platform/win/AppContext.h"
#include "platform/win/ScriptedModalServices.h"
#include "platform/win/Shell.h"
#include "qt/QtTestSupport.h"
#include "qt/fw/DialogScript.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QSettings>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string LayoutBytes(const Layout& layout)
{
    std::ostringstream out;
    layout.WriteCsv(out);
    return out.str();
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qttest::EnsureApplication();
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "." + test->name();
        std::replace(name.begin(), name.end(), '/', '_');
        folder = qttest::OutputPath("startup") / name;
        fs::remove_all(folder);
        fs::create_directories(folder / "program");
        // The files that ship beside the program.
        const fs::path shipped = fs::path(ORVANEL_TEST_OUTPUT).parent_path() / "bin";
        for (const char* file :
            { "ProductCatalog.csv", "Packs.csv", "PortraitSample.jpg", "GroupSample.jpg" })
            fs::copy_file(shipped / file, folder / "program" / file);
        setenv("ORVANEL_SETTINGS", Settings().c_str(), 1);
        ResetAll();
        win::AppContext::Instance().SetModalServices(modal);
        win::AppContext::Instance().SetShell(shell);
    }

    void TearDown() override
    {
        if (app)
            app->ExitInstance();
        app.reset();
        ExpectNoUnexpectedModals(*modal);
        EXPECT_TRUE(modal->AllAnswersUsed()) << "a scripted answer was never asked for";
        ResetAll();
        unsetenv("ORVANEL_SETTINGS");
    }

    static void ResetAll()
    {
        win::AppContext::Instance().Reset();
        GetUndoManager().Reset();
        GetImageCache().RestoreInitialState();
        ProgramOptions::Instance().Reset();
        ResetGlobalProductCatalog();
    }

    std::string ProgramFolder() const { return (folder / "program").string() + "/"; }
    std::string Settings() const { return (folder / "Orvanel.conf").string(); }
    std::string Stored(const std::string& key) const
    {
        return QSettings(QString::fromStdString(Settings()), QSettings::IniFormat)
            .value(QString::fromStdString(key))
            .toString()
            .toStdString();
    }
    void Store(const std::string& key, int value) const
    {
        QSettings(QString::fromStdString(Settings()), QSettings::IniFormat)
            .setValue(QString::fromStdString(key), value);
    }
    void WriteCatalog(const std::string& start) const
    {
        const fs::path file = folder / "program" / "ProductCatalog.csv";
        std::ifstream in(file);
        std::string first;
        std::getline(in, first);
        const std::string rest { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
        in.close();
        // The first line's version and word replaced, the rest as shipped.
        const auto secondComma = first.find(',', first.find(',') + 1);
        std::ofstream(file, std::ios::binary) << start << first.substr(secondComma) << "\n" << rest;
    }

    // Starts in the test's program folder, or with none given in the running executable's.
    win::BOOL Start(std::vector<std::string> arguments = {}, bool ownProgramFolder = true)
    {
        // The options are read from the settings file, as the program reads them once it has its
        // settings key.
        win::AppContext::Instance().SetProfileStore(std::make_shared<fw::QtProfileStore>(Settings()));
        ProgramOptions::Instance().Reset();
        AppParts parts = ProgramParts();
        if (ownProgramFolder)
            parts.programFolder = ProgramFolder();
        parts.arguments = std::move(arguments);
        app = std::make_unique<COrvanelApp>(std::move(parts));
        return app->InitInstance();
    }

    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& shown : modal->Messages())
            texts.push_back(shown.text);
        return texts;
    }

    fs::path folder;
    std::shared_ptr<HookedModalServices> modal = std::make_shared<HookedModalServices>();
    std::shared_ptr<win::RecordingShell> shell = std::make_shared<win::RecordingShell>();
    std::unique_ptr<COrvanelApp> app;
};

TEST_F(StartupTest, FirstStartWritesTheVersionStartsTheUpdaterAndShowsTheWindow)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(Stored("Settings/Version"), "245299");
    const win::RecordingShell::Call updater { "open", ProgramFolder() + "Updater", "-quiet", ProgramFolder(),
        win::SW_SHOWNORMAL };
    EXPECT_EQ(shell->Calls(), std::vector { updater });
    EXPECT_EQ(ProgramOptions::Instance().programFolder, ProgramFolder());
    EXPECT_EQ(ProgramOptions::Instance().portraitSamplePath, ProgramFolder() + "PortraitSample.jpg");
    EXPECT_EQ(ProgramOptions::Instance().groupSamplePath, ProgramFolder() + "GroupSample.jpg");
    EXPECT_EQ(GetImageCache().GetConfiguredSize(), 5u);
    EXPECT_EQ(GlobalProductCatalog().GetName(), "Orvanel Portrait Studio")
        << "the shipped catalogue was read";
    ASSERT_NE(app->GetFirstDocument(), nullptr);
    EXPECT_EQ(app->GetFirstDocument()->GetTitle(), "Version V2.453");
    ASSERT_NE(app->GetMainWnd(), nullptr);
    EXPECT_TRUE(app->GetMainWnd()->isVisible());
    EXPECT_EQ(app->GetMainWnd()->windowTitle().toStdString(), "Version V2.453 - Orvanel");
}

// The sample photograph is loaded while the window is being shown: the first frame shows it at the
// screen's scale, cropped to its unit, exactly as a load after start-up draws it.
TEST_F(StartupTest, TheSamplePhotographLoadedDuringStartUpDrawsAsALoadAfterwards)
{
    ASSERT_TRUE(Start());
    auto* frame = dynamic_cast<CMainFrame*>(app->GetMainWnd());
    ASSERT_NE(frame, nullptr);
    COrvanelView* view = frame->GetLayoutView();
    ASSERT_NE(view, nullptr);
    QCoreApplication::processEvents();
    const QImage first = view->grab().toImage();
    first.save(QString::fromStdString((folder / "first-frame.png").string()));

    const std::string path = ProgramOptions::Instance().portraitSamplePath;
    ImageResult result;
    const auto picture = GetImageCache().GetImage(path, result);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetDecodeScale(), COrvanelDoc::kSampleDisplayScale);
    const LayoutUnit* unit = app->GetFirstDocument()->GetLayout().GetRootUnit()->FindByName("PImage");
    ASSERT_NE(unit, nullptr);
    // The photograph stands as it was taken; the drawing turns it into the unit.
    const auto longToShort = [](double a, double b) { return std::max(a, b) / std::min(a, b); };
    EXPECT_NEAR(longToShort(picture->GetSize().x, picture->GetSize().y),
        longToShort(unit->GetWidth(), unit->GetHeight()), 0.01)
        << "cropped to the unit";

    app->GetFirstDocument()->ReloadSampleImage(path, COrvanelDoc::kSampleDisplayScale);
    view->repaint();
    EXPECT_TRUE(view->grab().toImage() == first);
}

TEST_F(StartupTest, UpdaterSetToZeroStartsNothing)
{
    Store("Settings/Updater", 0);
    ASSERT_TRUE(Start());
    EXPECT_TRUE(shell->Calls().empty());
}

struct CatalogCase {
    std::string start; // the first two fields of the catalogue
    std::string message; // empty: accepted
};

void PrintTo(const CatalogCase& c, std::ostream* os)
{
    *os << '"' << c.start << "\" -> \"" << c.message << '"';
}

class CatalogStart : public StartupTest, public ::testing::WithParamInterface<CatalogCase> { };

// A window shown at the time of a message box.
bool AnyWindowShown()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](const QWidget* w) { return w->isVisible(); });
}

TEST_P(CatalogStart, AcceptsOrEndsTheProgramWithItsMessage)
{
    WriteCatalog(GetParam().start);
    if (!GetParam().message.empty())
        modal->AnswerNext(win::IDOK);
    bool windowBehindTheMessage = false;
    modal->whileShown = [&](std::string_view) { windowBehindTheMessage |= AnyWindowShown(); };
    const win::BOOL started = Start();
    EXPECT_FALSE(windowBehindTheMessage) << "the refusal comes before any window is shown";
    EXPECT_EQ(started != win::FALSE, GetParam().message.empty());
    if (!GetParam().message.empty()) {
        EXPECT_EQ(MessageTexts(), std::vector { GetParam().message });
    }
    // The version and the updater come before the catalogue, whatever it holds.
    EXPECT_EQ(Stored("Settings/Version"), "245299");
    EXPECT_EQ(shell->Calls().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Catalogs, CatalogStart,
    ::testing::Values(CatalogCase { "2.453,ProductCatalog", "" },
        CatalogCase {
            "2.4531,ProductCatalog", "Product Catalog file is for a later version of the software" },
        CatalogCase { "2.453,productcatalog", "Products Details file is not a valid product catalog" },
        CatalogCase { "2.453,ProductCatalogs", "Products Details file is not a valid product catalog" }));

TEST_F(StartupTest, MissingCatalogEndsTheProgram)
{
    fs::remove(folder / "program" / "ProductCatalog.csv");
    modal->AnswerNext(win::IDOK);
    bool windowBehindTheMessage = false;
    modal->whileShown = [&](std::string_view) { windowBehindTheMessage |= AnyWindowShown(); };
    EXPECT_FALSE(Start());
    EXPECT_FALSE(windowBehindTheMessage);
    EXPECT_EQ(MessageTexts(), std::vector<std::string> { "Could not open the product details file" });
}

// A layout named on the command line (a studio opening it from its file manager) is opened as
// File Open opens it: its units are the document's and the form's recent list shows its path.
TEST_F(StartupTest, LayoutFileOnTheCommandLineIsOpened)
{
    const std::string path = (folder / "Studio.txt").string();
    std::string saved;
    {
        Layout layout;
        layout.SetLayoutType(1);
        layout.GetRootUnit()->FindByName("GImage")->SetPosition({ 123, 456 });
        layout.GetRootUnit()->FindByName("ExtraTxt2")->SetCaption("Studio Fenwick");
        layout.GetPaper().DiscardMargins();
        saved = LayoutBytes(layout);
    }
    std::ofstream(path, std::ios::binary) << saved;
    ASSERT_TRUE(Start({ path }));
    COrvanelDoc* document = app->GetFirstDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->GetPath(), path);
    EXPECT_EQ(document->GetLayout().GetLayoutType(), 1);
    const LayoutUnit* image = document->GetLayout().GetRootUnit()->FindByName("GImage");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetPosition().x, 123);
    EXPECT_EQ(image->GetPosition().y, 456);
    EXPECT_EQ(document->GetLayout().GetRootUnit()->FindByName("ExtraTxt2")->GetCaption(), "Studio Fenwick");
    EXPECT_EQ(document->GetTitle(), "Version V2.453");
    EXPECT_FALSE(document->IsModified());
    COrvanelForm* form = nullptr;
    for (QWidget* child : app->GetMainWnd()->findChildren<QWidget*>())
        if (form == nullptr)
            form = dynamic_cast<COrvanelForm*>(child);
    ASSERT_NE(form, nullptr);
    ASSERT_FALSE(form->recentPaths.empty());
    EXPECT_EQ(form->recentPaths.front(), path);
    EXPECT_EQ(form->GetDlgItem(1009)->GetWindowText(), path);
    EXPECT_EQ(ProgramOptions::Instance().programFolder, ProgramFolder()) << "not the file's folder";
}

// A file that cannot be read as a layout: the document's message, and start-up ends without a
// window.
TEST_F(StartupTest, UnreadableLayoutOnTheCommandLineEndsStartUp)
{
    const std::string path = (folder / "Notes.txt").string();
    std::ofstream(path) << "not a layout\n";
    modal->AnswerNext(win::IDOK);
    EXPECT_FALSE(Start({ path }));
    EXPECT_EQ(MessageTexts(), std::vector<std::string> { path + " is not a layout file" });
    EXPECT_FALSE(AnyWindowShown());
}

// Toolbar New and Ctrl+N on the real main window: the framework's File New, with the save
// question when the layout was changed, and at once when it was not.
TEST_F(StartupTest, NewButtonAndCtrlNStartANewLayout)
{
    ASSERT_TRUE(Start());
    auto* frame = dynamic_cast<CMainFrame*>(app->GetMainWnd());
    ASSERT_NE(frame, nullptr);
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    COrvanelDoc* document = app->GetFirstDocument();
    QAction* newAction = frame->GetToolBar().GetButtonAction(fw::ID_FILE_NEW);
    ASSERT_NE(newAction, nullptr);
    QWidget* newButton = frame->GetToolBar().widgetForAction(newAction);
    ASSERT_NE(newButton, nullptr);
    const std::string fresh = LayoutBytes(document->GetLayout());

    const std::function<void()> presses[] = {
        [&] { QTest::keyClick(frame, Qt::Key_N, Qt::ControlModifier); },
        [&] { QTest::mouseClick(newButton, Qt::LeftButton); },
    };
    for (const auto& press : presses) {
        // Changed: the save question, then after No the default layout.
        document->GetLayout().GetRootUnit()->FindByName("PImage")->SetPosition({ 77, 88 });
        document->SetModifiedFlag();
        app->OnIdle(0); // the toolbar's and the keys' states
        ASSERT_TRUE(newAction->isEnabled());
        const std::size_t asked = modal->Messages().size();
        modal->AnswerNext(win::IDNO);
        press();
        ASSERT_EQ(modal->Messages().size(), asked + 1);
        EXPECT_EQ(modal->Messages().back().text, "Do you want to save changes to the current layout?");
        EXPECT_EQ(LayoutBytes(app->GetFirstDocument()->GetLayout()), fresh);
        // Unchanged: a new layout at once, without a question.
        document = app->GetFirstDocument();
        document->GetLayout().GetRootUnit()->FindByName("PImage")->SetPosition({ 55, 66 });
        press();
        EXPECT_EQ(modal->Messages().size(), asked + 1);
        EXPECT_EQ(LayoutBytes(app->GetFirstDocument()->GetLayout()), fresh);
    }
}

// Changes the current folder for the test's time.
class CurrentFolder {
public:
    explicit CurrentFolder(const fs::path& folder)
        : previous_(fs::current_path())
    {
        fs::current_path(folder);
    }
    ~CurrentFolder() { fs::current_path(previous_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    fs::path previous_;
};

TEST_F(StartupTest, WithoutAProgramFolderTheExecutablesFolderIsTakenNeverTheCurrentOne)
{
    // Started from the folder that holds a complete set of the shipped files: taking the current
    // folder would find them there.
    const CurrentFolder current(folder / "program");
    const std::string executableFolder = QCoreApplication::applicationDirPath().toStdString() + "/";
    ASSERT_NE(fs::canonical(executableFolder), fs::canonical(fs::current_path()));
    const bool catalogBesideExecutable = fs::exists(executableFolder + "ProductCatalog.csv");
    if (!catalogBesideExecutable)
        modal->AnswerNext(win::IDOK);
    EXPECT_EQ(Start({}, false) != win::FALSE, catalogBesideExecutable);
    EXPECT_EQ(ProgramOptions::Instance().programFolder, executableFolder);
    const win::RecordingShell::Call updater { "open", executableFolder + "Updater", "-quiet",
        executableFolder, win::SW_SHOWNORMAL };
    EXPECT_EQ(shell->Calls(), std::vector { updater });
    const std::vector<std::string> refused { "Could not open the product details file" };
    EXPECT_EQ(MessageTexts(), catalogBesideExecutable ? std::vector<std::string> {} : refused);
}

TEST_F(StartupTest, AboutCommandShowsTheAboutBox)
{
    ASSERT_TRUE(Start());
    qttest::ScriptDialog<CAboutDlg>(*modal, CAboutDlg::IDD, [](CAboutDlg& d) {
        EXPECT_EQ(d.GetCaption(), "About Orvanel");
        qttest::Click(d, win::IDOK);
    });
    EXPECT_TRUE(app->GetMainWnd()->SendCommand(fw::ID_APP_ABOUT));
    EXPECT_EQ(modal->Dialogs(), std::vector<win::UINT> { CAboutDlg::IDD });
    EXPECT_TRUE(modal->Messages().empty()) << "a dialog of its own, not a message box";
}

} // namespace

TEST_F(StartupTest, ChosenPackTemplateWritesThePackCountsIntoTheLayout)
{
    QSettings(QString::fromStdString(Settings()), QSettings::IniFormat)
        .setValue("Settings/PackDetails", QString::fromStdString(ProgramFolder() + "Packs.csv"));
    ASSERT_TRUE(Start());
    COrvanelDoc* document = app->GetFirstDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_GT(document->GetPacks().GetPackCount(), 0u);
    EXPECT_NE(LayoutBytes(document->GetLayout()), LayoutBytes(Layout()))
        << "the pack counts are in the layout";
    EXPECT_TRUE(app->GetMainWnd()->isVisible());
}

// A later start finds the sample paths in the settings: the portrait sample is decoded once,
// for the first drawing, not also for a document that New empties again.
TEST_F(StartupTest, StoredSamplePathIsDecodedOnceForTheFirstDrawing)
{
    QSettings(QString::fromStdString(Settings()), QSettings::IniFormat)
        .setValue(
            "Settings/PortraitSamplePath", QString::fromStdString(ProgramFolder() + "PortraitSample.jpg"));
    int decodes = 0;
    GetImageCache().SetOutOfMemorySeam([&decodes](CacheStep step) {
        decodes += step == CacheStep::Decode ? 1 : 0;
        return false;
    });
    ASSERT_TRUE(Start());
    app->GetMainWnd()->resize(1000, 700);
    const QImage window = app->GetMainWnd()->grab().toImage();
    EXPECT_FALSE(window.isNull());
    EXPECT_TRUE(GetImageCache().Contains(ProgramFolder() + "PortraitSample.jpg")) << "the drawing loaded it";
    EXPECT_EQ(decodes, 1);
}

TEST_F(StartupTest, CtrlPBeforeAnyFormPrintPrintsTheLayout)
{
    ASSERT_TRUE(Start());
    app->GetMainWnd()->resize(1000, 700);
    EXPECT_TRUE(
        app->GetMainWnd()->grab().save(QString::fromStdString((folder / "main-window.png").string())));
    COrvanelView* view = nullptr;
    for (QWidget* child : app->GetMainWnd()->findChildren<QWidget*>())
        if (view == nullptr)
            view = dynamic_cast<COrvanelView*>(child);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetPrintMode(), kPrintLayout);
    const fs::path pdf = folder / "ctrl-p.pdf";
    modal->AnswerNextPrint(win::IDOK, pdf.string());
    view->OnFilePrint();
    const std::string command = "pdftotext '" + pdf.string() + "' -";
    FILE* text = popen(command.c_str(), "r");
    ASSERT_NE(text, nullptr);
    std::string words;
    for (int c = fgetc(text); c != EOF; c = fgetc(text))
        words.push_back(static_cast<char>(c));
    pclose(text);
    EXPECT_NE(words.find("1234"), std::string::npos)
        << "the layout's reference boxes, not the margin test: " << words;
    EXPECT_EQ(words.find("LEFT"), std::string::npos);
}
