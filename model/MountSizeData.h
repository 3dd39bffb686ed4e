// One mount size of the mount price table: its name and, for every mount type t, a price and a
// code (entry t of each list).
#pragma once

#include "model/CsvCursor.h"
#include "model/Money.h"
#include "model/TypedLists.h"
#include "records/DatabaseRecord.h"

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

class MountSizeData : public Archivable, public DatabaseRecord {
public:
    enum FieldId : uint16_t { fieldName, fieldPrices, fieldCodes, fieldCount };
    static constexpr int32_t noCode = -1;

    MountSizeData() = default;
    MountSizeData(const MountSizeData&) = delete;
    MountSizeData& operator=(const MountSizeData&) = delete;

    const std::string& GetName() const { return name_; }
    // Price t, or 0 when the size has no price for mount type t.
    Money GetPrice(uint32_t mountType) const;
    // Code t, or noCode when the size has no code for mount type t.
    int32_t GetCode(uint32_t mountType) const;
    const MoneyList& GetPrices() const { return prices_; }
    const IntList& GetCodes() const { return codes_; }
    // Whether another record owns this one.
    bool HasOtherOwner() const { return GetOwner() != this; }

    // Appends one mount type's price and code; notifies a change when the size is its own owner.
    void AddTypeEntry(const Money& price, int32_t code);
    // Copies the name, prices and codes (nothing when other is this size).
    void CopyFrom(const MountSizeData& other);

    // One size row of the mounts section with typeCount mount types: name, row index, the prices,
    // an empty field, the codes. False when the stream has ended or the name is empty (that row
    // ends the section; only its first field has been read). Fields the file lacks give price 0
    // and code noCode, so that the size holds one of each per mount type. The caller skips the
    // rest of the row.
    bool ReadCsv(CsvCursor& in, uint32_t typeCount);
    void WriteCsv(std::ostream& out, uint32_t index) const;

    // Record forms.
    std::string Describe() const override;
    void MarkAllFieldsModified() override;
    void WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator) override;
    uint8_t ReadFields(std::istream& in) override;
    DatabaseRecord* Clone(DatabaseRecord& target) const override;
    std::unique_ptr<DatabaseRecord> Clone() const override;
    void Store(win::Archive& archive) const override;
    // The framework entry point reads by SavedDataVersion.
    void Load(win::Archive& archive) override;
    void Load(win::Archive& archive, const ReadContext& context);

private:
    std::string name_;
    MoneyList prices_;
    IntList codes_;
};
