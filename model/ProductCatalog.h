// The product catalogue: the products keyed by ID, the studio-wide pricing settings and the mount
// price table. One program-wide catalogue, GlobalProductCatalog, is filled from ProductCatalog.csv
// at start-up; pack templates resolve their products in it.
#pragma once

#include "model/AddStringTarget.h"
#include "model/ExtensibleStdMap.h"
#include "model/FieldTable.h"
#include "model/Money.h"
#include "model/MountData.h"
#include "model/OrderSummary.h"
#include "model/ProductDetails.h"
#include "records/DatabaseRecord.h"

#include <array>
#include <cstdint>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>

// The catalogue's own fields. A CatalogSettings of its own holds zeros and an empty name; a
// catalogue's defaults are those of CatalogSettingsTable.
struct CatalogSettings {
    std::string Name;
    double Discount {}; // first step of the quantity discount, percent
    double DiscRed {}; // reduction of each further step, percent points
    uint32_t MaxDiscProds {}; // most products counted for the quantity discount
    Money CustomReorder;
    Money CatalogReorder;
    Money MinOrder;
    Money RetouchCharge;
    double NonCrpSurcharge {};
    Money NonStandaloneSurcharge; // added to an order without a standalone product
    Money HardbackCharge;
    double VatRate {};
    Money OverseasSurcharge;
};

using CatalogSetting = FieldRow<CatalogSettings>;
inline constexpr std::size_t catalogSettingCount = 13;
// The name, then the twelve settings in the order of the file's line 1 (each after its key).
extern const std::array<CatalogSetting, catalogSettingCount> CatalogSettingsTable;

