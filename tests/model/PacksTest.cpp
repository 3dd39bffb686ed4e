// Packs and pack collections: the group test with "Combi" references, the product queries, mount
// prices, service prices, copies, list edits, and the record-message and archive forms.
#include "PackTestSupport.h"
#include "RecordTestHelpers.h"
#include "win/AllocationProbe.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>

namespace {

using namespace packtest;

class Packs : public PackFixture { };

PackProduct Entry(uint32_t product, uint32_t quantity = 1, bool mono = false, bool mountedEntry = false)
{
    return { product, quantity, mono, mountedEntry };
}

TEST_F(Packs, GroupPacksThroughCombiReferences)
{
    PacksCollection packs;
    packs.AddPack(MakePack("portrait", 100, { Entry(portrait) }));
    packs.AddPack(MakePack("group", 200, { Entry(portrait), Entry(group) }));
    packs.AddPack(MakePack("combi to group", 300, { Entry(portrait), Entry(combi, 1) }));
    packs.AddPack(MakePack("combi to itself", 300, { Entry(combi, 3) }));
    packs.AddPack(MakePack("combi beyond the list", 300, { Entry(combi, 6) }));
    // The document counts the packs of each kind: 3 portrait and 2 group packs.
    const bool expected[] = { false, true, true, false, false };
    int groupPacks = 0;
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(packs.PackHasGroupProduct(i), expected[i]) << packs.GetPack(i)->GetLongDescription();
        groupPacks += packs.PackHasGroupProduct(i);
    }
    EXPECT_EQ(groupPacks, 2);
    EXPECT_EQ(packs.GetPackCount() - groupPacks, 3u);

    // One step of "Combi" only; entries the catalogue lacks have no flags.
    packs.AddPack(MakePack("combi to a combi", 300, { Entry(combi, 2) }));
    packs.AddPack(MakePack("unknown products", 300, { Entry(PackProduct::unknownProduct), Entry(99) }));
    EXPECT_FALSE(packs.PackHasGroupProduct(5));
    EXPECT_FALSE(packs.PackHasGroupProduct(6));
    EXPECT_FALSE(packs.PackHasGroupProduct(7)) << "no such pack";
    EXPECT_EQ(GlobalProductCatalog().GetCount(), 13u) << "lookups add nothing to the catalogue";
}

TEST_F(Packs, ProductQueries)
{
    const struct {
        uint32_t product;
        bool (PackDetails::*query)() const;
    } cases[] = {
        { group, &PackDetails::HasGroupProduct },
        { portCapSep, &PackDetails::HasPortCapSepProduct },
        { landCapSep, &PackDetails::HasLandCapSepProduct },
        { compos, &PackDetails::HasComposProduct },
        { standalone, &PackDetails::HasStandaloneProduct },
        { special, &PackDetails::HasSpecialIdProduct },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.product);
        const auto without = MakePack("without", 0, { Entry(portrait), Entry(PackProduct::unknownProduct) });
        const auto with = MakePack("with", 0, { Entry(portrait), Entry(c.product) });
        EXPECT_FALSE(((*without).*c.query)());
        EXPECT_TRUE(((*with).*c.query)());
    }
    PacksCollection packs;
    packs.AddPack(MakePack("plain", 0, { Entry(portrait, 2), Entry(group, 1), Entry(portrait, 3) }));
    EXPECT_FALSE(packs.HasPortCapSepProduct());
    packs.AddPack(MakePack("captions", 0, { Entry(landCapSep) }));
    EXPECT_FALSE(packs.HasPortCapSepProduct());
    EXPECT_TRUE(packs.HasLandCapSepProduct());

    const PackDetails& plain = *packs.GetPack(0);
    EXPECT_TRUE(plain.HasProduct(group));
    EXPECT_FALSE(plain.HasProduct(mounted));
    EXPECT_EQ(plain.GetProductQuantity(portrait), 5u);
    EXPECT_EQ(plain.GetProductQuantity(mounted), 0u);
    EXPECT_EQ(packs.FindPackWithProduct(landCapSep), 1);
    EXPECT_EQ(packs.FindPackWithProduct(mounted), -1);
    EXPECT_EQ(packs.FindPackByLongDescription("CAPTIONS"), 1);
    EXPECT_EQ(packs.FindPackByShortDescription("Plain"), 0);
    EXPECT_EQ(packs.FindPackByLongDescription("caption"), -1);

    // Quantities add up in 64 bits and stop at the largest 32-bit count.
    const auto many = MakePack("many", 0, { Entry(portrait, 0xFFFFFFF0), Entry(portrait, 0x20) });
    EXPECT_EQ(many->GetProductQuantity(portrait), 0xFFFFFFFFu);
}

