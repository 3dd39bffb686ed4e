#include "app/dialogs/ProgramOptions.h"

#include "app/dialogs/ProfileValues.h"
#include "records/SharedFunctions.h"

#include <cstdint>

namespace {

constexpr const char* kSection = "Settings";

// The text values, in the order they are read and written.
struct TextOption {
    const char* entry;
    std::string ProgramOptions::*member;
};
constexpr std::array<TextOption, 4> kTextOptions { {
    { "ImageViewer", &ProgramOptions::imageViewer },
    { "PortraitSamplePath", &ProgramOptions::portraitSamplePath },
    { "GroupSamplePath", &ProgramOptions::groupSamplePath },
    { "PackDetails", &ProgramOptions::packDetailsPath },
} };

std::string ExtraTextEntry(int index)
{
    return "ExtraText" + std::to_string(index + 1);
}
std::string CustomColourEntry(int index)
{
    return "CustomColour" + FormatZeroPadded(index, 2);
}

} // namespace

ProgramOptions& ProgramOptions::Instance()
{
    static ProgramOptions options;
    return options;
}

ProgramOptions::ProgramOptions()
{
    auto& app = GetTheApp();
    for (const auto& option : kTextOptions)
        this->*option.member = app.GetProfileString(kSection, option.entry, "");
    for (int i = 0; i < kExtraTextCount; ++i)
        extraText[i]
            = app.GetProfileString(kSection, ExtraTextEntry(i), "Extra Text " + std::to_string(i + 1));
    // Colours are stored as the integers the settings hold; white's 16777215 fits either way.
    for (int i = 0; i < kCustomColourCount; ++i)
        customColours[i] = static_cast<win::COLORREF>(
            app.GetProfileInt(kSection, CustomColourEntry(i), static_cast<int>(kDefaultCustomColour)));
}

void ProgramOptions::SetProgramFolder(const std::string& folder)
{
    programFolder = folder;
    if (portraitSamplePath.empty())
        portraitSamplePath = folder + "PortraitSample.jpg";
    if (groupSamplePath.empty())
        groupSamplePath = folder + "GroupSample.jpg";
}

void ProgramOptions::Save() const
{
    auto& app = GetTheApp();
    for (const auto& option : kTextOptions)
        app.WriteProfileString(kSection, option.entry, this->*option.member);
    for (int i = 0; i < kExtraTextCount; ++i)
        app.WriteProfileString(kSection, ExtraTextEntry(i), extraText[i]);
    for (int i = 0; i < kCustomColourCount; ++i)
        app.WriteProfileInt(kSection, CustomColourEntry(i), static_cast<int32_t>(customColours[i]));
}

void ProgramOptions::Reset()
{
    *this = ProgramOptions();
}
