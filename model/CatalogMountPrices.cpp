// The catalogue's mount-price lookups, by mount type and mount size index.
#include "model/ProductCatalog.h"

namespace {
// The mount type whose prices stand for the item without a mount.
constexpr uint32_t baseMountType = 1;
} // namespace

Money ProductCatalog::GetSizePrice(uint32_t mountType, uint32_t sizeIndex) const
{
    const auto& sizes = mounts_.GetSizes();
    return sizeIndex < sizes.size() ? sizes[sizeIndex]->GetPrice(mountType) : Money();
}

Money ProductCatalog::GetMountPrice(uint32_t mountType, uint32_t sizeIndex) const
{
    return GetSizePrice(NormalMountType(mountType), sizeIndex);
}

Money ProductCatalog::GetRelativeMountPrice(uint32_t mountType, uint32_t sizeIndex, bool unmounted) const
{
    const Money base = GetSizePrice(baseMountType, sizeIndex);
    if (unmounted || mountType % 10 == 0)
        return -base;
    return GetSizePrice(mountType, sizeIndex) - base;
}

int32_t ProductCatalog::GetProductMountCode(uint32_t mountType, uint32_t productId) const
{
    const auto product = FindProduct(productId);
    return product ? mounts_.GetCode(mountType, product->GetMntSize()) : MountSizeData::noCode;
}
