// Record message, clone, traversal and archive forms of the catalogue.
#include "model/CatalogVersions.h"
#include "model/ProductCatalog.h"

#include "model/DispatchedChildren.h"
#include "records/CsvNumbers.h"

std::string ProductCatalog::Describe() const
{
    return "ProductCatalog: " + FormatUnsigned(GetId()) + ": " + settings_.Name;
}

void ProductCatalog::MarkAllFieldsModified()
{
    SetFieldsModified(fieldCount);
}

void ProductCatalog::WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator)
{
    fieldtable::WriteMessage(
        CatalogSettingsTable, *this, settings_, pendingOnly, out, fieldCount, writeTerminator);
}

uint8_t ProductCatalog::ReadFields(std::istream& in)
{
    const uint8_t operation = ReadDispatchOperation(in);
    switch (static_cast<DispatchOp>(operation)) {
    case DispatchOp::addChild: {
        const ChildAddress child = ReadChildAddress(in);
        if (child.type == static_cast<uint8_t>(RecordType::ctMountData)) {
            mounts_.ReadAsChild(child.id, in);
        } else if (child.type == static_cast<uint8_t>(RecordType::ctProductDetails)) {
            auto product = std::make_shared<ProductDetails>();
            product->ReadAsChild(child.id, in);
            AddProduct(std::move(product));
        } else {
            ThrowUnknownChildType(child.type);
        }
        break;
    }
    case DispatchOp::removeChild: {
        const ChildAddress child = ReadChildAddress(in);
        if (child.type == static_cast<uint8_t>(RecordType::ctProductDetails))
            RemoveDispatchedChild(elements_, child.id);
        break;
    }
    case DispatchOp::fieldUpdates:
        ReadFieldUpdates(in, fieldCount, [&](uint16_t fieldId) {
            return fieldtable::ReadMessageValue(CatalogSettingsTable, *this, settings_, in, fieldId);
        });
        break;
    }
    return operation;
}

DatabaseRecord* ProductCatalog::Clone(DatabaseRecord& target) const
{
    auto* catalog = dynamic_cast<ProductCatalog*>(&target);
    if (catalog)
        catalog->CopySettings(settings_);
    return catalog;
}

std::unique_ptr<DatabaseRecord> ProductCatalog::Clone() const
{
    auto catalog = std::make_unique<ProductCatalog>();
    Clone(*catalog);
    return catalog;
}

bool ProductCatalog::Traverse(TraverseAction& action)
{
    const uint32_t previousParent = action.GetParentId();
    const RecordType previousType = action.GetRecordType();
    const bool visitProducts = action.Apply(*this);
    action.SetParentId(GetId());
    if (visitProducts) {
        action.SetRecordType(RecordType::ctProductDetails);
        for (const auto& [id, product] : GetElements())
            if (!product->Traverse(action))
                break;
    }
    action.SetRecordType(previousType);
    action.SetParentId(previousParent);
    return false;
}

void ProductCatalog::Store(win::Archive& archive) const
{
    archive << GetId() << static_cast<uint32_t>(GetCount());
    for (const auto& [id, product] : GetElements())
        product->Store(archive);
    mounts_.Store(archive);
    for (const auto& setting : CatalogSettingsTable)
        fieldtable::Store(archive, settings_, setting);
}

void ProductCatalog::Load(win::Archive& archive)
{
    Load(archive, ReadContext::OfLastFileRead());
}

void ProductCatalog::Load(win::Archive& archive, const ReadContext& context)
{
    LoadArchiveId(archive, context);
    RemoveAll();
    // A product of any version takes well over this many bytes on an archive.
    constexpr std::size_t minimumArchivedProduct = 32;
    const uint32_t count = ReadArchiveCount(archive, minimumArchivedProduct);
    for (uint32_t i = 0; i < count; ++i) {
        auto product = std::make_shared<ProductDetails>();
        product->Load(archive, context);
        AddProduct(std::move(product));
    }
    mounts_.Load(archive, context);
    for (const auto& setting : CatalogSettingsTable) {
        if (context.Holds(setting.archiveSince))
            fieldtable::Load(archive, settings_, setting);
    }
    MergeFromGlobal();
    if (context.dataVersion < catalogversions::archive::UnpricedProductsBefore)
        RepairUnpricedProducts();
    ClearModified();
}
