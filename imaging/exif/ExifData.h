// The EXIF block of one JPEG file as named entries.
//
// Entry points for the JPEG decoder and encoder:
//   - ExifData::ReadFromJpegMarkers(cinfo) after jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xFFFF) and
//     jpeg_read_header: takes the last APP1 segment whose data begin with "Exif" and a zero byte.
//   - ExifData::ReadFromBlock(data, size) parses the data of an APP1 segment held in memory (the bytes
//     after the marker's length field, starting with "Exif\0\0").
//   - ExifData::WriteJpegMarker(cinfo) writes the block unchanged as an APP1 marker (call it after
//     jpeg_start_compress).
// Both readers first empty the object. A block that is not EXIF leaves the object empty without error.
// An entry whose type or component count is malformed in the main, Exif or GPS directory raises
// PLTextException code PL_ERR_BAD_EXIF (the picture must not be opened); inside a maker note it only
// ends the maker note. Offsets, counts and sizes that point outside the block never raise: that entry
// or directory is skipped, so that a photograph whose offsets are slightly off still loads.
//
// Entries are found by their dotted name in any mix of case: "Main.Ori", "Sub.Shutter", "Gps.Altitude",
// "Canon.ImageNo", "CnSet1.Macro", "CanonCFn.NoiseRed". Copies of an ExifData share the block and the
// entries.
#pragma once

#include "imaging/exif/ExifEntry.h"
#include "imaging/exif/ExifTagInfo.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

struct jpeg_decompress_struct;
struct jpeg_compress_struct;

// Longest APP1 segment data, and so the longest block the reader accepts.
inline constexpr size_t ExifMaxBlockLength = 65533;
// Most text (names, value texts and display texts) one block may produce; reading stops there.
inline constexpr size_t ExifMaxBlockText = 4 * 1024 * 1024;

class ExifData {
public:
    using EntryPtr = std::shared_ptr<ExifEntry>;
    using EntryList = std::vector<EntryPtr>;

    ExifData() = default;

    void Clear();

    void ReadFromJpegMarkers(jpeg_decompress_struct* cinfo);
    void ReadFromBlock(const uint8_t* data, size_t size);
    void WriteJpegMarker(jpeg_compress_struct* cinfo) const;

    ExifEntry* FindTag(const char* name) const;
    // The entry's double value; 0.0 when there is no entry.
    double GetTagValue(const char* name) const;
    ExifEntry* GetTagText(const char* name, std::string& out) const;
    ExifEntry* GetTagDisplayText(const char* name, std::string& out) const;
    // The texts themselves, or an empty text when there is no entry.
    const std::string& GetTagText(const char* name) const;
    const std::string& GetTagDisplayText(const char* name) const;

    // Sets (creating it as an ASCII entry when missing) the value text of an entry; the block is not
    // touched.
    void SetTagText(const char* name, const char* text);
    // Appends text to the entry's value text, after separator (" / " when none) when it was not empty;
    // nothing when text is empty or, lowered, equals ignore.
    void AppendTagText(
        const char* name, const char* text, const char* ignore = nullptr, const char* separator = nullptr);
    void AppendTagFrom(const char* name, const char* sourceName, const char* ignore = nullptr,
        const char* separator = nullptr);
    void CopyTagText(const char* fromName, const char* toName);

    std::span<const EntryPtr> GetAllEntries() const { return all_; }
    std::span<const EntryPtr> GetMainEntries() const { return main_; }
    std::span<const EntryPtr> GetSubEntries() const { return sub_; }
    std::span<const EntryPtr> GetGpsEntries() const { return gps_; }
    std::span<const EntryPtr> GetMakerEntries() const { return maker_; }

    std::span<const uint8_t> GetBlock() const;
    bool IsBigEndian() const { return bigEndian_; }

private:
    void ParseIfds();
    void ReadIfd(ExifTagTable table, const char* prefix, EntryList& list, uint64_t index,
        std::span<const uint32_t> keepRawTags = {});
    void ReadMakerNote();
    void SplitArrayTag(const char* name, ExifTagTable table, uint32_t format);
    void ReadCanonCustomFunctions();
    void ApplyCasioRule();
    bool AddEntry(const EntryPtr& entry, EntryList& list);
    void ReadSubDirectory(const char* offsetName, ExifTagTable table, const char* prefix, EntryList& list);

    bool Fits(uint64_t index, uint64_t size) const { return index <= length_ && size <= length_ - index; }
    uint32_t Read16(uint64_t index) const;
    uint32_t Read32(uint64_t index) const;

    std::shared_ptr<const std::vector<uint8_t>> block_;
    uint64_t length_ = 0;
    uint64_t base_ = 0;
    bool bigEndian_ = false;
    EntryList all_;
    EntryList main_;
    EntryList sub_;
    EntryList gps_;
    EntryList maker_;
    std::map<std::string, EntryPtr> map_;

    // While reading: directories already read (by index in the block) and the text produced so far.
    std::set<uint64_t> visited_;
    size_t textTotal_ = 0;
    bool full_ = false;
};
