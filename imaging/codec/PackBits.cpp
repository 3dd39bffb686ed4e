#include "imaging/codec/PackBits.h"

#include <algorithm>
#include <cstring>

namespace packbits {

size_t Expand(std::span<const uint8_t> in, std::span<uint8_t> out, size_t unit)
{
    const size_t outUnits = unit > 0 ? out.size() / unit : 0;
    size_t i = 0; // bytes of in consumed
    size_t o = 0; // units of out written
    while (i < in.size() && o < outUnits) {
        const unsigned control = in[i++];
        const size_t inUnits = (in.size() - i) / unit;
        if (control < 128) {
            const size_t count = std::min<size_t>(control + 1, inUnits);
            const size_t kept = std::min(count, outUnits - o);
            std::memcpy(out.data() + o * unit, in.data() + i, kept * unit);
            // A literal with a part unit at the end of the input consumes that part too.
            i = count < control + 1u ? in.size() : i + count * unit;
            o += kept;
        } else if (control > 128) {
            if (inUnits == 0)
                break;
            const size_t kept = std::min<size_t>(257 - control, outUnits - o);
            for (size_t k = 0; k < kept; ++k, ++o)
                std::memcpy(out.data() + o * unit, in.data() + i, unit);
            i += unit;
        }
    }
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(o * unit), out.end(), uint8_t(0));
    return i;
}

} // namespace packbits
