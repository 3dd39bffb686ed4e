#pragma once

// Reading and writing binary PPM (P6, maxval 255) for the bench tools. Pixels go between the file
// and the caller's 4-byte rows (blue, green, red, alpha 255) a band of rows at a time, read straight
// into the rows and written through one small buffer, so that a tool's time is spent on its work,
// not on memory. The band is 120 KB: the C library hands that out from its heap, while a buffer from
// 128 KB on is mapped fresh for each use, and on a virtual machine each fresh page and the unmapping
// cost more than the work on a small picture; a smaller band costs a large picture thousands more
// system calls.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#if defined(__x86_64__)
#include <immintrin.h>
#define BENCH_PPM_X86 1
#endif

namespace bench {

// The most bytes of pixels read or written in one call (at least one row).
constexpr int64_t kPpmBandBytes = int64_t { 120 } << 10;

// The packed RGB pixels that fill the last three quarters of a row of `width` 4-byte pixels are
// spread over the whole row as blue, green, red, alpha 255, front to back: pixel x is written over
// bytes that earlier pixels have already been read from (4x + 4 <= width + 3x + 3 for every x below
// width), so the row needs no buffer of its own.
inline void SpreadRgbTail(uint8_t* row, int64_t width, int64_t first)
{
    const uint8_t* rgb = row + width + first * 3;
    uint8_t* out = row + first * 4;
    for (int64_t x = first; x < width; ++x, rgb += 3, out += 4) {
        const uint8_t r = rgb[0], g = rgb[1], b = rgb[2];
        out[0] = b;
        out[1] = g;
        out[2] = r;
        out[3] = 255;
    }
}

#if BENCH_PPM_X86
// Four pixels a step: each step loads 16 bytes (12 of them its own) before it stores 16, and the
// store ends at or before the next step's load (4x + 16 <= width + 3x + 12); the loads stay within
// the row (3x + 16 <= 3 width).
__attribute__((target("ssse3"))) inline void SpreadRgbSsse3(uint8_t* row, int64_t width)
{
    const __m128i order = _mm_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1);
    const __m128i alpha = _mm_set1_epi32(static_cast<int32_t>(0xff000000u));
    int64_t x = 0;
    for (; x + 6 <= width; x += 4) {
        const __m128i px = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + width + x * 3));
        _mm_storeu_si128(
            reinterpret_cast<__m128i*>(row + x * 4), _mm_or_si128(_mm_shuffle_epi8(px, order), alpha));
    }
    SpreadRgbTail(row, width, x);
}

#endif

using RowConversion = void (*)(const uint8_t*, uint8_t*, int64_t);

inline void SpreadRgbPlain(uint8_t* row, int64_t width)
{
    SpreadRgbTail(row, width, 0);
}

inline void (*PickSpreadRgb())(uint8_t*, int64_t)
{
#if BENCH_PPM_X86
    if (__builtin_cpu_supports("ssse3"))
        return SpreadRgbSsse3;
#endif
    return SpreadRgbPlain;
}

// A P6 file read front to back: the header when opened, then the pixels a band of rows at a time
// with readv(2) straight into the caller's rows, so that no page of the file is mapped and no
// buffer but the rows is touched.
class PpmInput {
public:
    static std::optional<PpmInput> Open(const std::string& path)
    {
        PpmInput in;
        in.m_Fd = ::open(path.c_str(), O_RDONLY);
        if (in.m_Fd < 0 || !in.ParseHeader())
            return std::nullopt;
        return in;
    }

    PpmInput(PpmInput&& other) noexcept
        : m_Fd(std::exchange(other.m_Fd, -1))
        , m_Buffer(std::move(other.m_Buffer))
        , m_Start(other.m_Start)
        , m_End(other.m_End)
        , m_Width(other.m_Width)
        , m_Height(other.m_Height)
    {
    }
    PpmInput& operator=(PpmInput&&) = delete;
    ~PpmInput()
    {
        if (m_Fd >= 0)
            ::close(m_Fd);
    }

    int64_t Width() const { return m_Width; }
    int64_t Height() const { return m_Height; }

    // Reads every row, top first, into rows[y] as width 4-byte pixels. False on a short file.
    // A row's packed RGB bytes land in its last three quarters and are then spread over it.
    bool ReadRows(uint8_t* const* rows)
    {
        const auto rgbBytes = static_cast<size_t>(m_Width * 3);
        const int64_t band = std::clamp<int64_t>(kPpmBandBytes / m_Width / 3, 1, kPiecesPerCall);
        const auto spread = PickSpreadRgb();
        std::vector<iovec> pieces;
        for (int64_t y0 = 0; y0 < m_Height; y0 += band) {
            const int64_t end = std::min(y0 + band, m_Height);
            pieces.clear();
            for (int64_t y = y0; y < end; ++y)
                pieces.push_back({ rows[y] + m_Width, rgbBytes });
            if (!ReadInto(pieces))
                return false;
            for (int64_t y = y0; y < end; ++y)
                spread(rows[y], m_Width);
        }
        return true;
    }

private:
    // The most pieces one readv(2) takes on Linux (IOV_MAX).
    static constexpr int64_t kPiecesPerCall = 1024;

    PpmInput() = default;

