// One product entry of a pack: the product's ID in GlobalProductCatalog, a quantity and whether
// the items are mono (M) and mounted (MT). For an entry whose product's short name is "Combi" the
// quantity is the index of another pack of the same collection.
#pragma once

#include "model/CsvCursor.h"
#include "model/ProductDetails.h"
#include "platform/win/Archive.h"
#include "records/DatabaseRecord.h"
#include "records/ReadContext.h"

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>

// The entry's product as the pack queries see it: the catalogue's product, or for an ID that
// GlobalProductCatalog does not hold a product without flags, mounts or names. Looking a product
// up never adds it to the catalogue.
std::shared_ptr<const ProductDetails> PackEntryProduct(uint32_t productId);

struct PackProduct {
    // The product of an entry whose name the catalogue does not know.
    static constexpr uint32_t unknownProduct = 0xFFFFFFFF;
    // Bytes of an entry in a record message: product, quantity, M, MT and two zero bytes.
    static constexpr std::size_t dispatchSize = 12;

    uint32_t product = 0;
    uint32_t quantity = 0;
    bool M = false;
    bool MT = true;

    bool operator==(const PackProduct&) const = default;

    // One product slot of a pack template row, the columns its version carries: the product's
    // short name (resolved in GlobalProductCatalog), the quantity, M and MT. True when the slot
    // names a product; an empty slot is read in full and gives false, and so does a slot cut
    // short by the end of the file.
    bool ReadCsv(CsvCursor& in, const ReadContext& context);
    // The slot's four columns, each after a comma. An entry whose product the catalogue does not
    // hold is written with an empty name, which a reader skips.
    void WriteCsv(std::ostream& out) const;

    // Archives: product, quantity, M and MT (one byte each). An old archive without MT derives
    // it from the product's mounts, and from unmountedPack (the pack's short description holds
    // "nomount").
    void Store(win::Archive& archive) const;
    void Load(win::Archive& archive, const ReadContext& context, bool unmountedPack);

    // Record messages: the 12 bytes, read on behalf of record (whose description goes into the
    // errors of a short stream).
    void WriteDispatch(std::ostream& out) const;
    void ReadDispatch(const DatabaseRecord& record, std::istream& in);
};
