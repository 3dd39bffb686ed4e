// The catalogue's lookups, combo fill, copies and merge, and the record-message and archive forms
// of products and catalogues.
#include "model/ProductCatalog.h"
#include "CatalogTestSupport.h"
#include "RecordTestHelpers.h"
#include "win/AllocationProbe.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct ProductSpec {
    uint32_t id;
    const char* shortName;
    const char* medium = "";
    uint32_t order = 0;
    bool discontinued = false;
    const char* longName = "product";
};

std::shared_ptr<ProductDetails> Product(const ProductSpec& spec)
{
    auto product = std::make_shared<ProductDetails>();
    ProductFields fields = product->GetFields();
    fields.ID = spec.id;
    fields.Short = spec.shortName;
    fields.Medium = spec.medium;
    fields.Long = spec.longName;
    fields.Order = spec.order;
    fields.Discontinued = spec.discontinued;
    product->SetFields(fields);
    return product;
}

// Every field of a product set away from its default.
ProductFields Unusual(uint32_t id)
{
    ProductFields fields = ProductDetails().GetFields();
    int n = 1;
    for (const auto& field : ProductFieldTable) {
        ++n;
        fieldtable::VisitValue(fields, field,
            fieldtable::Overloaded { [&](std::string& text) { text = "text " + std::to_string(n); },
                [](bool& flag) { flag = !flag; }, [&](uint32_t& value) { value = 4'000'000'000u - n; },
                [&](int32_t& value) { value = -n; }, [&](Money& money) { money = Money(1'234'567 + n); },
                [&](double& value) { value = n + 0.1; } });
    }
    fields.ID = id;
    return fields;
}

class Catalog : public CatalogFixture { };

TEST_F(Catalog, LookupsByIdAndNames)
{
    ProductCatalog catalog;
    for (const ProductSpec& spec : std::initializer_list<ProductSpec> {
             { 40, "Keyring", "Keyring" },
             { 30, "2Keyring", "2 Keyring" },
             { 20, "keyring" },
             { 12, "PandP", "P and P", 0, false, "Postage and Packing" },
             { 50, "Print", "10x8 print" },
             { 45, "Print", "8x6 print" },
         })
        EXPECT_TRUE(catalog.AddProduct(Product(spec)));
    EXPECT_EQ(catalog.FindIdByShortName("Keyring"), 30u) << "sought as 2Keyring";
    EXPECT_EQ(catalog.FindIdByShortName("keyring"), 20u) << "searched unchanged";
    EXPECT_EQ(catalog.FindIdByShortName("PxP"), 12u);
    EXPECT_EQ(catalog.FindIdByShortName("Print"), 45u) << "the lower ID of two";
    EXPECT_EQ(catalog.FindIdByShortName("Missing"), ProductCatalog::noProductId);
    EXPECT_EQ(catalog.FindIdByShortName("print"), 0xFFFFFFFFu);
    EXPECT_EQ(catalog.FindIdByMediumName("Keyring"), 30u);
    EXPECT_EQ(catalog.FindIdByMediumName("Post&Pack"), 12u);
    EXPECT_EQ(catalog.FindIdByLongName("Postage & Packing"), 12u);
    EXPECT_EQ(catalog.FindProduct(50)->GetMedium(), "10x8 print");
    EXPECT_EQ(catalog.FindProduct(51), nullptr);
    EXPECT_EQ(catalog.GetCount(), 6u) << "a lookup creates nothing";

    EXPECT_FALSE(catalog.AddProduct(Product({ 50, "Other", "second 50" })));
    EXPECT_EQ(catalog.FindProduct(50)->GetMedium(), "10x8 print") << "the first of two IDs stays";
}

TEST_F(Catalog, DuplicateIdsInTheFileKeepTheFirst)
{
    std::ostringstream file;
    ProductCatalog written;
    written.AddProduct(Product({ 5, "first" }));
    written.WriteCsv(file);
    std::string text = file.str();
    const std::size_t row = text.find("\"product\"");
    const std::size_t rowEnd = text.find("\r\n", row) + 2;
    std::string second = text.substr(row, rowEnd - row);
    second.replace(second.find("first"), 5, "later");
    text.insert(rowEnd, second);
    std::istringstream in(text.substr(text.find("\"ProductCatalog\"") + 17));
    SavedDataVersion = CurrentDataVersion;
    ProductCatalog read;
    EXPECT_TRUE(read.ReadCsv(in));
    ASSERT_EQ(read.GetCount(), 1u);
    EXPECT_EQ(read.FindProduct(5)->GetShort(), "first");
}

TEST_F(Catalog, FillProductComboInOrderWithoutDiscontinued)
{
    ProductCatalog catalog;
    catalog.AddProduct(Product({ 1, "a", "Last", 9 }));
    catalog.AddProduct(Product({ 2, "b", "Gone", 1, true }));
    catalog.AddProduct(Product({ 3, "c", "First", 0 }));
    catalog.AddProduct(Product({ 4, "d", "Middle", 5 }));
    RecordingCombo all;
    catalog.FillProductCombo(all, false);
    EXPECT_EQ(all.added, (std::vector<std::string> { "First", "Gone", "Middle", "Last" }));
    RecordingCombo selling;
    catalog.FillProductCombo(selling, true);
    EXPECT_EQ(selling.added, (std::vector<std::string> { "First", "Middle", "Last" }));
}

TEST_F(Catalog, ProductListFile)
{
    ProductCatalog catalog;
    catalog.AddProduct(Product({ 9, "S9", "M9", 0, false, "Long \"nine\"" }));
    catalog.AddProduct(Product({ 3, "S3", "M3", 0, false, "L3" }));
    std::ostringstream out;
    catalog.WriteProductListCsv(out);
    EXPECT_EQ(out.str(),
        "ProductID,LongName,MediumName,ShortName\r\n\"3\",\"L3\",\"M3\",\"S3\"\r\n"
        "\"9\",\"Long \"\"nine\"\"\",\"M9\",\"S9\"\r\n");
}

TEST_F(Catalog, CopiesOwnTheirProductsAndCopyingItselfKeepsThem)
{
    ProductCatalog catalog;
    catalog.AddProduct(Product({ 1, "a" }));
    CatalogSettings settings = catalog.GetSettings();
    settings.Name = "Studio";
    settings.Discount = 5;
    catalog.SetSettings(settings);
    ProductCatalog copy(catalog);
    EXPECT_EQ(Dump(copy), Dump(catalog));
    EXPECT_NE(copy.FindProduct(1), catalog.FindProduct(1));
    ProductCatalog& same = catalog;
    catalog = same;
    EXPECT_EQ(Dump(catalog), Dump(copy));
    ProductDetails& product = *catalog.FindProduct(1);
    product = *catalog.FindProduct(1);
    EXPECT_EQ(product.Clone(product), &product);
    EXPECT_EQ(Dump(catalog), Dump(copy));

    ProductCatalog cloned;
    EXPECT_EQ(catalog.Clone(cloned), &cloned);
    EXPECT_EQ(cloned.GetName(), "Studio");
    EXPECT_EQ(cloned.GetCount(), 0u) << "a clone takes the settings only";
    MountData other;
    EXPECT_EQ(catalog.Clone(other), nullptr);
}

// The global catalogue has two mount types and one size; this one has three sizes and none of
// the types. Taken literally, the merge would read the global lists past their one entry for the
// second and third sizes.
TEST_F(Catalog, MergeFromGlobalFillsOnlyWhatBothTablesHold)
{
    std::istringstream global("Mount Type\r\nMount Description,,\"Card\",\"Folder\",,\r\n"
                              "\"7x5\",\"0\",\"1.50\",\"2\",,\"7\",\"8\",,\r\n");
    GlobalProductCatalog().GetMountData().ReadCsv(global);
    GlobalProductCatalog().AddProduct(Product({ 7, "global" }));
    ProductCatalog catalog;
    catalog.AddProduct(Product({ 7, "mine" }));
    std::istringstream mine(
        "Mount Type\r\nMount Description,,,\r\n\"a\",\"0\",,\r\n\"b\",\"1\",,\r\n\"c\",\"2\",,\r\n");
    catalog.GetMountData().ReadCsv(mine);
    catalog.MergeFromGlobal();
    EXPECT_EQ(Dump(catalog.GetMountData()),
        "type Card\ntype Folder\nsize a: 1.50 2.00 / 7 8\nsize b: 0.00 0.00 / -1 -1\nsize c: 0.00 0.00 / -1 "
        "-1\n");
    EXPECT_EQ(catalog.FindProduct(7)->GetShort(), "mine");

    const std::string before = Dump(GlobalProductCatalog());
    GlobalProductCatalog().MergeFromGlobal();
    EXPECT_EQ(Dump(GlobalProductCatalog()), before);

    ProductCatalog empty;
    empty.MergeFromGlobal();
    EXPECT_EQ(Dump(empty.GetMountData()), Dump(GlobalProductCatalog().GetMountData()));
    EXPECT_EQ(empty.FindProduct(7)->GetShort(), "global");
}

// A mount type from ten on keeps its own code in the merge, like its price, rather than the code
// of the type it would name in a lookup (10 names 1): both for a size the target lacks (copied
// whole) and for a size both tables hold (given the new types' codes one by one).
TEST_F(Catalog, MergedMountTypesKeepTheirOwnCodes)
{
    std::string descriptions;
    std::string prices;
    std::string codes;
    for (int t = 0; t < 11; ++t) {
        descriptions += ",\"T" + std::to_string(t) + "\"";
        prices += ",\"" + std::to_string(t + 1) + "\"";
        codes += ",\"" + std::to_string(100 + t) + "\"";
    }
    std::istringstream global("Mount Type\r\nMount Description," + descriptions + ",,\r\n\"7x5\",\"0\""
        + prices + "," + codes + ",,\r\n");
    GlobalProductCatalog().GetMountData().ReadCsv(global);
    const struct {
        const char* what;
        const char* mounts;
    } targets[] = {
        { "no sizes", "" },
        { "one size and type 0",
            "Mount Type\r\nMount Description,,\"Own\",,\r\n\"7x5\",\"0\",\"9\",,\"900\",,\r\n" },
    };
    for (const auto& target : targets) {
        SCOPED_TRACE(target.what);
        ProductCatalog catalog;
        std::istringstream mounts(target.mounts);
        catalog.GetMountData().ReadCsv(mounts);
        catalog.MergeFromGlobal();
        ASSERT_EQ(catalog.GetMountData().GetTypeCount(), 11u);
        ASSERT_EQ(catalog.GetMountData().GetSizeCount(), 1u);
        const MountSizeData& size = *catalog.GetMountData().GetSizes()[0];
        EXPECT_EQ(size.GetCode(10), 110);
        EXPECT_EQ(size.GetPrice(10).GetAmount(), 1100);
        EXPECT_EQ(size.GetCode(1), 101);
    }
}

TEST_F(Catalog, ProductRecordFormsKeepEveryField)
{
    ProductDetails product;
    product.SetFields(Unusual(77));
    SavedDataVersion = CurrentDataVersion;

    win::Archive archive;
    product.Store(archive);
    ProductDetails loaded;
    win::Archive in(archive.Bytes());
    loaded.Load(in);
    EXPECT_EQ(in.Remaining(), 0u);
    ProductFields expected = product.GetFields();
    expected.Special = false; // not on the archive: keeps the value it had
    EXPECT_EQ(AllFields(loaded.GetFields(), ProductFieldTable), AllFields(expected, ProductFieldTable));

    std::ostringstream message;
    message.put(2);
    product.WriteFields(false, message, true);
    EXPECT_EQ(product.GetModifiedMask(), 0u);
    ProductDetails received;
    std::istringstream read(message.str());
    received.ReadFields(read);
    EXPECT_EQ(Dump(received), Dump(product));
    EXPECT_EQ(read.peek(), std::char_traits<char>::eof());

    ProductDetails cloned;
    product.Clone(cloned);
    EXPECT_EQ(Dump(cloned), Dump(product));
}

TEST_F(Catalog, ProductMessageFieldForms)
{
    ProductDetails product;
    ProductFields fields = product.GetFields();
    fields.Full = Money(-2);
    fields.PricePercent = 2.0;
    product.SetFields(fields);
    product.ClearModified();
    // Only the two fields marked: money as 4 bytes, a real as 8.
    product.SetFieldModified(8);
    product.SetFieldModified(48);
    std::ostringstream out;
    product.WriteFields(true, out, true);
    EXPECT_EQ(out.str(), Bytes({ 8, 0, 0xFE, 0xFF, 0xFF, 0xFF, 48, 0, 0, 0, 0, 0, 0, 0, 0, 0x40, 54, 0 }));

    std::istringstream empty("");
    try {
        product.ReadFields(empty);
        FAIL() << "no exception";
    } catch (const DatabaseRecord::DispatchReadError& error) {
        EXPECT_EQ(std::string(error.what()), "Attempt to read from faulty stream: ProductDetails: 0: ");
    }
}

TEST_F(Catalog, CatalogueMessagesAddAndRemoveProducts)
{
    ProductCatalog catalog;
    ProductDetails product;
    product.SetFields(Unusual(12));
    std::ostringstream message;
    for (int copy = 0; copy < 2; ++copy) {
        message << Bytes({ 0, 21 }) << Le32(0);
        message.put(2);
        product.WriteFields(false, message, true);
    }
    CatalogSettings settings = catalog.GetSettings();
    settings.Name = "Sent";
    settings.HardbackCharge = Money(12345.67);
    settings.VatRate = 17.5;
    ProductCatalog sender;
    sender.SetSettings(settings);
    message.put(2);
    sender.WriteFields(false, message, true);
    std::istringstream in(message.str());
    while (in.peek() != std::char_traits<char>::eof())
        catalog.ReadFields(in);
    ASSERT_EQ(catalog.GetCount(), 1u);
    EXPECT_EQ(Dump(*catalog.FindProduct(12)), Dump(product));
    EXPECT_EQ(
        AllFields(catalog.GetSettings(), CatalogSettingsTable), AllFields(settings, CatalogSettingsTable));
    EXPECT_EQ(catalog.Describe(), "ProductCatalog: 0: Sent");

    // Products are removed by record id; the ids a message brings are not kept, so 0 matches.
    std::istringstream remove(Bytes({ 1, 21 }) + Le32(0));
    catalog.ReadFields(remove);
    EXPECT_EQ(catalog.GetCount(), 0u);
}

TEST_F(Catalog, CatalogueArchiveRoundTrip)
{
    ProductCatalog catalog;
    CatalogSettings settings = catalog.GetSettings();
    settings.Name = "Archived";
    settings.Discount = 4.5;
    settings.MaxDiscProds = 3;
    settings.RetouchCharge = Money(4200);
    settings.OverseasSurcharge = Money(-1);
    catalog.SetSettings(settings);
    for (const uint32_t id : { 3u, 1u, 2u }) {
        auto product = std::make_shared<ProductDetails>();
        product->SetFields(Unusual(id));
        catalog.AddProduct(product);
    }
    std::istringstream mounts(
        "Mount Type\r\nMount "
        "Description,,\"Card\",\"Folder\",,\r\n\"7x5\",\"0\",\"1.5\",\"2\",,\"7\",\"8\",,\r\n");
    catalog.GetMountData().ReadCsv(mounts);
    win::Archive archive;
    catalog.Store(archive);
    SavedDataVersion = CurrentDataVersion;
    ProductCatalog loaded;
    win::Archive in(archive.Bytes());
    loaded.Load(in);
    EXPECT_EQ(in.Remaining(), 0u);
    std::string expected = Dump(catalog);
    for (std::size_t at = 0; (at = expected.find("Special=1", at)) != std::string::npos;)
        expected.replace(at, 9, "Special=0");
    EXPECT_EQ(Dump(loaded), expected);
    EXPECT_EQ(loaded.GetModifiedMask(), 0u);
}

// An archive of data version 2.03, laid out field by field as that version stored it: no record
// ids, none of the product fields added later, four of the settings. Its products saved without
// prices take the global catalogue's, except discontinued ones and products 32 and 49.
struct OldProduct {
    uint32_t id;
    int32_t full;
    bool discontinued;
};

void StoreOldProduct(win::Archive& archive, const OldProduct& product)
{
    archive.WriteString("old " + std::to_string(product.id));
    archive.WriteString("medium");
    archive.WriteString("short");
    archive << product.discontinued << product.id << uint32_t { 3 } << product.full << int32_t { 0 }
            << int32_t { 0 } << uint32_t { 10 };
    for (int flag = 0; flag < 9; ++flag) // Group to PackFlag, without Special
        archive << true;
    archive << int32_t { 1 } << false << uint32_t { 2 } << true << true << uint32_t { 0 } << uint32_t { 0 };
    for (int flag = 0; flag < 5; ++flag) // Discnt to S Alone
        archive << true;
    for (int32_t value = 0; value < 8; ++value) // channels, sizes and print methods
        archive << value;
    archive << true << true << true; // SplitMono, NoristuHF, CanDoMono
}

TEST_F(Catalog, OldArchiveReadsItsFieldsAndRepairsUnpricedProducts)
{
    for (const uint32_t id : { 5u, 32u, 6u }) {
        auto global = Product({ id, "global", "global medium", 0, false, "global product" });
        ProductFields fields = global->GetFields();
        fields.Full = Money(1250);
        global->SetFields(fields);
        GlobalProductCatalog().AddProduct(global);
    }
    win::Archive archive;
    const OldProduct products[]
        = { { 5, 0, false }, { 6, 0, true }, { 7, 100, false }, { 18, 0, false }, { 32, 0, false } };
    archive << uint32_t { std::size(products) };
    for (const auto& product : products)
        StoreOldProduct(archive, product);
    archive << uint32_t { 0 } << uint32_t { 0 }; // no mount sizes, no mount types
    archive.WriteString("Old studio");
    archive << 5.5 << 0.25 << uint32_t { 4 } << int32_t { 150 } << int32_t { 900 } << int32_t { 2500 } << 2.5;

    SavedDataVersion = 2.03;
    ProductCatalog catalog;
    win::Archive in(archive.Bytes());
    catalog.Load(in);
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(AllFields(catalog.GetSettings(), CatalogSettingsTable),
        "=Old studio;discount=5.5;disc red=0.25;max disc prods=4;custom reorder=1.50;catalog reorder=0.32;"
        "min order=9.00;retouch charge=25.00;non crp surcharge=2.5;non standalone surcharge=1.00;"
        "hardback charge=0.20;VAT rate=20;overseas surchare=0.00;");
    EXPECT_EQ(catalog.FindProduct(5)->GetLong(), "global product") << "unpriced: repaired";
    EXPECT_EQ(catalog.FindProduct(6)->GetLong(), "old 6") << "discontinued";
    EXPECT_EQ(catalog.FindProduct(7)->GetLong(), "old 7") << "priced";
    EXPECT_EQ(catalog.FindProduct(32)->GetLong(), "old 32") << "product 32 is left unpriced";
    const ProductFields& old = catalog.FindProduct(18)->GetFields();
    EXPECT_EQ(old.Long, "old 18") << "no global product";
    EXPECT_TRUE(old.SepPackScan) << "products 18 and 19 of old archives";
    EXPECT_FALSE(old.MountsPossible);
    EXPECT_EQ(old.MntSize, 2u);
    EXPECT_EQ(old.SpecPrintMethod, 7);
    EXPECT_TRUE(old.CanDoMono);
    EXPECT_TRUE(old.PrintLabelOnScan) << "added later: keeps its default";
    EXPECT_EQ(old.NumMultiImages, 1);
    EXPECT_EQ(catalog.FindProduct(7)->GetFields().SepPackScan, false);

    // Handed the archive's version, the loader reads the same whatever file was read last.
    SavedDataVersion = CurrentDataVersion;
    ProductCatalog byContext;
    win::Archive again(archive.Bytes());
    byContext.Load(again, ReadContext { 2.03 });
    EXPECT_EQ(again.Remaining(), 0u);
    EXPECT_EQ(Dump(byContext), Dump(catalog));
}

TEST_F(Catalog, HostileArchiveCountsAllocateNothingAhead)
{
    SavedDataVersion = CurrentDataVersion;
    AllocationProbe probe;
    ProductCatalog catalog;
    win::Archive products(Le32(0) + Le32(0x10000000) + std::string(64, '\0'));
    EXPECT_THROW(catalog.Load(products), win::ArchiveException);
    EXPECT_LT(probe.Largest(), 4096u);
}

// A catalogue whose record id a test sets.
class IdentifiedCatalog : public ProductCatalog {
public:
    using ProductCatalog::SetId;
};

// A product that notes where the walk stands when the catalogue walks it.
class ProbeProduct : public ProductDetails {
public:
    bool Traverse(TraverseAction& action) override
    {
        seen.emplace_back(action.GetParentId(), action.GetRecordType());
        return true;
    }
    std::vector<std::pair<uint32_t, RecordType>> seen;
};

// Notes where the walk stands each time it is applied, and answers as told.
class StandingAction : public DatabaseRecord::TraverseAction {
public:
    explicit StandingAction(bool answer)
        : answer_(answer)
    {
    }
    bool Apply(DatabaseRecord&) override
    {
        seen.emplace_back(GetParentId(), GetRecordType());
        return answer_;
    }
    std::vector<std::pair<uint32_t, RecordType>> seen;

private:
    bool answer_;
};

// The catalogue walks its products as their parent, as records of the product type, and leaves
// the action standing where it found it; an action that answers false visits no product.
TEST_F(Catalog, TraverseSetsAndRestoresWhereTheWalkStands)
{
    using Standing = std::pair<uint32_t, RecordType>;
    for (const bool answer : { true, false }) {
        IdentifiedCatalog catalog;
        EXPECT_EQ(catalog.SetId(40), 0u);
        EXPECT_EQ(catalog.SetId(41), 40u) << "the previous id";
        auto first = std::make_shared<ProbeProduct>();
        auto second = std::make_shared<ProbeProduct>();
        ProductFields fields = first->GetFields();
        fields.ID = 1;
        first->SetFields(fields);
        fields.ID = 2;
        second->SetFields(fields);
        ASSERT_TRUE(catalog.AddProduct(first));
        ASSERT_TRUE(catalog.AddProduct(second));

        StandingAction action(answer);
        action.SetParentId(7);
        action.SetRecordType(RecordType::ctLayout);
        EXPECT_FALSE(catalog.Traverse(action));
        EXPECT_EQ(action.seen, (std::vector<Standing> { { 7, RecordType::ctLayout } }));
        const std::vector<Standing> walked { { 41, RecordType::ctProductDetails } };
        EXPECT_EQ(first->seen, answer ? walked : std::vector<Standing> {});
        EXPECT_EQ(second->seen, answer ? walked : std::vector<Standing> {});
        EXPECT_EQ(action.GetParentId(), 7u);
        EXPECT_EQ(action.GetRecordType(), RecordType::ctLayout);
    }
}

} // namespace
