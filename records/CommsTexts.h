// Fixed texts of the record exchange: the result codes and the special commands that travel
// between computers.
#pragma once

#include <array>
#include <cstddef>
#include <string>

inline constexpr std::size_t CommsResultCount = 15;
inline constexpr std::size_t SpecialCommandCount = 17;

extern const std::array<std::string, CommsResultCount> CommsResultText;
extern const std::array<std::string, SpecialCommandCount> SpecialCommandText;

// The signed decimal text of value, zero-padded on the left to width when width is not 0 (the
// zeros go before a minus sign).
std::string IntToText(int value, int width = 0);