TEST_F(Packs, MountPriceLookups)
{
    // Types 3 to 20 priced as well (type t, size s: t.0s), so that the types from ten on have
    // prices of their own that a lookup must not take.
    MountData& table = GlobalProductCatalog().GetMountData();
    for (int32_t t = 3; t <= 20; ++t)
        table.AddMountType("T" + std::to_string(t), { Money(100 * t), Money(100 * t + 1) }, { t, t });
    const ProductCatalog& catalog = GlobalProductCatalog();
    const struct {
        uint32_t mountType;
        uint32_t size;
        int32_t price; // GetMountPrice
        int32_t relative; // GetRelativeMountPrice, mounted
        int32_t unmounted; // GetRelativeMountPrice, unmounted
    } cases[] = {
        { 0, 0, 250, -350, -350 },
        { 1, 0, 350, 0, -350 },
        { 2, 1, 1800, 1350, -450 },
        { 10, 1, 450, -450, -450 }, // a multiple of ten names type / 10, but is unmounted relative to type 1
        { 20, 0, 0, -350, -350 },
        { 100, 0, 1000, -350, -350 },
        { 3, 0, 300, -50, -350 },
        { 11, 1, 1101, 651, -450 }, // the type as it is, not divided
        { 21, 0, 0, -350, -350 }, // no such type
        { 1, 2, 0, 0, 0 }, // no such size
        { 0xFFFFFFFF, 1, 0, -450, -450 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.mountType) + " size " + std::to_string(c.size));
        EXPECT_EQ(catalog.GetMountPrice(c.mountType, c.size).GetAmount(), c.price);
        EXPECT_EQ(catalog.GetRelativeMountPrice(c.mountType, c.size, false).GetAmount(), c.relative);
        EXPECT_EQ(catalog.GetRelativeMountPrice(c.mountType, c.size, true).GetAmount(), c.unmounted);
    }
    EXPECT_EQ(catalog.GetProductMountCode(2, mounted), 302);
    EXPECT_EQ(catalog.GetProductMountCode(20, mounted), 302);
    EXPECT_EQ(catalog.GetProductMountCode(1, portrait), 201) << "size 0";
    EXPECT_EQ(catalog.GetProductMountCode(1, mountedGroup), -1) << "no such size";
    EXPECT_EQ(catalog.GetProductMountCode(1, 99), -1) << "no such product";
}

TEST_F(Packs, HasMountPricesForTheMountType)
{
    const auto mountedPack = MakePack("mounted", 0, { Entry(portrait), Entry(mounted, 1, false, true) });
    const auto unmountedEntry = MakePack("unmounted", 0, { Entry(mounted, 1, false, false) });
    const auto noItems = MakePack("none", 0, { Entry(mounted, 0, false, true) });
    const auto missingSize = MakePack("missing size", 0, { Entry(mountedGroup, 1, false, true) });
    const struct {
        const PackDetails& pack;
        uint32_t mountType;
        bool expected;
    } cases[] = {
        { *mountedPack, 1, true },
        { *mountedPack, 2, true },
        { *mountedPack, 10, true },
        { *mountedPack, 3, false },
        { *unmountedEntry, 3, true },
        { *noItems, 3, true },
        { *missingSize, 1, false },
        { PackDetails(), 3, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pack.GetLongDescription() + " at " + std::to_string(c.mountType));
        EXPECT_EQ(c.pack.HasMountPrices(c.mountType), c.expected);
    }
    PacksCollection packs;
    packs.AddPack(MakePack("portrait", 0, { Entry(portrait, 1, false, true) }));
    packs.AddPack(missingSize);
    EXPECT_FALSE(packs.HasMountPrices(1));
    EXPECT_TRUE(packs.HasMountPrices(0)) << "mount type 0 needs no mount prices";
    packs.RemoveLastPack();
    EXPECT_TRUE(packs.HasMountPrices(1));
}

