// Maker notes: the camera maker's own directory inside the Exif sub-directory, found by the camera make.
#include "imaging/exif/ExifData.h"

#include "imaging/exif/ExifText.h"
#include "imaging/exif/PLExifException.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace {

// A camera's ASCII text without the terminating zero byte(s) it is stored with.
std::string_view withoutTerminator(const std::string& text)
{
    return std::string_view(text).substr(0, text.find('\0'));
}

// Nikon models whose maker note is the first, headerless layout.
constexpr std::array<std::string_view, 6> firstLayoutNikons { "E700", "E800", "E900", "E900S", "E910",
    "E950" };

// Canon directory entries whose raw values are split into further entries after the directory.
constexpr uint32_t canonArrayTags[] = { 0x0001, 0x0004, 0x000F };

} // namespace

void ExifData::ReadMakerNote()
{
    const ExifEntry* maker = FindTag("Sub.Maker");
    if (!maker)
        return;
    const std::string make = ExifLowered(GetTagText("Main.Make"));
    const std::string_view model = withoutTerminator(GetTagText("Main.Model"));
    const uint64_t note = base_ + maker->GetDataOffset();
    const uint64_t savedBase = base_;
    const bool savedOrder = bigEndian_;
    try {
        if (make.find("nikon") != std::string::npos) {
            if (std::find(firstLayoutNikons.begin(), firstLayoutNikons.end(), model)
                != firstLayoutNikons.end()) {
                ReadIfd(ExifTables::Nikon, "Nikon.", maker_, note + 8);
            } else {
                // The second layout carries its own TIFF header ten bytes into the note.
                base_ = note + 10;
                ReadIfd(ExifTables::Nikon2, "Nikon2.", maker_, note + 18);
            }
        } else if (make.find("olympus") != std::string::npos) {
            ReadIfd(ExifTables::Oly, "Oly.", maker_, note + 8);
        } else if (make.find("canon") != std::string::npos) {
            ReadIfd(ExifTables::Canon, "Canon.", maker_, note, canonArrayTags);
            SplitArrayTag("Canon.CnSet1", ExifTables::CnSet1, ExifFormatShort);
            SplitArrayTag("Canon.CnSet2", ExifTables::CnSet2, ExifFormatShort);
            ReadCanonCustomFunctions();
        } else if (make.find("fujifilm") != std::string::npos) {
            // Fuji notes count offsets from their own start and are little-endian in every file.
            base_ = note;
            bigEndian_ = false;
            ReadIfd(ExifTables::Fuji, "Fuji.", maker_, note + 12);
        } else if (make.find("casio") != std::string::npos) {
            ReadIfd(ExifTables::Casio, "Casio.", maker_, note);
            ApplyCasioRule();
        }
    } catch (const PLExifException&) {
        // A malformed maker note ends the maker note only; what was read from it stays.
    }
    base_ = savedBase;
    bigEndian_ = savedOrder;
}

void ExifData::SplitArrayTag(const char* name, ExifTagTable table, uint32_t format)
{
    const ExifEntry* array = FindTag(name);
    if (!array || array->GetFormat() != format || array->raw_.size() != array->GetSize())
        return;
    const std::string& arrayName = array->GetName();
    const std::string group = arrayName.substr(arrayName.find('.') + 1);
    const uint32_t unit = array->GetFormatInfo()->unitSize;
    for (const ExifTagInfo& row : table) {
        if (row.tag >= array->GetCount())
            break;
        auto entry = std::make_shared<ExifEntry>(row.tag, format, 1);
        std::memcpy(entry->raw_.data(), array->raw_.data() + uint64_t { row.tag } * unit, unit);
        entry->tagInfo_ = &row;
        entry->name_ = group + "." + row.shortName;
        entry->key_ = ExifLowered(entry->name_);
        entry->dataOffset_ = array->GetDataOffset();
        entry->FormatValue();
        entry->ReleaseRawData();
        if (!AddEntry(entry, maker_))
            return;
    }
}

void ExifData::ReadCanonCustomFunctions()
{
    const ExifEntry* functions = FindTag("Canon.CustomFnc");
    if (!functions || functions->GetFormat() != ExifFormatShort
        || functions->raw_.size() != functions->GetSize())
        return;
    const auto valueAt = [functions](size_t i) {
        uint16_t value;
        std::memcpy(&value, functions->raw_.data() + 2 * i, 2);
        return value;
    };
    // The first value is the array's length in bytes; it never extends the walk beyond the value.
    const size_t declared = valueAt(0) / 2;
    const size_t last = std::min<size_t>(declared, functions->GetCount());
    for (size_t i = 1; i < last; ++i) {
        const uint16_t value = valueAt(i);
        if (value <= 255)
            continue;
        const uint32_t number = value >> 8;
        auto entry = std::make_shared<ExifEntry>(number, ExifFormatByte, 0);
        entry->tagInfo_ = ExifFindTagInfo(ExifTables::CanonCFn, number);
        if (entry->tagInfo_) {
            entry->name_ = std::string("CanonCFn.") + entry->tagInfo_->shortName;
        } else {
            const char digits[]
                = { static_cast<char>('0' + number / 10 % 10), static_cast<char>('0' + number % 10) };
            entry->name_ = "CanonCFn." + (number >= 100 ? std::to_string(number) : std::string(digits, 2));
        }
        entry->key_ = ExifLowered(entry->name_);
        entry->SetIntegers(value & 0xFF);
        entry->ApplyValueNames();
        if (!AddEntry(entry, maker_))
            return;
    }
}

void ExifData::ApplyCasioRule()
{
    const ExifEntry* model = FindTag("Main.Model");
    ExifEntry* flash = FindTag("Casio.FlashMode");
    if (model && flash && withoutTerminator(model->GetDisplayText()) == "QV-2000UX"
        && flash->GetIntValue() == 4) {
        flash->valueText_ = "Red Eye Reduction";
        flash->displayText_ = "Red Eye Reduction";
    }
}
