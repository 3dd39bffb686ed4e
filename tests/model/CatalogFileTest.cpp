// The product catalogue file: every version threshold, the start-up refusals, lookups, the merge
// from the global catalogue and write-then-read. The files are built by a small writer from the
// tables below, which follow the file's documented layout and are independent of the reader's
// own field tables.
#include "CatalogTestSupport.h"
#include "model/ProductCatalogFile.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

const double always = 0;

// The columns of a product row in file order, with the version after which each is present
// (0: always) and the value a product takes when its file lacks the column.
enum Kind { text, flag, whole, integer, price, real };
const struct Column {
    const char* name;
    Kind kind;
    double since;
    const char* absent;
} columns[] = {
    { "Long", text, always, "" },
    { "Medium", text, always, "" },
    { "Short", text, always, "" },
    { "Column4Text", text, 2.45, "" },
    { "Column5Text", text, 2.44, "" },
    { "Discontinued", flag, always, "" },
    { "ID", whole, always, "" },
    { "Column8Flag", flag, 2.44, "0" },
    { "Order", whole, always, "" },
    { "Full", price, always, "" },
    { "Data", price, always, "" },
    { "Return", price, always, "" },
    { "Inches", whole, always, "" },
    { "Group", flag, always, "" },
    { "Special", flag, always, "" },
    { "Large", flag, always, "" },
    { "Small", flag, always, "" },
    { "Browse", flag, always, "" },
    { "Double", flag, always, "" },
    { "Print", flag, always, "" },
    { "PostSep", flag, always, "" },
    { "PostPr", flag, always, "" },
    { "PackFlag", flag, always, "" },
    { "SepPackScan", flag, 2.0465, "0" },
    { "Mounts", integer, always, "" },
    { "MountsPossible", flag, always, "" },
    { "MntSize", whole, always, "" },
    { "PortCaptions", flag, always, "" },
    { "LandCaptions", flag, always, "" },
    { "PortCapSep", flag, 2.32, "0" },
    { "LandCapSep", flag, 2.32, "0" },
    { "Column32Value", whole, always, "" },
    { "Column33Value", whole, always, "" },
    { "Discnt", flag, always, "" },
    { "IncDis", flag, always, "" },
    { "Compos", flag, always, "" },
    { "HotF", flag, always, "" },
    { "S Alone", flag, always, "" },
    { "PrintChannel", integer, always, "" },
    { "DoublePrintChannel", integer, always, "" },
    { "LCapPrintChannel", integer, always, "" },
    { "PCapPrintChannel", integer, always, "" },
    { "Width", integer, always, "" },
    { "Height", integer, always, "" },
    { "PrintMethod", integer, always, "" },
    { "SpecPrintMethod", integer, always, "" },
    { "SplitMono", flag, always, "" },
    { "NoristuHF", flag, always, "" },
    { "CanDoMono", flag, always, "" },
    { "PricePercent", real, 2.0422, "0" },
    { "needsAddress", flag, 2.0464, "0" },
    { "PrintLabelOnScan", flag, 2.0466, "1" },
    { "NonSAProductID", whole, 2.397, "0" },
    { "NumMultiImages", integer, 2.4, "1" },
};

// The settings of line 1 after the name, with the version after which each pair is present.
const struct Setting {
    const char* key;
    const char* value;
    double since;
    const char* absent;
} settings[] = {
    { "discount", "7.5", always, "" },
    { "disc red", "0.75", always, "" },
    { "max disc prods", "9", always, "" },
    { "custom reorder", "0.15", always, "" },
    { "catalog reorder", "0.45", 2.0463, "0.32" },
    { "min order", "12.50", always, "" },
    { "retouch charge", "35.00", always, "" },
    { "non crp surcharge", "4.5", always, "" },
    { "non standalone surcharge", "1.25", 2.054, "1.00" },
    { "hardback charge", "0.30", 2.351, "0.20" },
    { "VAT rate", "17.5", 2.354, "20" },
    { "overseas surchare", "5.00", 2.391, "0.00" },
};

bool Present(double since, double version)
{
    return since == always || version > since;
}

