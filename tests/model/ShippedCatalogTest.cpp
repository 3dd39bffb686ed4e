// The catalogue that ships beside the program: every line holds every field its version asks for,
// so that nothing is left at a default, and the catalogue reads and writes back unchanged.
#include "CatalogTestSupport.h"
#include "model/ProductCatalogFile.h"
#include "records/CsvFields.h"

#include <gtest/gtest.h>

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

class ShippedCatalog : public CatalogFixture { };

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
