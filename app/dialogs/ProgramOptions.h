// The user's program settings, one set for the process: the program folder found at start-up,
// the two sample photographs the image units show, the pack template, eight sample texts for the
// extra text units, the sixteen custom colours of the colour dialog and an image viewer program.
// Read from the "Settings" section on first use; written back as a whole by Save, which the
// application calls from its ExitInstance while the settings store is still there (nothing
// writes settings from a static destructor). Changes made in between stay in memory.
#pragma once

#include "platform/win/Types.h"

#include <array>
#include <string>

class ProgramOptions {
public:
    static constexpr int kCustomColourCount = 16;
    static constexpr int kExtraTextCount = 8;
    static constexpr win::COLORREF kDefaultCustomColour = 16777215; // white

    // The one instance, read from the settings on the first call.
    static ProgramOptions& Instance();

    // A set read from the settings now (tests compare a fresh set with the one written).
    ProgramOptions();

    // Start-up only: the program folder (ending with '/'); sample paths still empty become the
    // folder followed by "PortraitSample.jpg" and "GroupSample.jpg".
    void SetProgramFolder(const std::string& folder);

    // Writes every value to the settings, in the order and with the names they are read by.
    void Save() const;
    // Back to the values the settings hold now, the program folder empty: for tests.
    void Reset();

    std::string programFolder;
    std::array<win::COLORREF, kCustomColourCount> customColours {};
    std::string imageViewer;
    std::string portraitSamplePath;
    std::string groupSamplePath;
    std::string packDetailsPath;
    std::array<std::string, kExtraTextCount> extraText;
};
