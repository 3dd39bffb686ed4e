// One product of the catalogue: three names, its ID number and position, a price for each of the
// three service types, a row of flags and print settings, and its mount information. The fields
// live in a plain struct, ProductFields, declared once in ProductFieldTable, which drives the CSV
// row, the archive form, the record messages, the defaults and the copies.
#pragma once

#include "model/CsvCursor.h"
#include "model/FieldTable.h"
#include "model/Money.h"
#include "records/DatabaseRecord.h"
#include "records/ReadContext.h"

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

class PacksCollection;

// Service types, numbered as the prices are chosen by them.
enum class ServiceType : uint32_t { returnOnly = 0, dataEntryAndReturn = 1, fullService = 2 };

// The product's own fields, named as the catalogue file's header names them ("S Alone" is SAlone).
// Column4Text, Column5Text, Column8Flag, Column32Value and Column33Value are kept, copied and
// exchanged without meaning of their own here. A ProductFields of its own holds zeros and empty
// texts; a product's defaults are those of ProductFieldTable.
struct ProductFields {
    std::string Long;
    std::string Medium;
    std::string Short;
    std::string Column4Text;
    std::string Column5Text;
    bool Discontinued {};
    uint32_t ID {};
    uint32_t Order {};
    Money Full; // price of a full-service order
    Money Data; // price of a data entry and return order
    Money Return; // price of a return-only order
    uint32_t Inches {};
    bool Group {};
    bool Special {};
    bool Large {};
    bool Small {};
    bool Browse {};
    bool Double {};
    bool Print {};
    bool PostSep {};
    bool PostPr {};
    bool PackFlag {};
    bool SepPackScan {};
    int32_t Mounts {};
    bool MountsPossible {};
    uint32_t MntSize {};
    bool PortCaptions {};
    bool LandCaptions {};
    bool PortCapSep {};
    bool LandCapSep {};
    uint32_t Column32Value {};
    uint32_t Column33Value {};
    bool Discnt {};
    bool IncDis {};
    bool Compos {};
    bool HotF {};
    bool SAlone {};
    int32_t PrintChannel {};
    int32_t DoublePrintChannel {};
    int32_t LCapPrintChannel {};
    int32_t PCapPrintChannel {};
    int32_t Width {};
    int32_t Height {};
    int32_t PrintMethod {};
    int32_t SpecPrintMethod {};
    bool SplitMono {};
    bool NoristuHF {};
    bool CanDoMono {};
    double PricePercent {};
    bool needsAddress {};
    bool PrintLabelOnScan {};
    uint32_t NonSAProductID {};
    int32_t NumMultiImages {};
    bool Column8Flag {};
};

using ProductField = FieldRow<ProductFields>;
inline constexpr std::size_t productFieldCount = 54;
// Every field, in the order of the catalogue file's columns.
extern const std::array<ProductField, productFieldCount> ProductFieldTable;

class ProductDetails : public Archivable, public DatabaseRecord {
public:
    static constexpr uint16_t fieldCount = productFieldCount;

    // The defaults of the field table.
    ProductDetails();
    // A new record holding a copy of other's fields.
    ProductDetails(const ProductDetails& other);
    // Copies all the fields; the record identity stays.
    ProductDetails& operator=(const ProductDetails& other);

    const ProductFields& GetFields() const { return fields_; }
    // Replaces every field and marks them all modified.
    void SetFields(const ProductFields& fields);

    const std::string& GetLong() const { return fields_.Long; }
    const std::string& GetMedium() const { return fields_.Medium; }
    const std::string& GetShort() const { return fields_.Short; }
    uint32_t GetID() const { return fields_.ID; }
    uint32_t GetOrder() const { return fields_.Order; }
    bool GetDiscontinued() const { return fields_.Discontinued; }
    bool GetDiscnt() const { return fields_.Discnt; }
    bool GetIncDis() const { return fields_.IncDis; }
    int32_t GetMounts() const { return fields_.Mounts; }
    uint32_t GetMntSize() const { return fields_.MntSize; }
    double GetPricePercent() const { return fields_.PricePercent; }
    uint32_t GetNonSAProductID() const { return fields_.NonSAProductID; }
    Money GetFull() const { return fields_.Full; }
    Money GetData() const { return fields_.Data; }
    Money GetReturn() const { return fields_.Return; }
    bool GetGroup() const { return fields_.Group; }
    bool GetPortCapSep() const { return fields_.PortCapSep; }
    bool GetLandCapSep() const { return fields_.LandCapSep; }
    bool GetCompos() const { return fields_.Compos; }
    bool GetSAlone() const { return fields_.SAlone; }
    // True for the IDs 37, 42, 67 and 80, which the pack queries treat apart.
    bool HasSpecialId() const;

    // The price for a service type (0, 1 or 2; any other number gives 0). At full service a
    // product with a PricePercent costs at least that percentage of the price of the first pack
    // of packs that holds it.
    Money GetServicePrice(int32_t serviceType, const PacksCollection& packs) const;
    // The same with the reference price given: Return, Data, or Full raised to the floor of
    // PricePercent of reference (each step rounded to whole hundredths).
    Money GetServicePriceFromReference(int32_t serviceType, const Money& reference) const;

    // One product row of the catalogue file: the columns its version carries, then whatever
    // the line holds after them. False, with only the first field read, when the stream has
    // ended, the long name is empty (the row that ends the product list) or it is the mounts
    // section's heading (MountData::csvHeading).
    bool ReadCsv(CsvCursor& in, const ReadContext& context);
    // All 54 columns, without a line end.
    void WriteCsv(std::ostream& out) const;

    // Record forms.
    std::string Describe() const override;
    void MarkAllFieldsModified() override;
    void WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator) override;
    uint8_t ReadFields(std::istream& in) override;
    DatabaseRecord* Clone(DatabaseRecord& target) const override;
    std::unique_ptr<DatabaseRecord> Clone() const override;
    // Every field but Special, in field-id order.
    void Store(win::Archive& archive) const override;
    // The framework entry point reads by SavedDataVersion.
    void Load(win::Archive& archive) override;
    void Load(win::Archive& archive, const ReadContext& context);

private:
    // Files and archives older than the SepPackScan flag: products 18 and 19 are scanned apart.
    void SetOldSepPackScan(const ReadContext& context);

    ProductFields fields_;
};
