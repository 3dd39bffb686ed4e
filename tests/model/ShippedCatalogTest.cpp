// The catalogue that ships beside the program: every line holds every field its version asks for,
// so that nothing is left at a default, and the catalogue reads and writes back unchanged.
#include "CatalogTestSupport.h"
#include "model/ProductCatalogFile.h"
#include "records/CsvFields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string shipped = ORVANEL_TEST_DATA "/../../data/ProductCatalog.csv";
// The build tree's program folder, beside the test output folder (which need not exist yet).
const std::string besideTheProgram
    = (std::filesystem::path(ORVANEL_TEST_OUTPUT).parent_path() / "bin" / "ProductCatalog.csv").string();

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The number of fields on each line, counted with the plain field reader.
std::vector<int> FieldsPerLine(const std::string& text)
{
    std::istringstream in(text);
    std::vector<int> counts(1, 0);
    std::string field;
    bool endOfLine = false;
    while (in.peek() != std::char_traits<char>::eof()) {
        ReadCsvField(in, field, endOfLine);
        ++counts.back();
        if (endOfLine)
            counts.push_back(0);
    }
    counts.pop_back();
    return counts;
}

// The lines of a text whose lines end in CR LF, without their line ends.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find("\r\n", at), text.size());
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

// The lines joined again with the line end given; a suffix goes on every product row (from line 3
// to the empty line).
std::string Joined(
    const std::vector<std::string>& lines, const std::string& lineEnd, const std::string& rowSuffix)
{
    std::string text;
    bool products = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        products = i >= 2 && (products || i == 2) && !lines[i].empty();
        text += lines[i] + (products ? rowSuffix : "") + lineEnd;
    }
    return text;
}

CatalogFileStatus ReadText(const std::string& text, ProductCatalog& catalog)
{
    std::istringstream in(text);
    return ReadProductCatalog(in, catalog);
}

class ShippedCatalog : public CatalogFixture { };

// Copies of the catalogue as other programs leave them read the same products and mounts: a
// spreadsheet's comma (or further field) after every product row, CR-only line ends, where the
// empty line after the products reads as part of the line end before it.
TEST_F(ShippedCatalog, CopiesWithOtherLineEndsAndTrailingFieldsReadTheSame)
{
    const std::vector<std::string> lines = Lines(FileBytes(shipped));
    ProductCatalog expected;
    ASSERT_EQ(ReadText(Joined(lines, "\r\n", ""), expected), CatalogFileStatus::read);
    ASSERT_GE(expected.GetCount(), 30u);
    ASSERT_EQ(expected.GetMountData().GetTypeCount(), 3u);
    const struct {
        const char* what;
        const char* lineEnd;
        const char* rowSuffix;
    } copies[] = {
        { "trailing comma", "\r\n", "," },
        { "a further field", "\n", ",\"x\",\"y\"" },
        { "CR only", "\r", "" },
        { "CR only and trailing comma", "\r", "," },
        { "CR CR LF", "\r\r\n", "" },
    };
    for (const auto& copy : copies) {
        ProductCatalog catalog;
        EXPECT_EQ(ReadText(Joined(lines, copy.lineEnd, copy.rowSuffix), catalog), CatalogFileStatus::read)
            << copy.what;
        EXPECT_EQ(Dump(catalog), Dump(expected)) << copy.what;
    }
}

// A copy that ends before its mounts section, most often in the middle of its product list, is
// refused at start-up (a catalogue without some of its products would put packs under the wrong
// proof type).
TEST_F(ShippedCatalog, CopyCutShortIsRefused)
{
    const std::string text = FileBytes(shipped);
    const std::size_t mounts = text.find("Mount Type");
    ASSERT_NE(mounts, std::string::npos);
    const std::vector<std::string> lines = Lines(text);
    std::size_t tenthRow = 0; // the end of the tenth product row, after its line end
    for (std::size_t i = 0; i < 12; ++i)
        tenthRow += lines[i].size() + 2;
    const struct {
        const char* what;
        std::size_t length;
    } cuts[] = {
        { "in the middle of a row", tenthRow + 25 },
        { "at the end of a row", tenthRow },
        { "after the empty line", mounts },
        { "in the heading", mounts + 5 },
    };
    for (const auto& cut : cuts) {
        ProductCatalog catalog;
        EXPECT_EQ(ReadText(text.substr(0, cut.length), catalog), CatalogFileStatus::notACatalog) << cut.what;
    }
    ProductCatalog whole;
    EXPECT_EQ(ReadText(text, whole), CatalogFileStatus::read);
    EXPECT_EQ(CatalogFileMessage(CatalogFileStatus::notACatalog),
        "Products Details file is not a valid product catalog");
}

TEST_F(ShippedCatalog, EveryLineHoldsAllItsFields)
{
    const std::string text = FileBytes(shipped);
    ASSERT_FALSE(text.empty()) << shipped;
    const std::vector<int> counts = FieldsPerLine(text);
    ASSERT_GT(counts.size(), 4u);
    EXPECT_EQ(counts[0], 3 + 2 * 12 + 1) << "version, word, name, twelve settings, the closing empty field";
    std::size_t line = 2;
    for (; line < counts.size() && counts[line] != 1; ++line)
        EXPECT_EQ(counts[line], 54) << "product row on line " << line + 1;
    EXPECT_GE(line - 2, 30u) << "products";
}

TEST_F(ShippedCatalog, ReadsBesideTheProgramAndWritesBackUnchanged)
{
    const std::string text = FileBytes(shipped);
    EXPECT_EQ(FileBytes(besideTheProgram), text) << "the build copies the catalogue beside the program";
    ProductCatalog& catalog = GlobalProductCatalog();
    ASSERT_EQ(ReadProductCatalogFile(besideTheProgram, catalog), CatalogFileStatus::read);
    EXPECT_EQ(SavedDataVersion, CurrentDataVersion);
    std::ostringstream out;
    catalog.WriteCsv(out);
    EXPECT_EQ(out.str(), text);

    EXPECT_EQ(catalog.GetName(), "Orvanel Portrait Studio");
    EXPECT_EQ(catalog.GetSettings().HardbackCharge.GetAmount(), 450);
    EXPECT_EQ(catalog.FindIdByShortName("Keyring"), 23u);
    EXPECT_EQ(catalog.FindIdByShortName("PxP"), 31u);
    EXPECT_EQ(catalog.FindIdByMediumName("Post&Pack"), 31u);
    EXPECT_EQ(catalog.FindIdByLongName("Postage & Packing"), 31u);
    const auto mounted = catalog.FindProduct(14);
    ASSERT_TRUE(mounted);
    EXPECT_NE(mounted->GetMounts(), 0);
    const MountData& mounts = catalog.GetMountData();
    EXPECT_EQ(mounts.GetMountDescription(1), "Presentation folder");
    EXPECT_EQ(mounts.GetCode(10, mounted->GetMntSize()), 202);
    EXPECT_EQ(mounts.GetSizes()[mounted->GetMntSize()]->GetPrice(0).GetAmount(), 350);

    RecordingCombo combo;
    catalog.FillProductCombo(combo, true);
    EXPECT_EQ(combo.added.size(), catalog.GetCount() - 1) << "one product is discontinued";
    EXPECT_EQ(combo.added.front(), "6x4 Print");
}

} // namespace
