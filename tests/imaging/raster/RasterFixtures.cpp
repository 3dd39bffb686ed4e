#include "imaging/raster/RasterFixtures.h"

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/codec/PLPicDecoder.h"
#include "imaging/io/PLTextException.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace rasterfixtures {

void Put8(Bytes& out, unsigned v)
{
    out.push_back(static_cast<uint8_t>(v));
}

void Put16LE(Bytes& out, unsigned v)
{
    Put8(out, v & 0xFF);
    Put8(out, (v >> 8) & 0xFF);
}

void Put32LE(Bytes& out, uint32_t v)
{
    Put16LE(out, v & 0xFFFF);
    Put16LE(out, v >> 16);
}

void Put16BE(Bytes& out, unsigned v)
{
    Put8(out, (v >> 8) & 0xFF);
    Put8(out, v & 0xFF);
}

void Put32BE(Bytes& out, uint32_t v)
{
    Put16BE(out, v >> 16);
    Put16BE(out, v & 0xFFFF);
}

void PutText(Bytes& out, const std::string& text)
{
    out.insert(out.end(), text.begin(), text.end());
}

Picture DecodeOurs(PLPicDecoder& decoder, const Bytes& file)
{
    const auto copy = std::make_unique<uint8_t[]>(file.size());
    std::copy(file.begin(), file.end(), copy.get());
    PLAnyBmp bmp;
    decoder.DecodeMemory(copy.get(), static_cast<int>(file.size()), &bmp, 0);
    Picture out;
    out.width = bmp.GetWidth();
    out.height = bmp.GetHeight();
    out.hasAlpha = bmp.HasAlpha();
    out.isGreyscale = bmp.IsGreyscale();
    out.bpp = bmp.GetBitsPerPixel();
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const PLPixel32 p = bmp.GetPixel32(x, y);
            out.samples.insert(out.samples.end(), { p.GetR(), p.GetG(), p.GetB(), p.GetA() });
        }
    return out;
}

int DecodeError(PLPicDecoder& decoder, const Bytes& file)
{
    try {
        DecodeOurs(decoder, file);
    } catch (const PLTextException& e) {
        return e.GetCode();
    }
    return 0;
}

namespace {

// Reads the PNM or PAM the peer wrote; nullopt when it is not one.
class PnmParser {
public:
    explicit PnmParser(const std::string& data)
        : m_Data(data)
    {
    }

    std::optional<Picture> Parse()
    {
        if (m_Data.size() < 2 || m_Data[0] != 'P')
            return std::nullopt;
        const char kind = m_Data[1];
        m_Pos = 2;
        Picture pic;
        int depth = 0;
        if (kind == '7') {
            if (!ParsePamHeader(pic, depth))
                return std::nullopt;
        } else {
            pic.width = Number();
            pic.height = Number();
            pic.maxValue = kind == '1' || kind == '4' ? 1 : Number();
            depth = kind == '3' || kind == '6' ? 3 : 1;
            if (kind >= '4')
                ++m_Pos; // the one whitespace byte before binary samples
        }
        if (pic.width <= 0 || pic.height <= 0 || pic.maxValue <= 0)
            return std::nullopt;
        pic.hasAlpha = depth == 2 || depth == 4;
        const bool text = kind >= '1' && kind <= '3';
        const bool bits = kind == '4';
        m_Start = m_Pos;
        for (int y = 0; y < pic.height; ++y) {
            for (int x = 0; x < pic.width; ++x) {
                int s[4] = { 0, 0, 0, pic.maxValue };
                for (int c = 0; c < depth; ++c)
                    s[c] = bits ? Bit(x, y, pic.width) : text ? Number() : Sample(pic.maxValue);
                if (kind == '1' || bits)
                    s[0] = 1 - s[0]; // 1 is black
                if (depth <= 2) {
                    s[3] = depth == 2 ? s[1] : pic.maxValue;
                    s[1] = s[2] = s[0];
                }
                for (int v : s)
                    pic.samples.push_back(static_cast<uint16_t>(v));
            }
        }
        if (m_Failed)
            return std::nullopt;
        return pic;
    }

private:
    bool ParsePamHeader(Picture& pic, int& depth)
    {
        std::istringstream lines(m_Data.substr(m_Pos));
        std::string line;
        while (std::getline(lines, line)) {
            std::istringstream words(line);
            std::string key;
            words >> key;
            if (key == "WIDTH")
                words >> pic.width;
            else if (key == "HEIGHT")
                words >> pic.height;
            else if (key == "DEPTH")
                words >> depth;
            else if (key == "MAXVAL")
                words >> pic.maxValue;
            else if (key == "ENDHDR") {
                const auto at = lines.tellg();
                m_Pos += static_cast<size_t>(at);
                return depth >= 1 && depth <= 4;
            }
        }
        return false;
    }

