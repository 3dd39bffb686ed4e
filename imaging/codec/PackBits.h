// The PackBits expansion that every decoder of packed rows uses (PICT, PSD, IFF-85), over units of
// one byte or, for 16-bit PICT rows, two.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace packbits {

// Expands the runs of in into out until out is full or in is used up, and returns the number of
// bytes of in consumed. A control byte n below 128 copies the n + 1 units that follow, 128 does
// nothing, any other n repeats the next unit 257 - n times. A run is cut at the end of out (a cut
// literal still consumes its input, so that a stream of rows goes on at the next control byte);
// a unit that in does not hold whole ends the expansion. Bytes of out not written are zeroed.
size_t Expand(std::span<const uint8_t> in, std::span<uint8_t> out, size_t unit = 1);

} // namespace packbits
