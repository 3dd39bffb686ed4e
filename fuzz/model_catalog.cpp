// Fuzzes the product catalogue file reader: the start (version and word), the settings, the
// product rows and the mounts section. Whatever a file holds, reading may not crash, hang or
// overflow, and the catalogue it gives must answer every lookup and write a file that reads back
// to the same catalogue.
#include "model/ProductCatalogFile.h"
#include "records/DataVersion.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

class CountingList : public AddStringTarget {
public:
    void AddString(const std::string& text) override { total += text.size(); }
    std::size_t total = 0;
};

void Exercise(const ProductCatalog& catalog)
{
    for (const auto& [id, product] : catalog.GetElements()) {
        if (catalog.FindProduct(id) != product)
            std::abort();
        catalog.FindIdByShortName(product->GetShort());
        catalog.FindIdByMediumName(product->GetMedium());
        catalog.FindIdByLongName(product->GetLong());
        const MountData& mounts = catalog.GetMountData();
        mounts.GetCode(static_cast<uint32_t>(product->GetMounts()), product->GetMntSize());
        mounts.GetMountDescription(product->GetMntSize());
    }
    CountingList combo;
    catalog.FillProductCombo(combo, true);
}

std::string Written(const ProductCatalog& catalog)
{
    std::ostringstream out;
    catalog.WriteCsv(out);
    return out.str();
}

bool NamedLikeTheMountsHeading(const ProductCatalog& catalog)
{
    for (const auto& [id, product] : catalog.GetElements())
        if (MountData::IsCsvHeading(product->GetLong()))
            return true;
    return false;
}

bool Read(const std::string& file, ProductCatalog& catalog)
{
    std::istringstream in(file);
    if (ReadCatalogFileStart(in) != CatalogFileStatus::read)
        return false;
    catalog.ReadCsv(in);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ResetGlobalProductCatalog();
    const std::string file(reinterpret_cast<const char*>(data), size);
    ProductCatalog catalog;
    if (!Read(file, catalog))
        return 0;
    Exercise(catalog);
    // Written once, the catalogue reads back to itself (but for a product named like the mounts
    // heading, which ends the product list).
    const std::string first = Written(catalog);
    ProductCatalog again;
    if (!NamedLikeTheMountsHeading(catalog) && (!Read(first, again) || Written(again) != first))
        std::abort();
    ResetSavedDataVersion();
    return 0;
}
