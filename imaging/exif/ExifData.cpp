#include "imaging/exif/ExifData.h"

#include "imaging/exif/ExifText.h"
#include "imaging/exif/PLExifException.h"
#include "imaging/io/PLTextException.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

const std::string emptyText;

// Offset of the main directory, counted from the TIFF header that follows "Exif\0\0".
constexpr uint64_t tiffBase = 6;

} // namespace

void ExifData::Clear()
{
    block_.reset();
    length_ = 0;
    base_ = 0;
    bigEndian_ = false;
    all_.clear();
    main_.clear();
    sub_.clear();
    gps_.clear();
    maker_.clear();
    map_.clear();
    visited_.clear();
    textTotal_ = 0;
    full_ = false;
}

std::span<const uint8_t> ExifData::GetBlock() const
{
    return block_ ? std::span<const uint8_t>(*block_) : std::span<const uint8_t>();
}

uint32_t ExifData::Read16(uint64_t index) const
{
    const uint8_t* p = block_->data() + index;
    return bigEndian_ ? (uint32_t { p[0] } << 8 | p[1]) : (uint32_t { p[1] } << 8 | p[0]);
}

uint32_t ExifData::Read32(uint64_t index) const
{
    const uint8_t* p = block_->data() + index;
    if (bigEndian_)
        return uint32_t { p[0] } << 24 | uint32_t { p[1] } << 16 | uint32_t { p[2] } << 8 | p[3];
    return uint32_t { p[3] } << 24 | uint32_t { p[2] } << 16 | uint32_t { p[1] } << 8 | p[0];
}

void ExifData::ReadFromBlock(const uint8_t* data, size_t size)
{
    static constexpr uint8_t signature[] = { 'E', 'x', 'i', 'f', 0, 0 };
    const bool isExif = data && size >= sizeof signature && size <= ExifMaxBlockLength
        && std::memcmp(data, signature, sizeof signature) == 0;
    // Copied before Clear, which may release the very block the data lie in.
    auto block = isExif ? std::make_shared<const std::vector<uint8_t>>(data, data + size) : nullptr;
    Clear();
    if (!block)
        return;
    block_ = std::move(block);
    length_ = size;
    if (Fits(6, 2)) {
        const uint8_t* order = block_->data() + 6;
        if (order[0] == 'I' && order[1] == 'I')
            bigEndian_ = false;
        else if (order[0] == 'M' && order[1] == 'M')
            bigEndian_ = true;
    }
    ParseIfds();
}

void ExifData::ParseIfds()
{
    base_ = tiffBase;
    try {
        if (Fits(10, 4)) {
            ReadIfd(ExifTables::Main, "Main.", main_, base_ + Read32(10));
            ReadSubDirectory("Main.ExifOffset", ExifTables::Sub, "Sub.", sub_);
            ReadSubDirectory("Main.GpsOffset", ExifTables::Gps, "Gps.", gps_);
        }
    } catch (const PLExifException& e) {
        for (const auto& entry : all_)
            entry->ReleaseRawData();
        throw PLTextException(PL_ERR_BAD_EXIF, e.GetText().c_str());
    }
    ReadMakerNote();
    for (const auto& entry : all_)
        entry->ReleaseRawData();
    visited_.clear();
}

void ExifData::ReadSubDirectory(
    const char* offsetName, ExifTagTable table, const char* prefix, EntryList& list)
{
    // The offset is taken from the exact unsigned value, never from the rounded single-precision one.
    const ExifEntry* link = FindTag(offsetName);
    if (link && link->GetDenominator() == 1 && link->GetNumerator() >= 0)
        ReadIfd(table, prefix, list, base_ + static_cast<uint64_t>(link->GetNumerator()));
}

