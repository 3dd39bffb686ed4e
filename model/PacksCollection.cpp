// The pack collection: its list edits, copies and queries.
#include "model/PacksCollection.h"

#include "records/SharedFunctions.h"

#include <algorithm>
#include <array>

std::string_view ServiceTypeName(int32_t serviceType)
{
    static constexpr std::array<std::string_view, 3> names
        = { "Return Only", "Data Entry and Return", "Full Service" };
    if (serviceType < 0 || static_cast<std::size_t>(serviceType) >= names.size())
        return {};
    return names[static_cast<std::size_t>(serviceType)];
}

PacksCollection::PacksCollection()
{
    fieldtable::SetDefaults(PacksCollectionFieldTable, fields_);
}

std::shared_ptr<PackDetails> PacksCollection::GetPack(std::size_t index) const
{
    return index < packs_.size() ? packs_[index] : nullptr;
}

void PacksCollection::AddPack(std::shared_ptr<PackDetails> pack)
{
    packs_.push_back(std::move(pack));
    ChildAdded(packs_.back().get(), RecordType::ctPackDetails);
}

void PacksCollection::RemoveLastPack()
{
    if (packs_.empty())
        return;
    ChildRemoved(packs_.back().get(), RecordType::ctPackDetails);
    packs_.pop_back();
}

void PacksCollection::RemovePack(std::size_t index)
{
    if (index >= packs_.size())
        return;
    ChildRemoved(packs_[index].get(), RecordType::ctPackDetails);
    packs_.erase(packs_.begin() + static_cast<std::ptrdiff_t>(index));
}

void PacksCollection::SwapPacks(std::size_t first, std::size_t second)
{
    if (first >= packs_.size() || second >= packs_.size())
        return;
    PackDetails held;
    held.CopyFrom(*packs_[first]);
    packs_[first]->CopyFrom(*packs_[second]);
    packs_[second]->CopyFrom(held);
}

void PacksCollection::CopyFrom(const PacksCollection& other)
{
    if (&other == this)
        return;
    fieldtable::Copy(PacksCollectionFieldTable, other.fields_, fields_);
    for (std::size_t i = 0; i < other.packs_.size(); ++i) {
        if (i < packs_.size()) {
            packs_[i]->CopyFrom(*other.packs_[i]);
        } else {
            auto pack = std::make_shared<PackDetails>();
            pack->CopyFrom(*other.packs_[i]);
            AddPack(std::move(pack));
        }
    }
    while (packs_.size() > other.packs_.size())
        RemoveLastPack();
}

bool PacksCollection::PackHasGroupProduct(std::size_t index) const
{
    if (index >= packs_.size())
        return false;
    const PackDetails& pack = *packs_[index];
    if (pack.HasGroupProduct())
        return true;
    return std::any_of(pack.GetProducts().begin(), pack.GetProducts().end(), [&](const PackProduct& entry) {
        return PackEntryProduct(entry.product)->GetShort() == "Combi" && entry.quantity < packs_.size()
            && packs_[entry.quantity]->HasGroupProduct();
    });
}

int32_t PacksCollection::FindPack(const std::function<bool(const PackDetails&)>& test) const
{
    const auto found
        = std::find_if(packs_.begin(), packs_.end(), [&](const auto& pack) { return test(*pack); });
    return found == packs_.end() ? -1 : static_cast<int32_t>(found - packs_.begin());
}

int32_t PacksCollection::FindPackWithProduct(uint32_t productId) const
{
    return FindPack([&](const PackDetails& pack) { return pack.HasProduct(productId); });
}

int32_t PacksCollection::FindPackByLongDescription(const std::string& text) const
{
    return FindPack(
        [&](const PackDetails& pack) { return CompareNoCase(pack.GetLongDescription(), text) == 0; });
}

int32_t PacksCollection::FindPackByShortDescription(const std::string& text) const
{
    return FindPack(
        [&](const PackDetails& pack) { return CompareNoCase(pack.GetShortDescription(), text) == 0; });
}

bool PacksCollection::HasPortCapSepProduct() const
{
    return FindPack([](const PackDetails& pack) { return pack.HasPortCapSepProduct(); }) >= 0;
}

bool PacksCollection::HasLandCapSepProduct() const
{
    return FindPack([](const PackDetails& pack) { return pack.HasLandCapSepProduct(); }) >= 0;
}

bool PacksCollection::HasMountPrices(uint32_t mountType) const
{
    if (mountType == 0)
        return true;
    return std::all_of(
        packs_.begin(), packs_.end(), [&](const auto& pack) { return pack->HasMountPrices(mountType); });
}

void PacksCollection::AddFeePack(const char* name, const Money& price, uint32_t productId)
{
    auto pack = std::make_shared<PackDetails>();
    pack->SetLongDescription(name);
    pack->SetShortDescription(name);
    pack->SetPrice(price.GetAmount());
    pack->AddProduct({ productId, 1, false, false });
    pack->SetNoPrintForm(true);
    AddPack(std::move(pack));
}

void PacksCollection::AddPostageAndLateFeePacks(
    int32_t postageIndex, const Money& postagePrice, int32_t lateFeeIndex, const Money& lateFeePrice)
{
    constexpr uint32_t postageProduct = 30;
    constexpr uint32_t lateFeeProduct = 74;
    if (postageIndex != -1 && postageIndex != FindPackByLongDescription(PostageAndPackingName))
        AddFeePack(PostageAndPackingName, postagePrice, postageProduct);
    if (lateFeeIndex != -1 && lateFeeIndex != FindPackByLongDescription(LateOrderFeeName))
        AddFeePack(LateOrderFeeName, lateFeePrice, lateFeeProduct);
}
