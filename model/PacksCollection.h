// The pack template in memory: an ordered list of packs with the mount type and service type that
// go with them. The document owns one; the options dialog edits a working copy and copies it back.
#pragma once

#include "model/CsvCursor.h"
#include "model/FieldTable.h"
#include "model/Money.h"
#include "model/OrderSummary.h"
#include "model/PackDetails.h"
#include "records/DatabaseRecord.h"

#include <array>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The packs that AddPostageAndLateFeePacks adds are known by these long descriptions.
inline constexpr char PostageAndPackingName[] = "Postage and Packing";
inline constexpr char LateOrderFeeName[] = "Late Order Fee";

// The name of a service type: 0 "Return Only", 1 "Data Entry and Return", 2 "Full Service"; an
// empty text for any other number.
std::string_view ServiceTypeName(int32_t serviceType);

// Which entries of a pack go into an order summary: all, only those with MT set, or only those
// with MT clear. Any other value admits none.
enum class MountedFilter : int32_t { all = 0, mountedOnly = 1, unmountedOnly = 2 };
// Which products of a pack go into an order summary: all, only group products, or only the
// others. Any other value admits none.
enum class GroupFilter : int32_t { all = 1, groupOnly = 2, notGroup = 3 };

struct PacksCollectionFields {
    uint32_t MountType {}; // an index into the catalogue's mount table
    int32_t ServiceType {}; // 0, 1 or 2, as ServiceTypeName names them
};

using PacksCollectionField = FieldRow<PacksCollectionFields>;
inline constexpr std::size_t packsCollectionFieldRows = 2;
extern const std::array<PacksCollectionField, packsCollectionFieldRows> PacksCollectionFieldTable;

class PacksCollection : public Archivable, public DatabaseRecord {
public:
    using Packs = std::vector<std::shared_ptr<PackDetails>>;
    enum FieldId : uint16_t { fieldMountType, fieldServiceType, fieldCount };
    // Packs that a pack template or an archive keeps at most; the list itself has no bound.
    static constexpr std::size_t maxPacks = 33;

    // Mount type 1, service type 2, no packs.
    PacksCollection();
    PacksCollection(const PacksCollection&) = delete;
    PacksCollection& operator=(const PacksCollection&) = delete;

    // The setters change no modified bit.
    uint32_t GetMountType() const { return fields_.MountType; }
    void SetMountType(uint32_t mountType) { fields_.MountType = mountType; }
    int32_t GetServiceType() const { return fields_.ServiceType; }
    void SetServiceType(int32_t serviceType) { fields_.ServiceType = serviceType; }

    std::size_t GetPackCount() const { return packs_.size(); }
    const Packs& GetPacks() const { return packs_; }
    // The pack at index, or nullptr when there is none.
    std::shared_ptr<PackDetails> GetPack(std::size_t index) const;

    void AddPack(std::shared_ptr<PackDetails> pack);
    // Drops the last pack; nothing on an empty collection.
    void RemoveLastPack();
    // Removes the pack at index (the later ones move up); nothing for an index beyond the list.
    void RemovePack(std::size_t index);
    // Exchanges the contents of two packs, which stay where they are; nothing unless both
    // indexes are in the list.
    void SwapPacks(std::size_t first, std::size_t second);
    // Makes this collection equal to other, keeping the pack objects it has: they take other's
    // contents, missing ones are added, surplus ones dropped. Nothing when other is this one.
    void CopyFrom(const PacksCollection& other);

    // Whether the pack at index holds a group product, itself or through a "Combi" entry whose
    // quantity names another pack of the collection (one step only). False for an index beyond
    // the list.
    bool PackHasGroupProduct(std::size_t index) const;
    // The index of the first pack holding an entry for the product, or -1.
    int32_t FindPackWithProduct(uint32_t productId) const;
    // The index of the first pack whose description equals text ignoring letter case, or -1.
    int32_t FindPackByLongDescription(const std::string& text) const;
    int32_t FindPackByShortDescription(const std::string& text) const;
    bool HasPortCapSepProduct() const;
    bool HasLandCapSepProduct() const;
    // True for mount type 0; otherwise whether every pack has its mount prices.
    bool HasMountPrices(uint32_t mountType) const;
    // Appends a "Postage and Packing" pack (product 30) when postageIndex is not -1 and is not
    // the index of the pack of that name, and likewise a "Late Order Fee" pack (product 74). Both
    // hold one item, unmounted colour, and are not drawn on the proof sheet.
    void AddPostageAndLateFeePacks(
        int32_t postageIndex, const Money& postagePrice, int32_t lateFeeIndex, const Money& lateFeePrice);

    // Adds the items of the pack at packIndex, multiplier times, to the entries of one key of an
    // order summary: mono when allMono or the entry's M is set, otherwise colour, and the mounts
    // (the product's Mounts per item) of the entries with MT set. An entry for product 32
    // ("Combi") stands for the pack whose index is its quantity: that pack's entries are added
    // instead, mounted as the Combi entry says; only this one step is followed, and a quantity
    // that is not the index of a pack adds nothing. A negative multiplier takes items away and
    // every count stops at 0 and at its largest value. Nothing for an index beyond the list.
    void AddPackToOrderSummary(OrderSummaryProducts& products, bool allMono, std::size_t packIndex,
        int32_t multiplier, MountedFilter mountedFilter, GroupFilter groupFilter) const;

    // Appends to text a line (ending CR LF) for every difference between this collection (the old
    // version) and newPack: mount and service types, then each pair of packs at the same position
    // (PackDetails::ReportChanges), then the packs deleted and added at the end. With skipPostage
    // the "Postage and Packing" and "Late Order Fee" packs are left out. True when a line was
    // appended.
    bool ReportChanges(const PacksCollection& newPacks, std::string& text, bool skipPostage) const;

    // The pack template after its first field: the rest of line 1 (column names), then one row
    // per pack up to the end or to a "{EndPacks}" or "{EndReorderPacks}" row. Replaces the packs,
    // keeping the first 33; every row sets SavedDataVersion, the mount type and the service type,
    // so the last row read decides them. A row whose first field is empty is skipped. Always
    // true.
    bool ReadCsv(CsvCursor& in);
    // The header line and one row per pack at the current data version, with CR LF line ends.
    void WriteCsv(std::ostream& out) const;

    // Record forms. Packs are child records: messages add and remove them; Clone copies the
    // mount and service types only.
    std::string Describe() const override;
    void MarkAllFieldsModified() override;
    void WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator) override;
    uint8_t ReadFields(std::istream& in) override;
    DatabaseRecord* Clone(DatabaseRecord& target) const override;
    std::unique_ptr<DatabaseRecord> Clone() const override;
    // Applies the action to the collection only.
    bool Traverse(TraverseAction& action) override;
    void Store(win::Archive& archive) const override;
    // Loads at the version the caller set in SavedDataVersion, keeping the first 33 packs.
    void Load(win::Archive& archive) override;
    void Load(win::Archive& archive, const ReadContext& context);

private:
    int32_t FindPack(const std::function<bool(const PackDetails&)>& test) const;
    void AddFeePack(const char* name, const Money& price, uint32_t productId);
    // The mount and service types of a row or an archive: read when the version carries them,
    // otherwise the defaults.
    void ReadTypes(CsvCursor& in, const ReadContext& context);

    PacksCollectionFields fields_;
    Packs packs_;
};
