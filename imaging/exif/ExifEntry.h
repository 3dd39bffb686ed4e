// One named entry of an EXIF block: a directory entry's tag, type and value, rendered as a value text, a
// display text and a number.
#pragma once

#include "imaging/exif/ExifFormat.h"
#include "imaging/exif/ExifTagInfo.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

class ExifEntry {
public:
    // Checks the type (1 to 12, else PLExifException "EXIF Tag format field not understood") and the
    // size (count and count x unit size at most 65,536, else "EXIF NoComp field not understood"), and
    // makes room for the raw bytes.
    ExifEntry(uint32_t tag, uint32_t format, uint32_t count);

    // Renders the value text, the numbers and the display text from the raw bytes, then applies the
    // tag's value names. Texts longer than ExifMaxValueText are cut.
    void FormatValue();
    // Applies the tag row's value-name list: a unit, capitalisation, or a name for the integer value.
    void ApplyValueNames();
    void ReleaseRawData();
    // Renders components 0 to index again and sets the numbers from component index; 0.0 (numbers
    // unchanged) when index is beyond the value or the raw bytes were released.
    double GetComponentValue(size_t index);

    std::string GetDescription() const;

    const ExifTagInfo* GetTagInfo() const { return tagInfo_; }
    const ExifFormatInfo* GetFormatInfo() const { return formatInfo_; }
    const std::string& GetName() const { return name_; }
    const std::string& GetKey() const { return key_; }
    uint32_t GetTag() const { return tag_; }
    uint32_t GetFormat() const { return format_; }
    uint32_t GetCount() const { return count_; }
    uint32_t GetSize() const { return size_; }
    uint32_t GetDataOffset() const { return dataOffset_; }
    const std::string& GetValueText() const { return valueText_; }
    const std::string& GetDisplayText() const { return displayText_; }
    // Numerator and denominator of the last component rendered, held exactly in 64 bits.
    int64_t GetNumerator() const { return numerator_; }
    int64_t GetDenominator() const { return denominator_; }
    // The value rounded to the nearest integer, saturated to the 32-bit ranges.
    int32_t GetIntValue() const { return intValue_; }
    uint32_t GetUIntValue() const { return uintValue_; }
    double GetDoubleValue() const { return doubleValue_; }
    std::span<const uint8_t> GetRawData() const { return raw_; }

private:
    friend class ExifData;

    void SetNumbers(int64_t numerator, int64_t denominator);
    // The byte of an UNDEFINED value that its tag row names as carrying the number, when it has one.
    std::optional<size_t> NumberByte() const;
    void SetIntegers(int64_t value);

    const ExifTagInfo* tagInfo_ = nullptr;
    const ExifFormatInfo* formatInfo_ = nullptr;
    std::string name_;
    std::string key_;
    uint32_t tag_;
    uint32_t format_;
    uint32_t count_;
    uint32_t size_;
    std::vector<uint8_t> raw_;
    uint32_t dataOffset_ = 0;
    std::string valueText_;
    std::string displayText_;
    int64_t numerator_ = 0;
    int64_t denominator_ = 1;
    int32_t intValue_ = 0;
    uint32_t uintValue_ = 0;
    double doubleValue_ = 0.0;
};
