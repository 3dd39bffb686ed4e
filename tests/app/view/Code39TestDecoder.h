// A small Code 39 reader for the tests: it takes the bars found along the code (from recorded
// fills or from a scan line of pixels), tells narrow from wide by width alone and looks the
// characters up in the symbology's table of bars and spaces, kept here apart from the painter.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace code39test {

// Each character: its five bars and its four spaces, 1 for wide, as the standard tabulates them.
struct StandardCharacter {
    char character;
    std::string_view bars;
    std::string_view spaces;
};

// clang-format off
inline constexpr StandardCharacter kStandard[44] = {
    { '0', "00110", "0100" }, { '1', "10001", "0100" }, { '2', "01001", "0100" },
    { '3', "11000", "0100" }, { '4', "00101", "0100" }, { '5', "10100", "0100" },
    { '6', "01100", "0100" }, { '7', "00011", "0100" }, { '8', "10010", "0100" },
    { '9', "01010", "0100" }, { 'A', "10001", "0010" }, { 'B', "01001", "0010" },
    { 'C', "11000", "0010" }, { 'D', "00101", "0010" }, { 'E', "10100", "0010" },
    { 'F', "01100", "0010" }, { 'G', "00011", "0010" }, { 'H', "10010", "0010" },
    { 'I', "01010", "0010" }, { 'J', "00110", "0010" }, { 'K', "10001", "0001" },
    { 'L', "01001", "0001" }, { 'M', "11000", "0001" }, { 'N', "00101", "0001" },
    { 'O', "10100", "0001" }, { 'P', "01100", "0001" }, { 'Q', "00011", "0001" },
    { 'R', "10010", "0001" }, { 'S', "01010", "0001" }, { 'T', "00110", "0001" },
    { 'U', "10001", "1000" }, { 'V', "01001", "1000" }, { 'W', "11000", "1000" },
    { 'X', "00101", "1000" }, { 'Y', "10100", "1000" }, { 'Z', "01100", "1000" },
    { '-', "00011", "1000" }, { '.', "10010", "1000" }, { ' ', "01010", "1000" },
    { '*', "00110", "1000" }, { '$', "00000", "1110" }, { '/', "00000", "1101" },
    { '+', "00000", "1011" }, { '%', "00000", "0111" },
};
// clang-format on

// A bar from start (inclusive) to end (exclusive) along the direction the code is read.
struct Bar {
    int64_t start;
    int64_t end;
};

// The text between the start and stop characters, or nothing when the bars do not read as a
// Code 39 symbol (wrong count, an unknown character, a missing start or stop).
inline std::optional<std::string> DecodeCode39(std::vector<Bar> bars)
{
    std::sort(bars.begin(), bars.end(), [](const Bar& a, const Bar& b) { return a.start < b.start; });
    // Widths alternate bar, space, bar, ...
    std::vector<int64_t> widths;
    for (std::size_t i = 0; i < bars.size(); ++i) {
        if (i > 0)
            widths.push_back(bars[i].start - bars[i - 1].end);
        widths.push_back(bars[i].end - bars[i].start);
    }
    if (widths.size() < 19 || (widths.size() + 1) % 10 != 0)
        return std::nullopt;
    const int64_t narrow = *std::min_element(widths.begin(), widths.end());
    if (narrow <= 0)
        return std::nullopt;
    std::string text;
    for (std::size_t first = 0; first < widths.size(); first += 10) {
        std::string barBits, spaceBits;
        for (std::size_t k = 0; k < 9; ++k)
            (k % 2 == 0 ? barBits : spaceBits) += widths[first + k] >= 2 * narrow ? '1' : '0';
        if (first + 9 < widths.size() && widths[first + 9] >= 2 * narrow)
            return std::nullopt; // the gap between characters is narrow
        const auto* found = std::find_if(std::begin(kStandard), std::end(kStandard),
            [&](const auto& c) { return c.bars == barBits && c.spaces == spaceBits; });
        if (found == std::end(kStandard))
            return std::nullopt;
        text += found->character;
    }
    if (text.size() < 2 || text.front() != '*' || text.back() != '*')
        return std::nullopt;
    return text.substr(1, text.size() - 2);
}

} // namespace code39test
