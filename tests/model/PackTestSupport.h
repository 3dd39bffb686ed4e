// A small catalogue for the pack tests, loaded into GlobalProductCatalog, and printable forms of
// packs and collections for comparisons.
#pragma once

#include "CatalogTestSupport.h"
#include "model/PacksCollection.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>

namespace packtest {

// Product IDs of the test catalogue.
enum : uint32_t {
    portrait = 1, // "7x5"
    group = 2, // "G10x8", a group product
    mounted = 3, // "M10x8", one mount of size 1
    combi = 4, // "Combi"
    saEImage = 5, // "SA EImage"
    eImage = 6, // "EImage"
    keyring = 7, // "2Keyring"
    portCapSep = 9, // "Cap"
    landCapSep = 10, // "LCap"
    compos = 11, // "Comp"
    standalone = 12, // "Alone"
    mountedGroup = 13, // "MG12x8", a group product of mount size 2, which the table lacks
    special = 37, // "Special", an ID the pack queries treat apart
};

struct ProductSpec {
    uint32_t id;
    const char* shortName;
    void (*adjust)(ProductFields&) = nullptr;
};

inline void AddGlobalProduct(const ProductSpec& spec)
{
    auto product = std::make_shared<ProductDetails>();
    ProductFields fields = product->GetFields();
    fields.ID = spec.id;
    fields.Short = spec.shortName;
    fields.Long = std::string("product ") + spec.shortName;
    if (spec.adjust)
        spec.adjust(fields);
    product->SetFields(fields);
    GlobalProductCatalog().AddProduct(product);
}

// Mount sizes "7x5" (index 0) and "10x8" (index 1) with prices for the mount types 0, 1 and 2;
// type 2 has no price for 7x5.
inline constexpr const char* testMounts
    = "Mount Type,ID,\"0\",\"1\",\"2\",,\r\n"
      "Mount Description,,\"Card\",\"Folder\",\"Frame\",,\r\n"
      "\"7x5\",\"0\",\"2.50\",\"3.50\",\"0.00\",,\"101\",\"201\",\"301\",,\r\n"
      "\"10x8\",\"1\",\"3.50\",\"4.50\",\"18.00\",,\"102\",\"202\",\"302\",,\r\n";

inline void LoadTestCatalogue()
{
    for (const ProductSpec& spec : std::initializer_list<ProductSpec> {
             { portrait, "7x5" },
             { group, "G10x8", [](ProductFields& f) { f.Group = true; } },
             { mounted, "M10x8",
                 [](ProductFields& f) {
                     f.Mounts = 1;
                     f.MntSize = 1;
                 } },
             { combi, "Combi" },
             { saEImage, "SA EImage" },
             { eImage, "EImage" },
             { keyring, "2Keyring" },
             { portCapSep, "Cap", [](ProductFields& f) { f.PortCapSep = true; } },
             { landCapSep, "LCap", [](ProductFields& f) { f.LandCapSep = true; } },
             { compos, "Comp", [](ProductFields& f) { f.Compos = true; } },
             { standalone, "Alone", [](ProductFields& f) { f.SAlone = true; } },
             { mountedGroup, "MG12x8",
                 [](ProductFields& f) {
                     f.Group = true;
                     f.Mounts = 2;
                     f.MntSize = 2;
                 } },
             { special, "Special" },
         })
        AddGlobalProduct(spec);
    std::istringstream mounts(testMounts);
    GlobalProductCatalog().GetMountData().ReadCsv(mounts);
}

inline std::string Dump(const PackProduct& entry)
{
    std::ostringstream out;
    out << "[" << entry.product << " x" << entry.quantity << (entry.M ? " M" : "") << (entry.MT ? " MT" : "")
        << "]";
    return out.str();
}

inline std::string Dump(const PackDetails& pack)
{
    std::string text = AllFields(pack.GetFields(), PackFieldTable);
    for (const PackProduct& entry : pack.GetProducts())
        text += Dump(entry);
    return text;
}

inline std::string Dump(const PacksCollection& packs)
{
    std::ostringstream out;
    out << "mount=" << packs.GetMountType() << " service=" << packs.GetServiceType() << "\n";
    for (const auto& pack : packs.GetPacks())
        out << Dump(*pack) << "\n";
    return out.str();
}

inline std::shared_ptr<PackDetails> MakePack(
    const std::string& description, int32_t price, std::initializer_list<PackProduct> entries)
{
    auto pack = std::make_shared<PackDetails>();
    pack->SetLongDescription(description);
    pack->SetShortDescription(description);
    pack->SetPrice(price);
    for (const PackProduct& entry : entries)
        pack->AddProduct(entry);
    return pack;
}

// The fixture: the test catalogue in GlobalProductCatalog, SavedDataVersion at its start value.
class PackFixture : public CatalogFixture {
protected:
    void SetUp() override
    {
        CatalogFixture::SetUp();
        LoadTestCatalogue();
    }
};

} // namespace packtest
