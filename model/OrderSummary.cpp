// Order summary entries, their counts and their listings in catalogue order.
#include "model/OrderSummary.h"

#include "model/ProductCatalog.h"
#include "platform/win/IntArithmetic.h"

#include <algorithm>
#include <limits>
#include <tuple>

OrderSummaryEntry& OrderSummaryEntryFor(OrderSummaryProducts& products, uint32_t productId)
{
    return products.try_emplace(productId, OrderSummaryEntry { productId }).first->second;
}

void AddToCount(uint32_t& count, int64_t amount)
{
    // A count is below 2^32, so only an amount at the very top of the 64-bit range could carry
    // the sum beyond it.
    constexpr int64_t most = std::numeric_limits<int64_t>::max();
    count = win::SaturateToUInt32(amount > most - int64_t { count } ? most : count + amount);
}

bool CompareProductsByOrder(const ProductDetails& first, const ProductDetails& second)
{
    return std::pair(first.GetOrder(), first.GetID()) < std::pair(second.GetOrder(), second.GetID());
}

namespace {

// The key by which an entry sorts: known products first, by Order, then by ID.
std::tuple<bool, uint32_t, uint32_t> CatalogueOrderKey(const ProductCatalog& catalog, uint32_t productId)
{
    const auto product = catalog.FindProduct(productId);
    return { !product, product ? product->GetOrder() : 0, productId };
}

} // namespace

bool CompareEntriesByProductOrder(const OrderSummaryEntry& first, const OrderSummaryEntry& second)
{
    const ProductCatalog& catalog = GlobalProductCatalog();
    return CatalogueOrderKey(catalog, first.product) < CatalogueOrderKey(catalog, second.product);
}

void SortOrderEntries(const OrderSummaryProducts& products, OrderSummaryList& list)
{
    list.clear();
    for (const auto& [id, entry] : products)
        list.push_back(entry);
    std::sort(list.begin(), list.end(), CompareEntriesByProductOrder);
}

void SummariseOrderByProduct(const OrderSummary& summary, OrderSummaryList& list)
{
    OrderSummaryProducts running;
    for (const auto& [key, products] : summary) {
        for (const auto& [id, entry] : products) {
            OrderSummaryEntry& total = OrderSummaryEntryFor(running, id);
            AddToCount(total.colourQuantity, entry.colourQuantity);
            AddToCount(total.monoQuantity, entry.monoQuantity);
            AddToCount(total.colourMounts, entry.colourMounts);
            AddToCount(total.monoMounts, entry.monoMounts);
        }
    }
    SortOrderEntries(running, list);
}
