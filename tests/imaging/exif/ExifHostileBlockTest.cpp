// Hostile blocks: every offset, count and size the reader takes from a block, made wrong on purpose.
// Each gives its defined outcome (entries skipped, a directory skipped, or code 14 for a malformed type
// or count) and never reads outside the block, loops or allocates without bound.
#include "imaging/exif/ExifBlockBuilder.h"

#include "imaging/exif/ExifData.h"
#include "imaging/io/PLTextException.h"

#include <functional>
#include <optional>

#include <gtest/gtest.h>

namespace {

using Block = std::vector<uint8_t>;

constexpr int32_t int32Min = -2147483647 - 1;

uint32_t get32(const Block& block, size_t at)
{
    return block.at(at) | block.at(at + 1) << 8 | block.at(at + 2) << 16
        | uint32_t { block.at(at + 3) } << 24;
}

void put32(Block& block, size_t at, uint32_t value)
{
    for (size_t i = 0; i < 4; ++i)
        block.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
}

Block withMain(const std::function<void(ExifTestDirectory&)>& add)
{
    ExifBlockBuilder b;
    add(b.Main());
    return b.Build();
}

Block withExif(const std::function<void(ExifTestDirectory&)>& add)
{
    ExifBlockBuilder b;
    b.Main().Short(0x0112, { 6 });
    add(b.Exif());
    return b.Build();
}

Block withNote(const char* make, ExifMakerLayout layout, const std::function<void(ExifTestDirectory&)>& add)
{
    ExifBlockBuilder b;
    b.Main().Ascii(0x010F, make).Short(0x0112, { 6 });
    b.Exif().Rational(0x829A, 1, 60);
    add(b.MakerNote(layout));
    return b.Build();
}

Block patched(Block block, size_t at, uint32_t value)
{
    put32(block, at, value);
    return block;
}

Block cut(Block block, size_t size)
{
    block.resize(size);
    return block;
}

std::string display(const ExifData& exif, const char* name)
{
    const ExifEntry* entry = exif.FindTag(name);
    return entry ? entry->GetDisplayText() : "<absent>";
}

size_t textOf(const ExifData& exif)
{
    size_t total = 0;
    for (const auto& entry : exif.GetAllEntries())
        total += entry->GetValueText().size() + entry->GetDisplayText().size();
    return total;
}

// The GPS link of the main directory points at the Exif directory.
Block gpsOntoExif()
{
    ExifBlockBuilder b;
    b.Main().Short(0x0112, { 6 });
    b.Exif().Rational(0x829A, 1, 60);
    b.Gps().Ascii(0x0001, "N");
    Block block = b.Build();
    put32(block, ExifFieldOf(block, 8, 0x8825), b.ExifOffset());
    return block;
}

// Three inline entries, then a count that claims 65,535 and the block ending inside the fourth.
Block overlongDirectory()
{
    Block block = withMain([](auto& d) { d.Short(0x0112, { 6 }).Short(0x0128, { 2 }).Short(0x0213, { 1 }); });
    block = cut(block, 14 + 2 + 3 * 12 + 5);
    block[14] = 0xFF;
    block[15] = 0xFF;
    return block;
}

// The main directory's link to the next directory (IFD1) points back at the main directory.
Block chainInACycle()
{
    Block block = withMain([](auto& d) { d.Short(0x0112, { 6 }).Short(0x0128, { 2 }); });
    put32(block, 6 + 8 + 2 + 2 * 12, 8);
    return block;
}

// The GPS directory starts inside the Exif directory: its count is the upper half of the first Exif
// entry's value field, its entries are the Exif directory's second and third.
Block overlappingDirectories()
{
    ExifBlockBuilder b;
    b.Main().Short(0x0112, { 6 });
    b.Exif().Raw(0x0001, 4, 1, 0x00020000).Short(0x0005, { 1 }).Short(0x001E, { 1 });
    b.Gps().Ascii(0x0001, "N");
    Block block = b.Build();
    put32(block, ExifFieldOf(block, 8, 0x8825), b.ExifOffset() + 2 + 8 + 2);
    return block;
}

// A Canon settings array whose value is the maker note's own directory.
Block canonArrayOnItsDirectory()
{
    ExifBlockBuilder b;
    b.Main().Ascii(0x010F, "Canon");
    b.MakerNote(ExifMakerLayout::Canon).Raw(0x0001, 3, 4, 0).Short(0x0004, { 9 });
    Block block = b.Build();
    const uint32_t note = get32(block, ExifFieldOf(block, b.ExifOffset(), 0x927C));
    put32(block, ExifFieldOf(block, note, 0x0001), note);
    return block;
}

struct HostileCase {
    const char* what;
    std::function<Block()> block;
    std::function<void(const ExifData&)> check;
    std::optional<std::string> error = std::nullopt; // the text of code 14, when the block is refused
};

void PrintTo(const HostileCase& c, std::ostream* os)
{
    *os << c.what;
}

class ExifHostileBlocks : public testing::TestWithParam<HostileCase> { };

TEST_P(ExifHostileBlocks, GiveTheirDefinedOutcome)
{
    const HostileCase& c = GetParam();
    const Block block = c.block();
    ExifData exif;
    try {
        exif.ReadFromBlock(block.data(), block.size());
        EXPECT_FALSE(c.error) << "expected: " << *c.error;
    } catch (const PLTextException& e) {
        EXPECT_EQ(e.GetCode(), PL_ERR_BAD_EXIF);
        EXPECT_EQ(c.error.value_or("<no error>"), e.GetText());
    }
    c.check(exif);
}

const auto oriOnly = [](const ExifData& exif) {
    EXPECT_EQ(exif.GetTagValue("Main.Ori"), 6.0);
    EXPECT_TRUE(exif.GetSubEntries().empty());
};
const auto nothingRead = [](const ExifData& exif) { EXPECT_TRUE(exif.GetAllEntries().empty()); };

INSTANTIATE_TEST_SUITE_P(Header, ExifHostileBlocks,
    testing::Values(HostileCase { "shorter than the signature",
                        [] {
                            return Block { 'E', 'x', 'i', 'f', 0 };
                        },
                        [](const ExifData& exif) { EXPECT_TRUE(exif.GetBlock().empty()); } },
        HostileCase { "not EXIF",
            [] {
                Block b = withMain([](auto& d) { d.Short(0x0112, { 6 }); });
                b[3] = 'g';
                return b;
            },
            [](const ExifData& exif) { EXPECT_TRUE(exif.GetBlock().empty()); } },
        HostileCase { "unknown byte order keeps Intel",
            [] {
                Block b = withMain([](auto& d) { d.Short(0x0112, { 6 }); });
                b[6] = 'X';
                b[7] = 'Y';
                return b;
            },
            [](const ExifData& exif) { EXPECT_EQ(exif.GetTagValue("main.ori"), 6.0); } },
        HostileCase { "cut inside the main directory offset",
            [] { return cut(withMain([](auto& d) { d.Short(0x0112, { 6 }); }), 12); },
            [](const ExifData& exif) {
                EXPECT_EQ(exif.GetBlock().size(), 12u);
                EXPECT_TRUE(exif.GetAllEntries().empty());
            } },
        HostileCase { "longer than an APP1 segment",
            [] { return withMain([](auto& d) { d.Undefined(0x0200, Block(65600, 1)); }); },
            [](const ExifData& exif) { EXPECT_TRUE(exif.GetBlock().empty()); } }));

INSTANTIATE_TEST_SUITE_P(Directories, ExifHostileBlocks,
    testing::Values(
        HostileCase { "main directory beyond the block",
            [] { return patched(withMain([](auto& d) { d.Short(0x0112, { 6 }); }), 10, 0x10000); },
            nothingRead },
        HostileCase { "main directory offset near 2^32",
            [] { return patched(withMain([](auto& d) { d.Short(0x0112, { 6 }); }), 10, 0xFFFFFFFF); },
            nothingRead },
        HostileCase { "main directory count beyond the block",
            [] { return cut(withMain([](auto& d) { d.Short(0x0112, { 6 }); }), 15); }, nothingRead },
        HostileCase { "directory stops at the first entry that does not fit", overlongDirectory,
            [](const ExifData& exif) {
                EXPECT_EQ(exif.GetMainEntries().size(), 3u);
                EXPECT_EQ(display(exif, "Main.ResUnit"), "inch");
            } },
        HostileCase { "Exif directory beyond the block",
            [] { return withMain([](auto& d) { d.Short(0x0112, { 6 }).Raw(0x8769, 4, 1, 0x100000); }); },
            oriOnly },
        HostileCase { "Exif directory offset of 2^31",
            [] { return withMain([](auto& d) { d.Short(0x0112, { 6 }).Raw(0x8769, 4, 1, 0x80000000); }); },
            oriOnly },
        HostileCase { "Exif directory offset negative",
            [] { return withMain([](auto& d) { d.Short(0x0112, { 6 }).Raw(0x8769, 9, 1, 0xFFFFFFFE); }); },
            oriOnly },
        HostileCase { "Exif directory is the main directory",
            [] { return withMain([](auto& d) { d.Short(0x0112, { 6 }).Raw(0x8769, 4, 1, 8); }); },
            [](const ExifData& exif) {
                oriOnly(exif);
                EXPECT_EQ(exif.GetAllEntries().size(), 2u);
            } },
        HostileCase { "GPS directory is the Exif directory", gpsOntoExif,
            [](const ExifData& exif) {
                EXPECT_EQ(exif.GetSubEntries().size(), 1u);
                EXPECT_TRUE(exif.GetGpsEntries().empty());
                EXPECT_EQ(display(exif, "Sub.Shutter"), "1/60 s");
            } },
        HostileCase { "entries of tag 0 or count 0 are skipped",
            [] {
                return withMain(
                    [](auto& d) { d.Short(0x0000, { 1 }).Raw(0x010F, 2, 0, 0).Short(0x0112, { 6 }); });
            },
            [](const ExifData& exif) { EXPECT_EQ(exif.GetAllEntries().size(), 1u); } },
        HostileCase { "Exif directory in the TIFF header",
            [] { return withMain([](auto& d) { d.Short(0x0112, { 6 }).Raw(0x8769, 4, 1, 0); }); },
            // The header read as a directory gives an entry of 65,536 SSHORTs (the main directory's count
            // as the upper half of its component count): malformed like any other.
            [](const ExifData& exif) { EXPECT_EQ(exif.GetTagValue("Main.Ori"), 6.0); },
            "EXIF NoComp field not understood" },
        HostileCase { "directories overlapping", overlappingDirectories,
            [](const ExifData& exif) {
                EXPECT_EQ(exif.GetSubEntries().size(), 3u);
                ASSERT_EQ(exif.GetGpsEntries().size(), 2u);
                EXPECT_EQ(display(exif, "Gps.AltitudeRef"), "Below Sea Level");
                EXPECT_EQ(display(exif, "Gps.Differential"), "differential correction applied");
                EXPECT_EQ(display(exif, "Gps.LatitudeRef"), "<absent>");
            } },
        HostileCase { "directory chain in a cycle", chainInACycle, [](const ExifData& exif) {
                         EXPECT_EQ(exif.GetAllEntries().size(), 2u);
                         EXPECT_EQ(display(exif, "Main.ResUnit"), "inch");
                     } }));

INSTANTIATE_TEST_SUITE_P(Values, ExifHostileBlocks,
    testing::Values(
        HostileCase { "value beyond the block",
            [] { return withMain([](auto& d) { d.Raw(0x010F, 2, 20, 0x1000).Short(0x0112, { 6 }); }); },
            [](const ExifData& exif) {
                EXPECT_EQ(display(exif, "Main.Make"), "<absent>");
                oriOnly(exif);
            } },
        HostileCase { "value offset and size wrap 32 bits",
            [] { return withMain([](auto& d) { d.Raw(0x010F, 2, 20, 0xFFFFFFF8).Short(0x0112, { 6 }); }); },
            [](const ExifData& exif) {
                EXPECT_EQ(display(exif, "Main.Make"), "<absent>");
                oriOnly(exif);
            } },
        HostileCase { "value offset that wraps 32 bits with the base",
            // 6 + 0xFFFFFFFA is 2^32: in 32 bits it would be the start of the block.
            [] { return withMain([](auto& d) { d.Raw(0x010F, 2, 8, 0xFFFFFFFA).Short(0x0112, { 6 }); }); },
            [](const ExifData& exif) {
                EXPECT_EQ(display(exif, "Main.Make"), "<absent>");
                oriOnly(exif);
            } },
        HostileCase { "value ending at the end of the block",
            [] { return withMain([](auto& d) { d.Ascii(0x010F, "Hello"); }); },
            [](const ExifData& exif) { EXPECT_EQ(display(exif, "Main.Make"), std::string("Hello\0", 6)); } },
        HostileCase { "value one byte beyond the end of the block",
            [] {
                Block b = withMain([](auto& d) { d.Ascii(0x010F, "Hello"); });
                b.pop_back();
                return b;
            },
            [](const ExifData& exif) { EXPECT_EQ(display(exif, "Main.Make"), "<absent>"); } },
        HostileCase { "unknown type in the main directory",
            [] { return withMain([](auto& d) { d.Short(0x0112, { 6 }).Raw(0x0131, 13, 1, 0); }); },
            [](const ExifData& exif) { EXPECT_EQ(exif.GetTagValue("main.ori"), 6.0); },
            "EXIF Tag format field not understood" },
        HostileCase { "type 0 in the Exif directory",
            [] { return withExif([](auto& d) { d.Raw(0x9000, 0, 1, 0); }); }, [](const ExifData&) {},
            "EXIF Tag format field not understood" },
        HostileCase { "more than 65,536 components",
            [] { return withMain([](auto& d) { d.Raw(0x0110, 1, 65537, 0); }); }, nothingRead,
            "EXIF NoComp field not understood" },
        HostileCase { "more than 65,536 bytes",
            [] { return withMain([](auto& d) { d.Raw(0x0110, 4, 16385, 0); }); }, nothingRead,
            "EXIF NoComp field not understood" },
        HostileCase { "count times size wraps 32 bits to 8",
            [] { return withMain([](auto& d) { d.Raw(0x0110, 5, 0x20000001, 0); }); }, nothingRead,
            "EXIF NoComp field not understood" },
        HostileCase { "65,536 bytes are no error but do not fit",
            [] { return withMain([](auto& d) { d.Raw(0x0110, 1, 65536, 8).Short(0x0112, { 6 }); }); },
            [](const ExifData& exif) {
                EXPECT_EQ(display(exif, "Main.Model"), "<absent>");
                EXPECT_EQ(exif.GetTagValue("main.ori"), 6.0);
            } },
        HostileCase { "value in the TIFF header",
            [] { return withMain([](auto& d) { d.Raw(0x010F, 2, 8, 0); }); },
            [](const ExifData& exif) {
                EXPECT_EQ(display(exif, "Main.Make"), std::string("II*\0\\b\0\0\0", 9));
                EXPECT_EQ(exif.FindTag("Main.Make")->GetDataOffset(), 0u);
            } },
        HostileCase { "count near 2^32",
            [] { return withMain([](auto& d) { d.Raw(0x0110, 12, 0xFFFFFFFF, 0); }); }, nothingRead,
            "EXIF NoComp field not understood" }));

INSTANTIATE_TEST_SUITE_P(Numbers, ExifHostileBlocks,
    testing::Values(HostileCase { "zero denominators",
                        [] {
                            return withExif([](auto& d) {
                                d.Rational(0x829A, 1, 0)
                                    .Rational(0x829D, 28, 0)
                                    .SRational(0x9201, 8, 0)
                                    .Rational(0x9202, 3, 0)
                                    .Rational(0x920A, 350, 0);
                            });
                        },
                        [](const ExifData& exif) {
                            EXPECT_EQ(display(exif, "Sub.Shutter"), "1/0 s");
                            EXPECT_EQ(display(exif, "Sub.FStop"), "28/0");
                            EXPECT_EQ(display(exif, "Sub.Shuttera"), "8/0");
                            EXPECT_EQ(display(exif, "Sub.Aperturea"), "3/0");
                            EXPECT_EQ(display(exif, "Sub.Focal"), "350/0 mm");
                            EXPECT_EQ(exif.GetTagValue("Sub.Focal"), 0.0);
                        } },
        HostileCase { "minimum signed rationals",
            [] {
                return withExif([](auto& d) {
                    d.SRational(0x829A, int32Min, -1)
                        .SRational(0x9204, int32Min, int32Min)
                        .SRational(0x9201, int32Min, 1)
                        .SRational(0x9202, 1, int32Min);
                });
            },
            [](const ExifData& exif) {
                EXPECT_EQ(display(exif, "Sub.Shutter"), "1/0 s");
                EXPECT_EQ(display(exif, "Sub.Expbiasa"), "1");
                EXPECT_EQ(display(exif, "Sub.Shuttera"), "1/0 s");
                EXPECT_EQ(display(exif, "Sub.Aperturea"), "f1");
                EXPECT_EQ(exif.FindTag("Sub.Expbiasa")->GetIntValue(), 1);
            } },
        HostileCase { "negative exposure times",
            [] {
                return withExif([](auto& d) { d.SRational(0x829A, -3, 1).SRational(0x829D, -1, int32Min); });
            },
            [](const ExifData& exif) {
                EXPECT_EQ(display(exif, "Sub.Shutter"), "1/0 s");
                EXPECT_EQ(display(exif, "Sub.FStop"), "f0");
            } },
        HostileCase { "speeds and apertures beyond every range",
            [] {
                return withExif([](auto& d) {
                    d.SRational(0x9201, 1000, 1)
                        .Rational(0x9202, 100000, 1)
                        .Rational(0x9205, 0xFFFFFFFF, 1)
                        .Rational(0x829A, 0xFFFFFFFF, 0xFFFFFFFF);
                });
            },
            [](const ExifData& exif) {
                EXPECT_EQ(display(exif, "Sub.Shuttera"), "1000/1");
                EXPECT_EQ(display(exif, "Sub.Aperturea"), "100000/1");
                EXPECT_EQ(display(exif, "Sub.Maxapa"), "4294967295/1");
                EXPECT_EQ(display(exif, "Sub.Shutter"), "1 s");
            } },
        HostileCase { "user comments shorter than their code",
            [] { return withExif([](auto& d) { d.Ascii(0x9286, "ASCII", false); }); },
            [](const ExifData& exif) { EXPECT_EQ(display(exif, "Sub.User"), ""); } }));

INSTANTIATE_TEST_SUITE_P(Limits, ExifHostileBlocks,
    testing::Values(HostileCase { "value text capped",
                        [] { return withMain([](auto& d) { d.Ascii(0x010E, std::string(60000, '\x01')); }); },
                        [](const ExifData& exif) {
                            EXPECT_EQ(exif.FindTag("Main.Desc")->GetValueText().size(), ExifMaxValueText);
                            EXPECT_EQ(exif.FindTag("Main.Desc")->GetDisplayText().size(), ExifMaxValueText);
                            EXPECT_TRUE(exif.GetTagText("Main.Desc").starts_with("\\0x01\\0x01"));
                        } },
        HostileCase { "text of one block capped", [] { return ExifTextBomb(100); },
            [](const ExifData& exif) {
                EXPECT_EQ(exif.GetTagValue("Main.Ori"), 6.0);
                EXPECT_LE(textOf(exif), ExifMaxBlockText);
                EXPECT_GT(textOf(exif), ExifMaxBlockText / 2);
                EXPECT_LT(exif.GetMainEntries().size(), 100u);
            } }));

INSTANTIATE_TEST_SUITE_P(MakerNotes, ExifHostileBlocks,
    testing::Values(HostileCase { "maker note cut short at the end of the block",
                        [] { return withNote("NIKON", ExifMakerLayout::Nikon2, [](auto&) {}); },
                        [](const ExifData& exif) {
                            EXPECT_TRUE(exif.GetMakerEntries().empty());
                            EXPECT_EQ(display(exif, "Sub.Shutter"), "1/60 s");
                        } },
        HostileCase { "maker note header only",
            [] {
                ExifBlockBuilder b;
                b.Main().Ascii(0x010F, "NIKON");
                b.Exif().Undefined(0x927C, { 'N', 'i', 'k', 'o', 'n', 0, 2, 0x10, 0, 0 });
                return b.Build();
            },
            [](const ExifData& exif) {
                EXPECT_TRUE(exif.GetMakerEntries().empty());
                EXPECT_NE(exif.FindTag("Sub.Maker"), nullptr);
            } },
        HostileCase { "Fuji value beyond the block from its moved base",
            [] {
                return withNote("FUJIFILM", ExifMakerLayout::Fuji,
                    [](auto& d) { d.Raw(0x1000, 2, 8, 0xFFF0).Short(0x1001, { 3 }); });
            },
            [](const ExifData& exif) {
                EXPECT_EQ(display(exif, "Fuji.Quality"), "<absent>");
                EXPECT_EQ(display(exif, "Fuji.Sharpness"), "Normal");
            } },
        HostileCase { "unknown type ends the maker note only",
            [] {
                return withNote("Canon", ExifMakerLayout::Canon,
                    [](auto& d) { d.Long(0x0008, { 1001234 }).Raw(0x0009, 13, 1, 0).Long(0x000C, { 5 }); });
            },
            [](const ExifData& exif) {
                EXPECT_EQ(display(exif, "Canon.ImageNo"), "100-1234");
                EXPECT_EQ(display(exif, "Canon.SerialNo"), "<absent>");
                EXPECT_EQ(display(exif, "Sub.Shutter"), "1/60 s");
                EXPECT_EQ(exif.GetTagValue("main.ori"), 6.0);
            } },
        HostileCase { "maker note directory is the Exif directory",
            [] {
                ExifBlockBuilder b;
                b.Main().Ascii(0x010F, "Canon");
                b.Exif().Raw(0x927C, 7, 20, 0).Rational(0x829A, 1, 60);
                Block block = b.Build();
                // The note's data start at the Exif directory.
                put32(block, ExifFieldOf(block, b.ExifOffset(), 0x927C), b.ExifOffset());
                return block;
            },
            [](const ExifData& exif) {
                EXPECT_TRUE(exif.GetMakerEntries().empty());
                EXPECT_EQ(exif.GetSubEntries().size(), 2u);
            } },
        HostileCase { "Canon settings array on the note's own directory", canonArrayOnItsDirectory,
            // The array's four values are the directory's count (2) and first entry (1, 3, 4).
            [](const ExifData& exif) {
                EXPECT_EQ(display(exif, "CnSet1.Macro"), "Macro");
                EXPECT_EQ(display(exif, "CnSet1.Quality"), "RAW");
                EXPECT_EQ(exif.FindTag("CnSet1.Flash"), nullptr);
                EXPECT_EQ(exif.GetTagText("Canon.CnSet1"), "2 1 3 4");
            } },
        HostileCase { "make and model without their terminating zero",
            [] {
                ExifBlockBuilder b;
                b.Main().Ascii(0x010F, "NIKON", false).Ascii(0x0110, "E950", false);
                b.MakerNote(ExifMakerLayout::Nikon).Short(0x0003, { 5 });
                return b.Build();
            },
            [](const ExifData& exif) { EXPECT_EQ(display(exif, "Nikon.Quality"), "SXGA Normal"); } },
        HostileCase { "Nikon note with its own header in the other byte order",
            [] {
                ExifBlockBuilder b;
                b.Main().Ascii(0x010F, "NIKON");
                b.MakerNote(ExifMakerLayout::Nikon2).Short(0x0083, { 6 }).Rational(0x0085, 3, 2);
                Block block = b.Build();
                const uint32_t note = get32(block, ExifFieldOf(block, b.ExifOffset(), 0x927C));
                block.at(6 + note + 10) = 'M';
                block.at(6 + note + 11) = 'M';
                return block;
            },
            // The note is read in the block's byte order, whatever its own header says.
            [](const ExifData& exif) {
                EXPECT_EQ(display(exif, "Nikon2.LensType"), "AF G");
                EXPECT_EQ(display(exif, "Nikon2.ManFocus"), "1.5 m");
            } },
        HostileCase { "Canon custom functions not of type SHORT",
            [] {
                return withNote("Canon", ExifMakerLayout::Canon, [](auto& d) {
                    d.Long(0x000F, { 8, 0x0101, 0x0201 });
                });
            },
            [](const ExifData& exif) { EXPECT_EQ(display(exif, "CanonCFn.NoiseRed"), "<absent>"); } },
        HostileCase { "Canon custom functions declaring more than they hold",
            [] {
                return withNote("Canon", ExifMakerLayout::Canon, [](auto& d) {
                    d.Short(0x000F, { 0xFFFF, 0x0101, 0x0201 });
                });
            },
            [](const ExifData& exif) {
                EXPECT_EQ(display(exif, "CanonCFn.NoiseRed"), "On");
                EXPECT_EQ(display(exif, "CanonCFn.Lock"), "AE lock/AF");
                EXPECT_EQ(exif.GetMakerEntries().size(), 3u);
            } },
        HostileCase { "Canon custom functions declaring no length",
            [] {
                return withNote("Canon", ExifMakerLayout::Canon, [](auto& d) {
                    d.Short(0x000F, { 0, 0x0101 }).Short(0x0001, { 2 });
                });
            },
            [](const ExifData& exif) { EXPECT_EQ(exif.GetMakerEntries().size(), 2u); } },
        HostileCase { "Canon settings not of type SHORT",
            [] {
                return withNote("Canon", ExifMakerLayout::Canon, [](auto& d) {
                    d.Long(0x0001, { 4, 1, 0, 3 });
                });
            },
            [](const ExifData& exif) {
                EXPECT_EQ(display(exif, "CnSet1.Macro"), "<absent>");
                EXPECT_EQ(exif.GetMakerEntries().size(), 1u);
            } }));

} // namespace