void ExifData::ReadIfd(ExifTagTable table, const char* prefix, EntryList& list, uint64_t index,
    std::span<const uint32_t> keepRawTags)
{
    if (full_ || !Fits(index, 2) || !visited_.insert(index).second)
        return;
    const uint32_t count = Read16(index);
    const bool swap = bigEndian_ != (std::endian::native == std::endian::big);
    for (uint32_t k = 0; k < count; ++k) {
        const uint64_t at = index + 2 + uint64_t { 12 } * k;
        if (!Fits(at, 12))
            break;
        const uint32_t tag = Read16(at);
        const uint32_t format = Read16(at + 2);
        const uint32_t components = Read32(at + 4);
        if (tag == 0 || components == 0)
            continue;
        auto entry = std::make_shared<ExifEntry>(tag, format, components);
        const uint64_t valueAt = entry->size_ <= 4 ? at + 8 : base_ + Read32(at + 8);
        if (!Fits(valueAt, entry->size_) || valueAt < base_)
            continue;
        entry->tagInfo_ = ExifFindTagInfo(table, tag);
        entry->name_ = prefix;
        if (entry->tagInfo_)
            entry->name_ += entry->tagInfo_->shortName;
        else
            ExifAppendHex(entry->name_, tag, 4);
        entry->key_ = ExifLowered(entry->name_);
        entry->dataOffset_ = static_cast<uint32_t>(valueAt - base_);
        std::copy_n(block_->data() + valueAt, entry->size_, entry->raw_.data());
        if (swap)
            ExifSwapToHost(*entry->formatInfo_, entry->raw_);
        entry->FormatValue();
        if (std::find(keepRawTags.begin(), keepRawTags.end(), tag) == keepRawTags.end())
            entry->ReleaseRawData();
        if (!AddEntry(entry, list))
            return;
    }
}

bool ExifData::AddEntry(const EntryPtr& entry, EntryList& list)
{
    const size_t text = entry->valueText_.size() + entry->displayText_.size() + 2 * entry->name_.size();
    if (full_ || text > ExifMaxBlockText - textTotal_) {
        full_ = true;
        return false;
    }
    textTotal_ += text;
    all_.push_back(entry);
    list.push_back(entry);
    auto& slot = map_[entry->key_];
    if (slot)
        slot->ReleaseRawData();
    slot = entry;
    return true;
}

ExifEntry* ExifData::FindTag(const char* name) const
{
    if (!name)
        return nullptr;
    const auto found = map_.find(ExifLowered(name));
    return found == map_.end() ? nullptr : found->second.get();
}

double ExifData::GetTagValue(const char* name) const
{
    const ExifEntry* entry = FindTag(name);
    return entry ? entry->GetDoubleValue() : 0.0;
}

ExifEntry* ExifData::GetTagText(const char* name, std::string& out) const
{
    ExifEntry* entry = FindTag(name);
    out = entry ? entry->GetValueText() : emptyText;
    return entry;
}

ExifEntry* ExifData::GetTagDisplayText(const char* name, std::string& out) const
{
    ExifEntry* entry = FindTag(name);
    out = entry ? entry->GetDisplayText() : emptyText;
    return entry;
}

const std::string& ExifData::GetTagText(const char* name) const
{
    const ExifEntry* entry = FindTag(name);
    return entry ? entry->GetValueText() : emptyText;
}

const std::string& ExifData::GetTagDisplayText(const char* name) const
{
    const ExifEntry* entry = FindTag(name);
    return entry ? entry->GetDisplayText() : emptyText;
}

void ExifData::SetTagText(const char* name, const char* text)
{
    if (!name)
        return;
    ExifEntry* entry = FindTag(name);
    if (!entry) {
        auto created = std::make_shared<ExifEntry>(0, ExifFormatAscii, 0);
        created->name_ = name;
        created->key_ = ExifLowered(name);
        all_.push_back(created);
        map_[created->key_] = created;
        entry = created.get();
    }
    entry->format_ = ExifFormatAscii;
    entry->formatInfo_ = ExifGetFormatInfo(ExifFormatAscii);
    entry->valueText_ = text ? text : "";
}

void ExifData::AppendTagText(const char* name, const char* text, const char* ignore, const char* separator)
{
    if (!text || !*text || (ignore && ExifLowered(text) == ignore))
        return;
    std::string value = GetTagText(name);
    if (!value.empty())
        value += separator ? separator : " / ";
    value += text;
    SetTagText(name, value.c_str());
}

void ExifData::AppendTagFrom(
    const char* name, const char* sourceName, const char* ignore, const char* separator)
{
    const std::string source = GetTagText(sourceName);
    AppendTagText(name, source.c_str(), ignore, separator);
}

void ExifData::CopyTagText(const char* fromName, const char* toName)
{
    const std::string source = GetTagText(fromName);
    SetTagText(toName, source.c_str());
}
