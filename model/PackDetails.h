// A pack: a priced bundle of catalogue products offered with a proof. A long and a short
// description, a price, six flags (declared once in PackFieldTable, which drives the template
// columns, the archive form, the record messages, the defaults and the copies) and the product
// entries.
#pragma once

#include "model/CsvCursor.h"
#include "model/FieldTable.h"
#include "model/Money.h"
#include "model/PackProduct.h"
#include "records/DatabaseRecord.h"
#include "records/ReadContext.h"

#include <array>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

// Marks an unmounted pack in the short description of old templates and archives (any case).
inline constexpr char NoMountMarker[] = "nomount";

// The pack's own fields besides its entries, in field-id order (ids 1 to 9), which is also the
// order of the pack template's columns.
struct PackFields {
    std::string LongDescription; // drawn on the proof sheet
    std::string ShortDescription;
    Money Price;
    bool NoPrintForm {}; // the pack is not drawn on the proof sheet
    bool NoPrintWeb {};
    bool NoPandP {};
    bool AddOn {};
    bool NoQtyDiscount {};
    bool ImageMixin {};
};

using PackField = FieldRow<PackFields>;
inline constexpr std::size_t packFieldRows = 9;
extern const std::array<PackField, packFieldRows> PackFieldTable;

class PackDetails : public Archivable, public DatabaseRecord {
public:
    using Products = std::vector<PackProduct>;
    // Field 0 is the entry list; 1 to 9 are the rows of PackFieldTable.
    enum FieldId : uint16_t { fieldProducts = 0, fieldCount = 10 };
    // Entries a pack template row holds at most.
    static constexpr std::size_t templateSlots = 10;

    PackDetails();
    PackDetails(const PackDetails&) = delete;
    PackDetails& operator=(const PackDetails&) = delete;

    const PackFields& GetFields() const { return fields_; }
    const Products& GetProducts() const { return products_; }

    const std::string& GetLongDescription() const { return fields_.LongDescription; }
    const std::string& GetShortDescription() const { return fields_.ShortDescription; }
    // Each stores the text with its trailing white space removed and every run of blanks made
    // one blank.
    void SetLongDescription(const std::string& text);
    void SetShortDescription(const std::string& text);
    Money GetPrice() const { return fields_.Price; }
    void SetPrice(int32_t hundredths) { fields_.Price = Money(hundredths); }

    // The flags; the setters change no modified bit.
    bool GetNoPrintForm() const { return fields_.NoPrintForm; }
    bool GetNoPrintWeb() const { return fields_.NoPrintWeb; }
    bool GetNoPandP() const { return fields_.NoPandP; }
    bool GetAddOn() const { return fields_.AddOn; }
    bool GetNoQtyDiscount() const { return fields_.NoQtyDiscount; }
    bool GetImageMixin() const { return fields_.ImageMixin; }
    void SetNoPrintForm(bool flag) { fields_.NoPrintForm = flag; }
    void SetNoPrintWeb(bool flag) { fields_.NoPrintWeb = flag; }
    void SetNoPandP(bool flag) { fields_.NoPandP = flag; }
    void SetAddOn(bool flag) { fields_.AddOn = flag; }
    void SetNoQtyDiscount(bool flag) { fields_.NoQtyDiscount = flag; }
    void SetImageMixin(bool flag) { fields_.ImageMixin = flag; }

    // Appends an entry and marks the entry list modified.
    void AddProduct(const PackProduct& entry);
    // Takes the other pack's descriptions (through the setters), price, flags and entries; the
    // record identity stays. Nothing happens when other is this pack.
    void CopyFrom(const PackDetails& other);

    // Queries over the entries' products in GlobalProductCatalog (a product the catalogue lacks
    // has no flags and no mounts).
    bool HasGroupProduct() const;
    bool HasPortCapSepProduct() const;
    bool HasLandCapSepProduct() const;
    bool HasComposProduct() const;
    bool HasStandaloneProduct() const;
    // Some entry's product has one of the IDs 37, 42, 67 and 80.
    bool HasSpecialIdProduct() const;
    bool HasProduct(uint32_t productId) const;
    // The quantities of every entry for the product added up (at most 0xFFFFFFFF).
    uint32_t GetProductQuantity(uint32_t productId) const;
    // False when a mounted entry (MT set, quantity above 0) names a product with mounts whose
    // mount price for the mount type is not above zero; true otherwise, and for an empty pack.
    bool HasMountPrices(uint32_t mountType) const;

    // Appends to text a line (ending CR LF) for every difference between this pack (the old
    // version) and newPack: descriptions, price, flags, the entries compared by position, then
    // the entries deleted and added at the end. With skipPostage nothing is reported for a pack
    // whose long description is "Postage and Packing" or "Late Order Fee". True when a line was
    // appended.
    bool ReportChanges(const PackDetails& newPack, std::string& text, bool skipPostage) const;
    // Whether skipPostage leaves this pack out of a change report.
    bool IsPostageOrLateFee() const;

    // Columns 4 on of a pack template row, those the row's version carries: descriptions (as
    // they stand), price, flags and the 8 or 10 product slots. Always true.
    bool ReadCsv(CsvCursor& in, const ReadContext& context);
    // The descriptions, price, six flags and ten slots (",,,," for each beyond the entries), each
    // after a comma; entries beyond the tenth are not written.
    void WriteCsv(std::ostream& out) const;

    // Record forms.
    std::string Describe() const override;
    void MarkAllFieldsModified() override;
    void WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator) override;
    uint8_t ReadFields(std::istream& in) override;
    // Copies the entries, descriptions, price and flags into a pack.
    DatabaseRecord* Clone(DatabaseRecord& target) const override;
    std::unique_ptr<DatabaseRecord> Clone() const override;
    void Store(win::Archive& archive) const override;
    // Loads at the version the caller set in SavedDataVersion.
    void Load(win::Archive& archive) override;
    void Load(win::Archive& archive, const ReadContext& context);

private:
    bool AnyProduct(const std::function<bool(const ProductDetails&)>& test) const;
    bool HasNoMountMarker() const;
    void ReadDispatchProducts(std::istream& in);
    void LoadProducts(win::Archive& archive, const ReadContext& context);

    PackFields fields_;
    Products products_;
};
