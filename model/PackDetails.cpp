// A pack: construction, descriptions, entries, copies and the queries over its products.
#include "model/PackDetails.h"

#include "model/ProductCatalog.h"
#include "records/AsciiCase.h"
#include "records/SharedFunctions.h"

#include <algorithm>
#include <limits>
#include <variant>

namespace {

// Trailing white space removed, then every run of two or more blanks made one blank (a leading
// run too); tabs inside the text stay.
std::string CollapseSpaces(const std::string& text)
{
    std::string collapsed = text;
    while (!collapsed.empty() && IsCSpace(collapsed.back()))
        collapsed.pop_back();
    const auto end = std::unique(
        collapsed.begin(), collapsed.end(), [](char a, char b) { return a == ' ' && b == ' '; });
    collapsed.erase(end, collapsed.end());
    return collapsed;
}

} // namespace

PackDetails::PackDetails()
{
    fieldtable::SetDefaults(PackFieldTable, fields_);
}

void PackDetails::SetLongDescription(const std::string& text)
{
    fields_.LongDescription = CollapseSpaces(text);
}

void PackDetails::SetShortDescription(const std::string& text)
{
    fields_.ShortDescription = CollapseSpaces(text);
}

void PackDetails::AddProduct(const PackProduct& entry)
{
    products_.push_back(entry);
    SetFieldModified(fieldProducts);
}

void PackDetails::CopyFrom(const PackDetails& other)
{
    if (&other == this)
        return;
    SetLongDescription(other.fields_.LongDescription);
    SetShortDescription(other.fields_.ShortDescription);
    fields_.Price = other.fields_.Price;
    for (const auto& field : PackFieldTable) {
        if (std::holds_alternative<bool PackFields::*>(field.member)) // the flags
            fieldtable::Copy(other.fields_, fields_, field);
    }
    products_.clear();
    for (const PackProduct& entry : other.products_)
        AddProduct(entry);
    SetFieldModified(fieldProducts);
}

bool PackDetails::AnyProduct(const std::function<bool(const ProductDetails&)>& test) const
{
    return std::any_of(products_.begin(), products_.end(),
        [&](const PackProduct& entry) { return test(*PackEntryProduct(entry.product)); });
}

bool PackDetails::HasGroupProduct() const
{
    return AnyProduct([](const ProductDetails& product) { return product.GetGroup(); });
}

bool PackDetails::HasPortCapSepProduct() const
{
    return AnyProduct([](const ProductDetails& product) { return product.GetPortCapSep(); });
}

bool PackDetails::HasLandCapSepProduct() const
{
    return AnyProduct([](const ProductDetails& product) { return product.GetLandCapSep(); });
}

bool PackDetails::HasComposProduct() const
{
    return AnyProduct([](const ProductDetails& product) { return product.GetCompos(); });
}

bool PackDetails::HasStandaloneProduct() const
{
    return AnyProduct([](const ProductDetails& product) { return product.GetSAlone(); });
}

bool PackDetails::HasSpecialIdProduct() const
{
    return AnyProduct([](const ProductDetails& product) { return product.HasSpecialId(); });
}

bool PackDetails::HasProduct(uint32_t productId) const
{
    return std::any_of(products_.begin(), products_.end(),
        [&](const PackProduct& entry) { return entry.product == productId; });
}

uint32_t PackDetails::GetProductQuantity(uint32_t productId) const
{
    uint64_t total = 0;
    for (const PackProduct& entry : products_) {
        if (entry.product == productId)
            total += entry.quantity;
    }
    return static_cast<uint32_t>(std::min<uint64_t>(total, std::numeric_limits<uint32_t>::max()));
}

bool PackDetails::HasMountPrices(uint32_t mountType) const
{
    const ProductCatalog& catalog = GlobalProductCatalog();
    return std::none_of(products_.begin(), products_.end(), [&](const PackProduct& entry) {
        if (entry.quantity == 0 || !entry.MT)
            return false;
        const auto product = PackEntryProduct(entry.product);
        return product->GetMounts() != 0
            && !(catalog.GetMountPrice(mountType, product->GetMntSize()) > Money());
    });
}

bool PackDetails::HasNoMountMarker() const
{
    return FindNoCase(fields_.ShortDescription, NoMountMarker) != std::string::npos;
}