TEST_F(Packs, ServicePrices)
{
    ProductDetails product;
    ProductFields fields = product.GetFields();
    fields.ID = compos;
    fields.Full = Money(400);
    fields.Data = Money(300);
    fields.Return = Money(200);
    fields.PricePercent = 50;
    product.SetFields(fields);
    PacksCollection packs;
    packs.AddPack(MakePack("other", 100000, { Entry(portrait) }));
    packs.AddPack(MakePack("ten", 1000, { Entry(compos) }));
    packs.AddPack(MakePack("later", 100000, { Entry(compos) }));
    PacksCollection cheap;
    cheap.AddPack(MakePack("six", 600, { Entry(compos) }));
    const PacksCollection none;
    const struct {
        int32_t serviceType;
        const PacksCollection& packs;
        int32_t price;
    } cases[] = {
        { 2, packs, 500 }, // half the first pack that holds it
        { 2, cheap, 400 }, // the floor is below Full
        { 2, none, 400 },
        { 1, packs, 300 },
        { 0, packs, 200 },
        { 3, packs, 0 },
        { -1, packs, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.serviceType);
        EXPECT_EQ(product.GetServicePrice(c.serviceType, c.packs).GetAmount(), c.price);
    }
    // Each step is rounded to whole hundredths: 33.3% of 0.10 is 0.0333 -> 0.03 in the product,
    // then 3.33 / 100 -> 0.03.
    fields.Full = Money(0);
    fields.PricePercent = 33.3;
    product.SetFields(fields);
    EXPECT_EQ(product.GetServicePriceFromReference(2, Money(10)).GetAmount(), 3);
    // A floor beyond the 32-bit range saturates instead of wrapping.
    fields.PricePercent = 250;
    product.SetFields(fields);
    EXPECT_EQ(product.GetServicePriceFromReference(2, Money(std::numeric_limits<int32_t>::max())).GetAmount(),
        std::numeric_limits<int32_t>::max());
}

TEST_F(Packs, DescriptionsCollapseBlanks)
{
    PackDetails pack;
    pack.SetLongDescription("  2 x  8x10   prints  \t\r\n");
    EXPECT_EQ(pack.GetLongDescription(), " 2 x 8x10 prints");
    pack.SetShortDescription("a\t\tb  c");
    EXPECT_EQ(pack.GetShortDescription(), "a\t\tb c");
}

TEST_F(Packs, CopiesKeepThePackObjects)
{
    PacksCollection five;
    for (int i = 0; i < 5; ++i)
        five.AddPack(MakePack("old " + std::to_string(i), i, { Entry(portrait, 9) }));
    const auto firstObject = five.GetPack(0);
    PacksCollection three;
    three.SetMountType(2);
    three.SetServiceType(0);
    three.AddPack(MakePack("new  0 ", 10, { Entry(group, 1, true, true), Entry(mounted) }));
    three.GetPack(0)->SetNoQtyDiscount(true);
    three.AddPack(MakePack("new 1", 11, {}));
    three.AddPack(MakePack("new 2", 12, { Entry(combi, 1) }));
    five.CopyFrom(three);
    EXPECT_EQ(Dump(five), Dump(three));
    EXPECT_EQ(five.GetPack(0), firstObject);
    EXPECT_TRUE(five.GetPack(1)->IsFieldModified(PackDetails::fieldProducts));

    // Copying a pack or a collection onto itself changes nothing.
    const std::string before = Dump(five);
    five.CopyFrom(five);
    five.GetPack(0)->CopyFrom(*five.GetPack(0));
    EXPECT_EQ(Dump(five), before);

    // Growing adds new packs; Clone copies the types only, or a pack whole.
    PacksCollection empty;
    empty.CopyFrom(five);
    EXPECT_EQ(Dump(empty), before);
    EXPECT_NE(empty.GetPack(0), five.GetPack(0));
    PacksCollection typesOnly;
    ASSERT_EQ(five.Clone(typesOnly), &typesOnly);
    EXPECT_EQ(Dump(typesOnly), "mount=2 service=0\n");
    EXPECT_EQ(five.Clone(*five.GetPack(0)), nullptr);
    const auto cloned = five.GetPack(0)->Clone();
    EXPECT_EQ(Dump(dynamic_cast<const PackDetails&>(*cloned)), Dump(*five.GetPack(0)));
}

