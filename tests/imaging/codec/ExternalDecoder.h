// Runs an independent decoder (ImageMagick, netpbm) on a file the test wrote, for comparing pictures
// with one the library decoded. The file goes to the test-output folder; the tool's standard output
// is read back whole.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace external {

using Bytes = std::vector<uint8_t>;

// Writes the bytes to test-output/<folder>/<name> and returns the path.
inline std::string WriteTestFile(const std::string& folder, const std::string& name, const Bytes& data)
{
    const std::filesystem::path dir = std::filesystem::path(ORVANEL_TEST_OUTPUT) / folder;
    std::filesystem::create_directories(dir);
    const std::filesystem::path path = dir / name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return path.string();
}

// The standard output of a shell command (empty when it could not run).
inline Bytes Output(const std::string& command)
{
    Bytes result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.insert(result.end(), buffer, buffer + n);
    pclose(pipe);
    return result;
}

// ImageMagick's reading of frame `frame` of the file as 8-bit RGBA samples.
inline Bytes ImageMagickRgba(const std::string& path, int frame)
{
    return Output("convert '" + path + "[" + std::to_string(frame) + "]' -depth 8 rgba:- 2>/dev/null");
}

// The samples of a binary PPM (P6, maxval 255) after its header; empty for anything else.
inline Bytes PpmSamples(const Bytes& ppm, int& width, int& height)
{
    std::string header;
    size_t i = 0;
    int fields = 0;
    int values[3] = {};
    if (ppm.size() < 2 || ppm[0] != 'P' || ppm[1] != '6')
        return {};
    i = 2;
    while (fields < 3 && i < ppm.size()) {
        while (i < ppm.size() && (ppm[i] == ' ' || ppm[i] == '\n' || ppm[i] == '\r' || ppm[i] == '\t'))
            ++i;
        if (i < ppm.size() && ppm[i] == '#') {
            while (i < ppm.size() && ppm[i] != '\n')
                ++i;
            continue;
        }
        int v = 0;
        while (i < ppm.size() && ppm[i] >= '0' && ppm[i] <= '9')
            v = v * 10 + (ppm[i++] - '0');
        values[fields++] = v;
    }
    ++i; // the one white-space byte after the maximum value
    width = values[0];
    height = values[1];
    if (values[2] != 255 || i > ppm.size())
        return {};
    return Bytes(ppm.begin() + long(i), ppm.end());
}

} // namespace external
