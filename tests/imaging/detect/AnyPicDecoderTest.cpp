// The decoder of any format on real files: one small file of every format (the fuzz target's
// seeds, written by ImageMagick and netpbm) recognised under a misleading name and decoded as its
// own decoder decodes it; names that decide; the TIFF preview of an EPS file and the checks on it;
// unknown and cut files refused with the library's codes; the source's single owner.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/codec/EncoderTestSupport.h"
#include "imaging/detect/PLAnyPicDecoder.h"
#include "imaging/gif/PLGIFDecoder.h"
#include "imaging/iff/PLIFF85Decoder.h"
#include "imaging/io/PLMemSource.h"
#include "imaging/io/PLProgressListener.h"
#include "imaging/io/PLTextException.h"
#include "imaging/jpeg/PLJPEGDecoder.h"
#include "imaging/pict/PLPictDecoder.h"
#include "imaging/png/PLPNGDecoder.h"
#include "imaging/psd/PLPSDDecoder.h"
#include "imaging/psd/PsdWriter.h"
#include "imaging/raster/PLBmpDecoder.h"
#include "imaging/raster/PLPCXDecoder.h"
#include "imaging/raster/PLPGMDecoder.h"
#include "imaging/raster/PLPPMDecoder.h"
#include "imaging/raster/PLSGIDecoder.h"
#include "imaging/raster/PLTGADecoder.h"
#include "imaging/tiff/PLTIFFDecoder.h"

