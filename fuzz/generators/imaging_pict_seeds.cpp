// Writes the seed corpus of the imaging_pict fuzz target: small PICT files of both versions with
// bit maps, pix maps at every depth, direct bits, skipped drawing and an embedded JPEG.
//   g++ -std=c++20 -I tests fuzz/generators/imaging_pict_seeds.cpp -o build/pict-seeds
//   build/pict-seeds fuzz/corpus/imaging_pict
#include "imaging/pict/PictWriter.h"

#include <fstream>
#include <string>

namespace {

using namespace pictwriter;

void write(const std::string& folder, const std::string& name, const Bytes& file)
{
    std::ofstream out(folder + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

std::vector<Colour> Table(int count)
{
    std::vector<Colour> table;
    for (int i = 0; i < count; ++i)
        table.push_back({ uint16_t(i), uint8_t(i * 40), uint8_t(255 - i * 40), uint8_t(i) });
    return table;
}

std::vector<Bytes> Rows(int height, int rowBytes)
{
    std::vector<Bytes> rows;
    for (int y = 0; y < height; ++y) {
        Bytes row(static_cast<size_t>(rowBytes), static_cast<uint8_t>(y));
        row[0] = 0x5A;
        rows.push_back(row);
    }
    return rows;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 1;
    const std::string folder = argv[1];
    for (const int pixelSize : { 1, 2, 4, 8 })
        for (const int width : { 5, 40 }) {
            const int rowBytes = (width * pixelSize + 7) / 8;
            Writer w(2, { 0, 0, 3, width });
            w.PixMapOpcode({ 0, 0, 3, width }, pixelSize, rowBytes,
                Table(1 << (pixelSize > 2 ? 2 : pixelSize)), false, Rows(3, rowBytes),
                width == 5 ? 0x98 : 0x99);
            w.End();
            write(folder, "pixmap-" + std::to_string(pixelSize) + "-" + std::to_string(width), w.Data());
        }
    for (const int components : { 3, 4 }) {
        Writer w(2, { 0, 0, 2, 6 });
        w.DirectBits({ 0, 0, 2, 6 }, 32, components, Rows(2, 6 * components));
        w.End();
        write(folder, "direct32-" + std::to_string(components), w.Data());
    }
    {
        Writer w(2, { 0, 0, 2, 6 });
        w.DirectBits({ 0, 0, 2, 6 }, 16, 3, Rows(2, 12));
        write(folder, "direct16", w.Data());
    }
    {
        Writer w(1, { 0, 0, 2, 16 });
        w.Opcode(0x90);
        w.U16(2);
        w.RectOf({ 0, 0, 2, 16 });
        w.RectOf({ 0, 0, 2, 16 });
        w.RectOf({ 0, 0, 2, 16 });
        w.U16(0);
        w.Raw({ 0xAA, 0x55, 0xF0, 0x0F });
        write(folder, "bitmap-v1", w.Data());
    }
    {
        Writer w(2, { 0, 0, 1, 8 });
        w.Opcode(0x0001);
        w.U16(10);
        w.RectOf({ 0, 0, 1, 8 });
        w.Opcode(0x00A5);
        w.U16(2);
        w.U16(0);
        w.Opcode(0x8000);
        w.Opcode(0x0070);
        w.U16(4);
        w.U16(0);
        w.Opcode(0x00A1);
        w.U16(1);
        w.U16(1);
        w.U8(0);
        w.Opcode(0x0012);
        w.U16(2);
        w.Raw(Bytes(13, 0));
        w.PixMapOpcode({ 0, 0, 1, 8 }, 8, 8, Table(4), true, Rows(1, 8));
        write(folder, "skipped-drawing", w.Data());
    }
    {
        Writer w(2, { 0, 0, 1, 1 });
        w.Opcode(0x20);
        w.Raw(Bytes(8, 0));
        w.End();
        write(folder, "vector-only", w.Data());
    }
    {
        // A minimal baseline JPEG of 8 x 8 grey would need an encoder; the marker alone makes the
        // fuzzer find the JPEG path.
        Writer w(2, { 0, 0, 8, 8 });
        w.Opcode(0x8200);
        w.U32(8);
        w.Raw({ 0, 0, 0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10 });
        write(folder, "quicktime-marker", w.Data());
    }
    return 0;
}
