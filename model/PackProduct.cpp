// A pack entry's forms: its slot of a pack template row, its archive form and its 12 bytes in a
// record message.
#include "model/PackProduct.h"

#include "model/PackVersions.h"
#include "model/ProductCatalog.h"
#include "records/CsvFields.h"
#include "records/DispatchRaw.h"

#include <string>

std::shared_ptr<const ProductDetails> PackEntryProduct(uint32_t productId)
{
    static const auto none = std::make_shared<const ProductDetails>();
    if (auto product = GlobalProductCatalog().FindProduct(productId))
        return product;
    return none;
}

namespace {

bool ProductIsMounted(uint32_t productId)
{
    return PackEntryProduct(productId)->GetMounts() != 0;
}

bool Between(const ReadContext& context, double after, double before)
{
    return context.dataVersion > after && context.dataVersion < before;
}

} // namespace

bool PackProduct::ReadCsv(CsvCursor& in, const ReadContext& context)
{
    using namespace packversions;
    std::string name;
    if (!in.Text(name))
        return false;
    if (context.dataVersion < file::EImageBefore && name == "EImage")
        name = "SA EImage";
    product = GlobalProductCatalog().FindIdByShortName(name);
    if (!in.Unsigned(quantity))
        return false;
    M = false;
    if (context.Holds(file::MonoSince))
        in.Bool(M);
    if (context.Holds(MountedSince))
        in.Bool(MT);
    else
        MT = ProductIsMounted(product);
    if (Between(context, DroppedEntryFlagAfter, DroppedEntryFlagBefore))
        in.Skip();
    return !name.empty();
}

void PackProduct::WriteCsv(std::ostream& out) const
{
    WriteCsvString(out, PackEntryProduct(product)->GetShort(), true);
    WriteCsvUnsigned(out, quantity, true);
    WriteCsvBool(out, M, true);
    WriteCsvBool(out, MT, true);
}

void PackProduct::Store(win::Archive& archive) const
{
    archive << product << quantity << M << MT;
}

void PackProduct::Load(win::Archive& archive, const ReadContext& context, bool unmountedPack)
{
    using namespace packversions;
    archive >> product >> quantity;
    M = false;
    if (context.Holds(archive::MonoAsByteSince)) {
        archive >> M;
    } else if (context.Holds(archive::MonoSince)) {
        int32_t mono = 0;
        archive >> mono;
        M = mono != 0;
    }
    if (Between(context, DroppedEntryFlagAfter, DroppedEntryFlagBefore)) {
        bool dropped = false;
        archive >> dropped;
    }
    if (context.Holds(MountedSince))
        archive >> MT;
    else
        MT = ProductIsMounted(product) && !unmountedPack;
}

void PackProduct::WriteDispatch(std::ostream& out) const
{
    WriteDispatchRaw32(out, product);
    WriteDispatchRaw32(out, quantity);
    const char flagsAndPadding[] = { static_cast<char>(M), static_cast<char>(MT), 0, 0 };
    out.write(flagsAndPadding, sizeof flagsAndPadding);
}

void PackProduct::ReadDispatch(const DatabaseRecord& record, std::istream& in)
{
    record.ReadDispatchUnsigned(in, product);
    record.ReadDispatchUnsigned(in, quantity);
    uint8_t bytes[4] = {};
    for (uint8_t& byte : bytes)
        record.ReadDispatchByte(in, byte);
    M = bytes[0] != 0;
    MT = bytes[1] != 0;
}
