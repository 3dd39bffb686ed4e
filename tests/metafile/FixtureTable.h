// The table of small metafile fixtures: each a metafile built from records, checked by the
// colours at points worked out by hand, by where ink lies, and (where a Debian peer renders them)
// against the peer: ImageMagick with libwmf for Windows metafiles, emf2svg through rsvg for
// enhanced ones. Every fixture is 100 x 100 pixels, one logical unit a pixel.
#pragma once

#include "metafile/DecodeForTest.h"
#include "metafile/EmfBuilder.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace fixturetable {

using decodefortest::Decode;
using decodefortest::Opaque;
using decodefortest::TestFolder;
using emfbuilder::EmfBuilder;
using wmfwriter::Bytes;
using wmfwriter::Writer;

const PLPixel32 kWhite(255, 255, 255, 255);
const PLPixel32 kBlack(0, 0, 0, 255);
const PLPixel32 kRed(255, 0, 0, 255);
const PLPixel32 kGreen(0, 255, 0, 255);
const PLPixel32 kBlue(0, 0, 255, 255);

enum class Peer { None, Libwmf, Emf2svg };

struct Spot {
    int x;
    int y;
    PLPixel32 colour;
    int tolerance = 0; // per channel
};

// Whether any pixel in the box (right and bottom excluded) is not white.
struct Ink {
    int left;
    int top;
    int right;
    int bottom;
    bool expected;
};

struct Fixture {
    const char* name;
    std::function<Bytes()> file;
    std::vector<Spot> spots;
    std::vector<Ink> ink = {};
    Peer peer = Peer::None;
};

inline constexpr int kWmfSetPixel = 0x041F;

// A placeable Windows metafile of 100 x 100 units at 96 an inch: one unit a pixel. White pixels in
// two corners make ImageMagick, which crops to what is drawn, keep the whole picture.
inline Bytes Placeable(const std::function<void(Writer&)>& records)
{
    Writer w(8);
    w.Record(wmfwriter::kSetWindowOrg, { 0, 0 });
    w.Record(wmfwriter::kSetWindowExt, { 100, 100 });
    w.Record(kWmfSetPixel, { 0xFFFF, 0x00FF, 0, 0 });
    w.Record(kWmfSetPixel, { 0xFFFF, 0x00FF, 99, 99 });
    records(w);
    return w.File(0, 0, 100, 100, 96);
}

// An enhanced metafile 100 x 100 pixels, logical units pixels.
inline Bytes Enhanced(const std::function<void(EmfBuilder&)>& records)
{
    EmfBuilder b(100);
    records(b);
    return b.File();
}

inline bool Near(const PLPixel32& a, const PLPixel32& b, int tolerance)
{
    return std::abs(a.GetR() - b.GetR()) <= tolerance && std::abs(a.GetG() - b.GetG()) <= tolerance
        && std::abs(a.GetB() - b.GetB()) <= tolerance;
}

inline std::string Show(const PLPixel32& p)
{
    return "(" + std::to_string(p.GetR()) + "," + std::to_string(p.GetG()) + "," + std::to_string(p.GetB())
        + ")";
}

// Whether each box holds ink (a pixel that is not white) as the fixture expects.
inline void CheckInk(const QImage& image, const std::vector<Ink>& boxes, const char* whose)
{
    for (const Ink& ink : boxes) {
        bool any = false;
        for (int y = ink.top; y < ink.bottom; ++y)
            for (int x = ink.left; x < ink.right; ++x)
                any = any || (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        EXPECT_EQ(any, ink.expected) << whose << " ink in " << ink.left << "," << ink.top << " to "
                                     << ink.right << "," << ink.bottom;
    }
}

// The peer's rendering of the file at the given size, or a null image when the peer failed.
inline QImage PeerRendering(
    Peer peer, const std::string& folder, const std::string& file, int width, int height)
{
    const std::string png = folder + "peer.png";
    std::string command;
    if (peer == Peer::Libwmf)
        command = "convert-im6.q16 -density 96 '" + file + "' -background white -flatten '" + png + "'";
    else
        command = "emf2svg-conv -i '" + file + "' -o '" + folder + "peer.svg' && rsvg-convert -b white -w "
            + std::to_string(width) + " -h " + std::to_string(height) + " '" + folder + "peer.svg' -o '" + png
            + "'";
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0)
        return {};
    return QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
}

// Decodes the fixture's file (kept in the test's folder with its picture), checks its spots and ink,
// and compares it with the peer's rendering when it names one.
inline void CheckFixture(const Fixture& f)
{
    const Bytes file = f.file();
    const std::string name = std::string(f.name) + (f.name[0] == 'e' ? ".emf" : ".wmf");
    const auto bmp = Decode(file, name);
    ASSERT_EQ(bmp->GetSize(), PLCoord(100, 100));
    const QImage ours = decodefortest::ToImage(*bmp);
    ours.save(QString::fromStdString((TestFolder() / (std::string(f.name) + ".png")).string()));
    for (const Spot& s : f.spots)
        EXPECT_TRUE(Near(bmp->GetPixel32(s.x, s.y), s.colour, s.tolerance))
            << s.x << "," << s.y << " is " << Show(bmp->GetPixel32(s.x, s.y)) << ", not " << Show(s.colour);
    CheckInk(ours, f.ink, "ours");
    if (f.peer == Peer::None)
        return;
    // The peer agrees at the spots, and differs in few pixels (edges are drawn differently).
    const std::string folder = TestFolder().string() + "/" + f.name + "-";
    const QImage theirs = PeerRendering(f.peer, folder, (TestFolder() / name).string(), 100, 100);
    ASSERT_EQ(theirs.size(), QSize(100, 100)) << "the peer failed";
    for (const Spot& s : f.spots) {
        const QRgb c = theirs.pixel(s.x, s.y);
        EXPECT_TRUE(
            Near(Opaque(uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c))), s.colour, s.tolerance + 8))
            << "peer at " << s.x << "," << s.y;
    }
    CheckInk(theirs, f.ink, "the peer's");
    int differing = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            const QRgb a = ours.pixel(x, y);
            const QRgb b = theirs.pixel(x, y);
            differing += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b))
                    + std::abs(qBlue(a) - qBlue(b))
                > 96;
        }
    EXPECT_LT(differing, 100 * 100 * 4 / 100) << "pixels differing from the peer";
}

} // namespace fixturetable
