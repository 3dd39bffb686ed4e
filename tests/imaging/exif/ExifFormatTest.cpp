// Rendering of single entries: components of every type, numbers, display formatters and value names.
// Each case is one entry in a block of its own, read in both byte orders.
#include "imaging/exif/ExifBlockBuilder.h"

#include "imaging/exif/ExifData.h"
#include "imaging/exif/ExifFormatters.h"

#include <functional>
#include <sstream>

#include <gtest/gtest.h>

namespace {

using AddEntry = std::function<void(ExifTestDirectory&)>;

ExifData readOne(ExifByteOrder order, const AddEntry& add, bool inMain)
{
    ExifBlockBuilder b(order);
    add(inMain ? b.Main() : b.Exif());
    const std::vector<uint8_t> block = b.Build();
    ExifData exif;
    exif.ReadFromBlock(block.data(), block.size());
    return exif;
}

struct TextCase {
    const char* what;
    AddEntry add;
    const char* name; // Main.* entries go to the main directory, others to the Exif directory
    std::string value;
    std::string display;
};

void PrintTo(const TextCase& c, std::ostream* os)
{
    *os << c.what;
}

class ExifRendering : public testing::TestWithParam<TextCase> { };

TEST_P(ExifRendering, GivesValueAndDisplayText)
{
    const TextCase& c = GetParam();
    for (const auto order : { ExifByteOrder::Intel, ExifByteOrder::Motorola }) {
        const ExifData exif = readOne(order, c.add, std::string_view(c.name).starts_with("Main."));
        const ExifEntry* entry = exif.FindTag(c.name);
        ASSERT_NE(entry, nullptr) << c.what;
        EXPECT_EQ(entry->GetValueText(), c.value) << c.what;
        EXPECT_EQ(entry->GetDisplayText(), c.display) << c.what;
    }
}

const std::string nul(1, '\0');

INSTANTIATE_TEST_SUITE_P(Components, ExifRendering,
    testing::Values(TextCase { "several shorts",
                        [](auto& d) {
                            d.Short(0x1001, { 1, 65535, 300 });
                        },
                        "Sub.1001", "1 65535 300", "1 65535 300" },
        TextCase { "bytes",
            [](auto& d) {
                d.Byte(0x1001, { 0, 200, 255 });
            },
            "Sub.1001", "0 200 255", "0 200 255" },
        TextCase { "long beyond 2^24", [](auto& d) { d.Long(0x1001, { (1u << 24) + 5 }); }, "Sub.1001",
            "16777221", "16777221" },
        TextCase { "long of 2^32 - 1", [](auto& d) { d.Long(0x1001, { 0xFFFFFFFFu }); }, "Sub.1001",
            "4294967295", "4294967295" },
        TextCase { "signed byte",
            [](auto& d) {
                d.SByte(0x1001, { 0xFF, 0x7F, 0x80 });
            },
            "Sub.1001", "-1 127 -128", "-1 127 -128" },
        TextCase { "signed shorts",
            [](auto& d) {
                d.SShort(0x1001, { -5, 32767, -32768 });
            },
            "Sub.1001", "-5 32767 -32768", "-5 32767 -32768" },
        TextCase { "signed long", [](auto& d) { d.SLong(0x1001, { -2147483647 - 1 }); }, "Sub.1001",
            "-2147483648", "-2147483648" },
        TextCase { "rationals",
            [](auto& d) {
                d.Rationals(0x1001, { 1, 3, 4294967295u, 1 });
            },
            "Sub.1001", "1/3 4294967295/1", "1/3 4294967295/1" },
        TextCase {
            "signed rational", [](auto& d) { d.SRational(0x1001, -2, 3); }, "Sub.1001", "-2/3", "-2/3" },
        TextCase { "ascii keeps its zero byte", [](auto& d) { d.Ascii(0x1001, "Canon"); }, "Sub.1001",
            "Canon" + nul, "Canon" + nul },
        TextCase { "ascii escapes", [](auto& d) { d.Ascii(0x1001, "a\tb\nc\rd\be\x01\xe9", false); },
            "Sub.1001", "a\\tb\\nc\\rd\\be\\0x01\\0xe9", "a\\tb\\nc\\rd\\be\\0x01\\0xe9" },
        TextCase { "undefined printable bytes read as text",
            [](auto& d) {
                d.Undefined(0x1001, { '0', '2', '2', '0' });
            },
            "Sub.1001", "0220", "0220" },
        TextCase { "undefined binary bytes",
            [](auto& d) {
                d.Undefined(0x1001, { 0x01, 0xAB, 0x00, 0xFF });
            },
            "Sub.1001", "{ 01 ab 00 ff }", "{ 01 ab 00 ff }" },
        TextCase { "undefined beyond 16 bytes",
            [](auto& d) { d.Undefined(0x1001, std::vector<uint8_t>(20, 0xEE)); }, "Sub.1001",
            "{ ee ee ee ee ee ee ee ee ee ee ee ee ee ee ee ee ... }",
            "{ ee ee ee ee ee ee ee ee ee ee ee ee ee ee ee ee ... }" },
        TextCase { "float as bytes",
            [](auto& d) {
                d.Bytes(0x1001, 11, { 0x00, 0x00, 0x80, 0x3F }, 4);
            },
            "Sub.1001", "{ 00 00 80 3f }", "{ 00 00 80 3f }" },
        TextCase { "twenty shorts",
            [](auto& d) {
                d.Short(0x1001, { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20 });
            },
            "Sub.1001", "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 ...",
            "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 ..." },
        TextCase { "trailing spaces leave the value text only",
            [](auto& d) { d.Ascii(0x1001, "FINE  ", false); }, "Sub.1001", "FINE", "FINE  " },
        TextCase { "user comment loses its code",
            [](auto& d) {
                d.Undefined(0x9286, { 'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'H', 'i' });
            },
            "Sub.User", "Hi", "Hi" },
        TextCase { "unicode user comment code",
            [](auto& d) {
                d.Undefined(0x9286, { 'U', 'N', 'I', 'C', 'O', 'D', 'E', 0, 'x' });
            },
            "Sub.User", "x", "x" },
        TextCase { "blank user comment",
            [](auto& d) {
                d.Undefined(0x9286, { ' ', 0, 0, 0 });
            },
            "Sub.User", "", "" }));

INSTANTIATE_TEST_SUITE_P(Formatters, ExifRendering,
    testing::Values(TextCase { "exposure 10/2500", [](auto& d) { d.Rational(0x829A, 10, 2500); },
                        "Sub.Shutter", "10/2500 s", "1/250 s" },
        TextCase { "exposure 2/1", [](auto& d) { d.Rational(0x829A, 2, 1); }, "Sub.Shutter", "2/1 s", "2 s" },
        TextCase {
            "exposure 1/60", [](auto& d) { d.Rational(0x829A, 1, 60); }, "Sub.Shutter", "1/60 s", "1/60 s" },
        TextCase {
            "exposure 3/2", [](auto& d) { d.Rational(0x829A, 3, 2); }, "Sub.Shutter", "3/2 s", "1.5 s" },
        TextCase {
            "exposure 3/7", [](auto& d) { d.Rational(0x829A, 3, 7); }, "Sub.Shutter", "3/7 s", "1/2 s" },
        TextCase {
            "exposure 0/1", [](auto& d) { d.Rational(0x829A, 0, 1); }, "Sub.Shutter", "0/1 s", "0/1 s" },
        TextCase { "focal beyond six digits", [](auto& d) { d.Rational(0x920A, 12345678, 10); }, "Sub.Focal",
            "12345678/10 mm", "1.23457e+06 mm" },
        TextCase {
            "focal 350/10", [](auto& d) { d.Rational(0x920A, 350, 10); }, "Sub.Focal", "350/10 mm", "35 mm" },
        TextCase {
            "f-number 28/10", [](auto& d) { d.Rational(0x829D, 28, 10); }, "Sub.FStop", "28/10", "f2.8" },
        TextCase { "f-number 4/1", [](auto& d) { d.Rational(0x829D, 4, 1); }, "Sub.FStop", "4/1", "f4" },
        TextCase {
            "f-number 56/10", [](auto& d) { d.Rational(0x829D, 56, 10); }, "Sub.FStop", "56/10", "f5.6" },
        TextCase {
            "aperture 3/1", [](auto& d) { d.Rational(0x9202, 3, 1); }, "Sub.Aperturea", "3/1", "f2.8" },
        TextCase {
            "aperture 5/1", [](auto& d) { d.Rational(0x9202, 5, 1); }, "Sub.Aperturea", "5/1", "f5.7" },
        TextCase { "max aperture 2/1", [](auto& d) { d.Rational(0x9205, 2, 1); }, "Sub.Maxapa", "2/1", "f2" },
        TextCase { "shutter speed 8/1", [](auto& d) { d.SRational(0x9201, 8, 1); }, "Sub.Shuttera", "8/1",
            "1/256 s" },
        TextCase { "shutter speed 7965784/1000000", [](auto& d) { d.SRational(0x9201, 7965784, 1000000); },
            "Sub.Shuttera", "7965784/1000000", "1/250 s" },
        TextCase { "exposure bias", [](auto& d) { d.SRational(0x9204, -1, 3); }, "Sub.Expbiasa", "-1/3",
            "-0.333333" },
        TextCase { "distance with unit", [](auto& d) { d.Rational(0x9206, 25, 10); }, "Sub.Dist", "25/10 m",
            "2.5 m" },
        TextCase { "components YCbCr",
            [](auto& d) {
                d.Undefined(0x9101, { 1, 2, 3, 0 });
            },
            "Sub.CompConfig", "{ 01 02 03 00 }", "YCbCr" },
        TextCase { "components RGB",
            [](auto& d) {
                d.Undefined(0x9101, { 4, 5, 6, 0 });
            },
            "Sub.CompConfig", "{ 04 05 06 00 }", "RGB" },
        TextCase { "components with an unknown byte",
            [](auto& d) {
                d.Undefined(0x9101, { 1, 9, 3, 0 });
            },
            "Sub.CompConfig", "{ 01 09 03 00 }", "Y 09Cr" }));

INSTANTIATE_TEST_SUITE_P(ValueNames, ExifRendering,
    testing::Values(
        TextCase { "resolution unit", [](auto& d) { d.Short(0x0128, { 3 }); }, "Main.ResUnit", "cm", "cm" },
        TextCase { "program", [](auto& d) { d.Short(0x8822, { 7 }); }, "Sub.Prog", "Portrait", "Portrait" },
        TextCase { "metering 255", [](auto& d) { d.Short(0x9207, { 255 }); }, "Sub.Meter", "Other", "Other" },
        TextCase { "light source", [](auto& d) { d.Short(0x9208, { 21 }); }, "Sub.Lights", "D65", "D65" },
        TextCase { "flash", [](auto& d) { d.Short(0x9209, { 7 }); }, "Sub.Flash", "Yes, return detected",
            "Yes, return detected" },
        TextCase { "colour space 65535", [](auto& d) { d.Short(0xA001, { 65535 }); }, "Sub.ColorSpace",
            "Uncalibrated", "Uncalibrated" },
        TextCase { "scene type as undefined byte",
            [](auto& d) {
                d.Undefined(0xA301, { 1, 2 });
            },
            "Sub.SceneType", "{ 01 02 }", "{ 01 02 }" },
        TextCase {
            "no name for the value", [](auto& d) { d.Short(0x9208, { 99 }); }, "Sub.Lights", "99", "99" },
        TextCase {
            "orientation has no names", [](auto& d) { d.Short(0x0112, { 6 }); }, "Main.Ori", "6", "6" }));

// Single precision, as the numbers have always been computed, and rounding to the nearest integer.
TEST(ExifNumbers, RationalsAndIntegersGiveTheirNumbers)
{
    struct Case {
        AddEntry add;
        const char* name;
        double value;
        int32_t integer;
        uint32_t unsignedInteger;
    };
    const Case cases[] = {
        { [](auto& d) { d.Rational(0x1001, 1, 3); }, "Sub.1001", static_cast<double>(1.0f / 3.0f), 0, 0 },
        { [](auto& d) { d.Rational(0x1001, 5, 2); }, "Sub.1001", 2.5, 3, 3 },
        { [](auto& d) { d.SRational(0x1001, -5, 2); }, "Sub.1001", -2.5, -3, static_cast<uint32_t>(-3) },
        { [](auto& d) { d.SShort(0x1001, { -1 }); }, "Sub.1001", -1.0, -1, 0xFFFFFFFFu },
        { [](auto& d) { d.SShort(0x1001, { -5 }); }, "Sub.1001", -5.0, -5, static_cast<uint32_t>(-5) },
        { [](auto& d) { d.Long(0x1001, { 3000000000u }); }, "Sub.1001", 3000000000.0, 2147483647,
            3000000000u },
        { [](auto& d) { d.Long(0x1001, { (1u << 24) + 5 }); }, "Sub.1001", 16777221.0, 16777221, 16777221u },
        { [](auto& d) {
             d.Short(0x1001, { 1, 2, 300 });
         },
            "Sub.1001", 300.0, 300, 300 },
        { [](auto& d) {
             d.Undefined(0x1001, { 1, 2, 0xF0 });
         },
            "Sub.1001", 240.0, 240, 240 },
    };
    for (const Case& c : cases) {
        const ExifData exif = readOne(ExifByteOrder::Motorola, c.add, false);
        const ExifEntry* entry = exif.FindTag(c.name);
        ASSERT_NE(entry, nullptr);
        SCOPED_TRACE(entry->GetValueText());
        EXPECT_EQ(entry->GetDoubleValue(), c.value);
        EXPECT_EQ(entry->GetIntValue(), c.integer);
        EXPECT_EQ(entry->GetUIntValue(), c.unsignedInteger);
    }
    EXPECT_DOUBLE_EQ(static_cast<double>(1.0f / 3.0f), 0.3333333432674408);
}

// Doubles are written as the standard stream writes them by default, whatever their size.
TEST(ExifFormatterHelpers, DoublesAsTheStreamWritesThem)
{
    for (const double x : { 0.0, -0.0, 35.0, 2.5, -1.0 / 3, 1e-5, 123456.0, 1234567.0, 4294967295.0, 1e300,
             -2.5e-300, 0.1 + 0.2 }) {
        std::ostringstream stream;
        stream << x;
        EXPECT_EQ(ExifDoubleText(x), stream.str());
    }
}

// The side formatter names the low 12 bits 0, 1, 2 only when one of the top four bits is set.
TEST(ExifFormatterHelpers, RightCentreLeft)
{
    struct Case {
        uint32_t value;
        const char* text;
    };
    const Case cases[] = {
        { 0xF000, "Right" },
        { 0xF001, "Centre" },
        { 0xF002, "Left" },
        { 0x1001, "Centre" },
        { 0x0001, "" },
        { 0x0000, "" },
        { 0xF003, "" },
    };
    for (const Case& c : cases) {
        const ExifData exif = readOne(
            ExifByteOrder::Intel, [&](auto& d) { d.Short(0x0112, { static_cast<uint16_t>(c.value) }); },
            true);
        const ExifEntry* entry = exif.FindTag("Main.Ori");
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(ExifFormatRightCentreLeft(*entry), c.text) << std::hex << c.value;
    }
}

TEST(ExifFormatterHelpers, RangeAndRounding)
{
    struct Case {
        double low, high;
        const char* text;
    };
    const Case cases[] = {
        { 35, 35, "35" },
        { 3.5, 5.6, "3.5-5.6" },
        { 28, 105, "28-105" },
        { 4.04, 4.0, "4" },
        { 0.0, 0.26, "0-0.3" },
    };
    for (const Case& c : cases) {
        std::string out;
        ExifFormatRange(c.low, c.high, out);
        EXPECT_EQ(out, c.text);
    }
    EXPECT_DOUBLE_EQ(ExifRoundToDigits(2.345, 2), 2.35);
    EXPECT_DOUBLE_EQ(ExifRoundToDigits(-1.25, 1), -1.2);
    EXPECT_DOUBLE_EQ(ExifRoundToDigits(1234.5, 0), 1235.0);
}

} // namespace
