// The layout document: the current version written byte for byte, every earlier version read
// with its conversions, and bad or damaged files read without loss or harm.
#include "UnexpectedModals.h"
#include "model/Layout.h"
#include "model/LayoutDocumentSupport.h"
#include "platform/win/AppContext.h"
#include "platform/win/ScriptedModalServices.h"
#include "records/DataVersion.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <streambuf>
#include <string>

using namespace layoutdoc_test;

namespace {

class LayoutDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        win::AppContext::Instance().Reset();
        win::AppContext::Instance().SetModalServices(modal);
        ResetSavedDataVersion();
    }
    void TearDown() override
    {
        ExpectNoUnexpectedModals();
        win::AppContext::Instance().Reset();
    }

    std::shared_ptr<win::ScriptedModalServices> modal = std::make_shared<win::ScriptedModalServices>();
};

// A portrait layout whose values differ from the defaults where the version table says a field
// of an old file keeps the layout's value, so that "kept" and "read" can be told apart.
void PrepareForOldFile(Layout& layout)
{
    layout.SetPrintMainImage(true);
    layout.SetOverprintCopyright(true);
    layout.SetOverprintWord("Draft");
    layout.SetOverprintColour("00FF00");
    layout.SetOverprintDiagonal(false);
    layout.SetOverprintDiagWidth(9);
    for (const char* name : { "Master", "Port", "PImage", "PBarcode", "PRefBoxes", "PPacks", "PDescription",
             "PPrice", "ExtraTxt1", "ExtraTxt2", "ExtraTxt3", "ExtraTxt4", "ExtraTxt5", "ExtraTxt6",
             "ExtraTxt7", "ExtraTxt8" }) {
        LayoutUnit& unit = UnitNamed(layout, name);
        unit.SetCaption("cap");
        unit.SetSingleOnly(true);
        unit.SetImageFlag(!unit.GetImageFlag());
        unit.SetQuarterTurns(1);
        unit.SetFontSize(101);
    }
    UnitNamed(layout, "PBarcode").SetFontSize(25);
}

} // namespace

// The complete document of a new portrait layout reads and writes back unchanged, whichever line
// ends it was stored with; the writer always writes CR LF.
TEST_F(LayoutDocumentTest, CurrentVersionReadsAndWritesBackByteForByte)
{
    const std::string expected = ReadFixture("v2453-portrait.txt");
    for (const char* file : { "v2453-portrait.txt", "v2453-portrait-lf.txt", "v2453-portrait-cr.txt",
             "v2453-portrait-crcrlf.txt" }) {
        SCOPED_TRACE(file);
        Layout layout;
        ChangeEveryStoredField(layout, 1);
        ASSERT_TRUE(ReadFromString(layout, ReadFixture(file)));
        EXPECT_EQ(WriteToString(layout), expected);
        EXPECT_TRUE(layout.IsLoaded());
        EXPECT_DOUBLE_EQ(SavedDataVersion, 2.453);
        EXPECT_EQ(layout.GetModifiedMask(), 0u);
        EXPECT_EQ(UnitNamed(layout, "PPacks").GetRepeatCount(), 6u);
    }
}

// Every stored field of every proof type survives a write and a read into a fresh layout, and the
// item size of every unit follows its width and height.
TEST_F(LayoutDocumentTest, EveryStoredFieldSurvivesWriteThenRead)
{
    for (const int type : { 0, 1, 2, 7 }) {
        SCOPED_TRACE(type);
        Layout written;
        written.SetLayoutType(type);
        ChangeEveryStoredField(written, 100 + type);
        written.SetOverprintWord("\xC9preuve \"A\", 2nd\nline");
        written.SetBackgroundImage("  C:\\Studio Files\\bg,1.jpg  ");
        UnitNamed(written, "ExtraTxt3").SetCaption("Name, \"quoted\"\nand a second line");
        UnitNamed(written, "Master").SetRepeatCount(4000000000u);
        UnitNamed(written, "ExtraTxt8").SetFontSize(4294967295u);
        UnitNamed(written, "ExtraTxt7").SetX(-2147483647 - 1);
        const std::string text = WriteToString(written);

        Layout read;
        ASSERT_TRUE(ReadFromString(read, text));
        EXPECT_EQ(StoredFields(read), StoredFields(written));
        const auto fields = FieldMap(read);
        for (const auto& [name, value] : fields) {
            for (const std::string item : { ".ItemWidth", ".ItemHeight" }) {
                if (name.ends_with(item)) {
                    const std::string unit = name.substr(0, name.size() - item.size());
                    EXPECT_EQ(value, fields.at(unit + (item == ".ItemWidth" ? ".Width" : ".Height"))) << name;
                }
            }
        }
        EXPECT_EQ(WriteToString(read), text);
    }
}