namespace {

using encodertest::Bytes;
using encodertest::ScratchFolder;

// A seed of the detection fuzz target: the file behind the byte that picks its name.
Bytes SeedFile(const std::string& name)
{
    const Bytes seed
        = encodertest::ReadFileBytes(ORVANEL_TEST_DATA "/../../fuzz/corpus/imaging_detect/" + name);
    EXPECT_FALSE(seed.empty()) << name;
    return seed.empty() ? seed : Bytes(seed.begin() + 1, seed.end());
}

using DecoderMaker = std::function<std::unique_ptr<PLPicDecoder>()>;
template <class Decoder> DecoderMaker Make()
{
    return [] { return std::make_unique<Decoder>(); };
}

struct Format {
    const char* seed;
    int32_t type;
    const char* misleadingName;
    DecoderMaker own; // the format's own decoder
};

const Format kFormats[] = {
    { "bmp", PLFileType::Bmp, "photo.jpg", Make<PLBmpDecoder>() },
    { "tga", PLFileType::Tga, "picture.bmp", Make<PLTGADecoder>() },
    { "pcx", PLFileType::Pcx, "picture.tga", Make<PLPCXDecoder>() },
    { "pgm", PLFileType::Pgm, "picture.ppm", Make<PLPGMDecoder>() },
    { "ppm", PLFileType::Ppm, "picture.pgm", Make<PLPPMDecoder>() },
    { "sgi", PLFileType::Sgi, "picture.pcx", Make<PLSGIDecoder>() },
    { "jpeg", PLFileType::Jpeg, "picture.bmp", Make<PLJPEGDecoder>() },
    { "pict", PLFileType::Pict, "picture.jpg", Make<PLPictDecoder>() },
    { "tiff", PLFileType::Tiff, "picture.png", Make<PLTIFFDecoder>() },
    { "png", PLFileType::Png, "picture.tif", Make<PLPNGDecoder>() },
    { "gif", PLFileType::Gif, "picture.png", Make<PLGIFDecoder>() },
    { "psd", PLFileType::Psd, "picture.tif", Make<PLPSDDecoder>() },
    { "iff", PLFileType::Iff85, "picture.psd", Make<PLIFF85Decoder>() },
};

// The outcome of decoding at the picture's own depth: the error code (0 for success), the type
// recognised and the pixels as red, green, blue, alpha.
struct Outcome {
    int code = 0;
    std::string text; // the exception's
    int32_t type = PLFileType::Unknown;
    PLCoord size;
    Bytes rgba;
};

Outcome Finish(PLPicDecoder& decoder, const std::function<void(PLAnyBmp&)>& decode)
{
    Outcome out;
    PLAnyBmp bmp;
    try {
        decode(bmp);
        out.size = bmp.GetSize();
        out.rgba = encodertest::ExpectedRgba(bmp);
    } catch (const PLTextException& e) {
        out.code = e.GetCode();
        out.text = e.GetText();
    }
    out.type = decoder.GetFileType();
    return out;
}

Outcome DecodePath(PLAnyPicDecoder& decoder, const std::string& path)
{
    return Finish(decoder, [&](PLAnyBmp& bmp) { decoder.DecodeFile(path.c_str(), &bmp); });
}

Outcome DecodeBytes(PLPicDecoder& decoder, const Bytes& file)
{
    return Finish(decoder,
        [&](PLAnyBmp& bmp) { decoder.DecodeMemory(file.data(), static_cast<int>(file.size()), &bmp); });
}

class AnyPicDecoder : public ScratchFolder {
protected:
    std::string Written(const std::string& name, const Bytes& file) const
    {
        encodertest::WriteFileBytes(Path(name), file);
        return Path(name);
    }
};

// Each format is found by its bytes under another format's name and decodes to what its own
// decoder gives; one decoder reads them all, one after the other.
TEST_F(AnyPicDecoder, RecognisesEveryFormatBySignatureUnderAMisleadingName)
{
    PLAnyPicDecoder decoder;
    for (const Format& format : kFormats) {
        SCOPED_TRACE(format.seed);
        const Bytes file = SeedFile(format.seed);
        const Outcome got = DecodePath(decoder, Written(format.misleadingName, file));
        EXPECT_EQ(got.type, format.type);
        ASSERT_EQ(got.code, 0);
        const auto own = format.own();
        const Outcome expected = DecodeBytes(*own, file);
        ASSERT_EQ(expected.code, 0);
        EXPECT_EQ(got.size, expected.size);
        EXPECT_EQ(got.rgba, expected.rgba);
    }
}

// Names decide metafiles, whatever the bytes; without the metafile library they are refused with
// code 12. A wide name decides as a plain one does.
TEST_F(AnyPicDecoder, MetafileNamesDecideWhateverTheBytes)
{
    const Bytes jpeg = SeedFile("jpeg");
    const Bytes wmf = SeedFile("wmf");
    struct NameCase {
        const char* name;
        const Bytes& file;
        int32_t type;
    };
    const NameCase cases[] = {
        { "picture.wmf.jpg", jpeg, PLFileType::Wmf },
        { "LOGO.EMF", jpeg, PLFileType::Emf },
        { "drawing.Wmf", wmf, PLFileType::Wmf },
    };
    PLAnyPicDecoder decoder;
    for (const NameCase& c : cases) {
        const Outcome got = DecodePath(decoder, Written(c.name, c.file));
        EXPECT_EQ(got.type, c.type) << c.name;
        EXPECT_EQ(got.code, PL_ERR_FORMAT_NOT_COMPILED) << c.name;
    }
    const std::string path = Written("drawing.emf", wmf);
    const std::wstring widePath(path.begin(), path.end());
    const Outcome wide = Finish(decoder, [&](PLAnyBmp& bmp) { decoder.DecodeFileW(widePath.c_str(), &bmp); });
    EXPECT_EQ(wide.code, PL_ERR_FORMAT_NOT_COMPILED);
    EXPECT_EQ(wide.text, "Decoder error: Library not compiled for this file type.\n");
    EXPECT_EQ(wide.type, PLFileType::Emf);
    // Without such a name the metafile's bytes are no format the library recognises.
    EXPECT_EQ(DecodePath(decoder, Written("drawing.bin", wmf)).code, PL_ERR_UNKNOWN_FILE_TYPE);
}

// A file of no known format is refused with code 8 and the library's text.
TEST_F(AnyPicDecoder, UnknownFormatIsRefusedWithCode8)
{
    const std::string path
        = Written("notes.jpg", Bytes { 'H', 'e', 'l', 'l', 'o', ',', ' ', 's', 't', 'u', 'd', 'i', 'o' });
    PLAnyPicDecoder decoder;
    const Outcome got = DecodePath(decoder, path);
    EXPECT_EQ(got.code, PL_ERR_UNKNOWN_FILE_TYPE);
    EXPECT_EQ(got.text, "Decoder error: Unknown file type.\n");
    EXPECT_EQ(decoder.GetDataSource(), nullptr);
}

// Every format cut short (within its header, or before its pixels end) is refused with an error
// of the library; nothing is read beyond the data (the sanitizer's part).
TEST_F(AnyPicDecoder, CutFilesAreRefused)
{
    PLAnyPicDecoder decoder;
    for (const Format& format : kFormats) {
        const Bytes file = SeedFile(format.seed);
        for (const size_t keep : { size_t { 12 }, file.size() / 2 }) {
            const Bytes cut(file.begin(), file.begin() + static_cast<long>(keep));
            const Outcome got = DecodeBytes(decoder, cut);
            EXPECT_NE(got.code, 0) << format.seed << " cut to " << keep << " bytes";
            EXPECT_EQ(decoder.GetDataSource(), nullptr);
        }
    }
}

// An EPS file made of the 30-byte header, PostScript text and a TIFF preview.
Bytes Eps(const Bytes& tiff, uint32_t offset, uint32_t length)
{
    Bytes eps = { 0xC5, 0xD0, 0xD3, 0xC6 };
    const std::string postscript = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 4 3\n";
    const uint32_t words[] = { 30, uint32_t(postscript.size()), 0, 0, offset, length };
    for (const uint32_t w : words)
        for (int i = 0; i < 4; ++i)
            eps.push_back(static_cast<uint8_t>(w >> (8 * i)));
    eps.insert(eps.end(), { 0xFF, 0xFF });
    eps.insert(eps.end(), postscript.begin(), postscript.end());
    eps.insert(eps.end(), tiff.begin(), tiff.end());
    return eps;
}

// The preview of an EPS file is read where its header puts it, and only when the header's offset
// and length lie inside the file.
TEST_F(AnyPicDecoder, EpsFileWithATiffPreview)
{
    const Bytes tiff = SeedFile("tiff");
    const auto at = static_cast<uint32_t>(Eps({}, 0, 0).size());
    const auto length = static_cast<uint32_t>(tiff.size());
    struct EpsCase {
        const char* what;
        uint32_t offset, length;
        int code;
    };
    const EpsCase cases[] = {
        { "the preview in place", at, length, 0 },
        { "a preview beyond the end", at + 1, length, PL_ERR_FORMAT_UNKNOWN },
        { "a preview longer than the file", at, length + 1, PL_ERR_FORMAT_UNKNOWN },
        { "a preview past 4 GB", at, 0xFFFFFFFF, PL_ERR_FORMAT_UNKNOWN },
        { "an offset far beyond the file", 0xFFFFFFF0, length, PL_ERR_FORMAT_UNKNOWN },
        { "a preview inside the EPS header", 4, length, PL_ERR_FORMAT_UNKNOWN },
        { "no preview", 0, 0, PL_ERR_UNKNOWN_FILE_TYPE },
    };
    PLAnyPicDecoder decoder;
    for (const EpsCase& c : cases) {
        const Outcome got = DecodeBytes(decoder, Eps(tiff, c.offset, c.length));
        EXPECT_EQ(got.code, c.code) << c.what;
        if (c.code != PL_ERR_UNKNOWN_FILE_TYPE) {
            EXPECT_EQ(got.type, PLFileType::EpsTiff) << c.what;
        }
        if (c.code == 0) {
            PLTIFFDecoder own;
            const Outcome preview = DecodeBytes(own, tiff);
            EXPECT_EQ(got.size, PLCoord(4, 3));
            EXPECT_EQ(got.rgba, preview.rgba);
        }
    }
}

// Cuts the file to nothing at the first progress report, as another program rewriting it would.
class CutAtFirstReport : public PLProgressListener {
public:
    explicit CutAtFirstReport(std::string path)
        : m_Path(std::move(path))
    {
    }
    void OnProgress(double part) override
    {
        if (!m_Cut && part < 1.0) {
            m_Cut = true;
            std::filesystem::resize_file(m_Path, 0);
        }
    }

private:
    std::string m_Path;
    bool m_Cut = false;
};

// A file cut short while it is decoded gives code 11, also when the decoder fails on the bytes it
// reads after the cut: a PSD whose next resource has lost its signature, an EPS whose TIFF preview
// has lost its own.
TEST_F(AnyPicDecoder, AFileCutWhileDecodedGivesCode11)
{
    psdwriter::Picture psd;
    psd.width = 2;
    psd.height = 1;
    psd.mode = 1;
    psd.merged = { { 10, 20 } };
    psd.resources = psdwriter::Resource(1000, "", Bytes(3000, 7)); // read past the first report
    const Bytes resolution = psdwriter::ResolutionResource(72, 72);
    psd.resources.insert(psd.resources.end(), resolution.begin(), resolution.end());
    const Bytes tiff = SeedFile("tiff");
    Bytes paddedTiff(3000, ' '); // the preview starts past the first report
    paddedTiff.insert(paddedTiff.end(), tiff.begin(), tiff.end());
    const auto at = static_cast<uint32_t>(Eps({}, 0, 0).size()) + 3000;
    struct CutCase {
        const char* name;
        Bytes file;
    };
    const CutCase cases[] = {
        { "cut.psd", psdwriter::Write(psd) },
        { "cut.eps", Eps(paddedTiff, at, static_cast<uint32_t>(tiff.size())) },
    };
    PLAnyPicDecoder decoder;
    for (const CutCase& c : cases) {
        ASSERT_EQ(DecodePath(decoder, Written(c.name, c.file)).code, 0) << c.name << " whole";
        const std::string path = Written(c.name, c.file);
        CutAtFirstReport cutter(path);
        const Outcome got
            = Finish(decoder, [&](PLAnyBmp& bmp) { decoder.DecodeFile(path.c_str(), &bmp, 0, &cutter); });
        EXPECT_EQ(got.code, PL_ERR_END_OF_FILE) << c.name << ": " << got.text;
        EXPECT_EQ(decoder.GetDataSource(), nullptr);
    }
}

// The source belongs to whoever opened it. A caller's source stays open and readable after the
// chosen decoder is done with it; the decoder's own source is released once, by Close, also when
// the chosen decoder fails after detection.
TEST_F(AnyPicDecoder, TheSourceHasOneOwner)
{
    const Bytes bmpFile = SeedFile("bmp");
    PLMemSource source;
    ASSERT_EQ(source.OpenMemory(bmpFile.data(), static_cast<int>(bmpFile.size())), 0);
    PLAnyPicDecoder decoder;
    decoder.Open(&source);
    EXPECT_EQ(decoder.GetDataSource(), nullptr);
    PLAnyBmp bmp;
    decoder.GetImage(bmp);
    decoder.Close();
    EXPECT_EQ(source.GetFileSize(), static_cast<int>(bmpFile.size()));
    EXPECT_EQ(source.GetName(), std::string("Mem"));
    source.Close();

    Bytes broken = bmpFile;
    broken[14] = 7; // an info header size no bitmap has
    const std::string path = Written("broken.bmp", broken);
    try {
        decoder.OpenFile(path.c_str());
        ADD_FAILURE() << "a broken bitmap opened";
    } catch (const PLTextException& e) {
        EXPECT_NE(e.GetCode(), 0);
    }
    EXPECT_EQ(decoder.GetDataSource(), nullptr);
    decoder.OpenFile(Written("good.bmp", bmpFile).c_str());
    EXPECT_NE(decoder.GetDataSource(), nullptr);
    EXPECT_EQ(decoder.GetFileType(), PLFileType::Bmp);
    decoder.Close();
    EXPECT_EQ(decoder.GetDataSource(), nullptr);
    decoder.Close();
}

} // namespace
