#include "app/dialogs/ProgramOptions.h"
#include "app/dialogs/DialogsFixture.h"
#include "records/SharedFunctions.h"

namespace dialogstest {
namespace {

using ProgramOptionsTest = DialogsTest;

TEST_F(ProgramOptionsTest, AnEmptyStoreGivesTheDefaults)
{
    const ProgramOptions options;
    EXPECT_EQ(options.programFolder, "");
    EXPECT_EQ(options.imageViewer, "");
    EXPECT_EQ(options.portraitSamplePath, "");
    EXPECT_EQ(options.groupSamplePath, "");
    EXPECT_EQ(options.packDetailsPath, "");
    for (int i = 0; i < ProgramOptions::kExtraTextCount; ++i)
        EXPECT_EQ(options.extraText[i], "Extra Text " + std::to_string(i + 1));
    for (const win::COLORREF colour : options.customColours)
        EXPECT_EQ(colour, 16777215u);
}

TEST_F(ProgramOptionsTest, TheProgramFolderFillsOnlyEmptySamplePathsAndLeavesThePackTemplateEmpty)
{
    ProgramOptions options;
    options.SetProgramFolder("/opt/orvanel/bin/");
    EXPECT_EQ(options.programFolder, "/opt/orvanel/bin/");
    EXPECT_EQ(options.portraitSamplePath, "/opt/orvanel/bin/PortraitSample.jpg");
    EXPECT_EQ(options.groupSamplePath, "/opt/orvanel/bin/GroupSample.jpg");
    EXPECT_EQ(options.packDetailsPath, "");

    // A later start finds the stored paths and keeps them even when the program has moved.
    options.Save();
    ProgramOptions later;
    later.SetProgramFolder("/usr/lib/orvanel/");
    EXPECT_EQ(later.portraitSamplePath, "/opt/orvanel/bin/PortraitSample.jpg");
    EXPECT_EQ(later.groupSamplePath, "/opt/orvanel/bin/GroupSample.jpg");
    EXPECT_FALSE(IsStored("Settings", "ProgramFolder"));
}

TEST_F(ProgramOptionsTest, EveryValueIsWrittenAtExitAndReadBackByAFreshSet)
{
    ProgramOptions& options = ProgramOptions::Instance();
    options.imageViewer = "/usr/bin/eog";
    options.portraitSamplePath = "/photos/Portrait Sample.jpg";
    options.groupSamplePath = "/photos/group.jpg";
    options.packDetailsPath = "/packs/Packs.csv";
    for (int i = 0; i < ProgramOptions::kExtraTextCount; ++i)
        options.extraText[i] = "Line " + std::to_string(i * 11);
    for (int i = 0; i < ProgramOptions::kCustomColourCount; ++i)
        options.customColours[i]
            = win::RGB(static_cast<win::BYTE>(i * 16), 0x80, static_cast<win::BYTE>(255 - i));
    options.customColours[15] = 0; // black, unlike the default

    // Nothing reaches the settings until the options are saved.
    EXPECT_FALSE(IsStored("Settings", "ImageViewer"));
    options.Save();

    EXPECT_EQ(Stored("Settings", "PackDetails"), "/packs/Packs.csv");
    EXPECT_EQ(Stored("Settings", "ExtraText1"), "Line 0");
    EXPECT_EQ(Stored("Settings", "ExtraText8"), "Line 77");
    EXPECT_EQ(Stored("Settings", "CustomColour00"), std::to_string(win::RGB(0, 0x80, 255)));
    EXPECT_EQ(Stored("Settings", "CustomColour15"), "0");

    const ProgramOptions fresh;
    EXPECT_EQ(fresh.imageViewer, options.imageViewer);
    EXPECT_EQ(fresh.portraitSamplePath, options.portraitSamplePath);
    EXPECT_EQ(fresh.groupSamplePath, options.groupSamplePath);
    EXPECT_EQ(fresh.packDetailsPath, options.packDetailsPath);
    EXPECT_EQ(fresh.extraText, options.extraText);
    EXPECT_EQ(fresh.customColours, options.customColours);
}

TEST_F(ProgramOptionsTest, ResetForgetsWhatWasNotSaved)
{
    ProgramOptions& options = ProgramOptions::Instance();
    EXPECT_EQ(&options, &ProgramOptions::Instance());
    options.SetProgramFolder("/a/");
    options.extraText[2] = "changed";
    options.Reset();
    EXPECT_EQ(options.programFolder, "");
    EXPECT_EQ(options.portraitSamplePath, "");
    EXPECT_EQ(options.extraText[2], "Extra Text 3");
}

} // namespace
} // namespace dialogstest