namespace {

struct OldVersionCase {
    const char* file;
    double version;
    std::vector<std::pair<std::string, std::string>> expected;
};

const OldVersionCase oldVersionCases[] = {
    { "v2000.txt", 2.0,
        {
            { "PaperType", "1" }, { "PaperHeight", "2100" }, { "PaperWidth", "2970" }, { "MarginLeft", "40" },
            { "MarginBottom", "43" }, { "Portrait", "0" }, { "BackgroundImage", "C:\\Studio\\bg.jpg" },
            { "BackgroundPOD", "0" }, { "PrintMainImage", "1" }, { "OverprintCopyright", "1" },
            { "OverprintWord", "Sample" },
            { "OverprintColour", "00FF00" }, // kept: files up to 2.009 have no colour
            { "OverprintDiagonal", "0" }, // kept: files up to 2.01 have no diagonal flag
            { "OverprintDiagWidth", "5" }, // files up to 2.024 have no width: 5
            { "PImage.Caption", "PImage" }, // no captions before 2.062: the name
            { "PImage.X", "40" }, { "PImage.Y", "35" }, { "PImage.Width", "620" }, { "PImage.Height", "770" },
            { "PImage.ItemWidth", "620" }, { "PImage.ItemHeight", "770" },
            { "PImage.SingleOnly", "1" }, // kept: no SingleOnly field up to 2.0431
            { "PImage.ImageFlag", "1" }, { "PImage.QuarterTurns", "1" }, { "PImage.FontSize", "100" },
            { "PBarcode.Width", "600" }, { "PBarcode.FontSize", "100" }, // 2.0 is not converted
            { "ExtraTxt4.X", "450" }, { "ExtraTxt4.Alignment", "1" }, { "ExtraTxt4.FontSize", "120" },
            { "ExtraTxt4.Caption", "ExtraTxt4" }, { "ExtraTxt1.Visible", "1" },
            { "ExtraTxt2.Visible", "1" }, // only 3 to 8 are hidden
            { "ExtraTxt3.Visible", "0" }, { "ExtraTxt4.Visible", "0" }, { "ExtraTxt8.Visible", "0" },
            { "Port.Caption", "cap" }, // a unit the file does not name keeps its values
        } },
    { "v1900-barcode.txt", 1.9,
        {
            { "PBarcode.Width", "100" },
            { "PBarcode.Height", "24" },
            { "PBarcode.ItemWidth", "100" },
            { "PBarcode.ItemHeight", "24" },
            { "PBarcode.FontSize", "0" },
            { "PBarcode.QuarterTurns", "0" },
            { "OverprintDiagWidth", "5" },
            { "ExtraTxt5.Visible", "0" },
        } },
    { "v1870.txt", 1.87,
        {
            { "PrintMainImage", "1" }, // kept: no PrintMainImage line up to 1.878
            { "OverprintCopyright", "1" }, { "OverprintWord", "Proof" }, { "OverprintColour", "00FF00" },
            // The barcode conversion works on the font size the unit had (25), then the four
            // sizes of the file are applied.
            { "PBarcode.Width", "125" }, { "PBarcode.Height", "30" }, { "PBarcode.FontSize", "30" },
            { "PBarcode.QuarterTurns", "0" }, // no turn field up to 1.881: 0
            { "PBarcode.ImageFlag", "0" }, { "PBarcode.Caption", "PBarcode" }, { "PPrice.X", "850" },
            { "PPrice.Alignment", "2" }, { "PPrice.FontSize", "90" }, { "PPrice.QuarterTurns", "0" },
            { "PRefBoxes.FontSize", "90" }, { "PDescription.FontSize", "95" }, { "ExtraTxt1.FontSize", "70" },
            { "ExtraTxt2.FontSize", "70" }, { "ExtraTxt3.FontSize", "101" },
            { "PImage.QuarterTurns", "1" }, // not in the file: kept
        } },
    { "v1750.txt", 1.75,
        {
            { "OverprintCopyright", "0" }, // no overprint lines up to 1.751: off, the word kept
            { "OverprintWord", "Draft" },
            { "PrintMainImage", "1" },
            { "BackgroundPOD", "0" },
            { "PImage.X", "35" },
            { "PImage.Width", "600" },
            { "PImage.Visible", "1" },
            { "PImage.ImageFlag", "0" }, // kept: no image flag up to 1.76
            { "PImage.QuarterTurns", "0" },
            { "PImage.FontSize", "101" },
            { "PBarcode.Width", "600" },
            { "PBarcode.FontSize", "30" }, // not named: not converted
            { "PPrice.FontSize", "90" },
            { "ExtraTxt6.Visible", "0" },
        } },
};

} // namespace

