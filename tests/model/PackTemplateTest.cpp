// The pack template file: the columns each version carries, the end markers, names the catalogue
// lacks, the pack cap, blank lines, write-then-read and the template that ships beside the
// program. Rows are built by a small writer from the tables below, which follow the file's
// documented layout and are independent of the reader's own field tables.
#include "PackTestSupport.h"
#include "model/PackTemplateFile.h"
#include "model/ProductCatalogFile.h"
#include "win/AllocationProbe.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace packtest;

const std::string templateStart = "Pack Template,MountType,ServiceType,Description\r\n";

// The optional columns a row of a version carries.
struct VersionColumns {
    const char* version;
    bool mountType;
    bool serviceType;
    bool droppedInteger;
    int flags; // how many of the six flags, in column order
    int slots;
    bool mono;
    bool mounted;
    bool droppedFlag;
};

constexpr VersionColumns versions[] = {
    { "1", false, false, false, 0, 8, false, false, false },
    { "1.5", false, false, false, 0, 8, true, false, false },
    { "1.85", false, false, false, 0, 8, true, false, true },
    { "2.029", false, false, false, 0, 8, true, false, false },
    { "2.02905", true, false, false, 0, 8, true, true, false },
    { "2.0291", true, false, false, 0, 8, true, true, false },
    { "2.0299", true, true, false, 0, 8, true, true, false },
    { "2.03", true, true, false, 1, 8, true, true, false },
    { "2.04", true, true, false, 2, 8, true, true, false },
    { "2.045", true, true, false, 2, 8, true, true, false },
    { "2.0452", true, true, false, 3, 8, true, true, false },
    { "2.0521", true, true, false, 3, 10, true, true, false },
    { "2.0541", true, true, false, 4, 10, true, true, false },
    { "2.0543", true, true, false, 5, 10, true, true, false },
    { "2.412", true, true, false, 6, 10, true, true, false },
    { "2.452", true, true, true, 6, 10, true, true, false },
    { "2.453", true, true, false, 6, 10, true, true, false },
};

const VersionColumns& ColumnsAt(std::string_view version)
{
    for (const VersionColumns& columns : versions)
        if (columns.version == version)
            return columns;
    throw std::invalid_argument("no columns for version " + std::string(version));
}
const VersionColumns& latest = ColumnsAt("2.453");

// The values written for NoPrintForm, NoPrintWeb, NoPandP, AddOn, NoQtyDiscount, ImageMixin.
const bool writtenFlags[6] = { true, false, true, true, true, true };

struct Slot {
    std::string name;
    uint32_t quantity;
    bool mono;
    bool mounted;
};

class RowWriter {
public:
    explicit RowWriter(const VersionColumns& columns)
        : columns_(columns)
    {
    }
    RowWriter& Field(const std::string& text)
    {
        text_ += (text_.empty() ? "\"" : ",\"") + text + "\"";
        return *this;
    }
    RowWriter& Flag(bool flag) { return Field(flag ? "1" : "0"); }
    std::string Row(const std::string& description, uint32_t mountType, int32_t serviceType,
        const std::vector<Slot>& slots, const std::string& shortDescription = "")
    {
        Field(columns_.version);
        if (columns_.mountType)
            Field(std::to_string(mountType));
        if (columns_.serviceType)
            Field(std::to_string(serviceType));
        if (columns_.droppedInteger)
            Field("77");
        Field(description).Field(shortDescription.empty() ? "short " + description : shortDescription);
        Field("12.34");
        for (int flag = 0; flag < columns_.flags; ++flag)
            Flag(writtenFlags[flag]);
        for (int slot = 0; slot < columns_.slots; ++slot) {
            const Slot filled
                = slot < static_cast<int>(slots.size()) ? slots[slot] : Slot { "", 0, false, false };
            Field(filled.name).Field(std::to_string(filled.quantity));
            if (columns_.mono)
                Flag(filled.mono);
            if (columns_.mounted)
                Flag(filled.mounted);
            if (columns_.droppedFlag)
                Flag(true);
        }
        std::string row = text_ + "\r\n";
        text_.clear();
        return row;
    }

private:
    const VersionColumns& columns_;
    std::string text_;
};

