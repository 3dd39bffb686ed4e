// Writes the seed corpus of the model_catalogrecords fuzz target: a catalogue (two products, a
// mount table of two types and two sizes) and a pack collection (two packs, one of them a "Combi"
// reference), each as record messages (adding and removing children, setting fields) and as
// archives. The first byte of a seed picks the reader as the target does: bit 0 packs, bit 1
// archive, the rest the data version (0 the current one).
//   g++ -std=c++20 -fsanitize=address,undefined -I . fuzz/generators/model_catalogrecords_seeds.cpp \
//     build/debug/libmodel.a build/debug/librecords.a build/debug/libwin.a -o build/catalogrecords-seeds
//   build/catalogrecords-seeds fuzz/corpus/model_catalogrecords
#include "model/PacksCollection.h"
#include "model/ProductCatalog.h"
#include "platform/win/Archive.h"
#include "records/DataVersion.h"

#include <fstream>
#include <sstream>
#include <string>

namespace {

enum Seed : char { catalogueMessages = 0, packMessages = 1, catalogueArchive = 2, packArchive = 3 };
// The target's version index (its table of versions) goes in the bits above the first two.
constexpr char AtVersion(Seed seed, int versionIndex)
{
    return static_cast<char>(seed + 4 * versionIndex);
}

void Write(const std::string& folder, const std::string& name, char selector, const std::string& bytes)
{
    std::ofstream(folder + "/" + name, std::ios::binary) << selector << bytes;
}

std::string Le32(uint32_t value)
{
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8)
        bytes += static_cast<char>(value >> shift & 0xFF);
    return bytes;
}

// A child record's header: the operation (0 add, 1 remove), the record type and the id.
std::string Child(char operation, RecordType type, uint32_t id)
{
    return std::string { operation, static_cast<char>(type) } + Le32(id);
}

// A record's own message: the fields operation, every field and the terminator.
std::string Fields(DatabaseRecord& record)
{
    std::ostringstream out;
    out.put(2);
    record.MarkAllFieldsModified();
    record.WriteFields(false, out, true);
    return out.str();
}

template <typename Record> std::string Stored(const Record& record)
{
    win::Archive archive;
    record.Store(archive);
    return archive.Bytes();
}

std::shared_ptr<ProductDetails> Product(uint32_t id, const char* shortName, int32_t mounts)
{
    auto product = std::make_shared<ProductDetails>();
    ProductFields fields = product->GetFields();
    fields.ID = id;
    fields.Long = std::string("Product ") + shortName;
    fields.Medium = shortName;
    fields.Short = shortName;
    fields.Mounts = mounts;
    fields.MntSize = 1;
    fields.Full = Money(1250);
    fields.Data = Money(900);
    fields.PricePercent = 50;
    fields.IncDis = true;
    fields.Discnt = true;
    product->SetFields(fields);
    return product;
}

void FillCatalogue(ProductCatalog& catalog)
{
    CatalogSettings settings = catalog.GetSettings();
    settings.Name = "Seed studio";
    catalog.SetSettings(settings);
    catalog.AddProduct(Product(1, "7x5", 0));
    catalog.AddProduct(Product(3, "M10x8", 2));
    std::istringstream mounts("Mount Type,ID,\"0\",\"1\",,\r\n"
                              "Mount Description,,\"Card\",\"Folder\",,\r\n"
                              "\"7x5\",\"0\",\"2.50\",\"3.50\",,\"101\",\"201\",,\r\n"
                              "\"10x8\",\"1\",\"3.50\",\"4.50\",,\"102\",\"202\",,\r\n");
    catalog.GetMountData().ReadCsv(mounts);
}

std::string CatalogueMessages(ProductCatalog& catalog)
{
    MountData& mounts = catalog.GetMountData();
    std::string bytes = Fields(catalog) + Child(0, RecordType::ctMountData, 5) + Fields(mounts);
    for (const auto& size : mounts.GetSizes())
        bytes += Child(0, RecordType::ctMountData, 5) + Child(0, RecordType::ctMountSizeData, 6)
            + Fields(*size);
    for (const auto& [id, product] : catalog.GetElements())
        bytes += Child(0, RecordType::ctProductDetails, 7 + id) + Fields(*product);
    return bytes + Child(1, RecordType::ctProductDetails, 0);
}

void FillPacks(PacksCollection& packs)
{
    packs.SetMountType(1);
    packs.SetServiceType(2);
    auto first = std::make_shared<PackDetails>();
    first->SetLongDescription("Pack A");
    first->SetPrice(1500);
    first->AddProduct({ 1, 2, false, false });
    first->AddProduct({ 3, 1, true, true });
    packs.AddPack(first);
    auto combi = std::make_shared<PackDetails>();
    combi->SetLongDescription("Pack B nomount");
    combi->SetPrice(2500);
    combi->AddProduct({ 32, 0, false, true });
    combi->AddProduct({ 2, 1, false, false });
    packs.AddPack(combi);
}

std::string PackMessages(PacksCollection& packs)
{
    std::string bytes = Fields(packs);
    for (const auto& pack : packs.GetPacks())
        bytes += Child(0, RecordType::ctPackDetails, 9) + Fields(*pack);
    return bytes + Child(1, RecordType::ctPackDetails, 0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const std::string folder = argv[1];
    SavedDataVersion = CurrentDataVersion;
    ProductCatalog catalog;
    FillCatalogue(catalog);
    const std::string catalogueArchived = Stored(catalog);
    Write(folder, "catalogue-messages", catalogueMessages, CatalogueMessages(catalog));
    Write(folder, "catalogue-archive", catalogueArchive, catalogueArchived);
    Write(folder, "catalogue-archive-2.038", AtVersion(catalogueArchive, 7), catalogueArchived);
    PacksCollection packs;
    FillPacks(packs);
    const std::string packsArchived = Stored(packs);
    Write(folder, "packs-messages", packMessages, PackMessages(packs));
    Write(folder, "packs-archive", packArchive, packsArchived);
    Write(folder, "packs-archive-1.7", AtVersion(packArchive, 11), packsArchived);
    return 0;
}
