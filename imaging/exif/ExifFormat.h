// The TIFF value types of an EXIF directory entry: unit size, byte order handling and the routine that
// renders components as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Longest value text or display text kept for one entry; longer texts are cut here.
inline constexpr size_t ExifMaxValueText = 64 * 1024;

// What a component formatter writes: the text, and the numerator and denominator of the last component
// it rendered. 64-bit so that every 32-bit value, signed or not, and every rational are held exactly.
struct ExifRendering {
    std::string text;
    int64_t numerator = 0;
    int64_t denominator = 1;
    bool userComment = false; // the entry is "Sub.User": a character-code prefix is removed
};

// Renders the component at index of the value (raw bytes in host order, unitSize bytes a component,
// count components) by appending to out.text; returns how many components it used (the text and
// undefined-bytes formatters use all of them at once).
using ExifComponentFormatter
    = size_t (*)(std::span<const uint8_t> raw, size_t index, size_t count, ExifRendering& out);

enum class ExifSwap { None, Two, Four, TwoFours };

struct ExifFormatInfo {
    uint32_t unitSize;
    ExifSwap swap;
    ExifComponentFormatter formatter;
};

inline constexpr uint16_t ExifFormatByte = 1;
inline constexpr uint16_t ExifFormatAscii = 2;
inline constexpr uint16_t ExifFormatShort = 3;
inline constexpr uint16_t ExifFormatLong = 4;
inline constexpr uint16_t ExifFormatRational = 5;
inline constexpr uint16_t ExifFormatSByte = 6;
inline constexpr uint16_t ExifFormatUndefined = 7;
inline constexpr uint16_t ExifFormatSShort = 8;
inline constexpr uint16_t ExifFormatSLong = 9;
inline constexpr uint16_t ExifFormatSRational = 10;
inline constexpr uint16_t ExifFormatFloat = 11;
inline constexpr uint16_t ExifFormatDouble = 12;

// Row of the format table for the type (0 to 12); nullptr for any other type. Row 0 exists (unit size 1,
// undefined bytes) but the reader rejects type 0 before using it.
const ExifFormatInfo* ExifGetFormatInfo(uint32_t type);

// Reorders the components of a value read from a block of the other byte order than the host's into
// host order. FLOAT and DOUBLE are left as they are.
void ExifSwapToHost(const ExifFormatInfo& info, std::span<uint8_t> raw);

// The component formatters of the table, exposed for tests.
size_t ExifRenderUnsigned(std::span<const uint8_t> raw, size_t index, size_t count, ExifRendering& out);
size_t ExifRenderSigned(std::span<const uint8_t> raw, size_t index, size_t count, ExifRendering& out);
size_t ExifRenderURational(std::span<const uint8_t> raw, size_t index, size_t count, ExifRendering& out);
size_t ExifRenderSRational(std::span<const uint8_t> raw, size_t index, size_t count, ExifRendering& out);
size_t ExifRenderText(std::span<const uint8_t> raw, size_t index, size_t count, ExifRendering& out);
size_t ExifRenderUndefined(std::span<const uint8_t> raw, size_t index, size_t count, ExifRendering& out);