PackProduct Entry(uint32_t product, uint32_t quantity)
{
    return { product, quantity, false, false };
}

PackTemplateStatus Read(const std::string& file, PacksCollection& packs)
{
    std::istringstream in(file);
    return ReadPackTemplate(in, packs);
}

class PackTemplate : public PackFixture { };

TEST_F(PackTemplate, EachVersionReadsTheColumnsItCarries)
{
    for (const VersionColumns& columns : versions) {
        SCOPED_TRACE(columns.version);
        // Every slot is filled: the mounted product first, then 7x5 prints in mono, unmounted.
        std::vector<Slot> slots { { "M10x8", 1, true, false } };
        for (int slot = 1; slot < columns.slots; ++slot)
            slots.push_back({ "7x5", static_cast<uint32_t>(slot + 1), true, false });
        RowWriter writer(columns);
        const std::string file = templateStart + writer.Row("first", 2, 0, slots)
            + writer.Row("second", 2, 0, { { "7x5", 5, false, true } });
        PacksCollection packs;
        packs.SetMountType(7);
        packs.SetServiceType(1);
        ASSERT_EQ(Read(file, packs), PackTemplateStatus::read);
        ASSERT_EQ(packs.GetPackCount(), 2u);
        EXPECT_EQ(SavedDataVersion, std::strtod(columns.version, nullptr));
        EXPECT_EQ(packs.GetMountType(), columns.mountType ? 2u : 1u);
        EXPECT_EQ(packs.GetServiceType(), columns.serviceType ? 0 : 2);

        const PackDetails& first = *packs.GetPack(0);
        EXPECT_EQ(first.GetLongDescription(), "first");
        EXPECT_EQ(first.GetShortDescription(), "short first");
        EXPECT_EQ(first.GetPrice().GetAmount(), 1234);
        const bool flags[6] = { first.GetNoPrintForm(), first.GetNoPrintWeb(), first.GetNoPandP(),
            first.GetAddOn(), first.GetNoQtyDiscount(), first.GetImageMixin() };
        for (int flag = 0; flag < 6; ++flag) {
            bool expected = flag < columns.flags && writtenFlags[flag];
            if (flag == 1 && columns.flags < 2) // without its column, the web flag follows the form flag
                expected = columns.flags >= 1 && writtenFlags[0];
            EXPECT_EQ(flags[flag], expected) << "flag " << flag;
        }
        const auto& entries = first.GetProducts();
        ASSERT_EQ(entries.size(), static_cast<std::size_t>(columns.slots));
        EXPECT_EQ(Dump(entries[0]), Dump(PackProduct { mounted, 1, columns.mono, !columns.mounted }))
            << "without its column, MT follows the product's mounts";
        EXPECT_EQ(Dump(entries.back()),
            Dump(PackProduct { portrait, static_cast<uint32_t>(columns.slots), columns.mono, false }));

        // The second row starts where the first ended.
        const PackDetails& second = *packs.GetPack(1);
        EXPECT_EQ(second.GetLongDescription(), "second");
        ASSERT_EQ(second.GetProducts().size(), 1u);
        EXPECT_EQ(second.GetProducts()[0].quantity, 5u);
    }
}

