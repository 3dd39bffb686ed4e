#include "imaging/pict/PictOpcodes.h"

#include <array>
#include <cstddef>

namespace pict {
namespace {

struct Span {
    int first;
    int last;
    int length;
};

// Opcodes 0x00 to 0xA1 by ranges; every opcode of the range is listed.
constexpr Span kSpans[] = {
    { 0x00, 0x00, 0 }, { 0x01, 0x01, kHandledByCode }, // clip region
    { 0x02, 0x02, 8 }, { 0x03, 0x03, 2 }, { 0x04, 0x04, 1 }, { 0x05, 0x05, 2 }, { 0x06, 0x07, 4 },
    { 0x08, 0x08, 2 }, { 0x09, 0x0A, 8 }, { 0x0B, 0x0C, 4 }, { 0x0D, 0x0D, 2 }, { 0x0E, 0x0F, 4 },
    { 0x10, 0x10, 8 }, { 0x11, 0x11, 1 }, { 0x12, 0x14, kHandledByCode }, // pixel patterns
    { 0x15, 0x16, 2 }, { 0x17, 0x19, 0 }, { 0x1A, 0x1B, 6 }, { 0x1C, 0x1C, 0 }, { 0x1D, 0x1D, 6 },
    { 0x1E, 0x1E, 0 }, { 0x1F, 0x1F, 6 }, { 0x20, 0x20, 8 }, { 0x21, 0x21, 4 }, { 0x22, 0x22, 6 },
    { 0x23, 0x23, 2 }, { 0x24, 0x27, kLengthFollows }, { 0x28, 0x2B, 0 }, { 0x2C, 0x2F, kLengthFollows },
    { 0x30, 0x37, 8 }, { 0x38, 0x3F, 0 }, { 0x40, 0x47, 8 }, { 0x48, 0x4F, 0 }, { 0x50, 0x57, 8 },
    { 0x58, 0x5F, 0 }, { 0x60, 0x67, 12 }, { 0x68, 0x6F, 4 }, { 0x70, 0x77, kHandledByCode }, // polygons
    { 0x78, 0x7F, 0 }, { 0x80, 0x8F, 0 }, { 0x90, 0x91, kHandledByCode }, // bitmaps
    { 0x92, 0x97, kLengthFollows }, { 0x98, 0x9A, kHandledByCode }, // bitmaps and direct bits
    { 0x9B, 0x9F, kLengthFollows }, { 0xA0, 0xA0, 2 }, { 0xA1, 0xA1, kHandledByCode }, // long comment
};

constexpr std::array<int, 0xA2> MakeTable()
{
    std::array<int, 0xA2> table {};
    for (const Span& span : kSpans)
        for (int op = span.first; op <= span.last; ++op)
            table[static_cast<size_t>(op)] = span.length;
    return table;
}

constexpr auto kTable = MakeTable();

// The published QuickDraw names, by opcode.
constexpr std::array<const char*, 0xA2> kNames = { "NOP", "Clip", "BkPat", "TxFont", "TxFace", "TxMode",
    "SpExtra", "PnSize", "PnMode", "PnPat", "FillPat", "OvSize", "Origin", "TxSize", "FgColor", "BkColor",
    "TxRatio", "VersionOp", "BkPixPat", "PnPixPat", "FillPixPat", "PnLocHFrac", "ChExtra", "reserved",
    "reserved", "reserved", "RGBFgCol", "RGBBkCol", "HiliteMode", "HiliteColor", "DefHilite", "OpColor",
    "Line", "LineFrom", "ShortLine", "ShortLineFrom", "reserved", "reserved", "reserved", "reserved",
    "LongText", "DHText", "DVText", "DHDVText", "fontName", "lineJustify", "glyphState", "reserved",
    "frameRect", "paintRect", "eraseRect", "invertRect", "fillRect", "reserved", "reserved", "reserved",
    "frameSameRect", "paintSameRect", "eraseSameRect", "invertSameRect", "fillSameRect", "reserved",
    "reserved", "reserved", "frameRRect", "paintRRect", "eraseRRect", "invertRRect", "fillRRect", "reserved",
    "reserved", "reserved", "frameSameRRect", "paintSameRRect", "eraseSameRRect", "invertSameRRect",
    "fillSameRRect", "reserved", "reserved", "reserved", "frameOval", "paintOval", "eraseOval", "invertOval",
    "fillOval", "reserved", "reserved", "reserved", "frameSameOval", "paintSameOval", "eraseSameOval",
    "invertSameOval", "fillSameOval", "reserved", "reserved", "reserved", "frameArc", "paintArc", "eraseArc",
    "invertArc", "fillArc", "reserved", "reserved", "reserved", "frameSameArc", "paintSameArc",
    "eraseSameArc", "invertSameArc", "fillSameArc", "reserved", "reserved", "reserved", "framePoly",
    "paintPoly", "erasePoly", "invertPoly", "fillPoly", "reserved", "reserved", "reserved", "frameSamePoly",
    "paintSamePoly", "eraseSamePoly", "invertSamePoly", "fillSamePoly", "reserved", "reserved", "reserved",
    "frameRgn", "paintRgn", "eraseRgn", "invertRgn", "fillRgn", "reserved", "reserved", "reserved",
    "frameSameRgn", "paintSameRgn", "eraseSameRgn", "invertSameRgn", "fillSameRgn", "reserved", "reserved",
    "reserved", "BitsRect", "BitsRgn", "reserved", "reserved", "reserved", "reserved", "reserved", "reserved",
    "PackBitsRect", "PackBitsRgn", "DirectBitsRect", "DirectBitsRgn", "reserved", "reserved", "reserved",
    "reserved", "ShortComment", "LongComment" };

} // namespace

int OpcodeDataLength(int opcode)
{
    return opcode >= 0 && opcode < int(kTable.size()) ? kTable[static_cast<size_t>(opcode)] : kHandledByCode;
}

const char* OpcodeName(int opcode)
{
    return opcode >= 0 && opcode < int(kNames.size()) ? kNames[static_cast<size_t>(opcode)] : nullptr;
}

} // namespace pict
