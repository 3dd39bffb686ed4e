// Fuzzes the record-message readers and the archive loaders of the catalogue (with its products
// and mount table) and of the pack collection (with its packs). The first byte picks the reader
// and, for an archive, the data version; the rest is the input. Any read may throw its documented
// error; nothing may crash, hang, overflow or allocate without bound; what was read must answer
// the lookups and price an order, and stored and loaded twice it must give the same archive.
#include "fuzz/RecordMessages.h"
#include "model/PacksCollection.h"
#include "model/ProductCatalog.h"
#include "platform/win/Archive.h"
#include "records/DataVersion.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

namespace {

// Versions on either side of the archive thresholds of the four records.
const double versions[]
    = { CurrentDataVersion, 2.452, 2.4, 2.39, 2.35, 2.1, 2.05, 2.038, 2.029, 2.02, 1.85, 1.7, 1.5, 1.0 };

// A few products for the packs to name: a group product, a mounted one and a "Combi".
void LoadPackCatalogue()
{
    struct Spec {
        uint32_t id;
        const char* shortName;
        bool group;
        int32_t mounts;
    };
    for (const Spec& spec : { Spec { 1, "7x5", false, 0 }, Spec { 2, "G10x8", true, 0 },
             Spec { 3, "M10x8", false, 2 }, Spec { 32, "Combi", false, 0 } }) {
        auto product = std::make_shared<ProductDetails>();
        ProductFields fields = product->GetFields();
        fields.ID = spec.id;
        fields.Short = spec.shortName;
        fields.Group = spec.group;
        fields.Mounts = spec.mounts;
        fields.MntSize = spec.id % 2;
        fields.Full = Money(400);
        fields.IncDis = true;
        fields.Discnt = true;
        product->SetFields(fields);
        GlobalProductCatalog().AddProduct(product);
    }
    std::istringstream mounts("Mount Type,ID,\"0\",\"1\",,\r\n"
                              "Mount Description,,\"Card\",\"Folder\",,\r\n"
                              "\"7x5\",\"0\",\"2.50\",\"3.50\",,\"101\",\"201\",,\r\n"
                              "\"10x8\",\"1\",\"3.50\",\"4.50\",,\"102\",\"202\",,\r\n");
    GlobalProductCatalog().GetMountData().ReadCsv(mounts);
}

template <typename Record> void LoadArchive(Record& record, const std::string& bytes, double version)
{
    SavedDataVersion = version;
    try {
        win::Archive archive(bytes);
        record.Load(archive, ReadContext { version });
    } catch (const win::ArchiveException&) {
    }
}

template <typename Record> std::string Stored(const Record& record)
{
    win::Archive archive;
    record.Store(archive);
    return archive.Bytes();
}

// The record's archive, loaded into a fresh record at the current version and stored again.
template <typename Record> std::string Restored(const std::string& stored)
{
    Record record;
    win::Archive archive(stored);
    record.Load(archive, ReadContext { CurrentDataVersion });
    if (archive.Remaining() != 0)
        std::abort();
    return Stored(record);
}

// Stored and loaded twice, a record gives the same archive (the first pass drops what a text
// holds after a NUL byte, as archives do).
template <typename Record> void CheckStoredForm(Record& record)
{
    const std::string once = Restored<Record>(Stored(record));
    if (Restored<Record>(once) != once)
        std::abort();
    std::ostringstream message;
    record.MarkAllFieldsModified();
    record.WriteFields(false, message, true);
    record.Describe();
}

void Exercise(const ProductCatalog& catalog, const PacksCollection& packs)
{
    OrderSummary summary;
    const MountData& mounts = catalog.GetMountData();
    for (const auto& [id, product] : catalog.GetElements()) {
        catalog.FindIdByShortName(product->GetShort());
        catalog.GetProductMountCode(packs.GetMountType(), id);
        catalog.GetRelativeMountPrice(packs.GetMountType(), product->GetMntSize(), false);
        mounts.GetMountDescription(product->GetMntSize());
        product->GetServicePrice(packs.GetServiceType(), packs);
        summary["all"][id] = { id, product->GetOrder(), product->GetFields().Inches, 1, 2 };
    }
    for (std::size_t i = 0; i < packs.GetPackCount(); ++i) {
        packs.PackHasGroupProduct(i);
        packs.AddPackToOrderSummary(summary["packs"], i % 2 == 1, i, 3, MountedFilter::all, GroupFilter::all);
    }
    packs.HasMountPrices(packs.GetMountType());
    std::map<uint32_t, int32_t> totals;
    uint32_t count = 0;
    catalog.GetQuantityDiscountPercent(summary, count);
    catalog.GetNonStandaloneSurcharge(summary);
    catalog.PriceOrder(summary, totals, packs.GetServiceType(), packs.GetMountType(), packs);
    OrderSummaryList list;
    SummariseOrderByProduct(summary, list);
    std::ostringstream out;
    catalog.WriteCsv(out);
    packs.WriteCsv(out);
}

void FuzzCatalogue(const std::string& bytes, bool archive, double version)
{
    ProductCatalog catalog;
    if (archive)
        LoadArchive(catalog, bytes, version);
    else
        fuzzing::ReadMessages(catalog, bytes);
    CheckStoredForm(catalog);
    Exercise(catalog, PacksCollection());
}

void FuzzPacks(const std::string& bytes, bool archive, double version)
{
    LoadPackCatalogue();
    PacksCollection packs;
    if (archive)
        LoadArchive(packs, bytes, version);
    else
        fuzzing::ReadMessages(packs, bytes);
    CheckStoredForm(packs);
    Exercise(GlobalProductCatalog(), packs);
    if (GlobalProductCatalog().GetCount() != 4)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const bool archive = data[0] % 4 >= 2;
    const double version = versions[data[0] / 4 % std::size(versions)];
    ResetGlobalProductCatalog();
    if (data[0] % 2 == 0)
        FuzzCatalogue(bytes, archive, version);
    else
        FuzzPacks(bytes, archive, version);
    ResetSavedDataVersion();
    return 0;
}