TEST_F(LayoutDocumentTest, EarlierVersionsReadWithTheirConversions)
{
    for (const auto& test : oldVersionCases) {
        SCOPED_TRACE(test.file);
        Layout layout;
        PrepareForOldFile(layout);
        ASSERT_TRUE(ReadFromString(layout, ReadFixture(test.file)));
        EXPECT_DOUBLE_EQ(SavedDataVersion, test.version);
        const auto fields = FieldMap(layout);
        for (const auto& [name, value] : test.expected)
            EXPECT_EQ(fields.at(name), value) << name;
        EXPECT_EQ(layout.GetRootUnit()->CountUnits(), 16); // lines for units it lacks are dropped
        EXPECT_TRUE(modal->Messages().empty());
    }
}

namespace {

// Where a line or field of the document appears or a conversion applies: files strictly newer
// than the version hold the field; files strictly older than it are converted.
struct VersionRule {
    const char* what;
    double version;
    bool forOlderFiles;
    bool AppliesTo(double file) const { return forOlderFiles ? file < version : file > version; }
};

const VersionRule printMainImage { "PrintMainImage line", 1.878, false };
const VersionRule fontSizeLines { "four font-size lines", 1.882, true };
const VersionRule overprintLines { "OverprintCopyright and OverprintWord lines", 1.751, false };
const VersionRule colourLine { "OverprintColour line", 2.009, false };
const VersionRule diagonalLine { "OverprintDiagonal line", 2.01, false };
const VersionRule diagWidthLine { "OverprintDiagWidth line", 2.024, false };
const VersionRule captionField { "unit Caption", 2.062, false };
const VersionRule singleOnlyField { "unit SingleOnly", 2.0431, false };
const VersionRule imageFlagField { "unit ImageFlag", 1.76, false };
const VersionRule turnsAndFontFields { "unit QuarterTurns and FontSize", 1.881, false };
const VersionRule barcodeConversion { "barcode size from its font size", 2.0, true };
const VersionRule hideLateExtraTexts { "ExtraTxt3 to ExtraTxt8 hidden", 2.062, true };

// A document of the given version built from the rules above, independently of the reader: one
// line per field the version holds, and the units PBarcode and ExtraTxt3 with the fields a unit
// line of that version holds.
std::string DocumentOfVersion(const std::string& versionText)
{
    const double v = std::stod(versionText);
    std::string d = "\"Custom Order Template\",\"" + versionText
        + "\",\r\n\"LayoutType\",\"0\"\r\n"
          "PaperType,0\r\nPaperHeight,2970\r\nPaperWidth,2100\r\nMarginLeft,30\r\nMarginRight,30\r\n"
          "MarginTop,30\r\nMarginBottom,30\r\nPortrait,1\r\n"
          "\"BackgroundImage\",\"bg.jpg\"\r\n\"BackgroundPOD\",\"0\"\r\n";
    if (printMainImage.AppliesTo(v))
        d += "\"PrintMainImage\",\"1\"\r\n";
    if (fontSizeLines.AppliesTo(v))
        d += "\"B\",\"31\"\r\n\"T\",\"32\"\r\n\"S\",\"33\"\r\n\"D\",\"34\"\r\n";
    if (overprintLines.AppliesTo(v))
        d += "\"OverprintCopyright\",\"1\"\r\n\"OverprintWord\",\"FileWord\"\r\n";
    if (colourLine.AppliesTo(v))
        d += "\"OverprintColour\",\"0A0B0C\"\r\n";
    if (diagonalLine.AppliesTo(v))
        d += "\"OverprintDiagonal\",\"0\"\r\n";
    if (diagWidthLine.AppliesTo(v))
        d += "\"OverprintDiagWidth\",\"7\"\r\n";
    d += "\"LayoutUnits\",\"2\"\r\n";
    for (const char* name : { "PBarcode", "ExtraTxt3" }) {
        d += std::string("\"") + name + "\"";
        if (captionField.AppliesTo(v))
            d += ",\"FileCaption\"";
        d += ",\"11\",\"12\",\"13\",\"14\",\"3\",\"15\",\"16\"";
        if (singleOnlyField.AppliesTo(v))
            d += ",\"1\"";
        d += ",\"1\",\"1\""; // Visible, Alignment
        if (imageFlagField.AppliesTo(v))
            d += ",\"1\"";
        if (turnsAndFontFields.AppliesTo(v))
            d += ",\"2\",\"20\"";
        d += "\r\n";
    }
    return d;
}

} // namespace

