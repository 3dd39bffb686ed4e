// Order summaries and order pricing over the shipped catalogue and pack template: a small
// studio's orders with every total worked out by hand from the pricing rules, the packs added to
// a summary (mono, mounted, Combi references, filters), the listings in catalogue order, and
// counts and amounts that would leave the 32-bit range.
//
// Figures the worked totals use, from data/ProductCatalog.csv: discount 6.7, disc red 0.5, max
// disc prods 8, non standalone surcharge 1.00, hardback charge 4.50. Discount factors: 2 items
// 6.7% (x 0.933), 3 items 12.9% (x 0.871), 4 items 18.6% (x 0.814), 8 or more 36.4% (x 0.636).
// Mount prices (types 0 card, 1 folder, 2 oak frame): size 0 2.50/3.50/12.00, size 2
// 4.50/5.50/24.00. At mount type 1 a mounted item adds 0 and an unmounted one takes off the
// folder price; at type 2 a mounted item adds the frame price less the folder price.
#include "StudioTestSupport.h"
#include "model/OrderSummary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <ostream>
#include <vector>

namespace {

using namespace studio;

constexpr int32_t returnOnly = 0;
constexpr int32_t dataEntry = 1;
constexpr int32_t fullService = 2;

struct Item {
    const char* key;
    uint32_t product;
    uint32_t colour;
    uint32_t mono;
    uint32_t colourMounts;
    uint32_t monoMounts;
};

struct PackLine {
    const char* key;
    std::size_t pack;
    int32_t multiplier;
};

struct PricingCase {
    const char* name;
    int32_t serviceType;
    uint32_t mountType;
    std::vector<Item> items;
    std::vector<PackLine> packLines;
    int32_t expected; // hundredths
    std::map<uint32_t, int32_t> totals;
};

void PrintTo(const PricingCase& c, std::ostream* os)
{
    *os << c.name;
}

class Pricing : public StudioFixture {
protected:
    void SetUp() override
    {
        StudioFixture::SetUp();
        // Pack 12, a choice of pack A and group pack 1, and a reference to no pack.
        packs.AddPack(MakePack("Family choice", 3500,
            { { combi, packA, false, false }, { combi, groupPack1, false, false },
                { combi, 40, false, false } }));
        // Pack 13, pack C through a mounted Combi entry.
        packs.AddPack(MakePack("Mounted choice", 5000, { { combi, packC, false, true } }));
        // Pack 14 names itself and a pack beyond the list.
        packs.AddPack(MakePack("Loop", 100, { { combi, 14, false, false }, { combi, 99, false, false } }));
    }

