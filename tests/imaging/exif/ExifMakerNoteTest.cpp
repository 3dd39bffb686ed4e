// Maker notes of each maker the reader knows, in both byte orders, read from blocks laid out as the
// cameras write them.
#include "imaging/exif/ExifBlockBuilder.h"

#include "imaging/exif/ExifData.h"

#include <functional>

#include <gtest/gtest.h>

namespace {

struct Expected {
    const char* name;
    std::string display;
};

struct MakerCase {
    const char* what;
    const char* make;
    const char* model;
    ExifMakerLayout layout;
    std::function<void(ExifTestDirectory&)> note;
    std::vector<Expected> expected;
    std::vector<const char*> absent;
};

void PrintTo(const MakerCase& c, std::ostream* os)
{
    *os << c.what;
}

ExifData readMaker(const MakerCase& c, ExifByteOrder order)
{
    ExifBlockBuilder b(order);
    b.Main().Ascii(0x010F, c.make).Ascii(0x0110, c.model).Short(0x0112, { 1 });
    b.Exif().Rational(0x829A, 1, 125).Rational(0x920A, 50, 1);
    c.note(b.MakerNote(c.layout));
    const std::vector<uint8_t> block = b.Build();
    ExifData exif;
    exif.ReadFromBlock(block.data(), block.size());
    return exif;
}

class ExifMakerNotes : public testing::TestWithParam<MakerCase> { };

TEST_P(ExifMakerNotes, GiveTheirEntries)
{
    const MakerCase& c = GetParam();
    for (const auto order : { ExifByteOrder::Intel, ExifByteOrder::Motorola }) {
        SCOPED_TRACE(order == ExifByteOrder::Intel ? "Intel" : "Motorola");
        const ExifData exif = readMaker(c, order);
        for (const Expected& e : c.expected) {
            const ExifEntry* entry = exif.FindTag(e.name);
            ASSERT_NE(entry, nullptr) << e.name;
            EXPECT_EQ(entry->GetDisplayText(), e.display) << e.name;
        }
        for (const char* name : c.absent)
            EXPECT_EQ(exif.FindTag(name), nullptr) << name;
        // The standard entries are untouched by the note.
        EXPECT_EQ(exif.GetTagDisplayText("Sub.Shutter"), "1/125 s");
        EXPECT_EQ(exif.GetTagDisplayText("Sub.Focal"), "50 mm");
        for (const auto& entry : exif.GetMakerEntries())
            EXPECT_EQ(entry->GetName().find("Sub."), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Makers, ExifMakerNotes,
    testing::Values(MakerCase { "Nikon E-series", "NIKON", "E950", ExifMakerLayout::Nikon,
                        [](auto& d) { d.Short(0x0003, { 5 }).Rational(0x000A, 3, 2).Short(0x0007, { 4 }); },
                        { { "Nikon.Quality", "SXGA Normal" }, { "Nikon.DigZoom", "1.5 x" },
                            { "Nikon.WhiteBal", "Fluorescent" } },
                        { "Nikon2.Quality" } },
        MakerCase { "Nikon with its own TIFF header", "NIKON CORPORATION", "NIKON D70",
            ExifMakerLayout::Nikon2,
            [](auto& d) {
                d.Undefined(0x0001, { '0', '2', '1', '0' })
                    .Ascii(0x0004, "FINE   ")
                    .Rational(0x0085, 3, 2)
                    .Short(0x0083, { 6 })
                    .Rationals(0x0084, { 180, 10, 700, 10, 35, 10, 45, 10 });
            },
            { { "Nikon2.Firmware", "0210" }, { "Nikon2.Quality", std::string("FINE   \0", 8) },
                { "Nikon2.ManFocus", "1.5 m" }, { "Nikon2.LensType", "AF G" },
                { "Nikon2.Lens", "180/10 700/10 35/10 45/10" } },
            { "Nikon.Quality" } },
        MakerCase { "Olympus", "OLYMPUS OPTICAL CO.,LTD", "C3030Z", ExifMakerLayout::Olympus,
            [](auto& d) {
                d.Short(0x0201, { 3 }).Short(0x1004, { 2 }).Rational(0x0204, 2, 1).Ascii(0x0207, "SX751");
            },
            { { "Oly.Quality", "SHQ" }, { "Oly.Flash", "Fill" }, { "Oly.DigZoom", "2 x" },
                { "Oly.Software", std::string("SX751\0", 6) } },
            {} },
        MakerCase { "Fujifilm, little-endian in every file", "FUJIFILM", "FinePix S1", ExifMakerLayout::Fuji,
            [](auto& d) {
                d.Undefined(0x0000, { '0', '1', '3', '0' })
                    .Ascii(0x1000, "NORMAL ")
                    .Short(0x1002, { 512 })
                    .Short(0x1031, { 768 })
                    .SRational(0x1011, -1, 2);
            },
            { { "Fuji.Quality", std::string("NORMAL \0", 8) }, { "Fuji.WhiteBal", "Cloudy" },
                { "Fuji.Picture", "Manual" }, { "Fuji.FlashStrg", "-0.5" } },
            { "Fuji.Version" } },
        MakerCase { "Casio QV-2000UX flash mode 4", "CASIO", "QV-2000UX", ExifMakerLayout::Casio,
            [](auto& d) {
                d.Short(0x0001, { 5 })
                    .Short(0x0004, { 4 })
                    .Long(0x0006, { 1500 })
                    .Short(0x0014, { 100 })
                    .Short(0x0019, { 2 })
                    .Ascii(0x0008, "V1.05");
            },
            // Offsets inside a Casio note count from the block's TIFF header, as in the Exif directory.
            { { "Casio.RecordMode", "Landscape" }, { "Casio.FlashMode", "Red Eye Reduction" },
                { "Casio.ObjDist", "1500 mm" }, { "Casio.CCDSense", "Highest" },
                { "Casio.Unknown0008", std::string("V1.05\0", 6) } },
            {} },
        MakerCase { "Casio other model keeps Off", "CASIO", "QV-3000EX", ExifMakerLayout::Casio,
            [](auto& d) { d.Short(0x0004, { 4 }); }, { { "Casio.FlashMode", "Off" } }, {} },
        MakerCase { "Canon", "Canon", "Canon EOS D60", ExifMakerLayout::Canon,
            [](auto& d) {
                d.Short(0x0001,
                     { 50, 1, 0, 5, 4, 1, 0, 3, 0, 0, 1, 8, 0, 65535, 0, 1, 17, 3, 1, 0x3003, 3, 0, 1, 70, 18,
                         1, 0, 0, 0, 0x4010 })
                    .Short(0x0004, { 36, 0, 160, 0, 0, 0, 0, 5, 0, 7, 0, 0, 0, 0, 2, 65472 })
                    .Ascii(0x0006, "IMG:EOS D60 JPEG")
                    .Long(0x0008, { 1001234 })
                    .Long(0x000C, { 0x12345678 })
                    .Short(0x000F, { 10, 0x0101, 0x0200, 0x0300, 0x1101, 0x0801 });
            },
            { { "Canon.ImageNo", "100-1234" }, { "Canon.SerialNo", "123422136" },
                { "Canon.ImageType", std::string("IMG:EOS D60 JPEG\0", 17) }, { "CnSet1.Macro", "Macro" },
                { "CnSet1.Quality", "Superfine" }, { "CnSet1.Flash", "Slow sync" },
                { "CnSet1.Focus", "Manual" }, { "CnSet1.ImgSize", "Medium" }, { "CnSet1.Shoot", "Portrait" },
                { "CnSet1.Contrast", "Low" }, { "CnSet1.ISO", "100" }, { "CnSet1.AFPoint", "Centre" },
                { "CnSet1.ExpMode", "Av priority" }, { "CnSet1.LongFocal", "70" },
                { "CnSet1.FlashDet", "External E-TTL FP sync enabled " }, { "CnSet2.ISO", "160" },
                { "CnSet2.WhiteBal", "Flash" }, { "CnSet2.SeqNo", "7" }, { "CnSet2.IxAFPoint", "Centre" },
                { "CnSet2.FlashBias", "-2 EV" }, { "CanonCFn.NoiseRed", "On" },
                { "CanonCFn.Lock", "AF/AE lock" }, { "CanonCFn.MirrorLock", "Disable" },
                { "CanonCFn.17", "" } },
            // The custom functions array declares 10 bytes, four values after the length: function 8 in
            // the fifth lies beyond it.
            { "CanonCFn.ShuttSync", "CnSet2.AutoRotate", "CnSet1.ColorTone" } },
        MakerCase { "Canon settings array of 10 values", "Canon", "Canon PowerShot S40",
            ExifMakerLayout::Canon,
            [](auto& d) {
                d.Short(0x0001, { 20, 2, 0, 3, 0, 0, 0, 0, 0, 0 });
            },
            { { "CnSet1.Macro", "Normal" }, { "CnSet1.Quality", "Fine" }, { "CnSet1.Focus", "One-shot" } },
            { "CnSet1.ImgSize", "CnSet1.Shoot", "CnSet1.Contrast" } },
        MakerCase { "other makers read no note", "Studio Camera", "X1", ExifMakerLayout::Canon,
            [](auto& d) { d.Long(0x0008, { 1001234 }); }, {}, { "Canon.ImageNo" } }));

TEST(ExifMakerNotes, CasioCcdSenseNameIsTheLaterRow)
{
    const MakerCase c { "", "CASIO", "QV-8000SX", ExifMakerLayout::Casio,
        [](auto& d) { d.Short(0x0014, { 100 }).Short(0x0019, { 0 }); }, {}, {} };
    const ExifData exif = readMaker(c, ExifByteOrder::Intel);
    EXPECT_EQ(exif.FindTag("Casio.CCDSense")->GetTag(), 0x0019u);
    EXPECT_EQ(exif.GetMakerEntries().size(), 2u); // both stay in the lists
}

TEST(ExifMakerNotes, CanonCustomFunctionsCarryTheirSettings)
{
    const MakerCase c { "", "Canon", "Canon EOS D30", ExifMakerLayout::Canon,
        [](auto& d) {
            d.Short(0x000F, { 8, 0x0101, 0x0C02, 0x6303 });
        },
        {}, {} };
    const ExifData exif = readMaker(c, ExifByteOrder::Motorola);
    const ExifEntry* noise = exif.FindTag("canoncfn.noisered");
    ASSERT_NE(noise, nullptr);
    EXPECT_EQ(noise->GetIntValue(), 1);
    EXPECT_EQ(noise->GetValueText(), "On");
    EXPECT_EQ(exif.GetTagText("CanonCFn.SetButt"), "Change ISO speed");
    // Function 0x63 has no row: named by its number, its setting without a name.
    const ExifEntry* unknown = exif.FindTag("CanonCFn.99");
    ASSERT_NE(unknown, nullptr);
    EXPECT_EQ(unknown->GetIntValue(), 3);
    EXPECT_EQ(unknown->GetValueText(), "");
}

} // namespace

namespace {

// Canon's flash details are bits of the 30th settings value.
TEST(ExifMakerNotes, CanonFlashDetailsNameEachBit)
{
    struct Case {
        uint32_t bits;
        const char* text;
    };
    const Case cases[] = {
        { 0x0000, "" },
        { 0x4000, "External E-TTL " },
        { 0x2000, "Internal Flash " },
        { 0x0800, "FP sync used " },
        { 0x0010, "FP sync enabled " },
        { 0x6810, "External E-TTL Internal Flash FP sync used FP sync enabled " },
        { 0x87EF, "" },
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> settings(30, 0);
        settings[0] = 60;
        settings[29] = c.bits;
        const MakerCase maker { "", "Canon", "Canon EOS 10D", ExifMakerLayout::Canon,
            [&](auto& d) { d.Short(0x0001, settings); }, {}, {} };
        const ExifData exif = readMaker(maker, ExifByteOrder::Intel);
        EXPECT_EQ(exif.GetTagDisplayText("CnSet1.FlashDet"), c.text) << c.bits;
        EXPECT_EQ(exif.GetTagText("CnSet1.FlashDet"), std::to_string(c.bits));
    }
}

} // namespace

namespace {

// Canon's image and serial numbers keep their leading zeros and every bit of a 32-bit value.
TEST(ExifMakerNotes, CanonNumbersKeepLeadingZeros)
{
    struct Case {
        uint32_t imageNumber;
        const char* imageText;
        uint32_t serialNumber;
        const char* serialText;
    };
    const Case cases[] = {
        { 1001234, "100-1234", 0x12345678, "123422136" },
        { 12345, "001-2345", 0x0000000A, "000000010" },
        { 0, "000-0000", 0x00010000, "000100000" },
        { 4294967295u, "429496-7295", 0xFFFFFFFF, "ffff65535" },
    };
    for (const Case& c : cases) {
        const MakerCase maker { "", "Canon", "Canon EOS 10D", ExifMakerLayout::Canon,
            [&](auto& d) { d.Long(0x0008, { c.imageNumber }).Long(0x000C, { c.serialNumber }); }, {}, {} };
        const ExifData exif = readMaker(maker, ExifByteOrder::Motorola);
        EXPECT_EQ(exif.GetTagDisplayText("Canon.ImageNo"), c.imageText);
        EXPECT_EQ(exif.GetTagDisplayText("Canon.SerialNo"), c.serialText);
    }
}

} // namespace

namespace {

// Canon's shot information as a PowerShot SD600 and an IXUS 75 write it: index 26 holds the camera
// type, 27 the rotation the camera recorded and 29 the second self-timer.
TEST(ExifMakerNotes, CanonShotInformationGivesTheRecordedRotation)
{
    struct Case {
        const char* model;
        uint32_t orientation;
        uint32_t rotation;
        const char* rotationText;
        uint32_t selfTimer2;
    };
    const Case cases[] = {
        { "Canon PowerShot SD600", 6, 1, "Rotate 90 CW", 0 },
        { "Canon DIGITAL IXUS 75", 1, 0, "None", 20 },
        { "Canon DIGITAL IXUS 75", 8, 3, "Rotate 270 CW", 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model + std::string(" ") + c.rotationText);
        std::vector<uint32_t> shot(34, 0);
        shot[0] = 68; // the array's length in bytes
        shot[25] = 2;
        shot[26] = 250; // a compact camera
        shot[27] = c.rotation;
        shot[28] = 65535;
        shot[29] = c.selfTimer2;
        ExifBlockBuilder b(ExifByteOrder::Intel);
        b.Main().Ascii(0x010F, "Canon").Ascii(0x0110, c.model).Short(0x0112, { c.orientation });
        b.MakerNote(ExifMakerLayout::Canon).Short(0x0004, shot);
        const std::vector<uint8_t> block = b.Build();
        ExifData exif;
        exif.ReadFromBlock(block.data(), block.size());
        EXPECT_EQ(exif.GetTagDisplayText("CnSet2.AutoRotate"), c.rotationText);
        EXPECT_EQ(exif.GetTagText("CnSet2.SelfTime2"), std::to_string(c.selfTimer2));
    }
}

// Nikon's AF information is four bytes: the area mode, then the focus point, then the points in
// focus. The point is the second byte, whatever the last one holds.
TEST(ExifMakerNotes, NikonFocusPointIsTheSecondByte)
{
    struct Case {
        const char* model;
        std::vector<uint8_t> info;
        const char* point;
    };
    const Case cases[] = {
        { "NIKON D80", { 0x02, 0x00, 0x00, 0x01 }, "Center" },
        { "COOLPIX L3", { 0x00, 0x03, 0x00, 0x00 }, "Left" },
        { "NIKON D70", { 0x01, 0x02, 0x00, 0x04 }, "Bottom" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        const MakerCase maker { "", "NIKON CORPORATION", c.model, ExifMakerLayout::Nikon2,
            [&](auto& d) { d.Undefined(0x0088, c.info); }, {}, {} };
        for (const auto order : { ExifByteOrder::Intel, ExifByteOrder::Motorola }) {
            const ExifData exif = readMaker(maker, order);
            const ExifEntry* entry = exif.FindTag("Nikon2.AFPos");
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(entry->GetDisplayText(), c.point);
            EXPECT_EQ(entry->GetValueText(), c.point);
            EXPECT_EQ(entry->GetIntValue(), c.info[1]);
        }
    }
}

} // namespace