// At every threshold of the version table, and just beside it, the reader takes exactly the lines
// and fields that version holds (strictly greater than a field's version; conversions strictly
// below theirs), and the rest of the file stays in step.
TEST_F(LayoutDocumentTest, EachVersionThresholdIsStrict)
{
    for (const char* versionText : { "1.751", "1.7511", "1.76", "1.7601", "1.878", "1.8781", "1.881",
             "1.8811", "1.8819", "1.882", "1.9999", "2.0", "2.009", "2.0091", "2.01", "2.0101", "2.024",
             "2.0241", "2.0431", "2.0432", "2.0619", "2.062", "2.0621", "2.453" }) {
        SCOPED_TRACE(versionText);
        const double v = std::stod(versionText);
        Layout layout;
        layout.SetOverprintCopyright(true);
        layout.SetOverprintWord("Draft");
        layout.SetOverprintColour("00FF00");
        layout.SetOverprintDiagWidth(9);
        UnitNamed(layout, "PBarcode").SetFontSize(25);
        UnitNamed(layout, "ExtraTxt3").SetQuarterTurns(1);
        UnitNamed(layout, "ExtraTxt3").SetFontSize(101);
        ASSERT_TRUE(ReadFromString(layout, DocumentOfVersion(versionText)));
        EXPECT_DOUBLE_EQ(SavedDataVersion, v);
        const auto f = FieldMap(layout);

        // The fields every version holds are read in step, whatever came before them.
        EXPECT_EQ(f.at("BackgroundImage"), "bg.jpg");
        EXPECT_EQ(f.at("BackgroundPOD"), "0");
        EXPECT_EQ(f.at("ExtraTxt3.X"), "11");
        EXPECT_EQ(f.at("ExtraTxt3.StepY"), "16");
        EXPECT_EQ(f.at("ExtraTxt3.Alignment"), "1");
        EXPECT_EQ(f.at("PBarcode.Y"), "12");

        EXPECT_EQ(f.at("PrintMainImage"), printMainImage.AppliesTo(v) ? "1" : "0");
        EXPECT_EQ(f.at("PDescription.FontSize"), fontSizeLines.AppliesTo(v) ? "34" : "100");
        EXPECT_EQ(f.at("ExtraTxt1.FontSize"), fontSizeLines.AppliesTo(v) ? "33" : "110");
        EXPECT_EQ(f.at("OverprintCopyright"), overprintLines.AppliesTo(v) ? "1" : "0");
        EXPECT_EQ(f.at("OverprintWord"), overprintLines.AppliesTo(v) ? "FileWord" : "Draft");
        EXPECT_EQ(f.at("OverprintColour"), colourLine.AppliesTo(v) ? "0A0B0C" : "00FF00");
        EXPECT_EQ(f.at("OverprintDiagonal"), diagonalLine.AppliesTo(v) ? "0" : "1");
        EXPECT_EQ(f.at("OverprintDiagWidth"), diagWidthLine.AppliesTo(v) ? "7" : "5");
        EXPECT_EQ(f.at("ExtraTxt3.Caption"), captionField.AppliesTo(v) ? "FileCaption" : "ExtraTxt3");
        EXPECT_EQ(f.at("ExtraTxt3.SingleOnly"), singleOnlyField.AppliesTo(v) ? "1" : "0");
        EXPECT_EQ(f.at("ExtraTxt3.ImageFlag"), imageFlagField.AppliesTo(v) ? "1" : "0");
        EXPECT_EQ(f.at("ExtraTxt3.QuarterTurns"), turnsAndFontFields.AppliesTo(v) ? "2" : "0");
        EXPECT_EQ(f.at("ExtraTxt3.FontSize"), turnsAndFontFields.AppliesTo(v) ? "20" : "101");
        // The conversion takes the font size the unit has after its line: the file's or its own.
        const int barcodeFont = turnsAndFontFields.AppliesTo(v) ? 20 : 25;
        EXPECT_EQ(
            f.at("PBarcode.Width"), barcodeConversion.AppliesTo(v) ? std::to_string(barcodeFont * 5) : "13");
        EXPECT_EQ(f.at("PBarcode.ItemHeight"),
            barcodeConversion.AppliesTo(v) ? std::to_string(barcodeFont * 6 / 5) : "14");
        EXPECT_EQ(f.at("PBarcode.FontSize"),
            fontSizeLines.AppliesTo(v)           ? "31"
                : barcodeConversion.AppliesTo(v) ? "0"
                                                 : "20");
        EXPECT_EQ(f.at("ExtraTxt3.Visible"), hideLateExtraTexts.AppliesTo(v) ? "0" : "1");
        EXPECT_EQ(f.at("ExtraTxt8.Visible"), hideLateExtraTexts.AppliesTo(v) ? "0" : "1");
        EXPECT_EQ(f.at("ExtraTxt2.Visible"), "1");
    }
}