    OrderSummary Summarise(const PricingCase& c) const
    {
        OrderSummary summary;
        for (const Item& item : c.items)
            summary[item.key][item.product]
                = { item.product, item.colour, item.mono, item.colourMounts, item.monoMounts };
        for (const PackLine& line : c.packLines)
            packs.AddPackToOrderSummary(
                summary[line.key], false, line.pack, line.multiplier, MountedFilter::all, GroupFilter::all);
        return summary;
    }
};

class PricingCases : public Pricing, public ::testing::WithParamInterface<PricingCase> { };

TEST_P(PricingCases, PricesTheOrder)
{
    const PricingCase& c = GetParam();
    std::map<uint32_t, int32_t> totals { { 999, 5 } };
    const Money price
        = GlobalProductCatalog().PriceOrder(Summarise(c), totals, c.serviceType, c.mountType, packs);
    EXPECT_EQ(price.GetAmount(), c.expected);
    auto expectedTotals = c.totals;
    expectedTotals[999] = 5; // what the caller held stays
    EXPECT_EQ(totals, expectedTotals);
}

INSTANTIATE_TEST_SUITE_P(SmallStudio, PricingCases,
    ::testing::Values(
        // 2 items: x 0.933. 10x8 Return 10.50: 1050 x 0.933 = 979.65 -> 980; 2 x 980 = 1960.
        PricingCase { "return only, two 10x8 prints", returnOnly, 1, { { "Smith", print10x8, 2, 0, 0, 0 } },
            {}, 1960, { { print10x8, 2 } } },
        // 2 items: x 0.933. 6x4 Data 4.00: 373.2 -> 373; 7x5 Data 6.00 in mono: 559.8 -> 560.
        PricingCase { "data entry, a colour 6x4 and a mono 7x5", dataEntry, 1,
            { { "Smith", print6x4, 1, 0, 0, 0 }, { "Smith", print7x5, 0, 1, 0, 0 } }, {}, 933,
            { { print6x4, 1 }, { print7x5, 1 } } },
        // 2 items: x 0.933. M12x10 Full 21.00 (no pack holds it); two mounts of one per item: 2
        // mounted items at 2100 + 0 -> 1959.3 -> 1959 each = 3918; no hardback, mounts ordered.
        PricingCase { "full service, two 12x10 in presentation folders", fullService, 1,
            { { "Smith", mounted12x10, 2, 0, 2, 0 } }, {}, 3918, { { mounted12x10, 2 } } },
        // Mount type 2: mounted 2100 + (24.00 - 5.50) = 3950 -> 3685.35 -> 3685; unmounted
        // 2100 - 550 = 1550 -> 1446.15 -> 1446; one of each = 5131.
        PricingCase { "oak frame on one of two 12x10 prints", fullService, 2,
            { { "Smith", mounted12x10, 2, 0, 1, 0 } }, {}, 5131, { { mounted12x10, 2 } } },
        // 1 item: no discount. M7x5 Full 9.50 unmounted: 950 - 350 = 600; a mountable product
        // and no mount at full service: + hardback 450 = 1050.
        PricingCase { "hardback charge for a mountable print without its mount", fullService, 1,
            { { "Smith", mounted7x5, 1, 0, 0, 0 } }, {}, 1050, { { mounted7x5, 1 } } },
        // Mount type 10 (a multiple of ten): the same 600, and no hardback charge.
        PricingCase { "no hardback charge at mount type 10", fullService, 10,
            { { "Smith", mounted7x5, 1, 0, 0, 0 } }, {}, 600, { { mounted7x5, 1 } } },
        // 4 items: x 0.814. Wallets Return 6.50 -> 529.1 -> 529, its stand-in 6x4 3.50 -> 284.9
        // -> 285. First key: one at 529 and two at 285 = 1099; the later key: its one wallet at
        // 285, the first having been priced. 1099 + 285 = 1384.
        PricingCase { "wallets: the first at their own price, the rest as 6x4 prints", returnOnly, 1,
            { { "Smith", wallets, 3, 0, 0, 0 }, { "Smith's gran", wallets, 1, 0, 0, 0 } }, {}, 1384,
            { { wallets, 4 } } },
        // Counting stops at 12 > 8: 36.4%, x 0.636. 6x4 350 -> 222.6 -> 223 x 12 = 2676; 8x6 700
        // -> 445.2 -> 445 x 8 = 3560. 2676 + 3560 = 6236.
        PricingCase { "twenty prints: the discount counts eight", returnOnly, 1,
            { { "Smith", print6x4, 12, 0, 0, 0 }, { "Smith", print8x6, 8, 0, 0, 0 } }, {}, 6236,
            { { print6x4, 12 }, { print8x6, 8 } } },
        // 10x8 and the file count (2 items, x 0.933), the stick does not. 10x8 Data 11.50 ->
        // 1072.95 -> 1073; file 15.00 and stick 45.00 undiscounted. 1073 + 1500 + 4500 = 7073.
        PricingCase { "files and a USB stick", dataEntry, 1,
            { { "Smith", print10x8, 1, 0, 0, 0 }, { "Smith", hiResFile, 1, 0, 0, 0 },
                { "Smith", usbStick, 1, 0, 0, 0 } },
            {}, 7073, { { print10x8, 1 }, { hiResFile, 1 }, { usbStick, 1 } } },
        // Pack A twice: 7x5 x4, Wallets x2; the mono pack: Mono10x8 x1, 7x5 x2 in mono. Counting
        // reaches 6 + 2 = 8: x 0.636. 7x5 550 -> 349.8 -> 350 x 6 = 2100; wallets one at 650 ->
        // 413.4 -> 413 and one at 6x4's 350 -> 222.6 -> 223; Mono10x8 1150 -> 731.4 -> 731.
        // 2100 + 413 + 223 + 731 = 3467.
        PricingCase { "pack A twice and the black and white pack", returnOnly, 1, {},
            { { "Smith", packA, 2 }, { "Smith", monoPack, 1 } }, 3467,
            { { print7x5, 6 }, { wallets, 2 }, { mono10x8, 1 } } },
        // 1 item: no discount. 7x5 Full 6.50 but it comes in pack A at 29.00: 75% of 2900 =
        // 2175 > 650. No mountable product: no hardback charge.
        PricingCase { "full service: a pack print costs three quarters of its pack", fullService, 1,
            { { "Smith", print7x5, 1, 0, 0, 0 } }, {}, 2175, { { print7x5, 1 } } },
        // The Combi pack: pack A's 7x5 x2 and Wallets x1, group pack 1's G10x8 x1; pack 40 does
        // not exist. 4 items: x 0.814. 7x5 Data 600 -> 488.4 -> 488 x 2 = 976; one wallet at
        // 700 -> 569.8 -> 570; G10x8 1000 -> 814. 976 + 570 + 814 = 2360.
        PricingCase { "a pack of Combi references", dataEntry, 1, {}, { { "Jones", 12, 1 } }, 2360,
            { { print7x5, 2 }, { wallets, 1 }, { group10x8, 1 } } },
        // P and P neither counts for nor takes the discount: 3.95.
        PricingCase { "postage and packing", returnOnly, 1, {}, { { "Smith", postagePack, 1 } }, 395,
            { { postage, 1 } } }));

// The catalogue's discount: counted items up to "max disc prods", each after the first earning
// a step 0.5 smaller than the one before.
TEST_F(Pricing, QuantityDiscountCountsUpToTheLimit)
{
    struct Case {
        uint32_t items;
        uint32_t count;
        double percent;
    };
    for (const Case c : { Case { 1, 1, 0 }, { 2, 2, 6.7 }, { 3, 3, 12.9 }, { 20, 8, 36.4 } }) {
        const OrderSummary summary { { "Smith", { { print6x4, { print6x4, c.items, 0, 0, 0 } } } } };
        uint32_t count = 99;
        EXPECT_NEAR(GlobalProductCatalog().GetQuantityDiscountPercent(summary, count), c.percent, 1e-9)
            << c.items;
        EXPECT_EQ(count, c.count);
    }
}

// With no practical limit, the discount of every count up to 1000 is the sum of its steps taken
// one by one (in long double, as the reference).
TEST_F(Pricing, QuantityDiscountIsTheSumOfItsSteps)
{
    ProductCatalog catalog = GlobalProductCatalog();
    CatalogSettings settings = catalog.GetSettings();
    settings.MaxDiscProds = 0xFFFFFFFF;
    catalog.SetSettings(settings);
    long double stepped = 0;
    for (uint32_t items = 1; items <= 1000; ++items) {
        if (items >= 2)
            stepped += settings.Discount - (items - 2) * static_cast<long double>(settings.DiscRed);
        const OrderSummary summary { { "Smith", { { print6x4, { print6x4, items, 0, 0, 0 } } } } };
        uint32_t count = 0;
        const double percent = catalog.GetQuantityDiscountPercent(summary, count);
        ASSERT_EQ(count, items);
        const auto expected = static_cast<double>(stepped);
        ASSERT_NEAR(percent, expected, 1e-12 * std::abs(expected)) << items << " items";
    }
}

// Prints at 1.25 that take the discount, priced with the steps summed one by one as the shared
// order records are: 8 prints earn 36.400000000000006 percent, 0.795 a print rounds down to
// 0.79, where the closed form's 36.399999999999999 rounds up to 0.80.
TEST_F(Pricing, DiscountedPricesFollowTheRunningSum)
{
    constexpr uint32_t cheapPrint = 500;
    ProductCatalog catalog = GlobalProductCatalog();
    auto product = std::make_shared<ProductDetails>();
    ProductFields fields = product->GetFields();
    fields.ID = cheapPrint;
    fields.Return = Money(125);
    fields.Discnt = true;
    fields.IncDis = true;
    product->SetFields(fields);
    ASSERT_TRUE(catalog.AddProduct(product));
    // Per print: 1.25 x (100 - percent) / 100 to whole hundredths, worked by hand.
    const int32_t perPrint[] = { 125, 117, 109, 102, 95, 89, 84, 79 };
    for (uint32_t prints = 1; prints <= 8; ++prints) {
        const OrderSummary summary { { "Smith", { { cheapPrint, { cheapPrint, prints, 0, 0, 0 } } } } };
        std::map<uint32_t, int32_t> totals;
        EXPECT_EQ(catalog.PriceOrder(summary, totals, returnOnly, 0, packs).GetAmount(),
            perPrint[prints - 1] * int32_t(prints))
            << prints << " prints";
    }
}

TEST_F(Pricing, NonStandaloneSurchargeUnlessAStandaloneProductOtherThan74)
{
    const ProductCatalog& catalog = GlobalProductCatalog();
    const auto order = [](uint32_t product) {
        return OrderSummary { { "Smith", { { product, { product, 1 } } } } };
    };
    EXPECT_EQ(catalog.GetNonStandaloneSurcharge({}).GetAmount(), 100);
    EXPECT_EQ(catalog.GetNonStandaloneSurcharge(order(postage)).GetAmount(), 100)
        << "P and P is not standalone";
    EXPECT_EQ(catalog.GetNonStandaloneSurcharge(order(print6x4)).GetAmount(), 0);
    EXPECT_EQ(catalog.GetNonStandaloneSurcharge(order(999)).GetAmount(), 100) << "unknown product";
    ProductCatalog withLateFee = catalog;
    auto lateFee = std::make_shared<ProductDetails>();
    ProductFields fields = lateFee->GetFields();
    fields.ID = 74;
    fields.SAlone = true;
    lateFee->SetFields(fields);
    withLateFee.AddProduct(lateFee);
    EXPECT_EQ(withLateFee.GetNonStandaloneSurcharge(order(74)).GetAmount(), 100);
}

struct SummaryCase {
    const char* name;
    std::size_t pack;
    bool allMono;
    int32_t multiplier;
    MountedFilter mounted;
    GroupFilter group;
    std::vector<OrderSummaryEntry> expected; // product, colour, mono, colour mounts, mono mounts
};

void PrintTo(const SummaryCase& c, std::ostream* os)
{
    *os << c.name;
}

class SummaryCases : public Pricing, public ::testing::WithParamInterface<SummaryCase> { };

TEST_P(SummaryCases, AddsThePackItems)
{
    const SummaryCase& c = GetParam();
    OrderSummaryProducts products;
    packs.AddPackToOrderSummary(products, c.allMono, c.pack, c.multiplier, c.mounted, c.group);
    std::vector<OrderSummaryEntry> entries;
    for (const auto& [id, entry] : products) {
        EXPECT_EQ(id, entry.product);
        entries.push_back(entry);
    }
    EXPECT_EQ(entries, c.expected);
}

constexpr auto all = MountedFilter::all;
constexpr auto allProducts = GroupFilter::all;

INSTANTIATE_TEST_SUITE_P(ShippedAndBuiltPacks, SummaryCases,
    ::testing::Values(SummaryCase { "pack B all in mono", packB, true, 1, all, allProducts,
                          { { print7x5, 0, 2 }, { print10x8, 0, 1 }, { wallets, 0, 1 } } },
        SummaryCase { "the mono pack's own mono entries", monoPack, false, 1, all, allProducts,
            { { print7x5, 0, 2 }, { mono10x8, 0, 1 } } },
        SummaryCase { "pack C's mounted entries three times", packC, false, 3, MountedFilter::mountedOnly,
            allProducts, { { mounted10x8, 3, 0, 3, 0 } } },
        SummaryCase { "pack C's unmounted entries", packC, false, 1, MountedFilter::unmountedOnly,
            allProducts, { { print7x5, 2 } } },
        SummaryCase { "Combi references, group products only", 12, false, 1, all, GroupFilter::groupOnly,
            { { group10x8, 1 } } },
        SummaryCase { "Combi references, the other products", 12, false, 1, all, GroupFilter::notGroup,
            { { print7x5, 2 }, { wallets, 1 } } },
        // The mounted Combi entry gives the referenced items their mounts: M10x8 one per item.
        SummaryCase { "a mounted Combi reference", 13, false, 1, all, allProducts,
            { { print7x5, 2 }, { mounted10x8, 1, 0, 1, 0 } } },
        // Pack 14 refers to itself and to pack 99, beyond the list, which adds nothing. One step
        // only: the entries of the pack referred to are items of product 32, 14 + 99 of them.
        SummaryCase { "a Combi reference is followed one step only", 14, false, 1, all, allProducts,
            { { combi, 14 + 99 } } },
        SummaryCase { "an unknown mounted filter admits nothing", packA, false, 1,
            static_cast<MountedFilter>(3), allProducts, {} },
        SummaryCase {
            "an unknown group filter admits nothing", packA, false, 1, all, static_cast<GroupFilter>(0), {} },
        SummaryCase { "a pack index beyond the list adds nothing", 99, false, 1, all, allProducts, {} }));

// Counts stay within 0 and the largest 32-bit count: 32-bit arithmetic would wrap a sum past the
// top to a small count and a count taken below 0 to a huge one.
TEST_F(Pricing, PackCountsSaturateAndStopAtZero)
{
    constexpr int32_t most = std::numeric_limits<int32_t>::max();
    constexpr uint32_t full = std::numeric_limits<uint32_t>::max();
    OrderSummaryProducts products;
    packs.AddPackToOrderSummary(products, false, packA, most, all, allProducts);
    EXPECT_EQ(products[print7x5].colourQuantity, 2u * uint32_t(most)); // 2^32 - 2 still fits
    packs.AddPackToOrderSummary(products, false, packA, most, all, allProducts);
    EXPECT_EQ(products[print7x5].colourQuantity, full); // a 32-bit sum would give 2^32 - 4
    EXPECT_EQ(products[wallets].colourQuantity, full - 1);
    packs.AddPackToOrderSummary(products, false, packA, -most, all, allProducts);
    EXPECT_EQ(products[wallets].colourQuantity, uint32_t(most));

    OrderSummaryProducts taken;
    packs.AddPackToOrderSummary(taken, false, packC, 1, all, allProducts);
    packs.AddPackToOrderSummary(taken, false, packC, -3, all, allProducts);
    EXPECT_EQ(taken[mounted10x8], (OrderSummaryEntry { mounted10x8 })) << "a negative multiplier stops at 0";
    EXPECT_EQ(taken[print7x5], (OrderSummaryEntry { print7x5 }));
}

TEST_F(Pricing, OrderPricesAndTotalsSaturate)
{
    constexpr uint32_t full = std::numeric_limits<uint32_t>::max();
    constexpr int32_t most = std::numeric_limits<int32_t>::max();
    const OrderSummary summary { { "Smith", { { print6x4, { print6x4, full, full } } } } };
    std::map<uint32_t, int32_t> totals { { print6x4, 7 } };
    EXPECT_EQ(GlobalProductCatalog().PriceOrder(summary, totals, returnOnly, 1, packs).GetAmount(), most);
    EXPECT_EQ(totals[print6x4], most);
}

// More mounts than items leave no unmounted item: with 32-bit counts N - P would wrap to about
// 4 billion items at the unmounted price. 1 item: no discount. M12x10 Return 19.00, three
// mounted items at 1900 + 0 = 5700.
TEST_F(Pricing, MoreMountsThanItemsLeaveNoUnmountedItem)
{
    const OrderSummary summary { { "Smith", { { mounted12x10, { mounted12x10, 1, 0, 3, 0 } } } } };
    std::map<uint32_t, int32_t> totals;
    EXPECT_EQ(GlobalProductCatalog().PriceOrder(summary, totals, returnOnly, 1, packs).GetAmount(), 5700);
}

// Catalogue order: ascending Order, equal Orders by ID, unknown products last by ID.
TEST_F(Pricing, ListsInCatalogueOrder)
{
    const auto product = GlobalProductCatalog().FindProduct(print8x6);
    ProductFields fields = product->GetFields();
    fields.Order = GlobalProductCatalog().FindProduct(print7x5)->GetOrder();
    product->SetFields(fields);

    const OrderSummary summary {
        { "A", { { 999, { 999, 1 } }, { print7x5, { print7x5, 1 } }, { print8x6, { print8x6, 2 } } } },
        { "B",
            { { print6x4, { print6x4, 1 } }, { 998, { 998, 0, 1 } },
                { print7x5, { print7x5, 0, 3, 0, 2 } } } },
    };
    OrderSummaryList list { { 5 } };
    SummariseOrderByProduct(summary, list);
    EXPECT_EQ(list,
        (OrderSummaryList {
            { print6x4, 1 }, { print7x5, 1, 3, 0, 2 }, { print8x6, 2 }, { 998, 0, 1 }, { 999, 1 } }));
    SortOrderEntries(summary.at("A"), list);
    EXPECT_EQ(list, (OrderSummaryList { { print7x5, 1 }, { print8x6, 2 }, { 999, 1 } }));

    const OrderSummaryEntry seven { print7x5 }, eight { print8x6 }, unknown { 999 };
    EXPECT_TRUE(CompareEntriesByProductOrder(seven, eight)) << "equal Order: the lower ID first";
    EXPECT_FALSE(CompareEntriesByProductOrder(eight, seven));
    EXPECT_TRUE(CompareEntriesByProductOrder(eight, unknown));
    EXPECT_FALSE(CompareEntriesByProductOrder(unknown, eight));
    EXPECT_FALSE(CompareEntriesByProductOrder(unknown, unknown));
}

} // namespace
