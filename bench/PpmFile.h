#pragma once

// Reading and writing binary PPM (P6, maxval 255) for the bench tools. The input file is mapped
// rather than copied, and pixels go straight into the caller's 4-byte rows (blue, green, red,
// alpha 255), so that a tool's time is spent on its work, not on buffers.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bench {

// A mapped P6 file: its size and where its pixels start.
class PpmInput {
public:
    static std::optional<PpmInput> Open(const std::string& path)
    {
        PpmInput in;
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0)
            return std::nullopt;
        struct stat st { };
        if (::fstat(fd, &st) == 0 && st.st_size > 0) {
            in.m_Size = static_cast<size_t>(st.st_size);
            void* p = ::mmap(nullptr, in.m_Size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
            in.m_Data = p == MAP_FAILED ? nullptr : static_cast<const uint8_t*>(p);
        }
        ::close(fd);
        if (!in.m_Data || !in.ParseHeader())
            return std::nullopt;
        return in;
    }

    PpmInput(PpmInput&& other) noexcept
        : m_Data(std::exchange(other.m_Data, nullptr))
        , m_Size(other.m_Size)
        , m_Pixels(other.m_Pixels)
        , m_Width(other.m_Width)
        , m_Height(other.m_Height)
    {
    }
    PpmInput& operator=(PpmInput&&) = delete;
    ~PpmInput()
    {
        if (m_Data)
            ::munmap(const_cast<uint8_t*>(m_Data), m_Size);
    }

    int64_t Width() const { return m_Width; }
    int64_t Height() const { return m_Height; }

    // Converts row y into width 4-byte pixels.
    void ReadRow(int64_t y, uint8_t* out) const
    {
        const uint8_t* rgb = m_Data + m_Pixels + static_cast<size_t>(y * m_Width * 3);
        for (int64_t x = 0; x < m_Width; ++x, rgb += 3, out += 4) {
            out[0] = rgb[2];
            out[1] = rgb[1];
            out[2] = rgb[0];
            out[3] = 255;
        }
    }

private:
    PpmInput() = default;

    bool Number(size_t& at, int64_t& value) const
    {
        while (at < m_Size
            && (m_Data[at] == '#' || m_Data[at] == ' ' || m_Data[at] == '\n' || m_Data[at] == '\r'
                || m_Data[at] == '\t')) {
            if (m_Data[at] == '#')
                while (at < m_Size && m_Data[at] != '\n')
                    ++at;
            ++at;
        }
        if (at >= m_Size || m_Data[at] < '0' || m_Data[at] > '9')
            return false;
        value = 0;
        while (at < m_Size && m_Data[at] >= '0' && m_Data[at] <= '9' && value < (int64_t { 1 } << 40))
            value = value * 10 + (m_Data[at++] - '0');
        return true;
    }

    bool ParseHeader()
    {
        size_t at = 2;
        int64_t maxval = 0;
        if (m_Size < 2 || m_Data[0] != 'P' || m_Data[1] != '6' || !Number(at, m_Width)
            || !Number(at, m_Height) || !Number(at, maxval) || maxval != 255 || m_Width <= 0 || m_Height <= 0
            || m_Width * m_Height > (int64_t { 1 } << 30))
            return false;
        m_Pixels = at + 1; // one whitespace byte ends the header
        return m_Pixels + static_cast<size_t>(m_Width * m_Height * 3) <= m_Size;
    }

    const uint8_t* m_Data = nullptr;
    size_t m_Size = 0;
    size_t m_Pixels = 0;
    int64_t m_Width = 0;
    int64_t m_Height = 0;
};

// Writes width x height 4-byte pixels, given by their rows, as P6, a band of rows at a time.
inline bool WritePpm(const std::string& path, int64_t width, int64_t height, const uint8_t* const* rows)
{
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> f(std::fopen(path.c_str(), "wb"));
    if (!f)
        return false;
    const std::string header = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    bool ok = std::fwrite(header.data(), 1, header.size(), f.get()) == header.size();
    const int64_t band = std::max<int64_t>(1, (int64_t { 1 } << 20) / (width * 3));
    std::vector<uint8_t> buffer(static_cast<size_t>(band * width * 3));
    for (int64_t y0 = 0; ok && y0 < height; y0 += band) {
        uint8_t* out = buffer.data();
        for (int64_t y = y0; y < std::min(height, y0 + band); ++y)
            for (int64_t x = 0; x < width; ++x, out += 3) {
                const uint8_t* px = rows[y] + x * 4;
                out[0] = px[2];
                out[1] = px[1];
                out[2] = px[0];
            }
        const auto bytes = static_cast<size_t>(out - buffer.data());
        ok = std::fwrite(buffer.data(), 1, bytes, f.get()) == bytes;
    }
    return ok && std::fflush(f.get()) == 0;
}

} // namespace bench
