// The pictures inside metafile records: packed device-independent bitmaps (header, colours, bits),
// the older device-dependent bitmaps of Windows metafiles, and brush patterns made of either.
#pragma once

#include "imaging/metafile/MetafileCanvas.h"
#include "imaging/metafile/MetafileData.h"

#include <cstdint>
#include <vector>

namespace metafile {

using Bytes = std::vector<uint8_t>;

// A packed DIB checked and viewed; the view points into the packed bytes (or the pixels decoded
// from them) and the colour table.
struct DibPicture {
    gdi::DibView view;
    std::vector<gdi::RGBQUAD> colours;
    // The bits decoded from a layout the canvas does not take, in the packed rows' order.
    std::vector<uint8_t> pixels;
    // Pixels a run-length picture leaves out have alpha 0 (the others 255): what lies below them
    // stays as it was.
    bool sparse = false;
};

// The view of a packed DIB at any depth and compression a bitmap file may have; false when its
// header is of an unknown kind or its bits do not fit.
bool ReadDib(const uint8_t* dib, uint64_t size, DibPicture& picture);

// The header and the bits an enhanced-metafile record holds apart (offsets from the record's
// start), joined into one packed DIB; empty when an offset points into the record's head, and
// code 2 (the record is skipped) when they reach past its end.
Bytes JoinedDib(const Params& p, uint32_t headerAt, uint32_t headerSize, uint32_t bitsAt, uint32_t bitsSize);

// The packed DIB of a monochrome brush, whose header may come without a colour table: then one is
// put in (its colours do not matter, the brush draws its bits in the text and background colours).
Bytes MonoBrushDib(
    const Params& p, uint32_t headerAt, uint32_t headerSize, uint32_t bitsAt, uint32_t bitsSize);

// A Windows metafile's device-dependent bitmap (type, width, height, row bytes, planes, bits per
// pixel at headerAt; its rows, top first, at bitsAt) as a packed DIB; a one-bit bitmap is black on
// white. Empty when it is of another depth or its rows do not fit.
Bytes Bitmap16Dib(const Params& p, size_t headerAt, size_t bitsAt);

// The packed DIB cut down to the scan lines a record gives (its header's height made that many
// rows); false when it has no header or no lines.
bool KeepScanLines(Bytes& dib, uint32_t scans);

// The pattern of a brush made of a packed DIB; null when the DIB cannot be read or is too large.
// A monochrome one-bit pattern is black for its 0 bits and white for its 1 bits, whatever its
// colour table says (the brush draws them in the text and background colours).
std::shared_ptr<const Pattern> PatternOf(const uint8_t* dib, uint64_t size, bool monochrome = false);

} // namespace metafile