TEST_F(LayoutDocumentTest, LaterVersionIsRefusedWithItsMessageAndTheLayoutUnchanged)
{
    Layout layout;
    ChangeEveryStoredField(layout, 7);
    const Snapshot before = StoredFields(layout);
    modal->AnswerNext(win::IDOK);
    EXPECT_FALSE(ReadFromString(layout, ReadFixture("v2500-later.txt")));
    ASSERT_EQ(modal->Messages().size(), 1u);
    EXPECT_EQ(modal->Messages()[0].text,
        "The layout file was generated by a later version of the software\n"
        "Saved version is 2.5. This version is 2.453");
    EXPECT_EQ(modal->Messages()[0].flags, win::MB_OK);
    EXPECT_EQ(StoredFields(layout), before);
    EXPECT_FALSE(layout.IsLoaded());
    EXPECT_DOUBLE_EQ(SavedDataVersion, 2.5);
}

// Only the exact first field names a layout document, and only the exact "Key" a legacy template.
TEST_F(LayoutDocumentTest, FirstLineDecidesWhatTheFileIs)
{
    // "KEY" is read as a version: not a number, so there is no version to read the file by and
    // it is refused; the version of the file read before stays.
    SavedDataVersion = 2.453;
    Layout layout;
    ChangeEveryStoredField(layout, 3);
    const Snapshot unread = StoredFields(layout);
    std::istringstream in(ReadFixture("key-upper.txt"));
    EXPECT_EQ(layout.ReadDocument(in), LayoutFileStatus::notALayout);
    EXPECT_EQ(StoredFields(layout), unread);
    EXPECT_DOUBLE_EQ(SavedDataVersion, 2.453);
    EXPECT_TRUE(modal->Messages().empty()) << "the document says it, with the path";

    for (const char* text : { "", "\"Custom Order Template\"", "\"custom order template\",\"2.453\",\r\n",
             "Custom Order Templat,2.453\r\n", "\"Custom Order Template \",\"2.453\",\r\n",
             "\"Custom Order Template\"\r\n\"LayoutType\",\"1\"\r\nPaperType,1\r\n" }) {
        SCOPED_TRACE(text);
        Layout other;
        ChangeEveryStoredField(other, 3);
        const Snapshot before = StoredFields(other);
        EXPECT_FALSE(ReadFromString(other, text));
        EXPECT_EQ(StoredFields(other), before);
        EXPECT_FALSE(other.IsLoaded());
    }
}

