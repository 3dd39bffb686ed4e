#include "imaging/exif/ExifFormat.h"

#include "imaging/exif/ExifText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

namespace {

void appendNumber(std::string& text, int64_t value)
{
    std::array<char, 24> digits {};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    text.append(digits.data(), result.ptr);
}

size_t unitSizeOf(std::span<const uint8_t> raw, size_t count)
{
    return count == 0 ? 0 : raw.size() / count;
}

uint64_t unitAt(std::span<const uint8_t> raw, size_t offset, size_t width)
{
    switch (width) {
    case 1:
        return raw[offset];
    case 2: {
        uint16_t v;
        std::memcpy(&v, raw.data() + offset, 2);
        return v;
    }
    default: {
        uint32_t v;
        std::memcpy(&v, raw.data() + offset, 4);
        return v;
    }
    }
}

int64_t signExtend(uint64_t value, size_t width)
{
    switch (width) {
    case 1:
        return static_cast<int8_t>(value);
    case 2:
        return static_cast<int16_t>(value);
    default:
        return static_cast<int32_t>(value);
    }
}

bool isPrintable(uint8_t c)
{
    return c >= 32 && c <= 127;
}

void appendLimited(std::string& text, std::string_view piece)
{
    if (text.size() < ExifMaxValueText)
        text.append(piece.substr(0, ExifMaxValueText - text.size()));
}

constexpr std::array<ExifFormatInfo, 13> formatTable { {
    { 1, ExifSwap::None, ExifRenderUndefined },
    { 1, ExifSwap::None, ExifRenderUnsigned },
    { 1, ExifSwap::None, ExifRenderText },
    { 2, ExifSwap::Two, ExifRenderUnsigned },
    { 4, ExifSwap::Four, ExifRenderUnsigned },
    { 8, ExifSwap::TwoFours, ExifRenderURational },
    { 1, ExifSwap::None, ExifRenderSigned },
    { 1, ExifSwap::None, ExifRenderUndefined },
    { 2, ExifSwap::Two, ExifRenderSigned },
    { 4, ExifSwap::Four, ExifRenderSigned },
    { 8, ExifSwap::TwoFours, ExifRenderSRational },
    { 4, ExifSwap::None, ExifRenderUndefined },
    { 8, ExifSwap::None, ExifRenderUndefined },
} };

} // namespace

const ExifFormatInfo* ExifGetFormatInfo(uint32_t type)
{
    return type < formatTable.size() ? &formatTable[type] : nullptr;
}

void ExifSwapToHost(const ExifFormatInfo& info, std::span<uint8_t> raw)
{
    const size_t width = info.swap == ExifSwap::Two ? 2 : info.swap == ExifSwap::None ? 0 : 4;
    if (width == 0)
        return;
    for (size_t at = 0; at + width <= raw.size(); at += width)
        std::reverse(raw.begin() + at, raw.begin() + at + width);
}

size_t ExifRenderUnsigned(std::span<const uint8_t> raw, size_t index, size_t count, ExifRendering& out)
{
    const size_t width = unitSizeOf(raw, count);
    const auto value = static_cast<int64_t>(unitAt(raw, index * width, width));
    appendNumber(out.text, value);
    out.numerator = value;
    out.denominator = 1;
    return 1;
}

size_t ExifRenderSigned(std::span<const uint8_t> raw, size_t index, size_t count, ExifRendering& out)
{
    const size_t width = unitSizeOf(raw, count);
    const int64_t value = signExtend(unitAt(raw, index * width, width), width);
    appendNumber(out.text, value);
    out.numerator = value;
    out.denominator = 1;
    return 1;
}

namespace {

size_t formatRational(std::span<const uint8_t> raw, size_t index, bool isSigned, ExifRendering& out)
{
    const uint64_t n = unitAt(raw, index * 8, 4);
    const uint64_t d = unitAt(raw, index * 8 + 4, 4);
    out.numerator = isSigned ? signExtend(n, 4) : static_cast<int64_t>(n);
    out.denominator = isSigned ? signExtend(d, 4) : static_cast<int64_t>(d);
    appendNumber(out.text, out.numerator);
    out.text += '/';
    appendNumber(out.text, out.denominator);
    return 1;
}

} // namespace

size_t ExifRenderURational(std::span<const uint8_t> raw, size_t index, size_t, ExifRendering& out)
{
    return formatRational(raw, index, false, out);
}

size_t ExifRenderSRational(std::span<const uint8_t> raw, size_t index, size_t, ExifRendering& out)
{
    return formatRational(raw, index, true, out);
}

size_t ExifRenderText(std::span<const uint8_t> raw, size_t, size_t count, ExifRendering& out)
{
    std::string text;
    for (const uint8_t c : raw) {
        if (text.size() >= ExifMaxValueText)
            break;
        if (isPrintable(c) || c == 0) {
            text += static_cast<char>(c);
        } else if (c == 8) {
            text += "\\b";
        } else if (c == 9) {
            text += "\\t";
        } else if (c == 10) {
            text += "\\n";
        } else if (c == 13) {
            text += "\\r";
        } else {
            text += "\\0x";
            ExifAppendHex(text, c, 2);
        }
    }
    if (out.userComment) {
        // A user comment starts with an 8-byte character-code field; a text shorter than that is
        // cut to nothing rather than read beyond its end.
        if (text.starts_with("ASCII") || text.starts_with("UNICODE"))
            text.erase(0, std::min<size_t>(8, text.size()));
        if (text.size() > 1 && text[0] == ' ' && text[1] == '\0')
            text.clear();
    }
    appendLimited(out.text, text);
    return count == 0 ? 1 : count;
}

size_t ExifRenderUndefined(std::span<const uint8_t> raw, size_t index, size_t count, ExifRendering& out)
{
    const bool textLike = std::all_of(raw.begin(), raw.end(),
        [](uint8_t c) { return isPrintable(c) || c == 0 || c == 8 || c == 9 || c == 10 || c == 13; });
    if (textLike)
        return ExifRenderText(raw, index, count, out);
    std::string text = "{ ";
    const size_t shown = std::min<size_t>(raw.size(), 16);
    for (size_t i = 0; i < shown; ++i) {
        ExifAppendHex(text, raw[i], 2);
        text += ' ';
    }
    if (raw.size() > 16)
        text += "... ";
    text += '}';
    appendLimited(out.text, text);
    out.numerator = raw.empty() ? 0 : raw.back();
    out.denominator = 1;
    return count == 0 ? 1 : count;
}
