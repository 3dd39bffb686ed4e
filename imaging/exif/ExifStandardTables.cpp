// Tag tables of the standard directories: the main image directory, the Exif sub-directory and the GPS
// directory.
#include "imaging/exif/ExifFormatters.h"
#include "imaging/exif/ExifTagInfo.h"

#include <algorithm>

const ExifTagInfo* ExifFindTagInfo(ExifTagTable table, uint32_t tag)
{
    const auto row = std::find_if(
        table.begin(), table.end(), [tag](const ExifTagInfo& info) { return info.tag == tag; });
    return row == table.end() ? nullptr : &*row;
}

namespace {

constexpr ExifValueName resUnit[] = { { 1, "no-unit" }, { 2, "inch" }, { 3, "cm" } };

constexpr ExifTagInfo mainTable[] = {
    { 0x010E, "Desc", {}, nullptr, "Image Description" },
    { 0x010F, "Make", {}, nullptr, "Camera Make" },
    { 0x0110, "Model", {}, nullptr, "Camera Model" },
    { 0x0112, "Ori", {}, nullptr, "Orientation" },
    { 0x011A, "XRes", {}, nullptr, "X Resolution" },
    { 0x011B, "YRes", {}, nullptr, "Y Resolution" },
    { 0x0128, "ResUnit", resUnit, nullptr, "Resolution Unit" },
    { 0x0131, "Software", {}, nullptr, "Camera Software" },
    { 0x0132, "ModTime", {}, nullptr, "Modified Date Time" },
    { 0x013E, "WPoint", {}, nullptr, "White Point" },
    { 0x013F, "PrimChr", {}, nullptr, "Primary Chromaticities" },
    { 0x0211, "YCbCrCoef", {}, nullptr, "YCbCr Coefficients" },
    { 0x0213, "YCbCrPos", {}, nullptr, "YCbCr Positioning" },
    { 0x0214, "RefBW", {}, nullptr, "Reference Black White" },
    { 0x8298, "Copy", {}, nullptr, "Copyright" },
    { 0x8769, "ExifOffset", {}, nullptr, "Sub IFD Offset" },
    { 0x8825, "GpsOffset", {}, nullptr, "GPS IFD Offset" },
};

constexpr ExifValueName unitSeconds[] = { { ExifUnitList, "s" } };
constexpr ExifValueName unitMetres[] = { { ExifUnitList, "m" } };
constexpr ExifValueName unitMillimetres[] = { { ExifUnitList, "mm" } };
constexpr ExifValueName program[] = {
    { 1, "Manual" },
    { 2, "Program" },
    { 3, "Aperture priority" },
    { 4, "Shutter priority" },
    { 5, "Slow" },
    { 6, "Action" },
    { 7, "Portrait" },
    { 8, "Landscape" },
};
constexpr ExifValueName compression[] = { { 1, "Basic" }, { 2, "Normal" }, { 3, "Fine" }, { 4, "Fine" } };
constexpr ExifValueName metering[] = {
    { 0, "Unknown" },
    { 1, "Average" },
    { 2, "Center weighted" },
    { 3, "Spot" },
    { 4, "Multi-spot" },
    { 5, "Multi-segment" },
    { 6, "Partial" },
    { 255, "Other" },
};
constexpr ExifValueName lightSource[] = {
    { 0, "Unknown/cloudy" },
    { 1, "Daylight" },
    { 2, "Fluorescent" },
    { 3, "Tungsten" },
    { 10, "Flash" },
    { 17, "Standard light A" },
    { 18, "Standard light B" },
    { 19, "Standard light C" },
    { 20, "D55" },
    { 21, "D65" },
    { 22, "D75" },
};
constexpr ExifValueName flashUsed[] = {
    { 0, "No" },
    { 1, "Yes" },
    { 5, "Yes, no return detect" },
    { 7, "Yes, return detected" },
    { 9, "Yes" },
    { 16, "No forced" },
};
constexpr ExifValueName colorSpace[] = { { 1, "sRGB" }, { 65535, "Uncalibrated" } };
constexpr ExifValueName focalPlaneUnit[] = {
    { 1, "inch" },
    { 2, "inch" },
    { 3, "centimeter" },
    { 4, "milimemeter" },
    { 5, "micrometer" },
};
constexpr ExifValueName sensingMethod[] = { { 2, "1 chip color area" } };
constexpr ExifValueName fileSource[] = { { 3, "Digital still camera" } };
constexpr ExifValueName sceneType[] = { { 1, "Directly photographed" } };

constexpr ExifTagInfo subTable[] = {
    { 0x829A, "Shutter", unitSeconds, ExifFormatExposureTime, "Exposure Time" },
    { 0x829D, "FStop", {}, ExifFormatFNumber, "F-Number" },
    { 0x8822, "Prog", program, nullptr, "Program" },
    { 0x8827, "Iso", {}, nullptr, "ISO Speed Rating" },
    { 0x9000, "ExifVer", {}, nullptr, "Exif Version" },
    { 0x9003, "OrigTime", {}, nullptr, "Original Date Time" },
    { 0x9004, "DigTime", {}, nullptr, "Digitized Date Time" },
    { 0x9101, "CompConfig", {}, ExifFormatComponents, "Components Configuration" },
    { 0x9102, "Bpp", compression, nullptr, "Average compression ratio" },
    { 0x9201, "Shuttera", {}, ExifFormatShutterSpeed, "Shutter Speed" },
    { 0x9202, "Aperturea", {}, ExifFormatAperture, "Aperture" },
    { 0x9203, "Brighta", {}, ExifFormatDecimal, "Brightness" },
    { 0x9204, "Expbiasa", {}, ExifFormatDecimal, "Exposure Bias" },
    { 0x9205, "Maxapa", {}, ExifFormatAperture, "Maximum Aperture" },
    { 0x9206, "Dist", unitMetres, ExifFormatDecimal, "Subject Distance" },
    { 0x9207, "Meter", metering, nullptr, "Metering Mode" },
    { 0x9208, "Lights", lightSource, nullptr, "Light Source" },
    { 0x9209, "Flash", flashUsed, nullptr, "Flash Used" },
    { 0x920A, "Focal", unitMillimetres, ExifFormatDecimal, "Focal Length" },
    { 0x927C, "Maker", {}, nullptr, "Maker Note" },
    { 0x9286, "User", {}, nullptr, "User Comment" },
    { 0x9290, "STime", {}, nullptr, "Subsecond Time" },
    { 0x9291, "SOrigTime", {}, nullptr, "Subsecond Original Time" },
    { 0x9292, "SDigTime", {}, nullptr, "Subsecond Digitized Time" },
    { 0xA000, "Flashpix", {}, nullptr, "Flashpix Version" },
    { 0xA001, "ColorSpace", colorSpace, nullptr, "Color Space" },
    { 0xA002, "Width", {}, nullptr, "Image Width" },
    { 0xA003, "Height", {}, nullptr, "Image Height" },
    { 0xA004, "SndFile", {}, nullptr, "Sound File" },
    { 0xA005, "ExifIntOff", {}, nullptr, "Interoperability Offset" },
    { 0xA20E, "FPXRes", {}, ExifFormatDecimal, "Focal Plane X Resolution" },
    { 0xA20F, "FPYRes", {}, ExifFormatDecimal, "Focal Plane Y Resolution" },
    { 0xA210, "FPResUnit", focalPlaneUnit, nullptr, "Focal Plane Unit" },
    { 0xA215, "ExpIndex", {}, ExifFormatDecimal, "Exposure Index" },
    { 0xA217, "SenseMethod", sensingMethod, nullptr, "Sensing Method" },
    { 0xA300, "FileSource", fileSource, nullptr, "File Source" },
    { 0xA301, "SceneType", sceneType, nullptr, "Scene Type" },
    { 0xA302, "CFAPat", {}, nullptr, "CFA Pattern" },
};

constexpr ExifValueName altitudeRef[] = { { 0, "Above Sea Level" }, { 1, "Below Sea Level" } };
constexpr ExifValueName differential[] = {
    { 0, "No differential correction" },
    { 1, "differential correction applied" },
};

constexpr ExifTagInfo gpsTable[] = {
    { 0x0000, "VersionID", {}, nullptr, "GPS Version" },
    { 0x0001, "LatitudeRef", {}, nullptr, "Latitude Reference" },
    { 0x0002, "Lattitude", {}, ExifFormatDecimal, "Latitude" },
    { 0x0003, "LongitudeRef", {}, nullptr, "Longitude Reference" },
    { 0x0004, "Longitude", {}, ExifFormatDecimal, "Longitude" },
    { 0x0005, "AltitudeRef", altitudeRef, nullptr, "Altitude Reference" },
    { 0x0006, "Altitude", {}, ExifFormatDecimal, "Altitude" },
    { 0x0007, "TimeStamp", {}, ExifFormatDecimal, "GPS Time Stamp" },
    { 0x0008, "Satellites", {}, nullptr, "GPS Satellites" },
    { 0x0009, "Status", {}, nullptr, "GPS Receiver Status" },
    { 0x000A, "MeasureMode", {}, nullptr, "GPS Measure Mode" },
    { 0x000B, "DOP", {}, ExifFormatDecimal, "GPS Dilution of Precision" },
    { 0x000C, "SpeedRef", {}, nullptr, "Speed Unit" },
    { 0x000D, "Speed", {}, ExifFormatDecimal, "Speed" },
    { 0x000E, "TrackRef", {}, nullptr, "Track Reference" },
    { 0x000F, "Track", {}, ExifFormatDecimal, "Track" },
    { 0x0010, "ImgDirectionRef", {}, nullptr, "Image Direction Reference" },
    { 0x0011, "ImgDirection", {}, ExifFormatDecimal, "Image Direction" },
    { 0x0012, "MapDatum", {}, nullptr, "Map Datum" },
    { 0x0013, "DestLatitudeRef", {}, nullptr, "Destination Latitude Reference" },
    { 0x0014, "DestLatitude", {}, ExifFormatDecimal, "Destination Latitude" },
    { 0x0015, "DestLongitudeRef", {}, nullptr, "Destination Longitude Reference" },
    { 0x0016, "DestLongitude", {}, ExifFormatDecimal, "Destination Longitude" },
    { 0x0017, "DestBearingRef", {}, nullptr, "Destination Bearing Reference" },
    { 0x0018, "DestBearing", {}, ExifFormatDecimal, "Destination Bearing" },
    { 0x0019, "DestDistanceRef", {}, nullptr, "Destination Distance Unit" },
    { 0x001A, "DestDistance", {}, ExifFormatDecimal, "Destination Distance" },
    { 0x001B, "ProcessingMethod", {}, nullptr, "GPS Processing Method" },
    { 0x001C, "AreaInformation", {}, nullptr, "GPS Area Information" },
    { 0x001D, "DateStamp", {}, nullptr, "GPS Date Stamp" },
    { 0x001E, "Differential", differential, nullptr, "GPS Differential" },
};

} // namespace

namespace ExifTables {
const ExifTagTable Main = mainTable;
const ExifTagTable Sub = subTable;
const ExifTagTable Gps = gpsTable;
} // namespace ExifTables
