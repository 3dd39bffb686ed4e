#include "imaging/resize/PassScaleLoops.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

#if defined(__x86_64__)
#include <immintrin.h>
#define PASS_SCALE_X86 1
#endif

namespace pass_scale {

namespace {

uint8_t ToByte(int64_t sum)
{
    const int64_t v = (sum + 128) / 256;
    return static_cast<uint8_t>(std::clamp<int64_t>(v, 0, 255));
}

int32_t PackPair(int32_t even, int32_t odd)
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(even))
        | (static_cast<uint32_t>(static_cast<uint16_t>(odd)) << 16));
}

// --- plain loops, 64-bit sums: used when 32-bit sums could overflow and where no vector unit is ---

void ScaleRowPlain(const PreparedPass& pass, const uint8_t* src, uint8_t* dst)
{
    for (const Taps& t : pass.taps) {
        int64_t sum[4] = { 0, 0, 0, 0 };
        const uint8_t* p = src + t.first * 4;
        const int32_t* w = pass.weights.data() + t.offset;
        for (int32_t k = 0; k < t.count; ++k, p += 4)
            for (int c = 0; c < 4; ++c)
                sum[c] += static_cast<int64_t>(w[k]) * p[c];
        for (int c = 0; c < 4; ++c)
            *dst++ = ToByte(sum[c]);
    }
}

void ScaleColumnPlain(
    const PreparedPass& pass, size_t u, const uint8_t* const* rows, uint8_t* dst, int64_t from, int64_t bytes)
{
    const Taps& t = pass.taps[u];
    const int32_t* w = pass.weights.data() + t.offset;
    for (int64_t i = from; i < bytes; ++i) {
        int64_t sum = 0;
        for (int32_t k = 0; k < t.count; ++k)
            sum += static_cast<int64_t>(w[k]) * rows[k][i];
        dst[i] = ToByte(sum);
    }
}

#if PASS_SCALE_X86

// --- horizontal: one output pixel per register, two source pixels per multiply-add ---

__attribute__((target("ssse3"))) void ScaleRowSsse3(
    const PreparedPass& pass, const uint8_t* src, uint8_t* dst)
{
    // Two neighbouring pixels b0 g0 r0 a0 b1 g1 r1 a1 become the 16-bit lanes b0 b1 g0 g1 r0 r1 a0 a1.
    const __m128i interleave = _mm_setr_epi8(0, -1, 4, -1, 1, -1, 5, -1, 2, -1, 6, -1, 3, -1, 7, -1);
    const __m128i half = _mm_set1_epi32(128);
    for (const Taps& t : pass.taps) {
        const uint8_t* p = src + t.first * 4;
        const int32_t* pair = pass.pairs.data() + t.pairOffset;
        __m128i sum = _mm_setzero_si128();
        int32_t k = 0;
        for (; k + 2 <= t.count; k += 2, p += 8, ++pair) {
            const __m128i px
                = _mm_shuffle_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), interleave);
            sum = _mm_add_epi32(sum, _mm_madd_epi16(px, _mm_set1_epi32(*pair)));
        }
        if (k < t.count) {
            int32_t last;
            std::memcpy(&last, p, 4);
            const __m128i px = _mm_shuffle_epi8(_mm_cvtsi32_si128(last), interleave);
            sum = _mm_add_epi32(sum, _mm_madd_epi16(px, _mm_set1_epi32(*pair)));
        }
        // An arithmetic shift floors where the division truncates; both clamp to 0 below zero.
        const __m128i v = _mm_srai_epi32(_mm_add_epi32(sum, half), 8);
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(v, v), v);
        const int32_t out = _mm_cvtsi128_si32(bytes);
        std::memcpy(dst, &out, 4);
        dst += 4;
    }
}

// --- vertical: 16 (or 32) bytes of a row at a time, two source rows per multiply-add ---

__m128i RoundPack(__m128i a0, __m128i a1, __m128i a2, __m128i a3)
{
    const __m128i half = _mm_set1_epi32(128);
    a0 = _mm_srai_epi32(_mm_add_epi32(a0, half), 8);
    a1 = _mm_srai_epi32(_mm_add_epi32(a1, half), 8);
    a2 = _mm_srai_epi32(_mm_add_epi32(a2, half), 8);
    a3 = _mm_srai_epi32(_mm_add_epi32(a3, half), 8);
    return _mm_packus_epi16(_mm_packs_epi32(a0, a1), _mm_packs_epi32(a2, a3));
}

int64_t ScaleColumnSse2(const Taps& t, const int32_t* pairs, const uint8_t* const* rows, uint8_t* dst,
    int64_t from, int64_t bytes)
{
    const __m128i zero = _mm_setzero_si128();
    int64_t i = from;
    for (; i + 16 <= bytes; i += 16) {
        __m128i a0 = zero, a1 = zero, a2 = zero, a3 = zero;
        for (int32_t k = 0; k < t.count; k += 2) {
            const __m128i w = _mm_set1_epi32(pairs[k / 2]);
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + i));
            const __m128i y
                = k + 1 < t.count ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k + 1] + i)) : zero;
            const __m128i lo = _mm_unpacklo_epi8(x, y);
            const __m128i hi = _mm_unpackhi_epi8(x, y);
            a0 = _mm_add_epi32(a0, _mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), w));
            a1 = _mm_add_epi32(a1, _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), w));
            a2 = _mm_add_epi32(a2, _mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), w));
            a3 = _mm_add_epi32(a3, _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), w));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), RoundPack(a0, a1, a2, a3));
    }
    return i;
}