TEST_F(Packs, ListEdits)
{
    PacksCollection packs;
    packs.RemoveLastPack();
    EXPECT_EQ(packs.GetPackCount(), 0u);
    for (const char* name : { "a", "b", "c", "d" })
        packs.AddPack(MakePack(name, 0, { Entry(portrait) }));
    const auto objectB = packs.GetPack(1);
    packs.SwapPacks(1, 3);
    EXPECT_EQ(packs.GetPack(1), objectB) << "the pack objects stay where they are";
    EXPECT_EQ(packs.GetPack(1)->GetLongDescription(), "d");
    EXPECT_EQ(packs.GetPack(3)->GetLongDescription(), "b");
    packs.RemovePack(0);
    packs.RemoveLastPack();
    ASSERT_EQ(packs.GetPackCount(), 2u);
    EXPECT_EQ(packs.GetPack(0)->GetLongDescription(), "d");

    // Indexes beyond the list change nothing.
    const std::string before = Dump(packs);
    packs.SwapPacks(0, 2);
    packs.SwapPacks(5, 1);
    packs.RemovePack(2);
    EXPECT_EQ(Dump(packs), before);
    EXPECT_EQ(packs.GetPack(2), nullptr);
}

TEST_F(Packs, PostageAndLateFeePacks)
{
    PacksCollection packs;
    packs.AddPack(MakePack("Postage AND Packing", 100, {}));
    packs.AddPostageAndLateFeePacks(0, Money(395), -1, Money(500));
    EXPECT_EQ(packs.GetPackCount(), 1u) << "the postage pack is already there";
    packs.AddPostageAndLateFeePacks(4, Money(395), 2, Money(500));
    ASSERT_EQ(packs.GetPackCount(), 3u);
    EXPECT_EQ(Dump(*packs.GetPack(1)),
        "Description=Postage and Packing;Short Description=Postage and Packing;Price=3.95;NoPrintForm=1;"
        "NoPrintWeb=0;NoPandP=0;AddOn=0;NoQtyDiscount=0;ImageMixin=0;[30 x1]");
    EXPECT_EQ(Dump(*packs.GetPack(2)),
        "Description=Late Order Fee;Short Description=Late Order Fee;Price=5.00;NoPrintForm=1;"
        "NoPrintWeb=0;NoPandP=0;AddOn=0;NoQtyDiscount=0;ImageMixin=0;[74 x1]");
    EXPECT_EQ(ServiceTypeName(1), "Data Entry and Return");
    EXPECT_EQ(ServiceTypeName(3), "");
}

// A pack with every field away from its default.
std::shared_ptr<PackDetails> Unusual()
{
    auto pack = MakePack("long one", -12345, { Entry(group, 7, true, false), Entry(0xFFFFFFFF, 0xFFFFFFFF) });
    pack->SetShortDescription("short one");
    pack->SetNoPrintForm(true);
    pack->SetNoPrintWeb(false);
    pack->SetNoPandP(true);
    pack->SetAddOn(true);
    pack->SetNoQtyDiscount(true);
    pack->SetImageMixin(true);
    return pack;
}

