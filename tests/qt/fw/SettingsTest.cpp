#include "platform/qt/QtProfileStore.h"
#include "qt/fw/FrameworkFixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace fwtest {
namespace {

// Sets an environment variable for the scope and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value)
        : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class Settings : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        folder = Folder();
    }
    static std::string Read(const std::filesystem::path& file)
    {
        std::ifstream in(file);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::filesystem::path folder;
};

TEST_F(Settings, ProfileValuesGoToTheIniFileThatOrvanelSettingsNames)
{
    const std::filesystem::path file = folder / "sub" / "Orvanel.conf";
    {
        ScopedEnv env("ORVANEL_SETTINGS", file.string());
        app->SetRegistryKey("Wendmoor");
    }
    EXPECT_EQ(app->m_pszRegistryKey, "Wendmoor");
    EXPECT_TRUE(app->WriteProfileInt("Settings", "Version", 245299));
    EXPECT_TRUE(app->WriteProfileInt("Settings", "PaperMarginLeft", -50));
    EXPECT_TRUE(app->WriteProfileString("Settings", "OrvanelFile", "/home/studio/Caf\xE9 layouts, 2024.txt"));
    EXPECT_TRUE(app->WriteProfileString("Recent File List", "File1", "/home/studio/a.txt"));

    // Read back by a store of its own on the same file, as the next start would.
    fw::QtProfileStore reread(file.string());
    struct Case {
        const char* section;
        const char* entry;
        int number; // expected integer (default 7)
        std::string text; // expected text (default "none")
    };
    const Case cases[] = {
        { "Settings", "Version", 245299, "245299" },
        { "Settings", "PaperMarginLeft", -50, "-50" },
        { "Settings", "OrvanelFile", 7, "/home/studio/Caf\xE9 layouts, 2024.txt" },
        { "Recent File List", "File1", 7, "/home/studio/a.txt" },
        { "Settings", "Missing", 7, "none" },
        { "Other", "Version", 7, "none" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(reread.GetProfileInt(c.section, c.entry, 7), c.number) << c.entry;
        EXPECT_EQ(reread.GetProfileString(c.section, c.entry, "none"), c.text) << c.entry;
        EXPECT_EQ(app->GetProfileString(c.section, c.entry, "none"), c.text) << c.entry;
    }

    // The program closing writes what it kept to the file.
    EXPECT_EQ(app->ExitInstance(), 0);
    const std::string ini = Read(file);
    EXPECT_NE(ini.find("[Settings]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Version=245299"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Caf\xC3\xA9"), std::string::npos) << "stored as UTF-8: " << ini;
}

TEST_F(Settings, EveryValueReachesTheFileWhenTheStoreCloses)
{
    const std::filesystem::path file = folder / "closed.conf";
    {
        fw::QtProfileStore store(file.string());
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(store.WriteProfileInt("Settings", "Value" + std::to_string(i), i));
    }
    const std::string ini = Read(file);
    for (const char* line : { "Value0=0", "Value1=1", "Value2=2" })
        EXPECT_NE(ini.find(line), std::string::npos) << ini;
}

TEST_F(Settings, WithoutOrvanelSettingsTheFileLiesInTheUsersConfigFolder)
{
    ScopedEnv config("XDG_CONFIG_HOME", folder.string());
    unsetenv("ORVANEL_SETTINGS");
    EXPECT_EQ(fw::QtProfileStore::DefaultPath("Wendmoor", "Orvanel"),
        (folder / "Wendmoor" / "Orvanel.conf").string());
    app->SetRegistryKey("Wendmoor");
    app->WriteProfileInt("Settings", "Updater", 0);
    EXPECT_TRUE(std::filesystem::exists(folder / "Wendmoor" / "Orvanel.conf"));
}

TEST_F(Settings, ASettingsFileThatCannotBeWrittenFailsTheWriteAndReadsDefaults)
{
    std::filesystem::create_directories(folder);
    const std::filesystem::path regular = folder / "regular";
    std::ofstream(regular) << "x";
    {
        ScopedEnv env("ORVANEL_SETTINGS", (regular / "Orvanel.conf").string());
        app->SetRegistryKey("Wendmoor");
    }
    EXPECT_FALSE(app->WriteProfileInt("Settings", "Version", 245299));
    EXPECT_FALSE(app->WriteProfileString("Settings", "OrvanelFile", "/home/studio/a.txt"));
    EXPECT_EQ(app->GetProfileInt("Settings", "Updater", 1), 1);
}

TEST_F(Settings, AFileThatCanNoLongerBeWrittenAtExitIsSaidAndEndsWithCode1)
{
    const std::filesystem::path settingsFolder = folder / "gone";
    const std::filesystem::path file = settingsFolder / "Orvanel.conf";
    {
        ScopedEnv env("ORVANEL_SETTINGS", file.string());
        app->SetRegistryKey("Wendmoor");
    }
    ASSERT_TRUE(app->WriteProfileInt("Settings", "Version", 245299));
    // The folder turns into a plain file while the program runs: nothing can be written there now.
    std::filesystem::remove_all(settingsFolder);
    std::ofstream(settingsFolder) << "x";
    EXPECT_TRUE(app->WriteProfileInt("Settings", "Updater", 0)) << "kept until exit";

    modal->AnswerNext(win::IDOK);
    EXPECT_EQ(app->ExitInstance(), 1);
    ASSERT_EQ(modal->Messages().size(), 1u);
    EXPECT_EQ(modal->Messages()[0].text, "The settings could not be saved to " + file.string() + ".");
}

TEST_F(Settings, AValueThatIsNotANumberReadsAsTheDefault)
{
    const std::filesystem::path file = folder / "hand-edited.conf";
    std::filesystem::create_directories(folder);
    std::ofstream(file) << "[Settings]\nUpdater=yes\nPaperMarginTop=12mm\nExtraText1=a,b\n";
    fw::QtProfileStore store(file.string());
    EXPECT_EQ(store.GetProfileInt("Settings", "Updater", 1), 1);
    EXPECT_EQ(store.GetProfileInt("Settings", "PaperMarginTop", 0), 12);
    EXPECT_EQ(store.GetProfileString("Settings", "ExtraText1", ""), "a,b");
}

TEST_F(Settings, TheRecentFileListKeepsFourPathsNewestFirst)
{
    auto& store = static_cast<win::MemoryProfileStore&>(win::AppContext::Instance().Profile());
    store.WriteProfileString("Recent File List", "File1", "/s/old1.txt");
    store.WriteProfileString("Recent File List", "File2", "/s/old2.txt");
    app->LoadStdProfileSettings(4);
    EXPECT_EQ(
        app->GetRecentFileList().Entries(), (std::vector<std::string> { "/s/old1.txt", "/s/old2.txt" }));

    for (const char* path : { "/s/a.txt", "/s/b.txt", "/s/old2.txt", "/s/c.txt" })
        app->AddToRecentFileList(path);
    app->ExitInstance();
    struct Case {
        const char* entry;
        const char* path;
    };
    for (const Case c : { Case { "File1", "/s/c.txt" }, Case { "File2", "/s/old2.txt" },
             Case { "File3", "/s/b.txt" }, Case { "File4", "/s/a.txt" } })
        EXPECT_EQ(store.GetProfileString("Recent File List", c.entry, "?"), c.path) << c.entry;
    EXPECT_FALSE(store.Contains("Recent File List", "File5"));
    EXPECT_FALSE(store.Contains("Settings", "PreviewPages"));
}

} // namespace
} // namespace fwtest