    int Number()
    {
        while (m_Pos < m_Data.size()
            && (std::isspace(static_cast<unsigned char>(m_Data[m_Pos])) || m_Data[m_Pos] == '#')) {
            if (m_Data[m_Pos] == '#')
                while (m_Pos < m_Data.size() && m_Data[m_Pos] != '\n')
                    ++m_Pos;
            ++m_Pos;
        }
        int v = 0;
        bool any = false;
        while (m_Pos < m_Data.size() && std::isdigit(static_cast<unsigned char>(m_Data[m_Pos]))) {
            v = v * 10 + (m_Data[m_Pos++] - '0');
            any = true;
        }
        m_Failed |= !any;
        return v;
    }

    int Sample(int maxValue)
    {
        const size_t bytes = maxValue > 255 ? 2 : 1;
        if (m_Pos + bytes > m_Data.size()) {
            m_Failed = true;
            return 0;
        }
        int v = static_cast<uint8_t>(m_Data[m_Pos]);
        if (bytes == 2)
            v = v << 8 | static_cast<uint8_t>(m_Data[m_Pos + 1]);
        m_Pos += bytes;
        return v;
    }

    // PBM rows are packed bits, high bit first, each row starting on a byte.
    int Bit(int x, int y, int width)
    {
        const size_t index
            = m_Start + static_cast<size_t>(y) * ((static_cast<size_t>(width) + 7) / 8) + x / 8;
        if (index >= m_Data.size()) {
            m_Failed = true;
            return 0;
        }
        return (static_cast<uint8_t>(m_Data[index]) >> (7 - x % 8)) & 1;
    }

    const std::string& m_Data;
    size_t m_Pos = 0;
    size_t m_Start = 0;
    bool m_Failed = false;
};

} // namespace

std::optional<Picture> ReferenceDecode(const std::string& command, const Bytes& file, const std::string& name)
{
    namespace fs = std::filesystem;
    static int counter = 0;
    const fs::path folder = fs::temp_directory_path()
        / ("orvanel-raster-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    fs::create_directories(folder);
    const fs::path path = folder / name;
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    }
    std::string line = command;
    const std::string quoted = "'" + path.string() + "'";
    if (const size_t at = line.find("{}"); at != std::string::npos)
        line.replace(at, 2, quoted);
    else
        line += " " + quoted;
    std::string output;
    if (FILE* pipe = ::popen((line + " 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, got);
        ::pclose(pipe);
    }
    fs::remove_all(folder);
    return PnmParser(output).Parse();
}

int ScaledTo8Bits(int sample, int maxValue, int)
{
    return maxValue == 255 ? sample : (sample * 255 + maxValue / 2) / maxValue;
}

int CountDifferences(
    const Picture& ours, const Picture& peer, const SampleMapping& expected, std::string& firstDifference)
{
    if (ours.width != peer.width || ours.height != peer.height) {
        firstDifference = "size " + std::to_string(ours.width) + "x" + std::to_string(ours.height) + " vs "
            + std::to_string(peer.width) + "x" + std::to_string(peer.height);
        return -1;
    }
    int count = 0;
    for (int y = 0; y < ours.height; ++y)
        for (int x = 0; x < ours.width; ++x)
            for (int c = 0; c < 3; ++c) {
                const int want = expected(peer.At(x, y)[c], peer.maxValue, c);
                if (ours.At(x, y)[c] == want)
                    continue;
                if (count++ == 0)
                    firstDifference = "(" + std::to_string(x) + ", " + std::to_string(y) + ") channel "
                        + std::to_string(c) + ": ours " + std::to_string(ours.At(x, y)[c]) + ", expected "
                        + std::to_string(want) + " from the peer's " + std::to_string(peer.At(x, y)[c]) + "/"
                        + std::to_string(peer.maxValue);
            }
    return count;
}

int Pattern(int x, int y, int c, int n)
{
    return (x * 37 + y * 101 + c * 53 + (x * y) % 7) % n;
}

} // namespace rasterfixtures
