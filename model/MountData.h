// The mount price table of the product catalogue: a list of mount types, each with a description,
// and a list of mount sizes, each with a price and a code per mount type.
//
// A mount type that is a multiple of ten (0 included) names type t / 10 in the table's lookups.
#pragma once

#include "model/MountSizeData.h"
#include "model/TypedLists.h"
#include "records/DatabaseRecord.h"

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

// A mount type as the table's lookups take it: a multiple of ten becomes itself divided by ten,
// once (10 gives 1, 100 gives 10, 0 stays 0, 7 stays 7).
uint32_t NormalMountType(uint32_t mountType);

class MountData : public Archivable, public DatabaseRecord {
public:
    enum FieldId : uint16_t { fieldDescriptions, fieldCount };
    using Sizes = std::vector<std::shared_ptr<MountSizeData>>;

    MountData() = default;
    MountData(const MountData&) = delete;
    MountData& operator=(const MountData&) = delete;

    // Lookups, after the mount type's normalisation: the code of type t in size s, or noCode when
    // the table has no such type, size or code; the description of type t, or an empty text.
    int32_t GetCode(uint32_t mountType, uint32_t sizeIndex) const;
    std::string GetMountDescription(uint32_t mountType) const;

    const StringList& GetDescriptions() const { return descriptions_; }
    const Sizes& GetSizes() const { return sizes_; }
    std::size_t GetTypeCount() const { return descriptions_.size(); }
    std::size_t GetSizeCount() const { return sizes_.size(); }

    // Appends a mount type and gives each size its price and code from the lists (entry i for
    // size i); a size beyond the end of a list gets price 0 and code noCode.
    void AddMountType(const std::string& description, const MoneyList& prices, IntList codes);
    // Appends a copy of source; with notify the ChildAdded hook is told.
    void AddMountSize(const MountSizeData& source, bool notify);
    // The descriptions and copies of every size (nothing when other is this table).
    void CopyFrom(const MountData& other);

    // The text that starts the mounts section of the catalogue file.
    static constexpr const char* csvHeading = "Mount Type";
    // Whether a whole field is that heading, in any letter case.
    static bool IsCsvHeading(const std::string& field);

    // The mounts section of the catalogue file, from the line holding "Mount Type" (any letter
    // case) on. Replaces the whole table; always true.
    bool ReadCsv(std::istream& in);
    // The same through the catalogue's cursor. With headingRead the cursor has just read the
    // heading as a field (a product list ended by it) and the section goes on from there;
    // otherwise the heading is sought first. Whether the section's heading was there.
    bool ReadCsvSection(CsvCursor& in, bool headingRead);
    void WriteCsv(std::ostream& out) const;

    // Record forms. Sizes are child records: messages add and remove them, Clone leaves them.
    std::string Describe() const override;
    void MarkAllFieldsModified() override;
    void WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator) override;
    uint8_t ReadFields(std::istream& in) override;
    DatabaseRecord* Clone(DatabaseRecord& target) const override;
    std::unique_ptr<DatabaseRecord> Clone() const override;
    bool Traverse(TraverseAction& action) override;
    void Store(win::Archive& archive) const override;
    // The framework entry point reads by SavedDataVersion.
    void Load(win::Archive& archive) override;
    void Load(win::Archive& archive, const ReadContext& context);

private:
    // The description line and the size rows, after the heading's line.
    void ReadCsvTypesAndSizes(CsvCursor& in);

    StringList descriptions_;
    Sizes sizes_;
};
