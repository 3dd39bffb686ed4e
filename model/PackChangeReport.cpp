// Change reports: the differences between the old and the new version of a pack and of a pack
// collection, as plain text lines for a log or a confirmation.
#include "model/PacksCollection.h"
#include "records/CsvNumbers.h"

#include <algorithm>

namespace {

constexpr char quote = '"';
constexpr char lineEnd[] = "\r\n";

const char* YesNo(bool flag)
{
    return flag ? "Yes" : "No";
}

// The short name of an entry's product, empty when the catalogue does not hold it.
const std::string& ShortName(const PackProduct& entry)
{
    return PackEntryProduct(entry.product)->GetShort();
}

// The name of a service type, or its number when it has none.
std::string ServiceText(int32_t serviceType)
{
    const std::string_view name = ServiceTypeName(serviceType);
    return name.empty() ? FormatInt(serviceType) : std::string(name);
}

// Appends a line; true so that callers can note that one was appended.
bool AppendLine(std::string& text, const std::string& line)
{
    text += line;
    text += lineEnd;
    return true;
}

struct FlagText {
    bool (PackDetails::*get)() const;
    const char* text;
};

constexpr FlagText flagTexts[] = {
    { &PackDetails::GetNoPrintForm, "No Print On Order Form changed from: " },
    { &PackDetails::GetNoPrintWeb, "No Display On Web changed from: " },
    { &PackDetails::GetNoPandP, "No P and P changed from: " },
    { &PackDetails::GetAddOn, "Add On changed from: " },
    { &PackDetails::GetNoQtyDiscount, "No Quantity Discount changed from: " },
    { &PackDetails::GetImageMixin, "Image Mix-In changed from: " },
};

// The lines for one pair of entries at the same position; prefix names the pack and the old
// entry's product.
bool ReportEntryChanges(
    const PackProduct& before, const PackProduct& after, const std::string& prefix, std::string& text)
{
    bool changed = false;
    if (before.product != after.product)
        changed = AppendLine(text,
            prefix + " Product ID changed from: " + UIntToString(before.product)
                + " to: " + UIntToString(after.product));
    if (before.quantity != after.quantity)
        changed = AppendLine(text,
            prefix + " Product Quantity changed from: " + UIntToString(before.quantity)
                + " to: " + UIntToString(after.quantity));
    const auto mono = [](bool M) { return M ? "Mono" : "Colour"; };
    if (before.M != after.M)
        changed = AppendLine(text, prefix + " changed from: " + mono(before.M) + " to: " + mono(after.M));
    const auto mounts = [](bool MT) { return MT ? "Mounts" : "No Mounts"; };
    if (before.MT != after.MT)
        changed
            = AppendLine(text, prefix + " changed from: " + mounts(before.MT) + " to: " + mounts(after.MT));
    return changed;
}

} // namespace

bool PackDetails::IsPostageOrLateFee() const
{
    return fields_.LongDescription == PostageAndPackingName || fields_.LongDescription == LateOrderFeeName;
}

bool PackDetails::ReportChanges(const PackDetails& newPack, std::string& text, bool skipPostage) const
{
    if (skipPostage && IsPostageOrLateFee())
        return false;
    const PackFields& after = newPack.fields_;
    const std::string pack = std::string("Pack ") + quote + fields_.LongDescription + quote;
    bool changed = false;
    if (fields_.LongDescription != after.LongDescription)
        changed = AppendLine(text,
            "Pack long description changed from: " + fields_.LongDescription
                + " to: " + after.LongDescription);
    if (fields_.ShortDescription != after.ShortDescription)
        changed = AppendLine(text,
            "Pack short description changed from: " + fields_.ShortDescription
                + " to: " + after.ShortDescription);
    if (!(fields_.Price == after.Price))
        changed = AppendLine(text,
            pack + " price changed from: " + fields_.Price.ToString(true)
                + " to: " + after.Price.ToString(true));
    for (const FlagText& flag : flagTexts) {
        const bool old = (this->*flag.get)();
        const bool now = (newPack.*flag.get)();
        if (old != now)
            changed = AppendLine(text, pack + " " + flag.text + YesNo(old) + " to: " + YesNo(now));
    }
    const std::size_t shared = std::min(products_.size(), newPack.products_.size());
    for (std::size_t k = 0; k < shared; ++k) {
        const std::string prefix = "Pack " + std::string(1, quote) + fields_.LongDescription + ": "
            + ShortName(products_[k]) + quote;
        changed = ReportEntryChanges(products_[k], newPack.products_[k], prefix, text) || changed;
    }
    for (std::size_t k = shared; k < products_.size(); ++k)
        changed = AppendLine(text, pack + " Product " + ShortName(products_[k]) + " deleted");
    for (std::size_t k = shared; k < newPack.products_.size(); ++k)
        changed = AppendLine(text, pack + " Product " + ShortName(newPack.products_[k]) + " added");
    return changed;
}

bool PacksCollection::ReportChanges(
    const PacksCollection& newPacks, std::string& text, bool skipPostage) const
{
    bool changed = false;
    if (GetMountType() != newPacks.GetMountType())
        changed = AppendLine(text,
            "Event packs mount type changed from: " + UIntToString(GetMountType())
                + " to: " + UIntToString(newPacks.GetMountType()));
    if (GetServiceType() != newPacks.GetServiceType())
        changed = AppendLine(text,
            "Event packs service changed from: " + ServiceText(GetServiceType())
                + " to: " + ServiceText(newPacks.GetServiceType()));
    const std::size_t shared = std::min(packs_.size(), newPacks.packs_.size());
    for (std::size_t k = 0; k < shared; ++k)
        changed = packs_[k]->ReportChanges(*newPacks.packs_[k], text, skipPostage) || changed;
    const auto listEnd = [&](const Packs& packs, const char* what) {
        for (std::size_t k = shared; k < packs.size(); ++k) {
            if (!(skipPostage && packs[k]->IsPostageOrLateFee()))
                changed = AppendLine(text, what + packs[k]->GetLongDescription());
        }
    };
    listEnd(packs_, "Event pack deleted: ");
    listEnd(newPacks.packs_, "Event pack added: ");
    return changed;
}
