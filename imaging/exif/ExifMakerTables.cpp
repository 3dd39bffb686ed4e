// Tag tables of the maker notes of Nikon (two layouts), Olympus, Fuji and Casio.
#include "imaging/exif/ExifFormatters.h"
#include "imaging/exif/ExifTagInfo.h"

namespace {

constexpr ExifValueName unitTimes[] = { { ExifUnitList, "x" } };
constexpr ExifValueName unitMetres[] = { { ExifUnitList, "m" } };
constexpr ExifValueName unitMillimetres[] = { { ExifUnitList, "mm" } };
constexpr ExifValueName offOn[] = { { 0, "Off" }, { 1, "On" } };
constexpr ExifValueName noYes[] = { { 0, "No" }, { 1, "Yes" } };

constexpr ExifValueName nikonQuality[] = {
    { 1, "VGA Basic" },
    { 2, "VGA Normal" },
    { 3, "VGA Fine" },
    { 4, "SXGA Basic" },
    { 5, "SXGA Normal" },
    { 6, "SXGA Fine" },
};
constexpr ExifValueName nikonColor[] = { { 1, "Color" }, { 2, "Monochrome" } };
constexpr ExifValueName nikonAdjust[] = {
    { 0, "Normal" },
    { 1, "Bright+" },
    { 2, "Bright-" },
    { 3, "Contrast+" },
    { 4, "Contrast-" },
};
constexpr ExifValueName nikonSensitivity[]
    = { { 0, "ISO80" }, { 2, "ISO160" }, { 4, "ISO320" }, { 5, "ISO100" } };
constexpr ExifValueName nikonWhiteBalance[] = {
    { 0, "Auto" },
    { 1, "Preset" },
    { 2, "Daylight" },
    { 3, "Incandescent" },
    { 4, "Fluorescent" },
    { 5, "Cloudy" },
    { 6, "Speedlight" },
};
constexpr ExifValueName nikonConverter[] = { { 0, "None" }, { 1, "Fisheye" } };

constexpr ExifTagInfo nikonTable[] = {
    { 0x0002, "Unknown0002", {}, nullptr, "Nikon Unknown 0002" },
    { 0x0003, "Quality", nikonQuality, nullptr, "Nikon Quality" },
    { 0x0004, "Color", nikonColor, nullptr, "Nikon Color Mode" },
    { 0x0005, "ImgAdjust", nikonAdjust, nullptr, "Nikon Image Adjustment" },
    { 0x0006, "CCDSens", nikonSensitivity, nullptr, "Nikon CCD Sensitivity" },
    { 0x0007, "WhiteBal", nikonWhiteBalance, nullptr, "Nikon White Balance" },
    { 0x0008, "Focus", {}, ExifFormatDecimal, "Nikon Focus" },
    { 0x0009, "Unknown0009", {}, nullptr, "Nikon Unknown 0009" },
    { 0x000A, "DigZoom", unitTimes, ExifFormatDecimal, "Nikon Digital Zoom" },
    { 0x000B, "Converter", nikonConverter, nullptr, "Nikon Lens Converter" },
    { 0x0F00, "Unknown0F00", {}, nullptr, "Nikon Unknown 0F00" },
};

constexpr ExifValueName nikonLensType[] = {
    { 0, "AF" },
    { 1, "MF" },
    { 2, "AF D" },
    { 3, "MF D" },
    { 6, "AF G" },
    { 14, "AF G VR" },
};
constexpr ExifValueName nikonFlashUsed[] = {
    { 0, "Not used" },
    { 1, "Fired, manual" },
    { 3, "Not ready" },
    { 7, "Fired, external" },
    { 8, "Fired, commander mode" },
    { 9, "Fired, TTL mode" },
};
constexpr ExifValueName nikonAfPosition[] = {
    { 0, "Center" },
    { 1, "Top" },
    { 2, "Bottom" },
    { 3, "Left" },
    { 4, "Right" },
};

constexpr ExifTagInfo nikon2Table[] = {
    { 0x0001, "Firmware", {}, nullptr, "Nikon Firmware Version" },
    { 0x0002, "ISO", {}, nullptr, "Nikon ISO Setting" },
    { 0x0003, "Color", {}, nullptr, "Nikon Color Mode" },
    { 0x0004, "Quality", {}, nullptr, "Nikon Quality" },
    { 0x0005, "WhiteBal", {}, nullptr, "Nikon White Balance" },
    { 0x0006, "Sharp", {}, nullptr, "Nikon Sharpening" },
    { 0x0007, "Focus", {}, nullptr, "Nikon Focus Mode" },
    { 0x0008, "Flash", {}, nullptr, "Nikon Flash Setting" },
    { 0x0009, "FlashMode", {}, nullptr, "Nikon Flash Mode" },
    { 0x000B, "WBFine", {}, nullptr, "Nikon White Balance Fine Tune" },
    { 0x000C, "ColorBal", {}, nullptr, "Nikon Colour Balance" },
    { 0x000F, "ISOSel", {}, nullptr, "Nikon ISO Selection" },
    { 0x0010, "DataDump", {}, nullptr, "Nikon Data Dump" },
    { 0x0013, "ISO2", {}, nullptr, "Nikon ISO Setting 2" },
    { 0x0016, "ImgBound", {}, nullptr, "Nikon Image Boundary" },
    { 0x0019, "FlashBkt", {}, nullptr, "Nikon Flash Bracket Compensation" },
    { 0x0080, "ImgAdjust", {}, nullptr, "Nikon Image Adjustment" },
    { 0x0081, "ToneComp", {}, nullptr, "Nikon Tone Compensation" },
    { 0x0082, "Adapter", {}, nullptr, "Nikon Lens Adapter" },
    { 0x0083, "LensType", nikonLensType, nullptr, "Nikon Lens Type" },
    { 0x0084, "Lens", {}, nullptr, "Nikon Lens" },
    { 0x0085, "ManFocus", unitMetres, ExifFormatDecimal, "Nikon Manual Focus Distance" },
    { 0x0086, "DigZoom", unitTimes, ExifFormatDecimal, "Nikon Digital Zoom" },
    { 0x0087, "FlashUsed", nikonFlashUsed, nullptr, "Nikon Flash Used" },
    // Four bytes: the area mode, the focus point, then the points in focus.
    { 0x0088, "AFPos", nikonAfPosition, nullptr, "Nikon AF Focus Position", 1 },
    { 0x008D, "ColorMode", {}, nullptr, "Nikon Colour Mode" },
    { 0x008F, "SceneMode", {}, nullptr, "Nikon Scene Mode" },
    { 0x0090, "LightSrc", {}, nullptr, "Nikon Light Source" },
    { 0x0092, "HueAdjust", {}, nullptr, "Nikon Hue Adjustment" },
    { 0x0094, "Saturation", {}, nullptr, "Nikon Saturation" },
    { 0x00A0, "SerialNo", {}, nullptr, "Nikon Serial Number" },
    { 0x00A7, "ShutterCnt", {}, nullptr, "Nikon Shutter Count" },
    { 0x00A9, "ImageOpt", {}, nullptr, "Nikon Image Optimisation" },
    { 0x00AA, "Sat2", {}, nullptr, "Nikon Saturation 2" },
    { 0x00AB, "VariProg", {}, nullptr, "Nikon Vari Program" },
};

constexpr ExifValueName olyQuality[] = { { 1, "SQ" }, { 2, "HQ" }, { 3, "SHQ" } };
constexpr ExifValueName olyMacro[] = { { 0, "Normal" }, { 1, "Macro" } };
constexpr ExifValueName olyFlash[] = { { 0, "On" }, { 1, "Red-eye" }, { 2, "Fill" }, { 2, "Off" } };
constexpr ExifValueName olySharpness[] = { { 0, "Normal" }, { 1, "Hard" }, { 2, "Soft" } };

constexpr ExifTagInfo olyTable[] = {
    { 0x0200, "SpcMode", {}, nullptr, "Olympus Special Mode" },
    { 0x0201, "Quality", olyQuality, nullptr, "Olympus JPEG Quality" },
    { 0x0202, "Macro", olyMacro, nullptr, "Olympus Macro" },
    { 0x0204, "DigZoom", unitTimes, ExifFormatDecimal, "Olympus Digital Zoom" },
    { 0x0207, "Software", {}, nullptr, "Olympus Software Release" },
    { 0x0209, "CameraID", {}, nullptr, "Olympus Camera ID" },
    { 0x1004, "Flash", olyFlash, nullptr, "Olympus Flash Mode" },
    { 0x100F, "Sharp", olySharpness, nullptr, "Olympus Sharpness" },
    { 0x102A, "SharpScale", {}, nullptr, "Olympus Sharpness Scale" },
};

constexpr ExifValueName fujiSharpness[]
    = { { 1, "Soft" }, { 2, "Soft" }, { 3, "Normal" }, { 4, "Hard" }, { 5, "Hard" } };
constexpr ExifValueName fujiWhiteBalance[] = {
    { 0, "Auto" },
    { 256, "Daylight" },
    { 512, "Cloudy" },
    { 768, "Daylight fluorescent" },
    { 769, "Day white fluorescent" },
    { 770, "White fluorescent" },
    { 1024, "Incandescent" },
    { 3840, "Custom" },
};
constexpr ExifValueName fujiTone[] = { { 0, "Normal" }, { 256, "High" }, { 512, "Low" } };
constexpr ExifValueName fujiFlash[]
    = { { 0, "Auto" }, { 1, "On" }, { 2, "Off" }, { 3, "Red-eye reduction" } };
constexpr ExifValueName fujiFocus[] = { { 0, "Auto" }, { 1, "Manual" } };
constexpr ExifValueName fujiPicture[] = {
    { 0, "Auto" },
    { 1, "Portrait" },
    { 2, "Landscape" },
    { 4, "Sports" },
    { 5, "Night" },
    { 6, "Program AE" },
    { 256, "Aperture priority" },
    { 512, "Shutter priority" },
    { 768, "Manual" },
};

constexpr ExifTagInfo fujiTable[] = {
    { 0x0000, "Version", {}, nullptr, "Fuji Note Version" },
    { 0x1000, "Quality", {}, nullptr, "Fuji Quality" },
    { 0x1001, "Sharpness", fujiSharpness, nullptr, "Fuji Sharpness" },
    { 0x1002, "WhiteBal", fujiWhiteBalance, nullptr, "Fuji White Balance" },
    { 0x1003, "Color", fujiTone, nullptr, "Fuji Colour Saturation" },
    { 0x1004, "Contrast", fujiTone, nullptr, "Fuji Contrast" },
    { 0x1010, "FlashMode", fujiFlash, nullptr, "Fuji Flash Mode" },
    { 0x1011, "FlashStrg", {}, ExifFormatDecimal, "Fuji Flash Strength" },
    { 0x1020, "Macro", offOn, nullptr, "Fuji Macro" },
    { 0x1021, "Focus", fujiFocus, nullptr, "Fuji Focus Mode" },
    { 0x1022, "Unknown1022", {}, nullptr, "Fuji Unknown 1022" },
    { 0x1023, "Unknown1023", {}, nullptr, "Fuji Unknown 1023" },
    { 0x1030, "SlowSnyc", offOn, nullptr, "Fuji Slow Sync" },
    { 0x1031, "Picture", fujiPicture, nullptr, "Fuji Picture Mode" },
    { 0x1032, "Unknown1032", {}, nullptr, "Fuji Unknown 1032" },
    { 0x1100, "Sequence", offOn, nullptr, "Fuji Continuous" },
    { 0x1101, "Unknown1101", {}, nullptr, "Fuji Unknown 1101" },
    { 0x1200, "Unknown1200", {}, nullptr, "Fuji Unknown 1200" },
    { 0x1300, "BlurWarn", noYes, nullptr, "Fuji Blur Warning" },
    { 0x1301, "FocusWarn", noYes, nullptr, "Fuji Focus Warning" },
    { 0x1302, "AEWarn", noYes, nullptr, "Fuji Exposure Warning" },
};

constexpr ExifValueName casioRecordMode[] = {
    { 1, "Single shutter" },
    { 2, "Panorama" },
    { 3, "Night scene" },
    { 4, "Portrait" },
    { 5, "Landscape" },
};
constexpr ExifValueName casioQuality[] = { { 1, "Economy" }, { 2, "Normal" }, { 3, "Fine" } };
constexpr ExifValueName casioFocusMode[]
    = { { 2, "Macro" }, { 3, "Auto" }, { 4, "Manual" }, { 5, "Infinity" } };
constexpr ExifValueName casioFlashMode[] = {
    { 1, "Auto" },
    { 2, "On" },
    { 3, "Off" },
    { 4, "Off" },
    { 5, "Red Eye Reduction" },
};
constexpr ExifValueName casioFlashIntensity[] = { { 11, "Weak" }, { 13, "Normal" }, { 15, "Strong" } };
constexpr ExifValueName casioWhiteBalance[] = {
    { 1, "Auto" },
    { 2, "Tungsten" },
    { 3, "Daylight" },
    { 4, "Fluorescent" },
    { 5, "Shade" },
    { 129, "Manual" },
};
constexpr ExifValueName casioDigitalZoom[] = {
    { 0x10000, "Off" },
    { 0x10001, "2x" },
    { 0x20000, "2x" },
    { 0x40000, "4x" },
};
constexpr ExifValueName casioNormalSoftHard[] = { { 0, "Normal" }, { 1, "Soft" }, { 2, "Hard" } };
constexpr ExifValueName casioNormalLowHigh[] = { { 0, "Normal" }, { 1, "Low" }, { 2, "High" } };
constexpr ExifValueName casioSensitivity[] = {
    { 64, "Normal" },
    { 80, "Normal" },
    { 100, "High" },
    { 125, "+1.0" },
    { 244, "+3.0" },
    { 250, "+2.0" },
};
constexpr ExifValueName casioSensitivity2[] = { { 0, "Normal" }, { 1, "High" }, { 2, "Highest" } };
constexpr ExifValueName casioEnhancement[] = {
    { 1, "Off" },
    { 2, "Red" },
    { 3, "Green" },
    { 4, "Blue" },
    { 5, "Flesh Tones" },
};
constexpr ExifValueName casioFilter[] = {
    { 1, "Off" },
    { 2, "Black & White" },
    { 3, "Sepia" },
    { 4, "Red" },
    { 5, "Green" },
    { 6, "Blue" },
    { 7, "Yellow" },
    { 8, "Pink" },
    { 9, "Purple" },
};
constexpr ExifValueName casioFocusFrame[] = { { 1, "Center" }, { 2, "Left" }, { 3, "Right" } };
constexpr ExifValueName casioMeterMode[]
    = { { 1, "Center weighted" }, { 2, "Spot" }, { 3, "Multi-segment" } };
constexpr ExifValueName casioEvShift[] = { { 0, "0" }, { 1, "+1/3" }, { 2, "+2/3" }, { 3, "+1" } };
constexpr ExifValueName casioAperture[] = { { 0, "Auto" }, { 1, "Open" }, { 2, "Closed" } };
constexpr ExifValueName casioComposition[] = { { 0, "Off" }, { 1, "On" } };
constexpr ExifValueName casioExposureMode[] = { { 0, "Auto" }, { 1, "Program" }, { 2, "Manual" } };

constexpr ExifTagInfo casioTable[] = {
    { 0x0001, "RecordMode", casioRecordMode, nullptr, "Casio Recording Mode" },
    { 0x0002, "Quality", casioQuality, nullptr, "Casio Quality" },
    { 0x0003, "FocusMode", casioFocusMode, nullptr, "Casio Focusing Mode" },
    { 0x0004, "FlashMode", casioFlashMode, nullptr, "Casio Flash Mode" },
    { 0x0005, "FlasIntense", casioFlashIntensity, nullptr, "Casio Flash Intensity" },
    { 0x0006, "ObjDist", unitMillimetres, nullptr, "Casio Object Distance" },
    { 0x0007, "WhiteBal", casioWhiteBalance, nullptr, "Casio White Balance" },
    { 0x0008, "Unknown0008", {}, nullptr, "Casio Unknown 0008" },
    { 0x0009, "Unknown0009", {}, nullptr, "Casio Unknown 0009" },
    { 0x000A, "DigZoom", casioDigitalZoom, nullptr, "Casio Digital Zoom" },
    { 0x000B, "Sharpness", casioNormalSoftHard, nullptr, "Casio Sharpness" },
    { 0x000C, "Contrast", casioNormalLowHigh, nullptr, "Casio Contrast" },
    { 0x000D, "Saturation", casioNormalLowHigh, nullptr, "Casio Saturation" },
    { 0x000E, "Unknown000E", {}, nullptr, "Casio Unknown 000E" },
    { 0x000F, "Unknown000F", {}, nullptr, "Casio Unknown 000F" },
    { 0x0010, "Unknown0010", {}, nullptr, "Casio Unknown 0010" },
    { 0x0011, "Unknown0011", {}, nullptr, "Casio Unknown 0011" },
    { 0x0012, "Unknown0012", {}, nullptr, "Casio Unknown 0012" },
    { 0x0013, "Unknown0013", {}, nullptr, "Casio Unknown 0013" },
    { 0x0014, "CCDSense", casioSensitivity, nullptr, "Casio CCD Sensitivity" },
    { 0x0015, "Unknown0015", {}, nullptr, "Casio Unknown 0015" },
    { 0x0016, "Enhancement", casioEnhancement, nullptr, "Casio Enhancement" },
    { 0x0017, "Filter", casioFilter, nullptr, "Casio Filter" },
    { 0x0018, "FocFrmLoc", casioFocusFrame, nullptr, "Casio Focus Frame Location" },
    { 0x0019, "CCDSense", casioSensitivity2, nullptr, "Casio CCD Sensitivity Setting" },
    { 0x001A, "Unknown001A", {}, nullptr, "Casio Unknown 001A" },
    { 0x0100, "MeterMode", casioMeterMode, nullptr, "Casio Metering Mode" },
    { 0x0101, "EVShift", casioEvShift, nullptr, "Casio Exposure Shift" },
    { 0x0102, "Unknown0102", {}, nullptr, "Casio Unknown 0102" },
    { 0x0103, "Aperture", casioAperture, nullptr, "Casio Aperture" },
    { 0x0104, "RecordMode2", casioRecordMode, nullptr, "Casio Recording Mode 2" },
    { 0x0105, "Composition", casioComposition, nullptr, "Casio Composition Frame" },
    { 0x0106, "ExpMode", casioExposureMode, nullptr, "Casio Exposure Mode" },
    { 0x0107, "Unknown0107", {}, nullptr, "Casio Unknown 0107" },
};

} // namespace

namespace ExifTables {
const ExifTagTable Nikon = nikonTable;
const ExifTagTable Nikon2 = nikon2Table;
const ExifTagTable Oly = olyTable;
const ExifTagTable Fuji = fujiTable;
const ExifTagTable Casio = casioTable;
} // namespace ExifTables
