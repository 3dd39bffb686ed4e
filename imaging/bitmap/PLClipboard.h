// The desktop clipboard as the bitmap's copy and paste use it, in the original platform's terms:
// opened around each use, emptied before new data goes on it, data asked for by format number. The
// image library draws on no windowing system: a program with windows registers its clipboard once
// at start-up (the Qt one over QClipboard). Without a registered clipboard nothing can be copied or
// pasted.
#pragma once

#include "platform/gdi/Bitmap.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// The clipboard formats the bitmap uses.
inline constexpr unsigned PL_CF_BITMAP = 2; // a device bitmap (bitmap handle)
inline constexpr unsigned PL_CF_DIB = 8; // a DIB block: header, colour table, rows bottom row first
inline constexpr unsigned PL_CF_PALETTE = 9; // a logical palette (palette handle)

class PLClipboard {
public:
    virtual ~PLClipboard() = default;

    // False when there is no clipboard to open (no application with windows).
    virtual bool Open() = 0;
    virtual void Close() = 0;
    // Takes everything off the clipboard.
    virtual void Empty() = 0;
    virtual bool IsFormatAvailable(unsigned format) const = 0;

    // Puts a DIB block on the clipboard (besides what is there); false when it did not arrive.
    virtual bool SetDib(const std::vector<uint8_t>& block) = 0;
    // The clipboard's data in each format; none when it holds none in that format.
    virtual std::optional<std::vector<uint8_t>> GetDib() const = 0;
    virtual std::optional<gdi::Bitmap> GetBitmap() const = 0;
    virtual std::optional<gdi::Palette> GetPalette() const = 0;
};

using PLClipboardFactory = std::unique_ptr<PLClipboard> (*)();

// Registers the clipboard's factory (null: none); returns the one registered before.
PLClipboardFactory SetClipboardFactory(PLClipboardFactory factory);

// A clipboard from the registered factory, or none.
std::unique_ptr<PLClipboard> CreateClipboard();
