// Order pricing: the quantity discount, the non-standalone surcharge and the price of an order.
#include "model/PacksCollection.h"
#include "model/ProductCatalog.h"
#include "platform/win/IntArithmetic.h"

#include <algorithm>
#include <set>

namespace {

// The product whose standalone flag never waives the surcharge.
constexpr uint32_t notStandaloneId = 74;

// Above this many counted items the discount is taken in closed form.
constexpr uint32_t closedFormDiscountCount = 1'000'000;

struct ItemPrices {
    Money mounted;
    Money unmounted;
};

// A product's mounted and unmounted prices: its service price with the relative mount price of
// its size for each of its mounts, discounted by factor when its Discnt is set.
ItemPrices GetItemPrices(const ProductCatalog& catalog, const ProductDetails& product, int32_t serviceType,
    uint32_t mountType, const PacksCollection& packs, double factor)
{
    const Money service = product.GetServicePrice(serviceType, packs);
    const int32_t mounts = product.GetMounts();
    ItemPrices prices {
        service + catalog.GetRelativeMountPrice(mountType, product.GetMntSize(), false) * mounts,
        service + catalog.GetRelativeMountPrice(mountType, product.GetMntSize(), true) * mounts,
    };
    if (product.GetDiscnt()) {
        prices.mounted *= factor;
        prices.unmounted *= factor;
    }
    return prices;
}

// A price times a count of items, saturated: a count beyond the 32-bit range cannot change a
// result that already saturates, as every price that is not 0 is at least one hundredth.
Money Times(const Money& price, int64_t count)
{
    return price * win::SaturateToInt32(count);
}

// The product whose prices stand in for product's after its first item: the one its
// NonSAProductID names when the catalogue holds it, otherwise product itself.
std::shared_ptr<ProductDetails> StandIn(
    const ProductCatalog& catalog, const std::shared_ptr<ProductDetails>& product)
{
    const uint32_t id = product->GetNonSAProductID();
    auto standIn = id != 0 ? catalog.FindProduct(id) : nullptr;
    return standIn ? standIn : product;
}

// How many items of an entry are priced mounted and unmounted at the product's own prices and at
// those of the product that stands in for it.
struct ItemCounts {
    int64_t ownMounted = 0;
    int64_t ownUnmounted = 0;
    int64_t otherMounted = 0;
    int64_t otherUnmounted = 0;
};

// Mounted items are the mounts over the mounts per item; the rest are unmounted, and more mounts
// than items leave no unmounted item (never a negative count). With a stand-in product the first
// item keeps the product's own price and the others take the stand-in's; once the product has
// had its first item priced (under an earlier key) every item takes the stand-in's.
ItemCounts SplitItems(int64_t items, int64_t mounts, int32_t mountsPerItem, bool hasStandIn, bool firstPriced)
{
    const int64_t mounted = mountsPerItem != 0 ? std::max<int64_t>(mounts / mountsPerItem, 0) : 0;
    const int64_t unmounted = std::max<int64_t>(items - mounted, 0);
    ItemCounts counts { mounted, unmounted, 0, 0 };
    if (!hasStandIn)
        return counts;
    if (mounted > 1)
        counts = { 1, 0, mounted - 1, unmounted };
    else if (unmounted > 1)
        counts = { mounted, 1, 0, unmounted - 1 };
    if (firstPriced)
        counts
            = { 0, 0, counts.otherMounted + counts.ownMounted, counts.otherUnmounted + counts.ownUnmounted };
    return counts;
}

} // namespace

double ProductCatalog::GetQuantityDiscountPercent(const OrderSummary& summary, uint32_t& count) const
{
    const uint64_t limit = settings_.MaxDiscProds;
    uint64_t counted = 0;
    for (auto key = summary.begin(); key != summary.end() && counted < limit; ++key) {
        for (auto item = key->second.begin(); item != key->second.end() && counted < limit; ++item) {
            const auto product = FindProduct(item->first);
            if (product && product->GetIncDis())
                counted += uint64_t { item->second.colourQuantity } + item->second.monoQuantity;
        }
    }
    count = static_cast<uint32_t>(std::min(counted, limit));
    if (count < 2)
        return 0;
    // Summed step by step, in this order, as the order-processing system that shares these
    // records sums it: the closed form rounds differently and moves prices by a hundredth.
    const uint32_t steps = count - 1;
    if (count > closedFormDiscountCount) {
        // So many steps would cost noticeable time one by one; the closed form stands here.
        const double n = steps;
        return n * settings_.Discount - n * (n - 1.0) / 2.0 * settings_.DiscRed;
    }
    double percent = 0;
    for (uint32_t k = 0; k < steps; ++k)
        percent += settings_.Discount - k * settings_.DiscRed;
    return percent;
}

Money ProductCatalog::GetNonStandaloneSurcharge(const OrderSummary& summary) const
{
    for (const auto& [key, products] : summary) {
        for (const auto& [id, entry] : products) {
            const auto product = FindProduct(id);
            if (product && product->GetSAlone() && id != notStandaloneId)
                return Money();
        }
    }
    return settings_.NonStandaloneSurcharge;
}

Money ProductCatalog::PriceOrder(const OrderSummary& summary, std::map<uint32_t, int32_t>& totals,
    int32_t serviceType, uint32_t mountType, const PacksCollection& packs) const
{
    Money total;
    std::set<uint32_t> firstItemPriced;
    uint32_t discountCount = 0;
    const double factor = (100 - GetQuantityDiscountPercent(summary, discountCount)) / 100;
    bool mountableProduct = false;
    bool anyMounts = false;
    for (const auto& [key, products] : summary) {
        for (const auto& [id, entry] : products) {
            const auto own = FindProduct(id);
            if (!own)
                continue;
            const auto other = StandIn(*this, own);

            const int64_t items = int64_t { entry.colourQuantity } + entry.monoQuantity;
            const int64_t mounts = int64_t { entry.colourMounts } + entry.monoMounts;
            totals[id] = win::SaturateToInt32(int64_t { totals[id] } + items);
            mountableProduct = mountableProduct || own->GetMounts() != 0;
            anyMounts = anyMounts || mounts != 0;

            const ItemPrices ownPrices = GetItemPrices(*this, *own, serviceType, mountType, packs, factor);
            const ItemPrices otherPrices = other != own
                ? GetItemPrices(*this, *other, serviceType, mountType, packs, factor)
                : ItemPrices {};

            const ItemCounts counts = SplitItems(
                items, mounts, own->GetMounts(), other != own, !firstItemPriced.insert(id).second);
            total += Times(ownPrices.unmounted, counts.ownUnmounted)
                + Times(ownPrices.mounted, counts.ownMounted)
                + Times(otherPrices.unmounted, counts.otherUnmounted)
                + Times(otherPrices.mounted, counts.otherMounted);
        }
    }
    if (serviceType == static_cast<int32_t>(ServiceType::fullService) && mountType % 10 != 0
        && mountableProduct && !anyMounts)
        total += settings_.HardbackCharge;
    return total;
}