// A first line that ends right after the version, without the empty last field, does not take
// the type line with it; the same for a template's "Key".
TEST_F(LayoutDocumentTest, FirstLineWithoutTrailingCommaKeepsTheNextLine)
{
    Layout layout;
    ASSERT_TRUE(ReadFromString(layout, ReadFixture("no-trailing-comma.txt")));
    EXPECT_EQ(layout.GetLayoutType(), 1);
    const auto fields = FieldMap(layout);
    EXPECT_EQ(fields.at("GImage.Caption"), "Class photo");
    EXPECT_EQ(fields.at("GImage.X"), "1500");
    EXPECT_EQ(fields.at("GImage.Y"), "-20");
    EXPECT_EQ(fields.at("BackgroundImage"), "group.jpg");
    EXPECT_EQ(fields.at("Portrait"), "0");

    // A long remainder is skipped whole, not only its first 1024 bytes.
    const std::string longRest = "\"Custom Order Template\",\"Key\"," + std::string(3000, 'x') + "\r\n";
    for (const std::string& firstLine :
        { std::string("\"Custom Order Template\",\"Key\"\r\n"), std::string("Custom Order Template,Key\n"),
            std::string("\"Custom Order Template\",\"Key\",\"Value\",\"more\"\r"), longRest }) {
        SCOPED_TRACE(firstLine.substr(0, 60));
        Layout portrait;
        ASSERT_TRUE(ReadFromString(portrait, firstLine + "\"1.3\",\"OrderBarcodePoint\",\"33\"\r\n"));
        EXPECT_EQ(UnitNamed(portrait, "PBarcode").GetFontSize(), 33u);
    }
}

// A document that ends early sets what it holds and leaves everything after the cut as it was:
// nothing becomes 0, false or empty because its text is missing.
TEST_F(LayoutDocumentTest, TruncatedDocumentLeavesWhatItDoesNotReach)
{
    Layout layout;
    ChangeEveryStoredField(layout, 5);
    const auto before = FieldMap(layout);
    ASSERT_TRUE(ReadFromString(layout, ReadFixture("truncated.txt")));
    const auto after = FieldMap(layout);
    EXPECT_EQ(after.at("PImage.Height"), "780");
    EXPECT_EQ(after.at("PBarcode.Caption"), "PBarcode");
    EXPECT_EQ(after.at("PBarcode.X"), "700");
    for (const char* kept : { "PBarcode.Y", "PBarcode.Width", "PBarcode.Visible", "PBarcode.FontSize",
             "PRefBoxes.X", "PRefBoxes.Visible", "ExtraTxt8.Caption" })
        EXPECT_EQ(after.at(kept), before.at(kept)) << kept;
}