TEST_F(PackTemplate, NamesAndUnmountedMarkers)
{
    const struct {
        const char* version;
        const char* shortDescription;
        const char* name;
        uint32_t product;
        bool mounted;
    } cases[] = {
        // MT is read (written as 1) from version 2.0291 on.
        { "2.04", "pack", "EImage", saEImage, true }, { "2.045", "pack", "EImage", eImage, true },
        { "2.453", "pack", "Keyring", keyring, true },
        { "2.453", "pack", "keyring", PackProduct::unknownProduct, true },
        { "2.453", "pack", "Nothing", PackProduct::unknownProduct, true },
        { "2.029", "pack", "Nothing", PackProduct::unknownProduct, false },
        { "2.029", "pack", "M10x8", mounted, true }, { "2.029", "a NoMount pack", "M10x8", mounted, false },
        { "2.0291", "a nomount pack", "M10x8", mounted, true }, // MT read: "1"
        { "2.02905", "a nomount pack", "M10x8", mounted, false }, // MT read, then cleared
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.version) + " " + c.name + " in " + c.shortDescription);
        const std::string row = RowWriter(ColumnsAt(c.version))
                                    .Row("pack", 1, 2, { { c.name, 1, false, true } }, c.shortDescription);
        PacksCollection packs;
        ASSERT_EQ(Read(templateStart + row, packs), PackTemplateStatus::read);
        ASSERT_EQ(packs.GetPackCount(), 1u);
        ASSERT_EQ(packs.GetPack(0)->GetProducts().size(), 1u) << "a slot naming an unknown product stays";
        const PackProduct& entry = packs.GetPack(0)->GetProducts()[0];
        EXPECT_EQ(entry.product, c.product);
        EXPECT_EQ(entry.MT, c.mounted);
    }
    EXPECT_EQ(GlobalProductCatalog().GetCount(), 13u) << "lookups add nothing to the catalogue";
}