TEST_F(Packs, RecordMessagesRoundTrip)
{
    PacksCollection sender;
    sender.SetMountType(4);
    sender.SetServiceType(-1);
    sender.AddPack(Unusual());
    sender.AddPack(MakePack("second", 5, {}));
    std::ostringstream message;
    for (const auto& pack : sender.GetPacks()) {
        message << Bytes({ 0, 25 }) << Le32(0);
        message.put(2);
        pack->MarkAllFieldsModified();
        pack->WriteFields(false, message, true);
    }
    message.put(2);
    sender.WriteFields(false, message, true);
    PacksCollection received;
    std::istringstream in(message.str());
    while (in.peek() != std::char_traits<char>::eof())
        received.ReadFields(in);
    EXPECT_EQ(Dump(received), Dump(sender));
    EXPECT_EQ(received.GetPack(0)->GetModifiedMask(), 0u);
    EXPECT_EQ(received.Describe(), "PacksCollection: 0");
    EXPECT_EQ(received.GetPack(0)->Describe(), "PackDetails: 0: long one");

    std::istringstream remove(Bytes({ 1, 25 }) + Le32(0));
    received.ReadFields(remove);
    ASSERT_EQ(received.GetPackCount(), 1u);
    EXPECT_EQ(received.GetPack(0)->GetLongDescription(), "second");
}

TEST_F(Packs, EntryMessagesAreTwelveBytesWithZeroPadding)
{
    PackDetails pack;
    pack.AddProduct(Entry(0x01020304, 0x0A0B0C0D, true, true));
    pack.ClearModified();
    pack.SetFieldModified(PackDetails::fieldProducts);
    std::ostringstream out;
    pack.WriteFields(true, out, true);
    EXPECT_EQ(out.str(),
        Bytes({ 0, 0 }) + Le32(1) + Le32(0x01020304) + Le32(0x0A0B0C0D) + Bytes({ 1, 1, 0, 0 })
            + Bytes({ 10, 0 }));

    // A count beyond the bytes there fails when the bytes run out, allocating nothing ahead.
    AllocationProbe probe;
    std::istringstream hostile(Bytes({ 2, 0, 0 }) + Le32(0x10000000) + std::string(24, '\1'));
    PackDetails received;
    try {
        received.ReadFields(hostile);
        FAIL() << "no exception";
    } catch (const DatabaseRecord::DispatchReadError& error) {
        EXPECT_EQ(std::string(error.what()), "Attempt to read from faulty stream: PackDetails: 0: ");
    }
    EXPECT_LT(probe.Largest(), 4096u);
}

// An archive of a collection as a version stored it, written field by field from the layout that
// version had.
struct ArchiveVersion {
    double version;
    bool recordIds;
    bool mountType;
    bool serviceType;
    bool droppedInteger;
    bool shortDescription;
    int flags; // how many of the six flags
    int monoForm; // 0 none, 4 a 4-byte integer, 1 a byte
    bool droppedFlag;
    bool mounted;
};

const ArchiveVersion archiveVersions[] = {
    { 1.0, false, false, false, false, false, 0, 0, false, false },
    { 1.7, false, false, false, false, true, 0, 4, false, false },
    { 1.85, false, false, false, false, true, 0, 1, true, false },
    { 2.0292, false, false, false, false, true, 0, 1, false, true },
    { 2.0293, false, true, false, false, true, 0, 1, false, true },
    { 2.0542, false, true, true, false, true, 5, 1, false, true },
    { 2.3, true, true, true, false, true, 5, 1, false, true },
    { 2.452, true, true, true, true, true, 6, 1, false, true },
    { 2.453, true, true, true, false, true, 6, 1, false, true },
};

std::string OldArchive(const ArchiveVersion& v, std::size_t packCount)
{
    win::Archive archive;
    if (v.recordIds)
        archive << uint32_t { 0 };
    if (v.mountType)
        archive << uint32_t { 2 };
    if (v.serviceType)
        archive << int32_t { 0 };
    if (v.droppedInteger)
        archive << uint32_t { 99 };
    archive << static_cast<uint32_t>(packCount);
    for (std::size_t i = 0; i < packCount; ++i) {
        if (v.recordIds)
            archive << uint32_t { 0 };
        archive.WriteString("pack " + std::to_string(i));
        archive << int32_t { 250 };
        if (v.shortDescription)
            archive.WriteString("a nomount pack");
        const bool flags[6] = { true, false, true, true, true, true };
        for (int flag = 0; flag < v.flags; ++flag)
            archive << flags[flag];
        archive << uint32_t { 2 };
        for (const uint32_t product : { uint32_t { mounted }, uint32_t { portrait } }) {
            archive << product << uint32_t { 3 };
            if (v.monoForm == 4)
                archive << int32_t { 5 };
            else if (v.monoForm == 1)
                archive << true;
            if (v.droppedFlag)
                archive << true;
            if (v.mounted)
                archive << true;
        }
    }
    return archive.Bytes();
}

