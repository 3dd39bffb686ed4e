// The JPEG decoder against libjpeg's own decode of the same files with the same settings.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/codec/ExternalDecoder.h"
#include "imaging/exif/ExifData.h"
#include "imaging/io/PLMemSource.h"
#include "imaging/io/PLProgressListener.h"
#include "imaging/io/PLTextException.h"
#include "imaging/jpeg/JpegFixtures.h"
#include "imaging/jpeg/PLJPEGDecoder.h"

namespace {

using namespace jpegfixtures;

struct Decoded {
    std::unique_ptr<PLAnyBmp> bmp = std::make_unique<PLAnyBmp>();
    int warnings = 0;
    std::string lastWarning;
};

Decoded Decode(PLJPEGDecoder& decoder, const Bytes& jpeg, int bpp = 0)
{
    Decoded result;
    decoder.DecodeMemory(jpeg.data(), static_cast<int>(jpeg.size()), result.bmp.get(), bpp);
    result.warnings = decoder.GetWarningCount();
    result.lastWarning = decoder.GetLastWarning();
    return result;
}

Decoded Decode(const Bytes& jpeg, int bpp = 0)
{
    PLJPEGDecoder decoder;
    return Decode(decoder, jpeg, bpp);
}

// Every row of the bitmap equals the reference's samples, which have the bitmap's own layout.
void ExpectSamePixels(const PLBmp& bmp, const ReferenceImage& ref)
{
    ASSERT_TRUE(ref.error.empty()) << ref.error;
    ASSERT_EQ(bmp.GetWidth(), ref.width);
    ASSERT_EQ(bmp.GetHeight(), ref.height);
    ASSERT_EQ(bmp.GetBitsPerPixel(), ref.components * 8);
    const size_t rowBytes = static_cast<size_t>(ref.width) * ref.components;
    for (int y = 0; y < ref.height; ++y)
        ASSERT_EQ(std::memcmp(bmp.GetRow(y), ref.samples.data() + y * rowBytes, rowBytes), 0) << "row " << y;
}

// The code and text of the exception that decoding raises, or code 0.
std::pair<int, std::string> DecodeError(PLJPEGDecoder& decoder, const Bytes& jpeg)
{
    try {
        Decode(decoder, jpeg);
    } catch (const PLTextException& e) {
        return { e.GetCode(), e.GetText() };
    }
    return { 0, "" };
}

struct LayoutCase {
    const char* name;
    JpegRecipe recipe;
};

// The case's name already tells its coding; its size completes it.
void PrintTo(const LayoutCase& c, std::ostream* os)
{
    *os << c.recipe.width << " x " << c.recipe.height;
}

class JpegLayouts : public testing::TestWithParam<LayoutCase> { };

// Colour files of every coding and layout decode to exactly libjpeg's pixels (float DCT, no fancy
// upsampling), straight into blue, green, red, 255.
TEST_P(JpegLayouts, EqualLibjpegsOwnDecode)
{
    const Bytes jpeg = MakeJpeg(GetParam().recipe);
    const Decoded decoded = Decode(jpeg);
    ExpectSamePixels(*decoded.bmp, ReferenceDecode(jpeg, Layout::Bgra, false));
    EXPECT_EQ(decoded.warnings, 0);
    EXPECT_FALSE(decoded.bmp->HasAlpha());
    EXPECT_FALSE(decoded.bmp->IsGreyscale());
}

JpegRecipe Recipe(int w, int h, int lumaH = 2, int lumaV = 2)
{
    JpegRecipe recipe;
    recipe.width = w;
    recipe.height = h;
    recipe.lumaH = lumaH;
    recipe.lumaV = lumaV;
    return recipe;
}

JpegRecipe With(JpegRecipe recipe, bool progressive, bool arithmetic, int restart)
{
    recipe.progressive = progressive;
    recipe.arithmetic = arithmetic;
    recipe.restartInterval = restart;
    return recipe;
}

INSTANTIATE_TEST_SUITE_P(Decoder, JpegLayouts,
    testing::Values(LayoutCase { "Baseline420", Recipe(100, 50) },
        LayoutCase { "Baseline444", Recipe(64, 48, 1, 1) },
        LayoutCase { "Baseline422", Recipe(66, 40, 2, 1) }, LayoutCase { "Odd1x1", Recipe(1, 1) },
        LayoutCase { "Odd17x13", Recipe(17, 13) }, LayoutCase { "Odd33x7", Recipe(33, 7) },
        LayoutCase { "Odd7x33", Recipe(7, 33) }, LayoutCase { "Odd3x129", Recipe(3, 129) },
        LayoutCase { "Progressive", With(Recipe(57, 43), true, false, 0) },
        LayoutCase { "RestartInterval", With(Recipe(75, 61), false, false, 2) },
        LayoutCase { "Arithmetic", With(Recipe(47, 35), false, true, 0) },
        LayoutCase { "ProgressiveArithmeticRestart", With(Recipe(45, 39), true, true, 1) }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JpegDecoder, FancyUpsamplingWhenNotFast)
{
    const Bytes jpeg = MakeJpeg(Recipe(37, 23));
    PLJPEGDecoder decoder;
    decoder.SetFast(false);
    ExpectSamePixels(*Decode(decoder, jpeg).bmp, ReferenceDecode(jpeg, Layout::Bgra, true));
}

TEST(JpegDecoder, GreyscaleAt8And32BitsPerPixel)
{
    JpegRecipe recipe = Recipe(31, 17);
    recipe.colour = Colour::Grey;
    const Bytes jpeg = MakeJpeg(recipe);
    const ReferenceImage ref = ReferenceDecode(jpeg, Layout::Grey, false);

    const Decoded grey = Decode(jpeg, 0);
    ExpectSamePixels(*grey.bmp, ref);
    EXPECT_TRUE(grey.bmp->IsGreyscale());
    const PLPixel32* palette = grey.bmp->GetPalette();
    ASSERT_NE(palette, nullptr);
    for (int i = 0; i < 256; i += 51)
        EXPECT_EQ(palette[i], PLPixel32(i, i, i, 255)) << i;

    const Decoded wide = Decode(jpeg, 32);
    ASSERT_EQ(wide.bmp->GetBitsPerPixel(), 32);
    for (int y = 0; y < ref.height; ++y)
        for (int x = 0; x < ref.width; ++x) {
            const uint8_t v = ref.samples[y * ref.width + x];
            ASSERT_EQ(wide.bmp->GetRow32(y)[x], PLPixel32(v, v, v, 255)) << x << "," << y;
        }
}

// Four-component files are inverted CMYK (as common editors write them) and come out as RGB.
TEST(JpegDecoder, CmykAndYcckBecomeRgb)
{
    struct Ink {
        uint8_t c, m, y, k; // stored (inverted) samples
        uint8_t r, g, b;
    };
    const Ink inks[] = {
        { 255, 255, 255, 255, 255, 255, 255 }, // no ink: white
        { 200, 100, 50, 255, 200, 100, 50 }, // no black: the samples are the colour
        { 255, 255, 255, 128, 128, 128, 128 }, // half black
        { 200, 100, 50, 128, 100, 50, 25 },
        { 0, 0, 0, 0, 0, 0, 0 },
    };
    for (Colour space : { Colour::Cmyk, Colour::Ycck })
        for (const Ink& ink : inks) {
            JpegRecipe recipe = Recipe(16, 16);
            recipe.colour = space;
            recipe.quality = 100;
            for (int i = 0; i < 16 * 16; ++i)
                recipe.samples.insert(recipe.samples.end(), { ink.c, ink.m, ink.y, ink.k });
            const Decoded decoded = Decode(MakeJpeg(recipe));
            ASSERT_EQ(decoded.bmp->GetBitsPerPixel(), 32);
            const PLPixel32 px = decoded.bmp->GetRow32(8)[8];
            const auto near = [](int a, int b) { return std::abs(a - b) <= 3; };
            EXPECT_TRUE(near(px.GetR(), ink.r) && near(px.GetG(), ink.g) && near(px.GetB(), ink.b)
                && px.GetA() == 255)
                << (space == Colour::Cmyk ? "CMYK " : "YCCK ") << int(ink.c) << "," << int(ink.m) << ","
                << int(ink.y) << "," << int(ink.k) << " gave " << int(px.GetR()) << "," << int(px.GetG())
                << "," << int(px.GetB());
        }
}

TEST(JpegDecoder, DensityTable)
{
    struct DensityCase {
        std::optional<JpegDensity> density;
        PLCoord expected;
    };
    const DensityCase cases[] = {
        { JpegDensity { 1, 300, 300 }, { 300, 300 } }, // dots per inch
        { JpegDensity { 1, 300, 150 }, { 300, 150 } },
        { JpegDensity { 2, 118, 118 }, { 299, 299 } }, // dots per centimetre, truncated
        { JpegDensity { 2, 100, 50 }, { 254, 127 } },
        { JpegDensity { 0, 2, 3 }, { 2, 3 } }, // aspect only: the numbers as they are
        { JpegDensity { 1, 1, 1 }, { 0, 0 } }, // 1:1 carries no resolution
        { JpegDensity { 1, 300, 1 }, { 0, 0 } }, { std::nullopt, { 0, 0 } }, // no JFIF marker
    };
    for (const DensityCase& c : cases) {
        JpegRecipe recipe = Recipe(8, 8);
        recipe.density = c.density;
        const Decoded decoded = Decode(MakeJpeg(recipe));
        EXPECT_EQ(decoded.bmp->GetResolution(), c.expected)
            << (c.density ? c.density->unit : -1) << " " << (c.density ? c.density->x : -1) << "x"
            << (c.density ? c.density->y : -1);
    }
}

// A file cut inside its header cannot be decoded; one cut inside the scan data decodes, with
// warnings, to what libjpeg itself makes of the same bytes.
TEST(JpegDecoder, CutInHeaderFailsCutInScanWarns)
{
    const Bytes whole = MakeJpeg(Recipe(64, 64));
    PLJPEGDecoder decoder;
    const Bytes header(whole.begin(), whole.begin() + 100);
    const auto [code, text] = DecodeError(decoder, header);
    EXPECT_EQ(code, PL_ERR_FORMAT_NOT_SUPPORTED);
    EXPECT_EQ(text.rfind("Decoder error: ", 0), 0u) << text;
    EXPECT_EQ(text.substr(text.size() - 2), "\n\n");

    const Bytes cut(whole.begin(), whole.begin() + static_cast<long>(whole.size() * 2 / 3));
    const Decoded decoded = Decode(decoder, cut);
    EXPECT_GT(decoded.warnings, 0);
    EXPECT_THAT(decoded.lastWarning, testing::HasSubstr("premature end"));
    const ReferenceImage ref = ReferenceDecode(cut, Layout::Bgra, false);
    EXPECT_GT(ref.warnings, 0);
    ExpectSamePixels(*decoded.bmp, ref);
}

TEST(JpegDecoder, NotAJpeg)
{
    const Bytes png = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R' };
    PLJPEGDecoder decoder;
    const auto [code, text] = DecodeError(decoder, png);
    EXPECT_EQ(code, PL_ERR_FORMAT_NOT_SUPPORTED);
    EXPECT_EQ(text, "Decoder error: Not a JPEG file: starts with 0x89 0x50\n\n");
}

// libjpeg gets exactly the bytes from the source's read position to its end: a JPEG that starts
// inside a larger source is not read beyond the source. Here the source ends 40 bytes before the
// JPEG does and the missing bytes follow in memory: reading past the source would decode the whole
// picture without a warning.
TEST(JpegDecoder, JpegInsideLargerMemorySource)
{
    const Bytes whole = MakeJpeg(Recipe(48, 40));
    const size_t prefix = 1000;
    const size_t cutSize = whole.size() - 40;
    Bytes block(prefix, 0x5A);
    block.insert(block.end(), whole.begin(), whole.end());

    PLMemSource source;
    ASSERT_EQ(source.OpenMemory(block.data(), static_cast<int>(prefix + cutSize)), 0);
    source.ReadBytes(static_cast<int>(prefix));
    PLJPEGDecoder decoder;
    decoder.Open(&source);
    PLAnyBmp bmp;
    decoder.GetImage(bmp, 0);
    EXPECT_GT(decoder.GetWarningCount(), 0);
    ExpectSamePixels(bmp,
        ReferenceDecode(
            Bytes(whole.begin(), whole.begin() + static_cast<long>(cutSize)), Layout::Bgra, false));
    source.Close();
}

// A failure in the header or in the middle of decoding leaves the decoder fit for the next file.
TEST(JpegDecoder, ReusedAfterErrors)
{
    const Bytes good = MakeJpeg(Recipe(29, 31));
    const ReferenceImage ref = ReferenceDecode(good, Layout::Bgra, false);
    const Bytes progressive = MakeJpeg(With(Recipe(40, 40), true, false, 0));

    PLJPEGDecoder decoder;
    EXPECT_EQ(DecodeError(decoder, Bytes { 'n', 'o', 't', ' ', 'j', 'p', 'e', 'g' }).first,
        PL_ERR_FORMAT_NOT_SUPPORTED);
    ExpectSamePixels(*Decode(decoder, good).bmp, ref);

    decoder.SetScanLimit(3); // the simple progression has ten scans: decoding fails mid-file
    const auto [code, text] = DecodeError(decoder, progressive);
    EXPECT_EQ(code, PL_ERR_FORMAT_NOT_SUPPORTED);
    EXPECT_EQ(text, "Decoder error: JPEG image has more than 3 scans\n\n");
    ExpectSamePixels(*Decode(decoder, good).bmp, ref);

    // Opened but never decoded, then opened again.
    PLMemSource source;
    source.OpenMemory(progressive.data(), static_cast<int>(progressive.size()));
    decoder.Open(&source);
    ExpectSamePixels(*Decode(decoder, good).bmp, ref);
    source.Close();
}

// The size is checked against the library's limits as soon as the header is read, before any
// picture memory is asked for.
TEST(JpegDecoder, OversizedPictureRefusedAfterHeader)
{
    const Bytes small = MakeJpeg(Recipe(8, 8));
    const auto withSize = [&](int w, int h) {
        Bytes patched = small;
        for (size_t i = 0; i + 8 < patched.size(); ++i)
            if (patched[i] == 0xFF && patched[i + 1] == 0xC0) { // SOF0: length, precision, height, width
                patched[i + 5] = static_cast<uint8_t>(h >> 8);
                patched[i + 6] = static_cast<uint8_t>(h & 0xFF);
                patched[i + 7] = static_cast<uint8_t>(w >> 8);
                patched[i + 8] = static_cast<uint8_t>(w & 0xFF);
                break;
            }
        return patched;
    };
    struct SizeCase {
        int w, h, code;
    };
    const SizeCase cases[] = { { 40000, 8, PL_ERR_DIB_TOO_LARGE }, { 8, 32769, PL_ERR_DIB_TOO_LARGE },
        { 20000, 20000, PL_ERR_DIB_TOO_LARGE }, { 32768, 8, 0 } };
    for (const SizeCase& c : cases) {
        const Bytes jpeg = withSize(c.w, c.h);
        PLMemSource source;
        source.OpenMemory(jpeg.data(), static_cast<int>(jpeg.size()));
        PLJPEGDecoder decoder;
        int code = 0;
        try {
            decoder.Open(&source);
            EXPECT_EQ(decoder.GetSize(), PLCoord(c.w, c.h));
        } catch (const PLTextException& e) {
            code = e.GetCode();
        }
        EXPECT_EQ(code, c.code) << c.w << "x" << c.h;
        source.Close();
    }
}

TEST(JpegDecoder, ExifOrientationThroughTheDecoder)
{
    JpegRecipe recipe = Recipe(16, 8);
    recipe.app1 = { MakeExifBlock(0x0112, 3), MakeExifBlock(0x0112, 6) }; // the last Exif segment counts
    const Bytes jpeg = MakeJpeg(recipe);
    PLMemSource source;
    source.OpenMemory(jpeg.data(), static_cast<int>(jpeg.size()));
    PLJPEGDecoder decoder;
    decoder.Open(&source);
    ExifData exif;
    decoder.GetExifData(exif);
    EXPECT_EQ(exif.GetTagValue("main.ori"), 6.0);
    EXPECT_EQ(exif.GetTagText("Main.Ori"), "6");
    decoder.Close();
    source.Close();

    ExifData none;
    PLJPEGDecoder plain;
    Decode(plain, MakeJpeg(Recipe(8, 8)));
    plain.GetExifData(none); // after Close: nothing held, nothing copied
    EXPECT_EQ(none.GetTagValue("main.ori"), 0.0);
}

// The source's listener hears how far decoding has come, from the start to the end.
TEST(JpegDecoder, ProgressReachesTheListener)
{
    struct Recorder : PLProgressListener {
        void OnProgress(double part) override { parts.push_back(part); }
        std::vector<double> parts;
    };
    for (const bool progressive : { false, true }) {
        const Bytes jpeg = MakeJpeg(With(Recipe(64, 256), progressive, false, 0));
        Recorder recorder;
        PLMemSource source(&recorder);
        source.OpenMemory(jpeg.data(), static_cast<int>(jpeg.size()));
        PLJPEGDecoder decoder;
        decoder.Open(&source);
        PLAnyBmp bmp;
        decoder.GetImage(bmp, 0);
        ASSERT_GE(recorder.parts.size(), 4u) << progressive;
        EXPECT_TRUE(std::is_sorted(recorder.parts.begin(), recorder.parts.end())) << progressive;
        EXPECT_GE(recorder.parts.front(), 0.0);
        EXPECT_LE(recorder.parts.back(), 1.0);
        EXPECT_GT(recorder.parts.back(), 0.8) << progressive;
        source.Close();
    }
}

// A decode that fails part way leaves every row it did not deliver black and opaque, in either kind
// of bitmap: the rows before the failure hold libjpeg's pixels, no byte is left as the fresh
// memory held it (alpha 0). A listener stops a sequential file in the middle of its rows; the scan
// limit stops a progressive file before any row.
TEST(JpegDecoder, FailureLeavesUndeliveredRowsBlack)
{
    struct StopHalfway : PLProgressListener {
        // Once only: closing the source reports 1.0 again.
        void OnProgress(double part) override
        {
            if (part > 0.5 && !stopped) {
                stopped = true;
                throw std::runtime_error("stop");
            }
        }
        bool stopped = false;
    };
    const Bytes sequential = MakeJpeg(Recipe(40, 512));
    const ReferenceImage ref = ReferenceDecode(sequential, Layout::Bgra, false);
    ASSERT_TRUE(ref.error.empty()) << ref.error;
    const Bytes progressive = MakeJpeg(With(Recipe(40, 64), true, false, 0));
    const size_t rowBytes = 40 * 4;

    using MakeBitmap = std::function<std::unique_ptr<PLBmp>()>;
    const MakeBitmap makers[]
        = { [] { return std::make_unique<PLAnyBmp>(); }, [] { return std::make_unique<PLWinBmp>(); } };
    for (const MakeBitmap& make : makers) {
        for (const bool isProgressive : { false, true }) {
            const Bytes& jpeg = isProgressive ? progressive : sequential;
            StopHalfway stopper;
            PLMemSource source(isProgressive ? nullptr : &stopper);
            source.OpenMemory(jpeg.data(), static_cast<int>(jpeg.size()));
            PLJPEGDecoder decoder;
            decoder.SetScanLimit(3);
            const std::unique_ptr<PLBmp> bmp = make();
            decoder.Open(&source);
            EXPECT_THROW(decoder.GetImage(*bmp, 0), PLTextException) << isProgressive;
            source.Close();

            ASSERT_EQ(bmp->GetSize(), decoder.GetSize());
            int decodedRows = 0;
            for (int y = 0; y < bmp->GetHeight(); ++y) {
                const bool black = std::all_of(bmp->GetRow32(y), bmp->GetRow32(y) + bmp->GetWidth(),
                    [](PLPixel32 px) { return px == PLPixel32(0, 0, 0, 255); });
                if (!black) {
                    ASSERT_EQ(y, decodedRows) << "a row after a black one was not black";
                    ASSERT_EQ(std::memcmp(bmp->GetRow(y), ref.samples.data() + y * rowBytes, rowBytes), 0)
                        << "row " << y;
                    ++decodedRows;
                }
            }
            if (isProgressive) {
                EXPECT_EQ(decodedRows, 0);
            } else {
                EXPECT_GT(decodedRows, 0);
                EXPECT_LT(decodedRows, bmp->GetHeight());
            }
        }
    }
}

} // namespace

namespace {

// djpeg's decode of the file at 1/scale (float DCT, no fancy upsampling) as RGB samples.
external::Bytes DjpegScaled(const std::string& path, int scale, int& width, int& height)
{
    const external::Bytes ppm = external::Output(
        "djpeg -scale 1/" + std::to_string(scale) + " -dct float -nosmooth -pnm '" + path + "' 2>/dev/null");
    return external::PpmSamples(ppm, width, height);
}

} // namespace

// A decode scaled inside libjpeg gives djpeg's picture at the same scale: each side divided and
// rounded up, the same pixels; the resolution is divided with it. Other scales mean full size.
TEST(JpegDecoder, ScaledDecodeMatchesDjpegAtTheSameScale)
{
    JpegRecipe recipe = Recipe(203, 97);
    recipe.density = JpegDensity { 1, 300, 300 };
    const Bytes jpeg = MakeJpeg(recipe);
    const std::string path = external::WriteTestFile("jpeg-scaled", "odd-size.jpg", jpeg);
    for (const int scale : { 1, 2, 4, 8 }) {
        PLJPEGDecoder decoder;
        decoder.SetScale(scale);
        const Decoded decoded = Decode(decoder, jpeg);
        int width = 0;
        int height = 0;
        const external::Bytes reference = DjpegScaled(path, scale, width, height);
        ASSERT_FALSE(reference.empty()) << "djpeg (libjpeg-turbo-progs) did not run";
        ASSERT_EQ(decoded.bmp->GetWidth(), (203 + scale - 1) / scale) << scale;
        ASSERT_EQ(decoded.bmp->GetWidth(), width) << scale;
        ASSERT_EQ(decoded.bmp->GetHeight(), height) << scale;
        EXPECT_EQ(decoded.bmp->GetResolution(), PLCoord(300 / scale, 300 / scale));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const uint8_t* px = decoded.bmp->GetRow(y) + 4 * x;
                const uint8_t* ref = reference.data() + 3 * (static_cast<size_t>(y) * width + x);
                ASSERT_EQ(std::vector<int>({ px[2], px[1], px[0], px[3] }),
                    std::vector<int>({ ref[0], ref[1], ref[2], 255 }))
                    << "scale " << scale << " at " << x << ", " << y;
            }
    }
    PLJPEGDecoder unsupported;
    unsupported.SetScale(3);
    EXPECT_EQ(unsupported.GetScale(), 1);
    EXPECT_EQ(Decode(unsupported, jpeg).bmp->GetWidth(), 203);
}
