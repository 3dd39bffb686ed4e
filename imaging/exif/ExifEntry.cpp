#include "imaging/exif/ExifEntry.h"

#include "imaging/exif/ExifText.h"
#include "imaging/exif/PLExifException.h"
#include "platform/win/IntArithmetic.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

// Largest component count and byte size a value of one APP1 segment can have.
constexpr uint64_t maxComponents = 65536;
constexpr uint64_t maxValueBytes = 65536;

char upperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

void capitalise(std::string& text)
{
    std::transform(text.begin(), text.end(), text.begin(), ExifLowerAscii);
    if (!text.empty())
        text[0] = upperAscii(text[0]);
}

void capLength(std::string& text)
{
    if (text.size() > ExifMaxValueText)
        text.resize(ExifMaxValueText);
}

// Renders components from 0 on into out; stops after maxShown components (with " ..." when more remain)
// or after lastIndex. Returns false when nothing could be rendered.
void renderComponents(const ExifFormatInfo& info, std::span<const uint8_t> raw, size_t count, size_t maxShown,
    size_t lastIndex, ExifRendering& out)
{
    size_t index = info.formatter(raw, 0, count, out);
    size_t written = 1;
    while (index < count && index <= lastIndex) {
        if (written >= maxShown) {
            out.text += " ...";
            break;
        }
        out.text += ' ';
        index += info.formatter(raw, index, count, out);
        ++written;
    }
}

} // namespace

ExifEntry::ExifEntry(uint32_t tag, uint32_t format, uint32_t count)
    : tag_(tag)
    , format_(format)
    , count_(count)
    , size_(0)
{
    if (format < 1 || format > 12)
        throw PLExifException("EXIF Tag format field not understood");
    formatInfo_ = ExifGetFormatInfo(format);
    const uint64_t size = uint64_t { count } * formatInfo_->unitSize;
    if (count > maxComponents || size > maxValueBytes)
        throw PLExifException("EXIF NoComp field not understood");
    size_ = static_cast<uint32_t>(size);
    raw_.resize(size_);
}

void ExifEntry::SetIntegers(int64_t value)
{
    intValue_ = win::SaturateToInt32(value);
    if (value < 0)
        uintValue_ = static_cast<uint32_t>(intValue_);
    else
        uintValue_ = static_cast<uint32_t>(std::min<int64_t>(value, std::numeric_limits<uint32_t>::max()));
}

void ExifEntry::SetNumbers(int64_t numerator, int64_t denominator)
{
    numerator_ = numerator;
    denominator_ = denominator;
}

void ExifEntry::FormatValue()
{
    valueText_.clear();
    if (count_ != 0 && raw_.size() == size_) {
        ExifRendering rendering;
        rendering.userComment = name_ == "Sub.User";
        rendering.numerator = numerator_;
        rendering.denominator = denominator_;
        renderComponents(*formatInfo_, raw_, count_, 16, count_, rendering);
        valueText_ = std::move(rendering.text);
        SetNumbers(rendering.numerator, rendering.denominator);
        if (const auto at = NumberByte())
            SetNumbers(raw_[*at], 1);
    }
    if (denominator_ == 1) {
        // Whole numbers keep every digit: offsets, serial and image numbers go beyond a float's 24 bits.
        doubleValue_ = static_cast<double>(numerator_);
        SetIntegers(numerator_);
    } else if (denominator_ != 0) {
        // Fractions in single precision as they have always been computed; both operands are below 2^33
        // in magnitude, so the quotient is finite.
        doubleValue_ = static_cast<double>(static_cast<float>(numerator_) / static_cast<float>(denominator_));
        SetIntegers(std::llround(std::clamp(doubleValue_, -9.0e18, 9.0e18)));
    }
    capLength(valueText_);
    displayText_ = tagInfo_ && tagInfo_->formatter ? tagInfo_->formatter(*this) : valueText_;
    capLength(displayText_);
    ApplyValueNames();
    const size_t end = valueText_.find_last_not_of(' ');
    valueText_.erase(end == std::string::npos ? 0 : end + 1);
}

std::optional<size_t> ExifEntry::NumberByte() const
{
    if (format_ != ExifFormatUndefined || !tagInfo_ || tagInfo_->numberByte == ExifNumberInLastByte)
        return std::nullopt;
    const auto at = static_cast<size_t>(tagInfo_->numberByte);
    return at < raw_.size() ? std::optional<size_t>(at) : std::nullopt;
}

void ExifEntry::ApplyValueNames()
{
    if (!tagInfo_ || tagInfo_->valueNames.empty())
        return;
    const auto names = tagInfo_->valueNames;
    if (names.front().number == ExifUnitList) {
        valueText_ += ' ';
        valueText_ += names.front().text;
        displayText_ += ' ';
        displayText_ += names.front().text;
    } else if (names.front().number == ExifCapitaliseList) {
        capitalise(valueText_);
        capitalise(displayText_);
    } else {
        const auto match = std::find_if(names.begin(), names.end(),
            [this](const ExifValueName& name) { return name.number == intValue_; });
        if (match != names.end()) {
            valueText_ = match->text;
            displayText_ = match->text;
        }
    }
}

void ExifEntry::ReleaseRawData()
{
    std::vector<uint8_t>().swap(raw_);
}

double ExifEntry::GetComponentValue(size_t index)
{
    if (index >= count_ || raw_.size() != size_ || count_ == 0)
        return 0.0;
    ExifRendering rendering;
    renderComponents(*formatInfo_, raw_, count_, count_, index, rendering);
    if (rendering.denominator == 0)
        return 0.0;
    SetNumbers(rendering.numerator, rendering.denominator);
    doubleValue_ = static_cast<double>(numerator_) / static_cast<double>(denominator_);
    SetIntegers(std::llround(std::clamp(doubleValue_, -9.0e18, 9.0e18)));
    return doubleValue_;
}

std::string ExifEntry::GetDescription() const
{
    return tagInfo_ ? tagInfo_->description : "";
}
