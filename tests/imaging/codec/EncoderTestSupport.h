// Helpers for the encoder tests: pictures of every depth with content that shows a misplaced pixel,
// the colours they should read back as, encoding into memory, running a reference tool, and a scratch
// folder.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/codec/PLPicEncoder.h"
#include "imaging/io/PLMemSink.h"

namespace encodertest {

using Bytes = std::vector<uint8_t>;

// A picture of the given depth whose every pixel differs from its neighbours. 1 bpp uses the two
// palette entries given; 8 bpp a palette of 256 distinct colours that is not grey.
inline std::unique_ptr<PLAnyBmp> MakePicture(int bpp, int width, int height, bool alpha = false,
    PLPixel32 entry0 = PLPixel32(0, 0, 0), PLPixel32 entry1 = PLPixel32(255, 255, 255))
{
    auto bmp = std::make_unique<PLAnyBmp>();
    bmp->Create(width, height, bpp, alpha, false);
    if (bpp == 1) {
        bmp->SetPaletteEntry(0, entry0.GetR(), entry0.GetG(), entry0.GetB(), 255);
        bmp->SetPaletteEntry(1, entry1.GetR(), entry1.GetG(), entry1.GetB(), 255);
    }
    if (bpp == 8)
        for (int i = 0; i < 256; ++i)
            bmp->SetPaletteEntry(i, static_cast<uint8_t>(i * 37), static_cast<uint8_t>(255 - i),
                static_cast<uint8_t>(i * 11 + 5), 255);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bmp->GetRow(y);
        for (int x = 0; x < width; ++x) {
            const auto r = static_cast<uint8_t>(x * 19 + y * 3);
            const auto g = static_cast<uint8_t>(y * 23 + 7);
            const auto b = static_cast<uint8_t>((x * y) * 5 + 11);
            switch (bpp) {
            case 1:
                if ((x * 3 + y) % 5 < 2)
                    row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
                break;
            case 8:
                row[x] = static_cast<uint8_t>(x * 7 + y * 31);
                break;
            case 24:
                row[x * 3] = b, row[x * 3 + 1] = g, row[x * 3 + 2] = r;
                break;
            case 32:
                row[x * 4] = b, row[x * 4 + 1] = g, row[x * 4 + 2] = r;
                row[x * 4 + 3] = static_cast<uint8_t>(alpha ? (x * 41 + y * 17) : 255);
                break;
            default:
                break;
            }
        }
    }
    bmp->SetResolution(PLCoord(300, 150));
    return bmp;
}

// Smooth colours for lossy coding: gradients without sharp edges.
inline std::unique_ptr<PLAnyBmp> MakeSmoothPicture(int width, int height)
{
    auto bmp = std::make_unique<PLAnyBmp>();
    bmp->Create(width, height, 32, false, false);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bmp->GetRow32(y)[x] = PLPixel32(static_cast<uint8_t>(40 + x * 150 / width),
                static_cast<uint8_t>(60 + y * 120 / height),
                static_cast<uint8_t>(200 - (x + y) * 100 / (width + height)));
    return bmp;
}

// The picture's colours as red, green, blue, alpha, top row first; alpha is 255 without the flag.
inline Bytes ExpectedRgba(const PLBmp& bmp)
{
    Bytes out;
    for (int y = 0; y < bmp.GetHeight(); ++y)
        for (int x = 0; x < bmp.GetWidth(); ++x) {
            const PLPixel32 p = bmp.GetPixel32(x, y);
            out.insert(
                out.end(), { p.GetR(), p.GetG(), p.GetB(), bmp.HasAlpha() ? p.GetA() : uint8_t { 255 } });
        }
    return out;
}

// Encodes into a memory sink of capacity bytes; the bytes written.
inline Bytes EncodeToMemory(PLPicEncoder& encoder, const PLBmp& bmp, int capacity = 1 << 22)
{
    Bytes buffer(static_cast<size_t>(capacity));
    PLMemSink sink;
    EXPECT_EQ(sink.OpenMemory(buffer.data(), capacity), 0);
    encoder.EncodeToSink(&bmp, &sink);
    buffer.resize(static_cast<size_t>(sink.GetBytesWritten()));
    return buffer;
}

// What a command writes on its standard output; empty when it fails.
inline Bytes RunTool(const std::string& command)
{
    Bytes out;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return out;
    char chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
        out.insert(out.end(), chunk, chunk + got);
    if (::pclose(pipe) != 0)
        out.clear();
    return out;
}

inline std::string RunText(const std::string& command)
{
    const Bytes out = RunTool(command);
    return std::string(out.begin(), out.end());
}

// ImageMagick's decode of a file as red, green, blue, alpha bytes, top row first.
inline Bytes ImageMagickRgba(const std::string& path)
{
    return RunTool("convert-im6.q16 '" + path + "' -depth 8 rgba:-");
}

inline Bytes ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A folder of its own for each test, removed afterwards.
class ScratchFolder : public testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "-" + info->name();
        for (char& c : name)
            if (c == '/')
                c = '-';
        dir = std::filesystem::temp_directory_path()
            / ("orvanel-enc-" + std::to_string(::getpid()) + "-" + name);
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    // The names in the folder, to show that no temporary file is left behind.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::filesystem::path dir;
};

} // namespace encodertest
