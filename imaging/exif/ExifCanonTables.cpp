// Tag tables of Canon's maker note: the directory itself, its two settings arrays (rows indexed by
// position in the array) and its custom functions (rows indexed by function number).
#include "imaging/exif/ExifFormatters.h"
#include "imaging/exif/ExifTagInfo.h"

namespace {

constexpr ExifTagInfo canonTable[] = {
    { 0x0001, "CnSet1", {}, nullptr, "Canon Camera Settings 1" },
    { 0x0004, "CnSet2", {}, nullptr, "Canon Camera Settings 2" },
    { 0x0006, "ImageType", {}, nullptr, "Canon Image Type" },
    { 0x0007, "Software", {}, nullptr, "Canon Firmware Version" },
    { 0x0008, "ImageNo", {}, ExifFormatImageNumber, "Canon Image Number" },
    { 0x0009, "Owner", {}, nullptr, "Canon Owner Name" },
    { 0x000C, "SerialNo", {}, ExifFormatSerialNumber, "Canon Serial Number" },
    { 0x000F, "CustomFnc", {}, nullptr, "Canon Custom Functions" },
};

// Negative settings of these 16-bit fields appear as their unsigned value.
constexpr ExifValueName lowNormalHigh[] = { { 65535, "Low" }, { 0, "Normal" }, { 1, "High" } };
constexpr ExifValueName macro[] = { { 1, "Macro" }, { 2, "Normal" } };
constexpr ExifValueName quality[] = { { 2, "Normal" }, { 3, "Fine" }, { 4, "RAW" }, { 5, "Superfine" } };
constexpr ExifValueName flash[] = {
    { 0, "Off" },
    { 1, "Auto" },
    { 2, "On" },
    { 3, "Red-eye" },
    { 4, "Slow sync" },
    { 5, "Auto + red-eye" },
    { 6, "On + red-eye" },
    { 16, "External" },
};
constexpr ExifValueName drive[] = { { 0, "Single" }, { 1, "Continuous" } };
constexpr ExifValueName focus[] = {
    { 0, "One-shot" },
    { 1, "AI Servo" },
    { 2, "AI Focus" },
    { 3, "Manual" },
    { 4, "Single" },
    { 5, "Continuous" },
    { 6, "Manual" },
};
constexpr ExifValueName imageSize[] = { { 0, "Large" }, { 1, "Medium" }, { 2, "Small" } };
constexpr ExifValueName shootingMode[] = {
    { 0, "Full auto" },
    { 1, "Manual" },
    { 2, "Landscape" },
    { 3, "Fast shutter" },
    { 4, "Slow shutter" },
    { 5, "Night" },
    { 6, "B&W" },
    { 7, "Sepia" },
    { 8, "Portrait" },
    { 9, "Sports" },
    { 10, "Macro" },
    { 11, "Pan focus" },
};
constexpr ExifValueName digitalZoom[] = { { 0, "None" }, { 1, "2x" }, { 2, "4x" } };
constexpr ExifValueName iso[]
    = { { 0, "Not used" }, { 15, "Auto" }, { 16, "50" }, { 17, "100" }, { 18, "200" }, { 19, "400" } };
constexpr ExifValueName metering[] = { { 3, "Evaluative" }, { 4, "Partial" }, { 5, "Center weighted" } };
constexpr ExifValueName focusType[] = { { 0, "Manual" }, { 1, "Auto" }, { 3, "Close-up" }, { 8, "Locked" } };
constexpr ExifValueName afPoint[] = {
    { 0x3000, "None (MF)" },
    { 0x3001, "Auto" },
    { 0x3002, "Right" },
    { 0x3003, "Centre" },
    { 0x3004, "Left" },
};
constexpr ExifValueName exposureMode[] = {
    { 0, "Easy shooting" },
    { 1, "Program" },
    { 2, "Tv priority" },
    { 3, "Av priority" },
    { 4, "Manual" },
    { 5, "A-DEP" },
};
constexpr ExifValueName lensType[] = { { 1, "EF 50mm f/1.8" }, { 2, "EF 28mm f/2.8" }, { 6, "EF 28-70mm" } };
constexpr ExifValueName focusContinuous[] = { { 0, "Single" }, { 1, "Continuous" } };
constexpr ExifValueName colorTone[] = { { 0, "Normal" } };

constexpr ExifTagInfo settings1Table[] = {
    { 0x0001, "Macro", macro, nullptr, "Canon Macro Mode" },
    { 0x0002, "SelfTimer", {}, nullptr, "Canon Self Timer" },
    { 0x0003, "Quality", quality, nullptr, "Canon Quality" },
    { 0x0004, "Flash", flash, nullptr, "Canon Flash Mode" },
    { 0x0005, "Drive", drive, nullptr, "Canon Drive Mode" },
    { 0x0007, "Focus", focus, nullptr, "Canon Focus Mode" },
    { 0x000A, "ImgSize", imageSize, nullptr, "Canon Image Size" },
    { 0x000B, "Shoot", shootingMode, nullptr, "Canon Shooting Mode" },
    { 0x000C, "DigZoom", digitalZoom, nullptr, "Canon Digital Zoom" },
    { 0x000D, "Contrast", lowNormalHigh, nullptr, "Canon Contrast Setting" },
    { 0x000E, "Saturation", lowNormalHigh, nullptr, "Canon Saturation Setting" },
    { 0x000F, "Sharpness", lowNormalHigh, nullptr, "Canon Sharpness Setting" },
    { 0x0010, "ISO", iso, nullptr, "Canon ISO Setting" },
    { 0x0011, "Metering", metering, nullptr, "Canon Metering Mode" },
    { 0x0012, "FocusType", focusType, nullptr, "Canon Focus Type" },
    { 0x0013, "AFPoint", afPoint, nullptr, "Canon AF Point Selected" },
    { 0x0014, "ExpMode", exposureMode, nullptr, "Canon Exposure Mode" },
    { 0x0016, "LensType", lensType, nullptr, "Canon Lens Type" },
    { 0x0017, "LongFocal", {}, nullptr, "Canon Long Focal Length" },
    { 0x0018, "ShortFocal", {}, nullptr, "Canon Short Focal Length" },
    { 0x0019, "FocalUnits", {}, nullptr, "Canon Focal Units per mm" },
    { 0x001C, "FlashAct", {}, nullptr, "Canon Flash Activity" },
    { 0x001D, "FlashDet", {}, ExifFormatFlashDetails, "Canon Flash Details" },
    { 0x0020, "Focus2", focusContinuous, nullptr, "Canon Focus Continuous" },
    { 0x0024, "ZoomRes", {}, nullptr, "Canon Zoom Source Width" },
    { 0x0025, "ZoomResBs", {}, nullptr, "Canon Zoom Target Width" },
    { 0x002A, "ColorTone", colorTone, nullptr, "Canon Colour Tone" },
};

constexpr ExifValueName whiteBalance[] = {
    { 0, "Auto" },
    { 1, "Daylight" },
    { 2, "Cloudy" },
    { 3, "Tungsten" },
    { 4, "Fluorescent" },
    { 5, "Flash" },
    { 6, "Custom" },
};
constexpr ExifValueName afPointUsed[] = { { 0, "None" }, { 1, "Right" }, { 2, "Centre" }, { 4, "Left" } };
constexpr ExifValueName flashBias[] = {
    { 65472, "-2 EV" },
    { 65484, "-1.67 EV" },
    { 65488, "-1.5 EV" },
    { 65492, "-1.33 EV" },
    { 65504, "-1 EV" },
    { 65516, "-0.67 EV" },
    { 65520, "-0.5 EV" },
    { 65524, "-0.33 EV" },
    { 0, "0 EV" },
    { 12, "0.33 EV" },
    { 16, "0.5 EV" },
    { 20, "0.67 EV" },
    { 32, "1 EV" },
    { 44, "1.33 EV" },
    { 48, "1.5 EV" },
    { 52, "1.67 EV" },
    { 64, "2 EV" },
};
constexpr ExifValueName autoRotate[]
    = { { 0, "None" }, { 1, "Rotate 90 CW" }, { 2, "Rotate 180" }, { 3, "Rotate 270 CW" } };

constexpr ExifTagInfo settings2Table[] = {
    { 0x0002, "ISO", {}, nullptr, "Canon ISO Speed Used" },
    { 0x0006, "ExpComp", {}, nullptr, "Canon Exposure Compensation" },
    { 0x0007, "WhiteBal", whiteBalance, nullptr, "Canon White Balance" },
    { 0x0009, "SeqNo", {}, nullptr, "Canon Sequence Number" },
    { 0x000E, "IxAFPoint", afPointUsed, nullptr, "Canon AF Point Used" },
    { 0x000F, "FlashBias", flashBias, nullptr, "Canon Flash Bias" },
    { 0x0011, "AEBBrkt", {}, nullptr, "Canon Exposure Bracket Value" },
    { 0x0013, "SubDistUp", {}, nullptr, "Canon Subject Distance Upper" },
    { 0x0014, "SubDistLo", {}, nullptr, "Canon Subject Distance Lower" },
    { 0x0015, "FNumber", {}, nullptr, "Canon F-Number" },
    { 0x0016, "ExpTime", {}, nullptr, "Canon Exposure Time" },
    { 0x0018, "BulbDur", {}, nullptr, "Canon Bulb Duration" },
    // Index 26 holds the camera type; cameras record the rotation at 27 and the second self-timer at 29.
    { 0x001B, "AutoRotate", autoRotate, nullptr, "Canon Auto Rotate" },
    { 0x001D, "SelfTime2", {}, nullptr, "Canon Self Timer 2" },
};

constexpr ExifValueName offOn[] = { { 0, "Off" }, { 1, "On" } };
constexpr ExifValueName disableEnable[] = { { 0, "Disable" }, { 1, "Enable" } };
constexpr ExifValueName enableDisable[] = { { 0, "Enable" }, { 1, "Disable" } };
constexpr ExifValueName lockButtons[] = {
    { 0, "AF/AE lock" },
    { 1, "AE lock/AF" },
    { 2, "AF/AF lock" },
    { 3, "AE+release/AE+AF" },
};
constexpr ExifValueName exposureSteps[] = { { 0, "1/2 stop" }, { 1, "1/3 stop" } };
constexpr ExifValueName afAssist[] = { { 0, "On (Auto)" }, { 1, "Off" } };
constexpr ExifValueName avShutter[] = { { 0, "Automatic" }, { 1, "1/200 (fixed)" } };
constexpr ExifValueName bracketSequence[] = {
    { 0, "0,-,+ auto cancel" },
    { 1, "0,-,+ no cancel" },
    { 2, "-,0,+ auto cancel" },
    { 3, "-,0,+ no cancel" },
};
constexpr ExifValueName shutterSync[] = { { 0, "1st-curtain sync" }, { 1, "2nd-curtain sync" } };
constexpr ExifValueName afStop[]
    = { { 0, "AF stop" }, { 1, "Operate AF" }, { 2, "Lock AE and start timer" } };
constexpr ExifValueName menuButton[] = { { 0, "Top" }, { 1, "Previous (volatile)" }, { 2, "Previous" } };
constexpr ExifValueName setButton[] = {
    { 0, "Not assigned" },
    { 1, "Change quality" },
    { 2, "Change ISO speed" },
    { 3, "Select parameters" },
};
constexpr ExifValueName onOff[] = { { 0, "On" }, { 1, "Off" } };

constexpr ExifTagInfo customFunctionTable[] = {
    { 0x0001, "NoiseRed", offOn, nullptr, "Canon Long Exposure Noise Reduction" },
    { 0x0002, "Lock", lockButtons, nullptr, "Canon Shutter/AE Lock Buttons" },
    { 0x0003, "MirrorLock", disableEnable, nullptr, "Canon Mirror Lockup" },
    { 0x0004, "TVAVexp", exposureSteps, nullptr, "Canon Tv/Av and Exposure Level" },
    { 0x0005, "AFassist", afAssist, nullptr, "Canon AF Assist Light" },
    { 0x0006, "ShuttAv", avShutter, nullptr, "Canon Shutter Speed in Av Mode" },
    { 0x0007, "AEBSeq", bracketSequence, nullptr, "Canon AEB Sequence" },
    { 0x0008, "ShuttSync", shutterSync, nullptr, "Canon Shutter Curtain Sync" },
    { 0x0009, "AFStop", afStop, nullptr, "Canon Lens AF Stop Button" },
    { 0x000A, "FillReduce", enableDisable, nullptr, "Canon Fill Flash Auto Reduction" },
    { 0x000B, "MenuButt", menuButton, nullptr, "Canon Menu Button Return Position" },
    { 0x000C, "SetButt", setButton, nullptr, "Canon Set Button Function" },
    { 0x000D, "SensClean", disableEnable, nullptr, "Canon Sensor Cleaning" },
    { 0x000E, "SuperDisp", onOff, nullptr, "Canon Superimposed Display" },
    { 0x000F, "ShutRel", enableDisable, nullptr, "Canon Shutter Release without Card" },
};

} // namespace

namespace ExifTables {
const ExifTagTable Canon = canonTable;
const ExifTagTable CnSet1 = settings1Table;
const ExifTagTable CnSet2 = settings2Table;
const ExifTagTable CanonCFn = customFunctionTable;
} // namespace ExifTables
