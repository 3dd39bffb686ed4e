// Fuzzes the pack template reader, with a small catalogue loaded first so that slots resolve to
// products, mounts and "Combi" references. Whatever a template holds, reading may not crash, hang
// or overflow; the packs must answer every query, and once written the template must read back to
// itself.
#include "model/PackTemplateFile.h"
#include "model/ProductCatalog.h"
#include "records/DataVersion.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <sstream>
#include <string>

namespace {

struct ProductSpec {
    uint32_t id;
    const char* shortName;
    bool group;
    int32_t mounts;
    uint32_t mountSize;
    double pricePercent;
};

const ProductSpec products[] = {
    { 1, "7x5", false, 0, 0, 50 },
    { 2, "G10x8", true, 0, 1, 0 },
    { 3, "M10x8", false, 1, 1, 0 },
    { 32, "Combi", false, 0, 0, 0 },
    { 37, "SA EImage", false, 0, 0, 0 },
    { 42, "2Keyring", false, 2, 5, 100 },
};

const char* const mounts = "Mount Type,ID,\"0\",\"1\",\"2\",,\r\n"
                           "Mount Description,,\"Card\",\"Folder\",\"Frame\",,\r\n"
                           "\"7x5\",\"0\",\"2.50\",\"3.50\",\"0\",,\"101\",\"201\",\"301\",,\r\n"
                           "\"10x8\",\"1\",\"3.50\",\"4.50\",\"18\",,\"102\",\"202\",\"302\",,\r\n";

void LoadCatalogue()
{
    ResetGlobalProductCatalog();
    for (const ProductSpec& spec : products) {
        auto product = std::make_shared<ProductDetails>();
        ProductFields fields = product->GetFields();
        fields.ID = spec.id;
        fields.Short = spec.shortName;
        fields.Group = spec.group;
        fields.Mounts = spec.mounts;
        fields.MntSize = spec.mountSize;
        fields.PricePercent = spec.pricePercent;
        fields.Full = Money(400);
        product->SetFields(fields);
        GlobalProductCatalog().AddProduct(product);
    }
    std::istringstream in(mounts);
    GlobalProductCatalog().GetMountData().ReadCsv(in);
}

void Exercise(const PacksCollection& packs)
{
    const ProductCatalog& catalog = GlobalProductCatalog();
    for (std::size_t i = 0; i < packs.GetPackCount(); ++i) {
        const PackDetails& pack = *packs.GetPack(i);
        packs.PackHasGroupProduct(i);
        packs.FindPackByLongDescription(pack.GetLongDescription());
        pack.HasMountPrices(packs.GetMountType());
        for (const PackProduct& entry : pack.GetProducts()) {
            pack.GetProductQuantity(entry.product);
            catalog.GetProductMountCode(packs.GetMountType(), entry.product);
        }
    }
    packs.HasMountPrices(packs.GetMountType());
    for (const auto& [id, product] : catalog.GetElements()) {
        product->GetServicePrice(packs.GetServiceType(), packs);
        catalog.GetRelativeMountPrice(packs.GetMountType(), product->GetMntSize(), false);
    }
    if (catalog.GetCount() != std::size(products))
        std::abort();
}

std::string Written(const PacksCollection& packs)
{
    std::ostringstream out;
    packs.WriteCsv(out);
    return out.str();
}

std::string Reread(const std::string& file)
{
    PacksCollection packs;
    std::istringstream in(file);
    if (ReadPackTemplate(in, packs) != PackTemplateStatus::read)
        std::abort();
    return Written(packs);
}

void StoreAndLoad(const PacksCollection& packs, PacksCollection& loaded)
{
    win::Archive archive;
    packs.Store(archive);
    win::Archive stored(archive.Bytes());
    loaded.Load(stored);
    if (stored.Remaining() != 0)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LoadCatalogue();
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    PacksCollection packs;
    if (ReadPackTemplate(in, packs) == PackTemplateStatus::read) {
        if (packs.GetPackCount() > PacksCollection::maxPacks)
            std::abort();
        Exercise(packs);
        // Written once, the template reads back to the same text.
        const std::string once = Reread(Written(packs));
        if (Reread(once) != once)
            std::abort();
        // Stored and loaded twice, the archive form gives the same packs (the first pass drops
        // what a text holds after a NUL byte, as archives do).
        SavedDataVersion = CurrentDataVersion;
        PacksCollection loaded;
        StoreAndLoad(packs, loaded);
        PacksCollection again;
        StoreAndLoad(loaded, again);
        if (Written(again) != Written(loaded))
            std::abort();
    }
    ResetSavedDataVersion();
    return 0;
}
