#include "PaintTestSupport.h"

#include "app/view/PacksUnitPainter.h"
#include "model/LayoutUnit.h"
#include "model/ProductCatalog.h"
#include "model/ProductDetails.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using gdi::RecordedText;
using painttest::PageFixture;

constexpr uint32_t kPrint = 1;
constexpr uint32_t kGroupPrint = 2;
constexpr win::SIZE kTextSize { 120, 30 };

struct PackSpec {
    const char* description;
    int32_t price; // hundredths
    bool group = false;
    bool noPrintForm = false;
};

// A portrait proof whose pack template holds the packs; the catalogue knows one portrait and one
// group product.
struct PacksFixture : PageFixture {
    PacksFixture(std::initializer_list<PackSpec> specs, int32_t layoutType = 0)
        : PageFixture(layoutType)
    {
        ResetGlobalProductCatalog();
        AddProduct(kPrint, "7x5", false);
        AddProduct(kGroupPrint, "G10x8", true);
        for (const PackSpec& spec : specs) {
            auto pack = std::make_shared<PackDetails>();
            pack->SetLongDescription(spec.description);
            pack->SetPrice(spec.price);
            pack->SetNoPrintForm(spec.noPrintForm);
            pack->AddProduct({ spec.group ? kGroupPrint : kPrint, 1, false, false });
            packs.AddPack(pack);
        }
        dc.SetTextMeasurer([](std::string_view, const gdi::DeviceFont&) { return kTextSize; });
    }
    ~PacksFixture() { ResetGlobalProductCatalog(); }

    static void AddProduct(uint32_t id, const char* shortName, bool group)
    {
        auto product = std::make_shared<ProductDetails>();
        ProductFields fields = product->GetFields();
        fields.ID = id;
        fields.Short = shortName;
        fields.Group = group;
        product->SetFields(fields);
        GlobalProductCatalog().AddProduct(product);
    }

    void DrawPortraitPacks()
    {
        DrawPacksUnit(Context(), Unit("PPacks"), Unit("PDescription"), Unit("PPrice"), true);
    }

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const RecordedText& text : dc.All<RecordedText>())
            texts.push_back(text.text);
        return texts;
    }
};

using Texts = std::vector<std::string>;

// PPacks lies at (950, 390) with rows 62 apart; the price, right-aligned, ends 850 further right.
TEST(PacksUnit, ListsTheFirstPacksUpToTheRepeatCountSkippingThoseNotForTheForm)
{
    PacksFixture f({ { "Pack A", 2900 }, { "Hidden", 100, false, true }, { "Pack B", 4200 },
        { "Pack C", 4950 }, { "Pack D", 5900 }, { "Pack E", 6900 } });
    f.Unit("PPacks").SetRepeatCount(3);
    f.DrawPortraitPacks();
    EXPECT_EQ(f.Texts(), (Texts { "Pack A", "Pack B", "Pack C", "29.00", "42.00", "49.50" }));
    const auto texts = f.dc.All<RecordedText>();
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(texts[static_cast<size_t>(row)].logicalOrigin, (win::POINT { 950, -390 - 62 * row }));
        EXPECT_EQ(texts[static_cast<size_t>(row)].font.logical.lfHeight, -35); // 10 points
        EXPECT_EQ(
            texts[static_cast<size_t>(row) + 3].logicalOrigin, (win::POINT { 1800 - 120, -390 - 62 * row }));
        EXPECT_EQ(texts[static_cast<size_t>(row) + 3].font.logical.lfHeight, -28); // 8 points
    }
    EXPECT_EQ(f.Unit("PPacks").GetCurrentItem(), 0);
    EXPECT_EQ(f.Unit("PDescription").GetItemSize(), kTextSize);
    // Three rows of texts 30 high, 62 apart, prices reaching 850 across.
    EXPECT_EQ(f.Unit("PPacks").GetRepeatExtent(), (win::SIZE { 850, 2 * 62 + 30 }));
    EXPECT_TRUE(f.dc.ObjectFaults().empty());
}

TEST(PacksUnit, NegativePriceShowsInParentheses)
{
    PacksFixture f({ { "Refund", -305 } });
    f.DrawPortraitPacks();
    EXPECT_EQ(f.Texts(), (Texts { "Refund", "(3.05)" }));
}

TEST(PacksUnit, PortraitProofListsPortraitPacksAndGroupProofGroupPacks)
{
    PacksFixture f(
        { { "Portrait 1", 100 }, { "Group 1", 200, true }, { "Portrait 2", 300 }, { "Group 2", 400, true } });
    f.Unit("PPacks").SetRepeatCount(5);
    f.DrawPortraitPacks();
    EXPECT_EQ(f.Texts(), (Texts { "Portrait 1", "Portrait 2", "1.00", "3.00" }));
    f.dc.Clear();
    DrawPacksUnit(f.Context(), f.Unit("PPacks"), f.Unit("PDescription"), f.Unit("PPrice"), false);
    EXPECT_EQ(f.Texts(), (Texts { "Group 1", "Group 2", "2.00", "4.00" }));
}

TEST(PacksUnit, HiddenColumnOrUnitLeavesItsTextsOut)
{
    PacksFixture f({ { "Pack A", 2900 } });
    f.Unit("PDescription").SetVisible(false);
    f.DrawPortraitPacks();
    EXPECT_EQ(f.Texts(), (Texts { "29.00" }));
    f.dc.Clear();
    f.Unit("PPacks").SetVisible(false);
    f.DrawPortraitPacks();
    EXPECT_TRUE(f.Texts().empty());
}

TEST(PacksUnit, FirstCopyOnlyPacksAppearInTheFirstProofCopy)
{
    for (const bool firstOnly : { true, false }) {
        PacksFixture f({ { "Pack A", 2900 } });
        f.Unit("Port").SetRepeatCount(2);
        f.Unit("PPacks").SetSingleOnly(firstOnly);
        f.DrawScreen();
        const Texts texts = f.Texts();
        EXPECT_EQ(std::count(texts.begin(), texts.end(), "Pack A"), firstOnly ? 1 : 2);
    }
}

} // namespace
