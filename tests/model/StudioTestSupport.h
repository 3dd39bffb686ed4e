// A small studio for the pricing and change-report tests: the shipped catalogue in
// GlobalProductCatalog and the shipped pack template, read fresh for each test.
#pragma once

#include "CatalogTestSupport.h"
#include "PackTestSupport.h"
#include "model/OrderSummary.h"
#include "model/PackTemplateFile.h"
#include "model/PacksCollection.h"
#include "model/ProductCatalogFile.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

// Entries print their counts when a comparison fails.
inline void PrintTo(const OrderSummaryEntry& entry, std::ostream* os)
{
    *os << "{product " << entry.product << ": colour " << entry.colourQuantity << ", mono "
        << entry.monoQuantity << ", mounts " << entry.colourMounts << " and " << entry.monoMounts << "}";
}

namespace studio {

// Product IDs of the shipped catalogue.
enum : uint32_t {
    print6x4 = 1,
    print7x5 = 2,
    print8x6 = 3,
    print10x8 = 4,
    wallets = 8, // priced as 6x4 prints after the first
    group10x8 = 9,
    mounted7x5 = 13, // one mount of size 0
    mounted10x8 = 14, // one mount of size 1
    mounted12x10 = 15, // one mount of size 2
    hiResFile = 21, // counts for the discount, is not discounted
    usbStick = 22, // neither
    mono10x8 = 30,
    postage = 31,
    combi = 32, // an entry's quantity is the index of another pack
};

// Pack indexes of the shipped template.
enum : std::size_t {
    packA = 0, // 7x5 x2, Wallets x1
    packB = 1, // 10x8 x1, 7x5 x2, Wallets x1
    packC = 2, // M10x8 x1 mounted, 7x5 x2
    keepsake = 4,
    digital = 5,
    monoPack = 6, // Mono10x8 x1 mono, 7x5 x2 mono
    postagePack = 7, // P and P x1
    groupPack1 = 8, // G10x8 x1
};

inline void ReadShippedPacks(PacksCollection& packs)
{
    ASSERT_EQ(
        ReadPackTemplateFile(ORVANEL_TEST_DATA "/../../data/Packs.csv", packs), PackTemplateStatus::read);
    ASSERT_EQ(packs.GetPackCount(), 12u);
}

using packtest::MakePack;

class StudioFixture : public CatalogFixture {
protected:
    void SetUp() override
    {
        CatalogFixture::SetUp();
        ASSERT_EQ(ReadProductCatalogFile(
                      ORVANEL_TEST_DATA "/../../data/ProductCatalog.csv", GlobalProductCatalog()),
            CatalogFileStatus::read);
        ReadShippedPacks(packs);
    }

    PacksCollection packs;
};

} // namespace studio