class ProductCatalog : public Archivable,
                       public DatabaseRecord,
                       public ExtensibleStdMap<uint32_t, std::shared_ptr<ProductDetails>> {
public:
    static constexpr uint16_t fieldCount = catalogSettingCount;
    // What the name lookups give when no product has the name.
    static constexpr uint32_t noProductId = 0xFFFFFFFF;

    // The defaults, no products, an empty mount table.
    ProductCatalog();
    // The settings, a copy of the mount table and a copy of every product; the record identity
    // is not copied. Assignment replaces the target's products.
    ProductCatalog(const ProductCatalog& other);
    ProductCatalog& operator=(const ProductCatalog& other);

    const CatalogSettings& GetSettings() const { return settings_; }
    const std::string& GetName() const { return settings_.Name; }
    // Replaces the name and every setting and marks them all modified.
    void SetSettings(const CatalogSettings& settings);
    const MountData& GetMountData() const { return mounts_; }
    MountData& GetMountData() { return mounts_; }

    // The product with the ID, or nullptr.
    std::shared_ptr<ProductDetails> FindProduct(uint32_t id) const { return Find(id); }
    // Inserts the product under its ID; false, with the first product kept, when the ID is taken.
    bool AddProduct(std::shared_ptr<ProductDetails> product);

    // The ID of the first product in ID order whose name equals text exactly (letter case
    // counts), or noProductId. Short: "Keyring" is sought as "2Keyring" and "PxP" as "PandP".
    // Medium: "Keyring" as "2 Keyring" and "Post&Pack" as "P and P". Long: "Postage & Packing"
    // as "Postage and Packing".
    uint32_t FindIdByShortName(const std::string& text) const;
    uint32_t FindIdByMediumName(const std::string& text) const;
    uint32_t FindIdByLongName(const std::string& text) const;

    // Mount prices. The price of mount size sizeIndex for the mount type (a multiple of ten
    // names type / 10); 0 for a size the table lacks.
    Money GetMountPrice(uint32_t mountType, uint32_t sizeIndex) const;
    // What the mount type adds to a size's price over mount type 1, the price of an unmounted
    // item being minus type 1's price: for unmounted or a mount type that is a multiple of ten
    // (0 included) minus the type 1 price, otherwise the type's price minus the type 1 price (the
    // mount type taken as it is). A size the table lacks has every price 0.
    Money GetRelativeMountPrice(uint32_t mountType, uint32_t sizeIndex, bool unmounted) const;
    // The mount code of the product's size for the mount type, or MountSizeData::noCode (-1)
    // when the catalogue does not hold the product or the table has no such code.
    int32_t GetProductMountCode(uint32_t mountType, uint32_t productId) const;

    // Order pricing. The quantity discount in percent: the items of the products with IncDis
    // set are counted, key by key and product by product, until "max disc prods" is reached
    // (the entry that reaches it counts in full); count is that number, at most "max disc
    // prods". The first item earns nothing, each further one a step of "discount" less "disc
    // red" for every step before it.
    double GetQuantityDiscountPercent(const OrderSummary& summary, uint32_t& count) const;
    // The "non standalone surcharge", unless the order holds a standalone product other than 74.
    Money GetNonStandaloneSurcharge(const OrderSummary& summary) const;
    // The price of an order for a service type and mount type, the service prices taken with
    // packs: every product at its service price and relative mount price, discounted when its
    // Discnt is set; a product with a NonSAProductID has its first item at its own price and
    // the others at that product's; at full service, with a mount type that is not a multiple
    // of ten, an order of mountable products without any mount adds the "hardback charge".
    // Adds each product's items to totals. Amounts and counts saturate instead of overflowing.
    Money PriceOrder(const OrderSummary& summary, std::map<uint32_t, int32_t>& totals, int32_t serviceType,
        uint32_t mountType, const PacksCollection& packs) const;

    // Adds each product's medium name    // Adds each product's medium name in ascending Order (equal Orders
    // in ID order), leaving out the discontinued ones when skipDiscontinued is set.
    void FillProductCombo(AddStringTarget& combo, bool skipDiscontinued) const;

    // Takes from GlobalProductCatalog the products this catalogue lacks, the mount types beyond
    // its own and the mount sizes beyond its own. Does nothing on GlobalProductCatalog itself.
    void MergeFromGlobal();

    // The rest of the catalogue file after its first two fields (the version, which the context
    // holds, and the word): the settings, the products and the mounts section. False only when
    // the stream was not good at the start; otherwise whatever it found is taken. Without a
    // context it reads by SavedDataVersion, which the reader of the first fields has set.
    bool ReadCsv(std::istream& in, const ReadContext& context);
    bool ReadCsv(std::istream& in);
    // The same, also telling whether the file held the mounts section's heading: a file that
    // lacks it has been cut short (the writer always writes the heading).
    bool ReadCsv(std::istream& in, const ReadContext& context, bool& mountsFound);
    // The whole file, at the current data version, with CR LF line ends.
    void WriteCsv(std::ostream& out) const;
    // "ProductID,LongName,MediumName,ShortName", then one line per product.
    void WriteProductListCsv(std::ostream& out) const;

    // Record forms. Products and the mount table are child records: messages add and remove
    // products and reach the table; Clone copies the settings only.
    std::string Describe() const override;
    void MarkAllFieldsModified() override;
    void WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator) override;
    uint8_t ReadFields(std::istream& in) override;
    DatabaseRecord* Clone(DatabaseRecord& target) const override;
    std::unique_ptr<DatabaseRecord> Clone() const override;
    // Applies the action to the catalogue and, when it answers true, to its products in ID order
    // while each answers true.
    bool Traverse(TraverseAction& action) override;
    void Store(win::Archive& archive) const override;
    // The framework entry point reads by SavedDataVersion.
    void Load(win::Archive& archive) override;
    void Load(win::Archive& archive, const ReadContext& context);

private:
    // The price of size sizeIndex for the mount type as given, 0 when the table lacks either.
    Money GetSizePrice(uint32_t mountType, uint32_t sizeIndex) const;
    void CopySettings(const CatalogSettings& from);
    void CopyProducts(const ProductCatalog& other);
    uint32_t FindIdByName(std::string ProductFields::*name, const std::string& text) const;
    void MergeMountsFromGlobal(const MountData& global);
    // Products of old archives saved without prices take the global catalogue's product.
    void RepairUnpricedProducts();

    CatalogSettings settings_;
    MountData mounts_;
};

// The one program-wide catalogue.
ProductCatalog& GlobalProductCatalog();
// Back to the defaults, without products or mounts (for tests).
void ResetGlobalProductCatalog();
