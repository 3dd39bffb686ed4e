// The enhanced metafile's gradient fill: rectangles shaded from left to right or from top to
// bottom, and triangles shaded between their corners, each colour given in 16 bits a channel.
#include "imaging/metafile/EmfRecordTypes.h"
#include "imaging/metafile/MetafilePlayer.h"
#include "imaging/metafile/RasterOperation.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace metafile {
namespace {

constexpr uint32_t kRectanglesAcross = 0;
constexpr uint32_t kRectanglesDown = 1;
constexpr uint32_t kTriangles = 2;

struct Vertex {
    PointD at; // output pixels
    std::array<double, 3> rgb; // 0 to 65535
};

// A block of output pixels, top row first, as a 32-bit picture whose fourth byte is the pixel's
// coverage (0 where the shape does not reach).
struct Block {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bytes;

    void Put(int x, int y, const std::array<double, 3>& rgb)
    {
        uint8_t* pixel = &bytes[(size_t(y) * size_t(width) + size_t(x)) * 4];
        for (size_t c = 0; c < 3; ++c)
            pixel[2 - c]
                = static_cast<uint8_t>(std::isfinite(rgb[c]) ? std::clamp(rgb[c], 0.0, 65535.0) / 256 : 0);
        pixel[3] = 255;
    }
};

// The block of the picture's pixels whose centres lie inside the box of the points, its bytes not
// yet made.
Block BlockAround(std::initializer_list<PointD> points, int pictureWidth, int pictureHeight)
{
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    for (const PointD& p : points) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    const auto [left, right] = PixelSpan(minX, maxX, pictureWidth);
    const auto [top, bottom] = PixelSpan(minY, maxY, pictureHeight);
    return { left, top, right - left, bottom - top, {} };
}

std::array<double, 3> Mix(const std::array<double, 3>& a, const std::array<double, 3>& b, double t)
{
    return { a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t };
}

void ShadeRectangle(Block& block, const Vertex& a, const Vertex& b, bool across)
{
    const double from = across ? a.at.x : a.at.y;
    const double to = across ? b.at.x : b.at.y;
    for (int y = 0; y < block.height; ++y)
        for (int x = 0; x < block.width; ++x) {
            const double along = (across ? block.left + x : block.top + y) + 0.5;
            const double t = to == from ? 0 : std::clamp((along - from) / (to - from), 0.0, 1.0);
            block.Put(x, y, Mix(a.rgb, b.rgb, t));
        }
}

void ShadeTriangle(Block& block, const Vertex& a, const Vertex& b, const Vertex& c)
{
    // Barycentric weights of each pixel's centre; a pixel is inside when none is negative.
    const double area = (b.at.x - a.at.x) * (c.at.y - a.at.y) - (c.at.x - a.at.x) * (b.at.y - a.at.y);
    if (area == 0)
        return;
    constexpr double kEdge = 1e-9;
    for (int y = 0; y < block.height; ++y)
        for (int x = 0; x < block.width; ++x) {
            const double px = block.left + x + 0.5;
            const double py = block.top + y + 0.5;
            const double wa = ((b.at.x - px) * (c.at.y - py) - (c.at.x - px) * (b.at.y - py)) / area;
            const double wb = ((c.at.x - px) * (a.at.y - py) - (a.at.x - px) * (c.at.y - py)) / area;
            const double wc = 1 - wa - wb;
            if (!(wa >= -kEdge && wb >= -kEdge && wc >= -kEdge))
                continue; // outside, or weights no number (a triangle all but flat)
            std::array<double, 3> rgb {};
            for (size_t i = 0; i < 3; ++i)
                rgb[i] = wa * a.rgb[i] + wb * b.rgb[i] + wc * c.rgb[i];
            block.Put(x, y, rgb);
        }
}

} // namespace

bool MetafilePlayer::PlayEmfGradient(const Record& record)
{
    if (record.type != emr::GradientFill)
        return false;
    const Params p(record);
    const uint32_t count = p.U32(16);
    const uint32_t shapes = p.U32(20);
    const uint32_t mode = p.U32(24);
    constexpr size_t kVertices = 28;
    p.Bytes(kVertices, uint64_t(count) * 16);
    std::vector<Vertex> vertices;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = kVertices + 16 * size_t(i);
        vertices.push_back({ Out(p.I32(at), p.I32(at + 4)),
            { double(p.U16(at + 8)), double(p.U16(at + 10)), double(p.U16(at + 12)) } });
    }
    if (mode != kRectanglesAcross && mode != kRectanglesDown && mode != kTriangles)
        return false;
    const size_t corners = mode == kTriangles ? 3 : 2;
    const size_t at = kVertices + 16 * size_t(count);
    p.Bytes(at, uint64_t(shapes) * corners * 4);
    if (m_inPath)
        return true;
    Sync();
    for (uint32_t s = 0; s < shapes; ++s) {
        std::array<const Vertex*, 3> v {};
        for (size_t i = 0; i < corners; ++i) {
            const uint32_t index = p.U32(at + 4 * (s * corners + i));
            v[i] = index < vertices.size() ? &vertices[index] : nullptr;
        }
        if (v[0] == nullptr || v[1] == nullptr || (corners == 3 && v[2] == nullptr))
            continue;
        Block block = corners == 3 ? BlockAround({ v[0]->at, v[1]->at, v[2]->at }, m_width, m_height)
                                   : BlockAround({ v[0]->at, v[1]->at }, m_width, m_height);
        if (block.width <= 0 || block.height <= 0 || !SpendPixelWork(int64_t(block.width) * block.height))
            continue;
        block.bytes.assign(size_t(block.width) * size_t(block.height) * 4, 0);
        if (corners == 3)
            ShadeTriangle(block, *v[0], *v[1], *v[2]);
        else
            ShadeRectangle(block, *v[0], *v[1], mode == kRectanglesAcross);
        gdi::DibView view;
        view.width = block.width;
        view.height = -block.height;
        view.bitsPerPixel = 32;
        view.bits = block.bytes.data();
        view.bitsSize = block.bytes.size();
        PictureStyle style;
        style.sourceAlpha = true;
        m_canvas.Picture({ double(block.left), double(block.top) },
            { double(block.left + block.width), double(block.top + block.height) }, view, 0, 0, block.width,
            block.height, style);
    }
    return true;
}

} // namespace metafile