// A value of column c for product p that differs from every default: flags are the opposite of
// their defaults, amounts carry pennies above 10000.
std::string Value(const Column& column, std::size_t c, int p, uint32_t id)
{
    const std::string name = column.name;
    switch (column.kind) {
    case text:
        return "p" + std::to_string(p) + " c" + std::to_string(c) + " \"quoted\", comma";
    case flag:
        return name == "MountsPossible" || name == "PrintLabelOnScan" ? "0" : "1";
    case whole:
        return name == "ID" ? std::to_string(id) : std::to_string(1000 * p + c);
    case integer:
        return "-" + std::to_string(100 * p + c);
    case price:
        return std::to_string(10000 + 100 * c + p) + ".67";
    case real:
        return std::to_string(c) + ".25";
    }
    return {};
}

std::string Quoted(const std::string& value)
{
    std::string out = "\"";
    for (const char ch : value) {
        out += ch;
        if (ch == '"')
            out += '"';
    }
    return out + "\"";
}

std::string FormatVersion(double version)
{
    return FormatDouble(version);
}

// Older files set SepPackScan for 18 and 19 (and no other product).
const uint32_t productIds[] = { 18, 7, 19 };
constexpr int productCount = static_cast<int>(std::size(productIds));

// A catalogue file of the version with the fields it carries, three products and a mounts section.
std::string CatalogFile(double version, bool trailingEmptyField = true)
{
    std::string file = Quoted(FormatVersion(version)) + ",\"ProductCatalog\",\"Studio\"";
    for (const auto& setting : settings)
        if (Present(setting.since, version))
            file += "," + Quoted(setting.key) + "," + Quoted(setting.value);
    file += trailingEmptyField ? ",\"\"\r\n" : "\r\n";
    file += "Long,Medium,Short,and so on\r\n";
    for (int p = 0; p < productCount; ++p) {
        std::string row;
        for (std::size_t c = 0; c < std::size(columns); ++c)
            if (Present(columns[c].since, version))
                row += (row.empty() ? "" : ",") + Quoted(Value(columns[c], c, p, productIds[p]));
        file += row + "\r\n";
    }
    return file
        + "\r\nMount Type,ID,\"0\",,\r\nMount "
          "Description,,\"Card\",,\r\n\"7x5\",\"0\",\"4.50\",,\"11\",,\r\n";
}

class CatalogFileReading : public CatalogFixture { };

// Reads a whole catalogue file as start-up does.
CatalogFileStatus ReadFile(const std::string& file, ProductCatalog& catalog)
{
    std::istringstream in(file);
    const CatalogFileStatus status = ReadCatalogFileStart(in);
    if (status == CatalogFileStatus::read) {
        EXPECT_TRUE(catalog.ReadCsv(in));
    }
    return status;
}

void ExpectFieldsOfVersion(const ProductCatalog& catalog, double version)
{
    SCOPED_TRACE("version " + FormatVersion(version));
    EXPECT_EQ(catalog.GetName(), "Studio");
    for (const auto& setting : settings) {
        const std::string expected = Present(setting.since, version) ? setting.value : setting.absent;
        std::string actual = FieldText(catalog.GetSettings(), CatalogSettingsTable, setting.key);
        EXPECT_EQ(actual, expected) << setting.key;
    }
    ASSERT_EQ(catalog.GetCount(), std::size(productIds));
    for (int p = 0; p < productCount; ++p) {
        const auto product = catalog.FindProduct(productIds[p]);
        ASSERT_TRUE(product);
        for (std::size_t c = 0; c < std::size(columns); ++c) {
            const Column& column = columns[c];
            std::string expected
                = Present(column.since, version) ? Value(column, c, p, productIds[p]) : column.absent;
            if (column.kind == price)
                expected = Money(std::stod(expected)).ToString(false);
            if (std::string(column.name) == "SepPackScan" && !Present(column.since, version))
                expected = productIds[p] == 18 || productIds[p] == 19 ? "1" : "0";
            EXPECT_EQ(FieldText(product->GetFields(), ProductFieldTable, column.name), expected)
                << "product " << productIds[p] << " column " << column.name;
        }
        EXPECT_EQ(product->GetModifiedMask(), 0u);
    }
    EXPECT_EQ(Dump(catalog.GetMountData()), "type Card\nsize 7x5: 4.50 / 11\n");
    EXPECT_EQ(catalog.GetModifiedMask(), 0u);
}

