// The data lengths and names of the QuickDraw opcodes 0x00 to 0xA1 that a PICT reader skips.
#pragma once

namespace pict {

// A fixed length in bytes, or one of these.
inline constexpr int kLengthFollows = -1; // a 16-bit length precedes the data
inline constexpr int kHandledByCode = -2; // clip, patterns, polygons, bitmaps, long comments

int OpcodeDataLength(int opcode);

// The published QuickDraw name of an opcode 0x00 to 0xA1, "reserved" for the rows kept for Apple's
// use; none beyond them.
const char* OpcodeName(int opcode);

} // namespace pict