TEST_F(PackTemplate, EndMarkersStopTheListCaseSensitively)
{
    RowWriter writer(latest);
    const std::string row = writer.Row("pack", 0, 1, { { "7x5", 1, false, false } });
    const struct {
        std::string file;
        std::size_t packs;
    } cases[] = {
        { templateStart + row + "{EndPacks}\r\n" + row, 1 },
        { templateStart + row + "\"{EndReorderPacks}\",x\r\n" + row, 1 },
        // Read as the version of a row, which stays that of the row before.
        { templateStart + row + "{endpacks}" + row.substr(row.find(',')), 2 },
        { templateStart + "{EndPacks}\r\n" + row, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        PacksCollection packs;
        packs.SetMountType(9);
        packs.SetServiceType(-4);
        packs.AddPack(MakePack("old", 100, {}));
        ASSERT_EQ(Read(c.file, packs), PackTemplateStatus::read);
        EXPECT_EQ(packs.GetPackCount(), c.packs);
        EXPECT_EQ(packs.GetMountType(), c.packs == 0 ? 9u : 0u) << "rows set the types; no row, no change";
        EXPECT_EQ(packs.GetServiceType(), c.packs == 0 ? -4 : 1);
    }
}

TEST_F(PackTemplate, KeepsThirtyThreePacksAndTheLastRowDecides)
{
    RowWriter writer(latest);
    std::string file = templateStart;
    for (int row = 0; row < 39; ++row)
        file += writer.Row("pack " + std::to_string(row), 0, 0, {});
    file += RowWriter(ColumnsAt("2.03")).Row("last", 5, 1, {});
    PacksCollection packs;
    ASSERT_EQ(Read(file, packs), PackTemplateStatus::read);
    ASSERT_EQ(packs.GetPackCount(), 33u);
    EXPECT_EQ(packs.GetPack(32)->GetLongDescription(), "pack 32");
    EXPECT_EQ(packs.GetMountType(), 5u);
    EXPECT_EQ(packs.GetServiceType(), 1);
    EXPECT_EQ(SavedDataVersion, 2.03);
}

TEST_F(PackTemplate, PacksBeyondTheCapAreNotHeldWhileReading)
{
    RowWriter writer(latest);
    std::string file = templateStart;
    for (int row = 0; row < 2000; ++row)
        file += writer.Row("p", 0, 0, {});
    std::istringstream in(file);
    PacksCollection packs;
    AllocationProbe probe;
    ReadPackTemplate(in, packs);
    EXPECT_EQ(packs.GetPackCount(), 33u);
    EXPECT_LT(probe.Largest(), 4096u) << "the pack list grew beyond the packs it keeps";
}

TEST_F(PackTemplate, BlankLinesAddNothingAndChangeNothing)
{
    RowWriter writer(latest);
    const std::string first = writer.Row("first", 2, 1, { { "7x5", 1, false, false } });
    const std::string second = writer.Row("second", 2, 1, {});
    const std::string blankLines[] = { "\r\n", "\n", ",,,\r\n", "   \r\n", "\"\",\"2.0\",x\r\n" };
    for (const std::string& blank : blankLines) {
        SCOPED_TRACE(testing::PrintToString(blank));
        PacksCollection packs;
        ASSERT_EQ(Read(templateStart + first + blank + second + blank, packs), PackTemplateStatus::read);
        ASSERT_EQ(packs.GetPackCount(), 2u) << "no phantom pack";
        EXPECT_EQ(packs.GetPack(1)->GetLongDescription(), "second");
        EXPECT_EQ(packs.GetMountType(), 2u);
        EXPECT_EQ(packs.GetServiceType(), 1);
        EXPECT_EQ(SavedDataVersion, 2.453);
    }
}

TEST_F(PackTemplate, FirstLineWithoutColumnNamesAndLastRowWithoutLineEnd)
{
    RowWriter writer(latest);
    std::string row = writer.Row("only", 1, 2, { { "G10x8", 3, false, false } });
    row.resize(row.size() - 2);
    for (const std::string& start :
        { std::string("Pack Template\r\n"), std::string("\"Pack Template\"\n") }) {
        PacksCollection packs;
        ASSERT_EQ(Read(start + row, packs), PackTemplateStatus::read);
        ASSERT_EQ(packs.GetPackCount(), 1u) << "the first row is not taken for column names";
        EXPECT_EQ(packs.GetPack(0)->GetLongDescription(), "only");
        EXPECT_TRUE(packs.PackHasGroupProduct(0));
    }
}

TEST_F(PackTemplate, WrittenTemplateReadsBack)
{
    PacksCollection packs;
    packs.SetMountType(2);
    packs.SetServiceType(1);
    packs.AddPack(MakePack("Pack \"A\", with a comma", 123456789,
        { { mounted, 2, true, true }, { portrait, 4, false, false } }));
    auto flagged = MakePack("flags", -150, { { keyring, 1, false, false } });
    flagged->SetNoPrintForm(true);
    flagged->SetNoPandP(true);
    flagged->SetImageMixin(true);
    packs.AddPack(flagged);
    packs.AddPack(MakePack("empty", 0, {}));
    std::ostringstream out;
    packs.WriteCsv(out);
    const std::string written = out.str();
    EXPECT_EQ(written.substr(0, 44), "Pack Template,MountType,ServiceType,Descript");
    EXPECT_NE(written.find(
                  "\"2.453\",\"2\",\"1\",\"flags\",\"flags\",\"-1.50\",\"1\",\"0\",\"1\",\"0\",\"0\",\"1\","
                  "\"2Keyring\",\"1\",\"0\",\"0\",,,,"),
        std::string::npos);

    PacksCollection again;
    ASSERT_EQ(Read(written, again), PackTemplateStatus::read);
    EXPECT_EQ(Dump(again), Dump(packs));
    std::ostringstream rewritten;
    again.WriteCsv(rewritten);
    EXPECT_EQ(rewritten.str(), written);

    // Further fields after a row's last slot (a spreadsheet's trailing comma, a stray column)
    // belong to no pack: every row still reads the same.
    for (const std::string extra : { ",", ",\"x\"", ",\"x\",\"y\"" }) {
        SCOPED_TRACE(extra);
        std::string widened = written.substr(0, written.find("\r\n") + 2);
        for (std::size_t at = widened.size(), end; (end = written.find("\r\n", at)) != std::string::npos;
             at = end + 2)
            widened += written.substr(at, end - at) + extra + "\r\n";
        PacksCollection read;
        ASSERT_EQ(Read(widened, read), PackTemplateStatus::read);
        EXPECT_EQ(Dump(read), Dump(packs));
    }
}

// An entry whose product the catalogue lacks has no name to write: its slot is written without
// one, and reading skips it.
TEST_F(PackTemplate, UnknownProductsAreWrittenWithoutAName)
{
    PacksCollection packs;
    packs.AddPack(MakePack("p", 100, { Entry(PackProduct::unknownProduct, 2), Entry(portrait, 1) }));
    std::ostringstream out;
    packs.WriteCsv(out);
    EXPECT_NE(out.str().find(",\"\",\"2\",\"0\",\"0\",\"7x5\",\"1\","), std::string::npos) << out.str();
    PacksCollection again;
    ASSERT_EQ(Read(out.str(), again), PackTemplateStatus::read);
    ASSERT_EQ(again.GetPackCount(), 1u);
    EXPECT_EQ(Dump(*again.GetPack(0)), Dump(*MakePack("p", 100, { Entry(portrait, 1) })));
}

TEST_F(PackTemplate, RefusedFilesKeepThePacks)
{
    PacksCollection packs;
    packs.AddPack(MakePack("kept", 100, {}));
    EXPECT_EQ(Read("Pack template,x\r\n", packs), PackTemplateStatus::notATemplate);
    EXPECT_EQ(Read("", packs), PackTemplateStatus::notATemplate);
    EXPECT_EQ(ReadPackTemplateFile(ORVANEL_TEST_DATA "/no such folder/Packs.csv", packs),
        PackTemplateStatus::cannotOpen);
    ASSERT_EQ(packs.GetPackCount(), 1u);
    EXPECT_EQ(packs.GetPack(0)->GetLongDescription(), "kept");
    EXPECT_EQ(NotAPackTemplateMessage("/tmp/p.csv"), "/tmp/p.csv is not a pack template file");
}

// The template that ships beside the program names products of the shipped catalogue.
TEST(ShippedPackTemplate, EveryProductResolves)
{
    ResetGlobalProductCatalog();
    ASSERT_EQ(
        ReadProductCatalogFile(ORVANEL_TEST_DATA "/../../data/ProductCatalog.csv", GlobalProductCatalog()),
        CatalogFileStatus::read);
    PacksCollection packs;
    ASSERT_EQ(
        ReadPackTemplateFile(ORVANEL_TEST_DATA "/../../data/Packs.csv", packs), PackTemplateStatus::read);
    int groupPacks = 0;
    int notDrawn = 0;
    int mountedEntries = 0;
    for (std::size_t i = 0; i < packs.GetPackCount(); ++i) {
        const PackDetails& pack = *packs.GetPack(i);
        SCOPED_TRACE(pack.GetLongDescription());
        EXPECT_GT(pack.GetPrice().GetAmount(), 0);
        EXPECT_FALSE(pack.GetProducts().empty());
        for (const PackProduct& entry : pack.GetProducts()) {
            EXPECT_TRUE(GlobalProductCatalog().FindProduct(entry.product)) << entry.product;
            mountedEntries += entry.MT && GlobalProductCatalog().FindProduct(entry.product)->GetMounts() != 0;
        }
        groupPacks += packs.PackHasGroupProduct(i);
        notDrawn += pack.GetNoPrintForm();
    }
    EXPECT_EQ(packs.GetPackCount(), 12u);
    EXPECT_EQ(groupPacks, 4);
    EXPECT_EQ(notDrawn, 1);
    EXPECT_GE(mountedEntries, 1);
    EXPECT_EQ(packs.GetMountType(), 1u);
    EXPECT_EQ(packs.GetServiceType(), 2);
    EXPECT_TRUE(packs.HasMountPrices(packs.GetMountType()));
    ResetGlobalProductCatalog();
    ResetSavedDataVersion();
}

} // namespace
