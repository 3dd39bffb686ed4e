#pragma once

// The inner loops of the two-pass scaler over 4-byte pixels, with the contributions of a pass
// prepared once: zero weights trimmed from both ends, 16-bit weight pairs for the vector units,
// and a flag telling whether 32-bit sums are safe. All results equal the plain integer
// arithmetic: sum of weight * channel, then (sum + 128) / 256 clamped to 0..255.

#include "imaging/resize/WeightTable.h"

#include <cstdint>
#include <vector>

namespace pass_scale {

struct Taps {
    int64_t first = 0; // first source index with a non-zero weight
    int32_t count = 0; // number of source indexes read
    int64_t offset = 0; // start of this entry in PreparedPass::weights
    int64_t pairOffset = 0; // start of this entry in PreparedPass::pairs
};

struct PreparedPass {
    std::vector<Taps> taps; // one per output position
    std::vector<int32_t> weights; // plain weights
    std::vector<int32_t> pairs; // two 16-bit weights per value (low: even tap, high: odd tap)
    int32_t maxCount = 0; // the most source indexes any output position reads
    bool narrow = false; // every weight fits 16 bits and no sum can leave 32 bits
    bool identity = false; // every output position copies the source position of the same index
};

PreparedPass Prepare(const WeightTable& table);

// Scales one row of 4-byte pixels; `dst` holds pass.taps.size() pixels.
void ScaleRow(const PreparedPass& pass, const uint8_t* src, uint8_t* dst);

// Computes output row `u` of a vertical pass from its source rows: rows[k] is source row
// taps[u].first + k. Every row holds `bytes` bytes.
void ScaleColumn(const PreparedPass& pass, size_t u, const uint8_t* const* rows, uint8_t* dst, int64_t bytes);

} // namespace pass_scale