TEST_F(CatalogFileReading, EveryVersionThresholdReadsTheFieldsItsVersionAdds)
{
    for (const double version : { 2.04, 2.0422, 2.0423, 2.0463, 2.0464, 2.0465, 2.0466, 2.0467, 2.054, 2.0541,
             2.32, 2.3201, 2.351, 2.3511, 2.354, 2.3541, 2.391, 2.3911, 2.397, 2.3971, 2.4, 2.4001, 2.44,
             2.4401, 2.45, 2.4501, 2.453 }) {
        ProductCatalog catalog;
        ASSERT_EQ(ReadFile(CatalogFile(version), catalog), CatalogFileStatus::read);
        EXPECT_EQ(SavedDataVersion, version);
        ExpectFieldsOfVersion(catalog, version);
    }
}

// The version the file's start gives is handed to the reader of the rest: a reading of another file
// in between (SavedDataVersion changed) does not change what this file's lines hold.
TEST_F(CatalogFileReading, TheRestOfTheFileIsReadByTheVersionItsStartGave)
{
    for (const double version : { 2.04, 2.4, 2.453 }) {
        std::istringstream in(CatalogFile(version));
        ReadContext context;
        ASSERT_EQ(ReadCatalogFileStart(in, context), CatalogFileStatus::read);
        EXPECT_EQ(context.dataVersion, version);
        SavedDataVersion = version == 2.453 ? 2.04 : 2.453;
        ProductCatalog catalog;
        EXPECT_TRUE(catalog.ReadCsv(in, context));
        ExpectFieldsOfVersion(catalog, version);
    }
}

// Without the trailing empty field, line 1 ends with its last value; skipping "the rest of the
// line" after it would skip the header instead, and the header skip would eat the first product.
TEST_F(CatalogFileReading, LineOneWithoutItsTrailingEmptyField)
{
    for (const double version : { 2.04, 2.453 }) {
        ProductCatalog catalog;
        ASSERT_EQ(ReadFile(CatalogFile(version, false), catalog), CatalogFileStatus::read);
        ExpectFieldsOfVersion(catalog, version);
    }
}

TEST_F(CatalogFileReading, StartUpRefusals)
{
    const struct {
        const char* what;
        std::string start;
        CatalogFileStatus status;
    } cases[] = {
        { "current version", "2.453,ProductCatalog,", CatalogFileStatus::read },
        { "quoted current version", "\"2.453\",\"ProductCatalog\",", CatalogFileStatus::read },
        { "old version", "1.5,ProductCatalog,", CatalogFileStatus::read },
        { "later version", "2.4531,ProductCatalog,", CatalogFileStatus::laterVersion },
        { "later version before a wrong word", "3,Other,", CatalogFileStatus::laterVersion },
        { "word in other letter case", "2.453,productcatalog,", CatalogFileStatus::notACatalog },
        { "word with a further letter", "2.453,ProductCatalogs,", CatalogFileStatus::notACatalog },
        { "word with a blank after it", "2.453,ProductCatalog ,", CatalogFileStatus::notACatalog },
        { "no word", "2.453", CatalogFileStatus::notACatalog },
        { "byte-order mark before the version",
            "\xEF\xBB\xBF"
            "2.453,ProductCatalog,",
            CatalogFileStatus::notACatalog },
        { "a word for the version", "Version,ProductCatalog,", CatalogFileStatus::notACatalog },
        { "an empty version", ",ProductCatalog,", CatalogFileStatus::notACatalog },
        { "an empty file", "", CatalogFileStatus::notACatalog },
    };
    for (const auto& c : cases) {
        std::istringstream in(c.start);
        EXPECT_EQ(ReadCatalogFileStart(in), c.status) << c.what;
    }
    EXPECT_EQ(CatalogFileMessage(CatalogFileStatus::cannotOpen), "Could not open the product details file");
    EXPECT_EQ(CatalogFileMessage(CatalogFileStatus::laterVersion),
        "Product Catalog file is for a later version of the software");
    EXPECT_EQ(CatalogFileMessage(CatalogFileStatus::notACatalog),
        "Products Details file is not a valid product catalog");
    ProductCatalog catalog;
    EXPECT_EQ(ReadProductCatalogFile(ORVANEL_TEST_DATA "/no such folder/ProductCatalog.csv", catalog),
        CatalogFileStatus::cannotOpen);
}

