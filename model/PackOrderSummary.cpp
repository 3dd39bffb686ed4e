// Adding a pack's items to an order summary, "Combi" references included.
#include "model/PacksCollection.h"
#include "platform/win/IntArithmetic.h"

namespace {

// The product whose entry in a pack stands for another pack of the collection.
constexpr uint32_t combiProduct = 32;

bool Admits(MountedFilter filter, const PackProduct& entry)
{
    switch (filter) {
    case MountedFilter::all:
        return true;
    case MountedFilter::mountedOnly:
        return entry.MT;
    case MountedFilter::unmountedOnly:
        return !entry.MT;
    }
    return false;
}

bool Admits(GroupFilter filter, const ProductDetails& product)
{
    switch (filter) {
    case GroupFilter::all:
        return true;
    case GroupFilter::groupOnly:
        return product.GetGroup();
    case GroupFilter::notGroup:
        return !product.GetGroup();
    }
    return false;
}

// Adds quantity items of entry's product, multiplier times, and their mounts when mounted.
void AddItems(OrderSummaryProducts& products, const PackProduct& entry, bool mono, bool mounted,
    int32_t multiplier, GroupFilter groupFilter)
{
    const auto product = PackEntryProduct(entry.product);
    if (!Admits(groupFilter, *product))
        return;
    OrderSummaryEntry& target = OrderSummaryEntryFor(products, entry.product);
    const int64_t items = win::SaturatingMultiply(entry.quantity, multiplier);
    AddToCount(mono ? target.monoQuantity : target.colourQuantity, items);
    if (mounted)
        AddToCount(mono ? target.monoMounts : target.colourMounts,
            win::SaturatingMultiply(items, product->GetMounts()));
}

} // namespace

void PacksCollection::AddPackToOrderSummary(OrderSummaryProducts& products, bool allMono,
    std::size_t packIndex, int32_t multiplier, MountedFilter mountedFilter, GroupFilter groupFilter) const
{
    if (packIndex >= packs_.size())
        return;
    for (const PackProduct& entry : packs_[packIndex]->GetProducts()) {
        if (!Admits(mountedFilter, entry))
            continue;
        if (entry.product != combiProduct) {
            AddItems(products, entry, allMono || entry.M, entry.MT, multiplier, groupFilter);
            continue;
        }
        // The referenced pack's entries, mounted as the Combi entry says; a Combi entry inside
        // it counts as an item of its own and is not followed.
        if (entry.quantity >= packs_.size())
            continue;
        for (const PackProduct& referenced : packs_[entry.quantity]->GetProducts())
            AddItems(products, referenced, allMono || referenced.M, entry.MT, multiplier, groupFilter);
    }
}
