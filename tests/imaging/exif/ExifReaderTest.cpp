// Reading EXIF blocks: byte orders, directories, naming and lookups, the orientation entry.
#include "imaging/exif/ExifBlockBuilder.h"

#include "imaging/exif/ExifData.h"
#include "imaging/io/PLTextException.h"

#include <tuple>
#include <utility>

#include <gtest/gtest.h>

namespace {

ExifData read(const std::vector<uint8_t>& block)
{
    ExifData exif;
    exif.ReadFromBlock(block.data(), block.size());
    return exif;
}

// A block with something in every standard directory and a thumbnail.
std::vector<uint8_t> cameraBlock(ExifByteOrder order)
{
    ExifBlockBuilder b(order);
    b.Main()
        .Ascii(0x010F, "Canon")
        .Ascii(0x0110, "Canon PowerShot S40")
        .Short(0x0112, { 6 })
        .Rational(0x011A, 180, 1)
        .Short(0x0128, { 2 })
        .Long(0x9C9B, { (1u << 24) + 5 });
    b.Exif()
        .Rational(0x829A, 10, 2500)
        .Rational(0x829D, 28, 10)
        .Short(0x8822, { 3 })
        .Undefined(0x9101, { 1, 2, 3, 0 })
        .SRational(0x9204, -2, 3)
        .Rational(0x920A, 350, 10)
        .Short(0xA001, { 65535 })
        .Undefined(0x9286, { 'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'H', 'i' })
        .Short(0x1234, { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20 });
    b.Gps().Ascii(0x0001, "N").Rationals(0x0002, { 51, 1, 30, 1, 0, 1 }).Byte(0x0005, { 1 });
    b.Thumbnail({ 0xFF, 0xD8, 0xFF, 0xD9 });
    return b.Build();
}

TEST(ExifReader, IntelAndMotorolaBlocksReadTheSame)
{
    const ExifData intel = read(cameraBlock(ExifByteOrder::Intel));
    const ExifData motorola = read(cameraBlock(ExifByteOrder::Motorola));
    EXPECT_FALSE(intel.IsBigEndian());
    EXPECT_TRUE(motorola.IsBigEndian());
    ASSERT_EQ(intel.GetAllEntries().size(), motorola.GetAllEntries().size());
    ASSERT_GT(intel.GetAllEntries().size(), 15u);
    for (size_t i = 0; i < intel.GetAllEntries().size(); ++i) {
        const ExifEntry& a = *intel.GetAllEntries()[i];
        const ExifEntry& b = *motorola.GetAllEntries()[i];
        SCOPED_TRACE(a.GetName());
        EXPECT_EQ(a.GetName(), b.GetName());
        EXPECT_EQ(a.GetValueText(), b.GetValueText());
        EXPECT_EQ(a.GetDisplayText(), b.GetDisplayText());
        EXPECT_EQ(a.GetDoubleValue(), b.GetDoubleValue());
        EXPECT_EQ(a.GetIntValue(), b.GetIntValue());
    }
}

TEST(ExifReader, EntriesAreNamedAndRenderedFromTheirDirectories)
{
    const ExifData exif = read(cameraBlock(ExifByteOrder::Motorola));
    struct Case {
        const char* name;
        std::string value;
        std::string display;
    };
    const Case cases[] = {
        { "Main.Make", std::string("Canon\0", 6), std::string("Canon\0", 6) },
        { "Main.ResUnit", "inch", "inch" },
        { "Main.9c9b", "16777221", "16777221" },
        { "Sub.Shutter", "10/2500 s", "1/250 s" },
        { "Sub.FStop", "28/10", "f2.8" },
        { "Sub.Prog", "Aperture priority", "Aperture priority" },
        { "Sub.CompConfig", "{ 01 02 03 00 }", "YCbCr" },
        { "Sub.Expbiasa", "-2/3", "-0.666667" },
        { "Sub.Focal", "350/10 mm", "35 mm" },
        { "Sub.ColorSpace", "Uncalibrated", "Uncalibrated" },
        { "Sub.User", "Hi", "Hi" },
        { "Sub.1234", "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 ...",
            "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 ..." },
        { "Gps.LatitudeRef", std::string("N\0", 2), std::string("N\0", 2) },
        { "Gps.Lattitude", "51/1 30/1 0/1", "0" },
        { "Gps.AltitudeRef", "Below Sea Level", "Below Sea Level" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ExifEntry* entry = exif.FindTag(c.name);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->GetValueText(), c.value);
        EXPECT_EQ(entry->GetDisplayText(), c.display);
    }
    EXPECT_EQ(exif.FindTag("Sub.1234")->GetDoubleValue(), 16.0);
    EXPECT_EQ(exif.GetMainEntries().size(), 8u);
    EXPECT_EQ(exif.GetGpsEntries().size(), 3u);
    EXPECT_TRUE(exif.GetMakerEntries().empty());
}

TEST(ExifReader, OrientationIsFoundInAnyCase)
{
    const ExifData exif = read(cameraBlock(ExifByteOrder::Intel));
    for (const char* name : { "main.ori", "Main.Ori", "MAIN.ORI", "mAiN.oRi" }) {
        const ExifEntry* entry = exif.FindTag(name);
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_EQ(entry->GetName(), "Main.Ori");
        EXPECT_EQ(entry->GetValueText(), "6");
        EXPECT_EQ(entry->GetIntValue(), 6);
        EXPECT_EQ(exif.GetTagValue(name), 6.0);
    }
    EXPECT_EQ(ExifData().GetTagValue("main.ori"), 0.0);
    EXPECT_EQ(exif.GetTagText("main.nothing"), "");
}

} // namespace

namespace {

// Reading the object's own block again (as a caller refreshing its entries might) gives the same
// entries; the old block is released only after it has been copied.
TEST(ExifReader, RereadsItsOwnBlock)
{
    ExifData exif = read(cameraBlock(ExifByteOrder::Motorola));
    const size_t entries = exif.GetAllEntries().size();
    const std::span<const uint8_t> own = exif.GetBlock();
    exif.ReadFromBlock(own.data(), own.size());
    EXPECT_EQ(exif.GetAllEntries().size(), entries);
    EXPECT_EQ(exif.GetTagDisplayText("Sub.Shutter"), "1/250 s");
}

} // namespace

namespace {

// The descriptions that other parts of the tool show beside the values.
TEST(ExifReader, EntriesCarryTheirDescriptions)
{
    const ExifData exif = read(cameraBlock(ExifByteOrder::Intel));
    const std::pair<const char*, const char*> cases[] = {
        { "Main.Make", "Camera Make" },
        { "Main.Model", "Camera Model" },
        { "Main.Ori", "Orientation" },
        { "Main.ResUnit", "Resolution Unit" },
        { "Main.ExifOffset", "Sub IFD Offset" },
        { "Main.GpsOffset", "GPS IFD Offset" },
        { "Sub.Shutter", "Exposure Time" },
        { "Sub.Focal", "Focal Length" },
        { "Sub.Prog", "Program" },
        { "Sub.ColorSpace", "Color Space" },
        { "Sub.User", "User Comment" },
        { "Main.9c9b", "" },
    };
    for (const auto& [name, description] : cases) {
        const ExifEntry* entry = exif.FindTag(name);
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_EQ(entry->GetDescription(), description) << name;
    }
    const std::tuple<ExifTagTable, uint32_t, const char*> rows[] = {
        { ExifTables::Sub, 0x927C, "Maker Note" },
        { ExifTables::Sub, 0x9102, "Average compression ratio" },
        { ExifTables::Sub, 0x9207, "Metering Mode" },
        { ExifTables::Sub, 0x9208, "Light Source" },
        { ExifTables::Sub, 0x9209, "Flash Used" },
        { ExifTables::Sub, 0xA210, "Focal Plane Unit" },
        { ExifTables::Casio, 0x0004, "Casio Flash Mode" },
        { ExifTables::CnSet1, 0x000D, "Canon Contrast Setting" },
        { ExifTables::Oly, 0x1004, "Olympus Flash Mode" },
    };
    for (const auto& [table, tag, description] : rows) {
        const ExifTagInfo* row = ExifFindTagInfo(table, tag);
        ASSERT_NE(row, nullptr) << description;
        EXPECT_STREQ(row->description, description);
    }
}

} // namespace
