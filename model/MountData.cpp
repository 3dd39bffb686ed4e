// The mount price table: lookups and changes.
#include "model/MountData.h"

#include "records/EmptyText.h"

uint32_t NormalMountType(uint32_t mountType)
{
    return mountType % 10 == 0 ? mountType / 10 : mountType;
}

int32_t MountData::GetCode(uint32_t mountType, uint32_t sizeIndex) const
{
    const uint32_t type = NormalMountType(mountType);
    if (type >= descriptions_.size() || sizeIndex >= sizes_.size())
        return MountSizeData::noCode;
    return sizes_[sizeIndex]->GetCode(type);
}

std::string MountData::GetMountDescription(uint32_t mountType) const
{
    const uint32_t type = NormalMountType(mountType);
    return type < descriptions_.size() ? descriptions_[type] : EmptyText();
}

void MountData::AddMountType(const std::string& description, const MoneyList& prices, IntList codes)
{
    descriptions_.push_back(description);
    SetFieldModified(fieldDescriptions);
    for (std::size_t i = 0; i < sizes_.size(); ++i) {
        const Money price = i < prices.size() ? prices[i] : Money();
        const int32_t code = i < codes.size() ? codes[i] : MountSizeData::noCode;
        sizes_[i]->AddTypeEntry(price, code);
    }
}

void MountData::AddMountSize(const MountSizeData& source, bool notify)
{
    auto size = std::make_shared<MountSizeData>();
    size->CopyFrom(source);
    sizes_.push_back(size);
    if (notify)
        ChildAdded(size.get(), RecordType::ctMountSizeData);
}

void MountData::CopyFrom(const MountData& other)
{
    if (&other == this)
        return;
    descriptions_ = other.descriptions_;
    sizes_.clear();
    for (const auto& size : other.sizes_)
        AddMountSize(*size, false);
}