TEST_F(Packs, ArchivesOfEachVersion)
{
    for (const ArchiveVersion& v : archiveVersions) {
        SCOPED_TRACE(v.version);
        SavedDataVersion = v.version;
        PacksCollection packs;
        packs.SetMountType(7);
        packs.SetServiceType(1);
        win::Archive in(OldArchive(v, 2));
        packs.Load(in);
        EXPECT_EQ(in.Remaining(), 0u);
        ASSERT_EQ(packs.GetPackCount(), 2u);
        EXPECT_EQ(packs.GetMountType(), v.mountType ? 2u : 1u);
        EXPECT_EQ(packs.GetServiceType(), v.serviceType ? 0 : 2);
        const PackDetails& pack = *packs.GetPack(1);
        EXPECT_EQ(pack.GetLongDescription(), "pack 1");
        EXPECT_EQ(pack.GetShortDescription(), v.shortDescription ? "a nomount pack" : "pack 1");
        EXPECT_EQ(pack.GetPrice().GetAmount(), 250);
        EXPECT_EQ(pack.GetNoPrintForm(), v.flags >= 1);
        EXPECT_EQ(pack.GetNoPrintWeb(), v.flags == 1)
            << "without its field, the web flag follows the form flag";
        EXPECT_EQ(pack.GetNoQtyDiscount(), v.flags >= 5);
        EXPECT_EQ(pack.GetImageMixin(), v.flags >= 6);
        ASSERT_EQ(pack.GetProducts().size(), 2u);
        // Without MT on the archive, mounted products are mounted unless the pack says "nomount".
        const bool mountedEntry = v.mounted || !v.shortDescription;
        EXPECT_EQ(Dump(pack.GetProducts()[0]), Dump(Entry(mounted, 3, v.monoForm != 0, mountedEntry)));
        EXPECT_EQ(Dump(pack.GetProducts()[1]), Dump(Entry(portrait, 3, v.monoForm != 0, v.mounted)));
        EXPECT_EQ(packs.GetModifiedMask(), 0u);
    }
}

TEST_F(Packs, ArchiveRoundTripKeepsThirtyThreePacks)
{
    PacksCollection packs;
    packs.SetMountType(3);
    packs.SetServiceType(1);
    for (int i = 0; i < 40; ++i)
        packs.AddPack(i == 0 ? Unusual() : MakePack("pack " + std::to_string(i), i, { Entry(portrait, 1) }));
    win::Archive archive;
    packs.Store(archive);
    SavedDataVersion = CurrentDataVersion;
    PacksCollection loaded;
    win::Archive in(archive.Bytes());
    loaded.Load(in);
    EXPECT_EQ(in.Remaining(), 0u);
    ASSERT_EQ(loaded.GetPackCount(), 33u);
    while (packs.GetPackCount() > 33)
        packs.RemoveLastPack();
    EXPECT_EQ(Dump(loaded), Dump(packs));
}

TEST_F(Packs, HostileArchiveCountsAllocateNothingAhead)
{
    SavedDataVersion = CurrentDataVersion;
    const std::string archives[] = {
        Le32(0) + Le32(1) + Le32(2) + Le32(0x10000000) + std::string(64, '\0'),
        Le32(0) + Le32(1) + Le32(2) + Le32(1) + Le32(0) + Bytes({ 0 }) + Le32(0) + Bytes({ 0 })
            + std::string(6, '\0') + Le32(0x10000000) + std::string(64, '\0'),
    };
    for (const std::string& bytes : archives) {
        AllocationProbe probe;
        PacksCollection packs;
        win::Archive in(bytes);
        EXPECT_THROW(packs.Load(in), win::ArchiveException);
        EXPECT_LT(probe.Largest(), 4096u);
    }
}

} // namespace