// The same for a cut after every field and line end of the complete document: each field holds
// the file's value up to the cut and its earlier value from there on.
TEST_F(LayoutDocumentTest, EveryCutOfTheDocumentKeepsTheRestUnchanged)
{
    const std::string text = ReadFixture("v2453-portrait.txt");
    Layout full;
    ChangeEveryStoredField(full, 9);
    ASSERT_TRUE(ReadFromString(full, text));
    const Snapshot read = StoredFields(full);

    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        if (cut != 0 && cut != text.size() && text[cut - 1] != ',' && text[cut - 1] != '\n'
            && text[cut - 1] != '\r')
            continue;
        Layout layout;
        ChangeEveryStoredField(layout, 9);
        const Snapshot unread = StoredFields(layout);
        ReadFromString(layout, text.substr(0, cut));
        const Snapshot fields = StoredFields(layout);
        ASSERT_EQ(fields.size(), read.size());
        std::size_t i = 0;
        while (i < fields.size() && fields[i] == read[i])
            ++i;
        for (; i < fields.size(); ++i)
            ASSERT_EQ(fields[i], unread[i]) << "cut at byte " << cut;
    }
}

// ReadCsv reads a cut document as far as it goes (above); ReadDocument also says that the file
// ended before its layout did, wherever the cut lies after the first line (inside a quoted value
// too), so that the document can refuse it. A cut inside the first line is refused one way or
// the other. Only the whole file (with or without its last line end) is read.
TEST_F(LayoutDocumentTest, EveryCutOfTheDocumentIsRefused)
{
    const std::string text = ReadFixture("v2453-portrait.txt");
    const std::size_t firstLine = text.find('\n') + 1;
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        Layout layout;
        std::istringstream in(text.substr(0, cut));
        const LayoutFileStatus status = layout.ReadDocument(in);
        layout.GetPaper().DiscardMargins();
        if (cut >= text.size() - 2)
            EXPECT_EQ(status, LayoutFileStatus::read) << "cut at byte " << cut;
        else if (cut >= firstLine)
            EXPECT_EQ(status, LayoutFileStatus::cutShort) << "cut at byte " << cut;
        else
            EXPECT_NE(status, LayoutFileStatus::read) << "cut at byte " << cut;
    }
}

TEST_F(LayoutDocumentTest, UnitCountIsBoundedByTheFile)
{
    Layout layout;
    ChangeEveryStoredField(layout, 11);
    const auto before = FieldMap(layout);
    ASSERT_TRUE(ReadFromString(layout, ReadFixture("huge-count.txt")));
    EXPECT_EQ(FieldMap(layout).at("PImage.X"), "31");
    EXPECT_EQ(FieldMap(layout).at("PBarcode.X"), "701");
    EXPECT_EQ(FieldMap(layout).at("PPrice.X"), before.at("PPrice.X"));

    // A count that is not a number counts as 0: no unit is read.
    std::string text = ReadFixture("v2453-portrait.txt");
    text.replace(text.find("\"LayoutUnits\",\"16\""), 18, "\"LayoutUnits\",\"many\"");
    Layout none;
    ChangeEveryStoredField(none, 11);
    const auto unitsBefore = FieldMap(none);
    ASSERT_TRUE(ReadFromString(none, text));
    EXPECT_EQ(FieldMap(none).at("PImage.X"), unitsBefore.at("PImage.X"));
    EXPECT_EQ(FieldMap(none).at("Master.Caption"), unitsBefore.at("Master.Caption"));
    EXPECT_EQ(FieldMap(none).at("PaperWidth"), "2100");
}

TEST_F(LayoutDocumentTest, BlankLinesBetweenUnitsAddNothing)
{
    std::string text = ReadFixture("v2453-portrait.txt");
    const auto at = text.find("\"PBarcode\"");
    text.insert(at, "\r\n  \r\n\r\n");
    Layout layout;
    ChangeEveryStoredField(layout, 2);
    ASSERT_TRUE(ReadFromString(layout, text));
    EXPECT_EQ(WriteToString(layout), ReadFixture("v2453-portrait.txt"));
}