__attribute__((target("avx2"))) __m256i RoundPack256(__m256i a0, __m256i a1, __m256i a2, __m256i a3)
{
    const __m256i half = _mm256_set1_epi32(128);
    a0 = _mm256_srai_epi32(_mm256_add_epi32(a0, half), 8);
    a1 = _mm256_srai_epi32(_mm256_add_epi32(a1, half), 8);
    a2 = _mm256_srai_epi32(_mm256_add_epi32(a2, half), 8);
    a3 = _mm256_srai_epi32(_mm256_add_epi32(a3, half), 8);
    // The unpacks and packs all work within 128-bit lanes, so the byte order comes back intact.
    return _mm256_packus_epi16(_mm256_packs_epi32(a0, a1), _mm256_packs_epi32(a2, a3));
}

__attribute__((target("avx2"))) int64_t ScaleColumnAvx2(const Taps& t, const int32_t* pairs,
    const uint8_t* const* rows, uint8_t* dst, int64_t from, int64_t bytes)
{
    const __m256i zero = _mm256_setzero_si256();
    int64_t i = from;
    for (; i + 32 <= bytes; i += 32) {
        __m256i a0 = zero, a1 = zero, a2 = zero, a3 = zero;
        for (int32_t k = 0; k < t.count; k += 2) {
            const __m256i w = _mm256_set1_epi32(pairs[k / 2]);
            const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[k] + i));
            const __m256i y = k + 1 < t.count
                ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[k + 1] + i))
                : zero;
            const __m256i lo = _mm256_unpacklo_epi8(x, y);
            const __m256i hi = _mm256_unpackhi_epi8(x, y);
            a0 = _mm256_add_epi32(a0, _mm256_madd_epi16(_mm256_unpacklo_epi8(lo, zero), w));
            a1 = _mm256_add_epi32(a1, _mm256_madd_epi16(_mm256_unpackhi_epi8(lo, zero), w));
            a2 = _mm256_add_epi32(a2, _mm256_madd_epi16(_mm256_unpacklo_epi8(hi, zero), w));
            a3 = _mm256_add_epi32(a3, _mm256_madd_epi16(_mm256_unpackhi_epi8(hi, zero), w));
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), RoundPack256(a0, a1, a2, a3));
    }
    return i;
}

struct CpuFeatures {
    bool ssse3;
    bool avx2;
};

const CpuFeatures& Cpu()
{
    static const CpuFeatures features = [] {
        __builtin_cpu_init();
        return CpuFeatures { __builtin_cpu_supports("ssse3") != 0, __builtin_cpu_supports("avx2") != 0 };
    }();
    return features;
}

#endif

} // namespace

PreparedPass Prepare(const WeightTable& table)
{
    PreparedPass pass;
    pass.taps.reserve(table.entries.size());
    pass.narrow = true;
    pass.identity = true;
    for (size_t u = 0; u < table.entries.size(); ++u) {
        const auto w = table.WeightsOf(u);
        size_t begin = 0, end = w.size();
        while (end > begin && w[end - 1] == 0)
            --end;
        while (begin < end && w[begin] == 0)
            ++begin;
        if (begin == end) // no weight at all: read one source index with weight 0
            end = begin + 1;

        Taps t;
        t.first = table.entries[u].first + static_cast<int64_t>(begin);
        t.count = static_cast<int32_t>(end - begin);
        t.offset = static_cast<int64_t>(pass.weights.size());
        t.pairOffset = static_cast<int64_t>(pass.pairs.size());
        int64_t magnitude = 0;
        for (size_t k = begin; k < end; k += 2) {
            const int32_t odd = k + 1 < end ? w[k + 1] : 0;
            pass.pairs.push_back(PackPair(w[k], odd));
        }
        for (size_t k = begin; k < end; ++k) {
            pass.weights.push_back(w[k]);
            magnitude += std::abs(static_cast<int64_t>(w[k]));
            if (w[k] > std::numeric_limits<int16_t>::max() || w[k] < std::numeric_limits<int16_t>::min())
                pass.narrow = false;
        }
        if (magnitude * 255 + 128 > std::numeric_limits<int32_t>::max())
            pass.narrow = false;
        if (t.count != 1 || w[begin] != 256 || t.first != static_cast<int64_t>(u))
            pass.identity = false;
        pass.maxCount = std::max(pass.maxCount, t.count);
        pass.taps.push_back(t);
    }
    return pass;
}

void ScaleRow(const PreparedPass& pass, const uint8_t* src, uint8_t* dst)
{
    if (pass.identity) {
        std::memcpy(dst, src, pass.taps.size() * 4);
        return;
    }
#if PASS_SCALE_X86
    if (pass.narrow && Cpu().ssse3) {
        ScaleRowSsse3(pass, src, dst);
        return;
    }
#endif
    ScaleRowPlain(pass, src, dst);
}

void ScaleColumn(const PreparedPass& pass, size_t u, const uint8_t* const* rows, uint8_t* dst, int64_t bytes)
{
    const Taps& t = pass.taps[u];
    if (t.count == 1 && pass.weights[static_cast<size_t>(t.offset)] == 256) {
        std::memcpy(dst, rows[0], static_cast<size_t>(bytes));
        return;
    }
    int64_t done = 0;
#if PASS_SCALE_X86
    if (pass.narrow) {
        const int32_t* pairs = pass.pairs.data() + t.pairOffset;
        if (Cpu().avx2)
            done = ScaleColumnAvx2(t, pairs, rows, dst, done, bytes);
        done = ScaleColumnSse2(t, pairs, rows, dst, done, bytes);
    }
#endif
    ScaleColumnPlain(pass, u, rows, dst, done, bytes);
}

} // namespace pass_scale