TEST_F(CatalogFileReading, WriteThenReadKeepsEveryFieldAndAmount)
{
    ProductCatalog written;
    ASSERT_EQ(ReadFile(CatalogFile(2.453), written), CatalogFileStatus::read);
    std::ostringstream out;
    written.WriteCsv(out);
    const std::string file = out.str();
    EXPECT_EQ(file.substr(0, file.find("\r\n")),
        "\"2.453\",\"ProductCatalog\",\"Studio\",\"discount\",\"7.5\",\"disc red\",\"0.75\",\"max disc "
        "prods\",\"9\","
        "\"custom reorder\",\"0.15\",\"catalog reorder\",\"0.45\",\"min order\",\"12.50\",\"retouch charge\","
        "\"35.00\",\"non crp surcharge\",\"4.5\",\"non standalone surcharge\",\"1.25\",\"hardback charge\","
        "\"0.30\",\"VAT rate\",\"17.5\",\"overseas surchare\",\"5.00\",\"\"");
    EXPECT_NE(file.find("\"10900.67\""), std::string::npos) << "the amounts keep their pennies";

    // Any line end reads the same.
    const struct {
        const char* name;
        const char* end;
    } lineEnds[] = { { "CR LF", "\r\n" }, { "LF", "\n" }, { "CR CR LF", "\r\r\n" } };
    for (const auto& lineEnd : lineEnds) {
        std::string converted;
        for (std::size_t at = 0, next; at < file.size(); at = next + 2) {
            next = file.find("\r\n", at);
            if (next == std::string::npos) {
                converted += file.substr(at);
                break;
            }
            converted += file.substr(at, next - at) + lineEnd.end;
        }
        ProductCatalog read;
        ASSERT_EQ(ReadFile(converted, read), CatalogFileStatus::read);
        EXPECT_EQ(Dump(read), Dump(written)) << lineEnd.name;
    }
}

TEST_F(CatalogFileReading, RowCutShortByTheEndOfTheFileIsTaken)
{
    const std::string full = CatalogFile(2.453);
    const std::string lineOne = full.substr(0, full.find("\r\n") + 2);
    ProductCatalog catalog;
    ASSERT_EQ(ReadFile(lineOne
                      + "header\r\n\"Portrait "
                        "10x8\",\"10x8\",\"P108\",\"x\",\"y\",\"0\",\"12\",\"1\",\"5\",\"9.99\"",
                  catalog),
        CatalogFileStatus::read);
    ASSERT_EQ(catalog.GetCount(), 1u);
    const auto product = catalog.FindProduct(12);
    ASSERT_TRUE(product);
    EXPECT_EQ(product->GetFull().GetAmount(), 999);
    EXPECT_EQ(product->GetData().GetAmount(), 0);
    EXPECT_TRUE(product->GetFields().MountsPossible) << "fields beyond the end keep their defaults";
    EXPECT_EQ(product->GetFields().NumMultiImages, 1);
    EXPECT_EQ(catalog.GetMountData().GetTypeCount(), 0u);
}

// Flags and numbers that are not numbers keep their values (a flag of "yes" included); empty ones
// read as 0; a field the file does not hold changes nothing.
TEST(CsvCursor, FieldsThatAreNotNumbersKeepTheirValues)
{
    std::istringstream in("yes,no,\"\",abc,(2.5)\r\n\"x\"");
    CsvCursor cursor(in);
    bool on = true;
    bool off = false;
    bool cleared = true;
    int32_t number = 7;
    double real = 0;
    EXPECT_TRUE(cursor.Bool(on));
    EXPECT_TRUE(cursor.Bool(off));
    EXPECT_TRUE(cursor.Bool(cleared));
    EXPECT_TRUE(cursor.Int(number));
    EXPECT_FALSE(cursor.LastEndedLine());
    EXPECT_TRUE(cursor.Double(real));
    EXPECT_TRUE(cursor.LastEndedLine());
    EXPECT_TRUE(on);
    EXPECT_FALSE(off);
    EXPECT_FALSE(cleared);
    EXPECT_EQ(number, 7);
    EXPECT_EQ(real, -2.5);
    std::string text;
    EXPECT_TRUE(cursor.Text(text));
    EXPECT_EQ(text, "x");
    uint32_t absent = 9;
    EXPECT_FALSE(cursor.Unsigned(absent));
    EXPECT_EQ(absent, 9u);
    EXPECT_TRUE(cursor.LastEndedLine());
}

} // namespace