// A paper index outside the table is found from the sizes, else it is the custom entry; the sizes
// of the file are kept either way.
TEST_F(LayoutDocumentTest, PaperTypeOutsideTheTableIsMappedBySize)
{
    struct Case {
        const char* type;
        const char* height;
        const char* width;
        int32_t expectedType;
    };
    const Case cases[] = {
        { "99", "1234", "987", 10 }, { "99", "1524", "2032", 5 }, { "-1", "2970", "2100", 0 },
        { "10", "2970", "2100", 10 }, // in range: kept as it is
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type + std::string(" ") + c.height);
        std::string text = ReadFixture("papertype-99.txt");
        text.replace(text.find("PaperType,99"), 12, std::string("PaperType,") + c.type);
        text.replace(text.find("PaperHeight,1234"), 16, std::string("PaperHeight,") + c.height);
        text.replace(text.find("PaperWidth,987"), 14, std::string("PaperWidth,") + c.width);
        Layout layout;
        ASSERT_TRUE(ReadFromString(layout, text));
        const auto fields = FieldMap(layout);
        EXPECT_EQ(fields.at("PaperType"), std::to_string(c.expectedType));
        EXPECT_EQ(fields.at("PaperHeight"), c.height);
        EXPECT_EQ(fields.at("PaperWidth"), c.width);
    }
}

// Units are matched by name wherever their lines stand; a line for a unit the layout lacks is read
// and dropped without disturbing the lines after it.
TEST_F(LayoutDocumentTest, UnitsInAnyOrderAndUnknownUnits)
{
    Layout layout;
    const auto before = FieldMap(layout);
    ASSERT_TRUE(ReadFromString(layout, ReadFixture("shuffled-unknown.txt")));
    const auto fields = FieldMap(layout);
    const std::pair<const char*, const char*> expected[] = {
        { "ExtraTxt2.Caption", "Studio name" },
        { "ExtraTxt2.X", "210" },
        { "ExtraTxt2.SingleOnly", "1" },
        { "ExtraTxt2.Alignment", "1" },
        { "ExtraTxt2.FontSize", "120" },
        { "PPrice.X", "860" },
        { "PPrice.Y", "5" },
        { "PPrice.FontSize", "90" },
        { "PImage.X", "35" },
        { "PImage.Y", "36" },
        { "PImage.Width", "640" },
        { "PImage.SingleOnly", "1" },
    };
    for (const auto& [name, value] : expected)
        EXPECT_EQ(fields.at(name), value) << name;
    EXPECT_EQ(fields.at("PBarcode.X"), before.at("PBarcode.X"));
    EXPECT_EQ(layout.GetRootUnit()->CountUnits(), 16);
    EXPECT_EQ(layout.GetRootUnit()->FindByName("GImage"), nullptr);
}

namespace {

// Accepts what is written until the limit, then refuses every further byte.
class LimitedBuffer : public std::streambuf {
public:
    explicit LimitedBuffer(std::size_t limit)
        : limit_(limit)
    {
    }

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()) || written_ >= limit_)
            return traits_type::eof();
        ++written_;
        return c;
    }

private:
    std::size_t limit_;
    std::size_t written_ = 0;
};

// Takes every byte but fails when flushed, as a full disk does for a buffered file.
class FailingFlushBuffer : public std::stringbuf {
protected:
    int sync() override { return -1; }
};

} // namespace

TEST_F(LayoutDocumentTest, WriteReportsAFailedStream)
{
    Layout layout;
    std::ostringstream good;
    EXPECT_TRUE(layout.WriteCsv(good));

    for (const std::size_t limit : { std::size_t { 0 }, std::size_t { 40 }, good.str().size() - 1 }) {
        LimitedBuffer buffer(limit);
        std::ostream out(&buffer);
        EXPECT_FALSE(layout.WriteCsv(out)) << limit;
    }
    FailingFlushBuffer buffer;
    std::ostream out(&buffer);
    EXPECT_FALSE(layout.WriteCsv(out));

    std::ofstream full("/dev/full", std::ios::binary);
    if (full.is_open()) {
        EXPECT_FALSE(layout.WriteCsv(full));
    }
}