    // Fills the pieces with the file's next bytes: first those read with the header, then readv(2).
    bool ReadInto(std::vector<iovec>& pieces)
    {
        size_t next = 0;
        const auto advance = [&](size_t bytes) {
            while (bytes > 0) {
                const size_t taken = std::min(bytes, pieces[next].iov_len);
                pieces[next].iov_base = static_cast<uint8_t*>(pieces[next].iov_base) + taken;
                pieces[next].iov_len -= taken;
                bytes -= taken;
                if (pieces[next].iov_len == 0)
                    ++next;
            }
        };
        while (m_Start < m_End && next < pieces.size()) {
            const size_t bytes = std::min(m_End - m_Start, pieces[next].iov_len);
            std::memcpy(pieces[next].iov_base, m_Buffer.data() + m_Start, bytes);
            m_Start += bytes;
            advance(bytes);
        }
        while (next < pieces.size()) {
            const ssize_t got = ::readv(m_Fd, pieces.data() + next, static_cast<int>(pieces.size() - next));
            if (got <= 0)
                return false;
            advance(static_cast<size_t>(got));
        }
        return true;
    }

    bool Number(size_t& at, int64_t& value) const
    {
        while (at < m_End
            && (m_Buffer[at] == '#' || m_Buffer[at] == ' ' || m_Buffer[at] == '\n' || m_Buffer[at] == '\r'
                || m_Buffer[at] == '\t')) {
            if (m_Buffer[at] == '#')
                while (at < m_End && m_Buffer[at] != '\n')
                    ++at;
            ++at;
        }
        if (at >= m_End || m_Buffer[at] < '0' || m_Buffer[at] > '9')
            return false;
        value = 0;
        while (at < m_End && m_Buffer[at] >= '0' && m_Buffer[at] <= '9' && value < (int64_t { 1 } << 40))
            value = value * 10 + (m_Buffer[at++] - '0');
        return true;
    }

    // The header must lie within the file's first 4 KB.
    bool ParseHeader()
    {
        m_Buffer.resize(4096);
        const ssize_t got = ::read(m_Fd, m_Buffer.data(), m_Buffer.size());
        if (got < 2)
            return false;
        m_End = static_cast<size_t>(got);
        size_t at = 2;
        int64_t maxval = 0;
        if (m_Buffer[0] != 'P' || m_Buffer[1] != '6' || !Number(at, m_Width) || !Number(at, m_Height)
            || !Number(at, maxval) || maxval != 255 || m_Width <= 0 || m_Height <= 0
            || m_Width * m_Height > (int64_t { 1 } << 30) || at >= m_End)
            return false;
        m_Start = at + 1; // one whitespace byte ends the header
        return true;
    }

    int m_Fd = -1;
    std::vector<uint8_t> m_Buffer;
    size_t m_Start = 0; // unread bytes of the file are m_Buffer[m_Start, m_End)
    size_t m_End = 0;
    int64_t m_Width = 0;
    int64_t m_Height = 0;
};

#if BENCH_PPM_X86
// Converts `count` 4-byte pixels into packed RGB; `rgb` must stay writable for 4 bytes beyond.
__attribute__((target("ssse3"))) inline void BgraToRgbSsse3(const uint8_t* px, uint8_t* rgb, int64_t count)
{
    const __m128i order = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    int64_t x = 0;
    for (; x + 4 <= count; x += 4, px += 16, rgb += 12)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(rgb),
            _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(px)), order));
    for (; x < count; ++x, px += 4, rgb += 3) {
        rgb[0] = px[2];
        rgb[1] = px[1];
        rgb[2] = px[0];
    }
}

#endif

inline void BgraToRgbPlain(const uint8_t* px, uint8_t* rgb, int64_t count)
{
    for (int64_t x = 0; x < count; ++x, px += 4, rgb += 3) {
        rgb[0] = px[2];
        rgb[1] = px[1];
        rgb[2] = px[0];
    }
}

inline RowConversion PickBgraToRgb()
{
#if BENCH_PPM_X86
    if (__builtin_cpu_supports("ssse3"))
        return BgraToRgbSsse3;
#endif
    return BgraToRgbPlain;
}

// Writes width x height 4-byte pixels, given by their rows, as P6, a band of rows at a time.
inline bool WritePpm(const std::string& path, int64_t width, int64_t height, const uint8_t* const* rows)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const std::string header = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    const auto writeAll = [fd](const uint8_t* data, size_t bytes) {
        while (bytes > 0) {
            const ssize_t put = ::write(fd, data, bytes);
            if (put <= 0)
                return false;
            data += put;
            bytes -= static_cast<size_t>(put);
        }
        return true;
    };
    bool ok = writeAll(reinterpret_cast<const uint8_t*>(header.data()), header.size());
    const int64_t rowBytes = width * 3;
    const int64_t band = std::max<int64_t>(1, kPpmBandBytes / rowBytes);
    std::vector<uint8_t> buffer(static_cast<size_t>(band * rowBytes + 16));
    const auto convert = PickBgraToRgb();
    for (int64_t y0 = 0; ok && y0 < height; y0 += band) {
        const int64_t count = std::min(band, height - y0);
        for (int64_t y = 0; y < count; ++y)
            convert(rows[y0 + y], buffer.data() + y * rowBytes, width);
        ok = writeAll(buffer.data(), static_cast<size_t>(count * rowBytes));
    }
    return ::close(fd) == 0 && ok;
}

} // namespace bench
