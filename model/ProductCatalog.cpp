// The catalogue: construction, copies, lookups, the combo fill, the merge from the global
// catalogue and the global catalogue itself.
#include "model/ProductCatalog.h"

#include "model/OrderSummary.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

ProductCatalog::ProductCatalog()
{
    fieldtable::SetDefaults(CatalogSettingsTable, settings_);
}

ProductCatalog::ProductCatalog(const ProductCatalog& other)
    : Archivable(other)
    , DatabaseRecord(other)
    , ExtensibleStdMap()
{
    CopySettings(other.settings_);
    mounts_.CopyFrom(other.mounts_);
    CopyProducts(other);
}

ProductCatalog& ProductCatalog::operator=(const ProductCatalog& other)
{
    if (&other == this)
        return *this;
    CopySettings(other.settings_);
    mounts_.CopyFrom(other.mounts_);
    RemoveAll();
    CopyProducts(other);
    return *this;
}

void ProductCatalog::CopySettings(const CatalogSettings& from)
{
    fieldtable::Copy(CatalogSettingsTable, from, settings_);
}

void ProductCatalog::CopyProducts(const ProductCatalog& other)
{
    for (const auto& [id, product] : other.GetElements())
        AddProduct(std::make_shared<ProductDetails>(*product));
}

void ProductCatalog::SetSettings(const CatalogSettings& settings)
{
    CopySettings(settings);
    MarkAllFieldsModified();
}

bool ProductCatalog::AddProduct(std::shared_ptr<ProductDetails> product)
{
    const uint32_t id = product->GetID();
    return Insert(id, std::move(product));
}

uint32_t ProductCatalog::FindIdByName(std::string ProductFields::*name, const std::string& text) const
{
    for (const auto& [id, product] : GetElements())
        if (product->GetFields().*name == text)
            return id;
    return noProductId;
}

namespace {
// The text sought in place of a whole-text alias, or the text itself.
std::string Unalias(
    const std::string& text, std::initializer_list<std::pair<std::string_view, std::string_view>> aliases)
{
    for (const auto& [alias, name] : aliases)
        if (text == alias)
            return std::string(name);
    return text;
}
} // namespace

uint32_t ProductCatalog::FindIdByShortName(const std::string& text) const
{
    return FindIdByName(
        &ProductFields::Short, Unalias(text, { { "Keyring", "2Keyring" }, { "PxP", "PandP" } }));
}

uint32_t ProductCatalog::FindIdByMediumName(const std::string& text) const
{
    return FindIdByName(
        &ProductFields::Medium, Unalias(text, { { "Keyring", "2 Keyring" }, { "Post&Pack", "P and P" } }));
}

uint32_t ProductCatalog::FindIdByLongName(const std::string& text) const
{
    return FindIdByName(
        &ProductFields::Long, Unalias(text, { { "Postage & Packing", "Postage and Packing" } }));
}

void ProductCatalog::FillProductCombo(AddStringTarget& combo, bool skipDiscontinued) const
{
    std::vector<const ProductDetails*> listed;
    for (const auto& [id, product] : GetElements())
        if (!(skipDiscontinued && product->GetDiscontinued()))
            listed.push_back(product.get());
    // Products of equal Order keep their ID order.
    std::sort(listed.begin(), listed.end(),
        [](const ProductDetails* a, const ProductDetails* b) { return CompareProductsByOrder(*a, *b); });
    for (const ProductDetails* product : listed)
        combo.AddString(product->GetMedium());
}

void ProductCatalog::MergeFromGlobal()
{
    const ProductCatalog& global = GlobalProductCatalog();
    if (&global == this)
        return;
    for (const auto& [id, product] : global.GetElements())
        if (!FindProduct(id))
            AddProduct(std::make_shared<ProductDetails>(*product));
    MergeMountsFromGlobal(global.mounts_);
}

void ProductCatalog::MergeMountsFromGlobal(const MountData& global)
{
    // New mount types carry prices and codes for the sizes both tables hold; sizes of this table
    // beyond the global ones get price 0 and no code. Each price and code is type t's own.
    const std::size_t commonSizes = std::min(mounts_.GetSizeCount(), global.GetSizeCount());
    for (std::size_t t = mounts_.GetTypeCount(); t < global.GetTypeCount(); ++t) {
        MoneyList prices;
        IntList codes;
        for (std::size_t k = 0; k < commonSizes; ++k) {
            const MountSizeData& size = *global.GetSizes()[k];
            prices.push_back(size.GetPrice(static_cast<uint32_t>(t)));
            codes.push_back(size.GetCode(static_cast<uint32_t>(t)));
        }
        mounts_.AddMountType(global.GetDescriptions()[t], prices, std::move(codes));
    }
    for (std::size_t i = mounts_.GetSizeCount(); i < global.GetSizeCount(); ++i)
        mounts_.AddMountSize(*global.GetSizes()[i], false);
}

void ProductCatalog::RepairUnpricedProducts()
{
    const ProductCatalog& global = GlobalProductCatalog();
    for (const auto& [id, product] : GetElements()) {
        const bool unpriced = product->GetFull() == Money() && product->GetData() == Money()
            && product->GetReturn() == Money();
        if (!unpriced || product->GetDiscontinued() || id == 32 || id == 49)
            continue;
        if (const auto globalProduct = global.FindProduct(id))
            *product = *globalProduct;
    }
}

ProductCatalog& GlobalProductCatalog()
{
    static ProductCatalog catalog;
    return catalog;
}

void ResetGlobalProductCatalog()
{
    ProductCatalog& catalog = GlobalProductCatalog();
    catalog = ProductCatalog();
    catalog.ClearModified();
}
