// The decoders' trace: the lines a traced decode writes at each level, the error line, the file
// started afresh, and no file written when none is set or after a decoder was destroyed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "imaging/codec/EncoderTestSupport.h"
#include "imaging/detect/PLAnyPicDecoder.h"
#include "imaging/io/PLTextException.h"
#include "imaging/pict/PLPictDecoder.h"
#include "imaging/pict/PictWriter.h"
#include "imaging/raster/PLBmpDecoder.h"
#include "imaging/raster/PLBmpEncoder.h"

namespace {

using namespace encodertest;

class DecoderTrace : public ScratchFolder {
protected:
    void TearDown() override
    {
        PLPicDecoder::SetTraceConfig(0, nullptr);
        ScratchFolder::TearDown();
    }
    std::string Trace() const
    {
        const Bytes bytes = ReadFileBytes(Path("trace.txt"));
        return std::string(bytes.begin(), bytes.end());
    }
    bool TraceExists() const { return std::filesystem::exists(Path("trace.txt")); }
    // An 8-bpp BMP file.
    std::string BmpFile() const
    {
        const std::string path = Path("picture.bmp");
        PLBmpEncoder().EncodeFile(path.c_str(), MakePicture(8, 4, 3).get());
        return path;
    }
    // Decodes the file with the decoder of any format; the code raised, 0 for none.
    static int Decode(const std::string& path)
    {
        PLAnyPicDecoder decoder;
        PLAnyBmp bmp;
        try {
            decoder.DecodeFile(path.c_str(), &bmp);
        } catch (const PLTextException& e) {
            return e.GetCode();
        }
        return 0;
    }
};

// Each level adds its lines; the file is deleted when tracing is set, so it holds one run only.
TEST_F(DecoderTrace, ATracedDecodeWritesTheLinesOfItsLevel)
{
    const std::string bmp = BmpFile();
    const std::string level1 = "--- Decoding file " + bmp + ". ---\n";
    const std::string level2 = level1 + "Windows bitmap recognized.\nBitmap file signature found\n";
    struct Case {
        int level;
        std::string lines;
    };
    const Case cases[] = {
        { 0, "" },
        { 1, level1 },
        { 2, level2 + "Bitmap header is ok.\nDecoding uncompressed 8 bit per pixel bitmap.\n" },
        { 3,
            level2
                + "Reading palette.\nBitmap header is ok.\nDecoding uncompressed 8 bit per pixel bitmap.\n" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        WriteFileBytes(Path("trace.txt"), { 'o', 'l', 'd', '\n' });
        PLPicDecoder::SetTraceConfig(c.level, Path("trace.txt").c_str());
        EXPECT_EQ(Decode(bmp), 0);
        EXPECT_EQ(Trace(), c.lines);
    }
}

// A PICT decode names each QuickDraw opcode it reads, and the rows kept for Apple's use by number.
TEST_F(DecoderTrace, PictOpcodesAreTracedByTheirQuickDrawNames)
{
    pictwriter::Writer w(2, { 0, 0, 1, 2 });
    w.Opcode(0x0000);
    w.Opcode(0x001A);
    for (int i = 0; i < 3; ++i)
        w.U16(0xFFFF);
    w.Opcode(0x0017);
    w.DirectBits({ 0, 0, 1, 2 }, 32, 3, { Bytes(6, 0x80) });
    const std::string path = Path("picture.pct");
    WriteFileBytes(path, w.Data());
    PLPicDecoder::SetTraceConfig(2, Path("trace.txt").c_str());
    PLPictDecoder decoder;
    PLAnyBmp bmp;
    decoder.DecodeFile(path.c_str(), &bmp);
    const std::string trace = Trace();
    for (const char* line : { "Opcode: Header.\n", "Opcode: NOP\n", "Opcode: RGBFgCol\n",
             "Opcode: reserved=0x17\n", "Opcode: DirectBitsRect\n" })
        EXPECT_NE(trace.find(line), std::string::npos) << line << trace;
}

// A version-1 bit map traces its bounds (top, left, bottom, right) after naming itself.
TEST_F(DecoderTrace, PictVersionOneBitMapTracesItsBounds)
{
    pictwriter::Writer w(1, { 0, 0, 2, 16 });
    w.Opcode(0x90);
    w.U16(2);
    for (int i = 0; i < 3; ++i)
        w.RectOf({ 1, 3, 3, 19 });
    w.U16(0);
    w.Raw({ 0xAA, 0xAA, 0xFF, 0xFF });
    w.End();
    const std::string path = Path("bitmap.pct");
    WriteFileBytes(path, w.Data());
    PLPicDecoder::SetTraceConfig(2, Path("trace.txt").c_str());
    PLPictDecoder decoder;
    PLAnyBmp bmp;
    decoder.DecodeFile(path.c_str(), &bmp);
    EXPECT_NE(Trace().find("Reading version 1 bitmap.\n  Bounds: 1, 3, 3, 19\n"), std::string::npos)
        << Trace();
}

// An error is written at level 0 in the frame the exception carries; the wide name that is too
// long to show is traced as such.
TEST_F(DecoderTrace, ErrorsAreTracedAtLevelZero)
{
    const std::string text = Path("notes.txt");
    WriteFileBytes(text, Bytes(600, 'x'));
    PLPicDecoder::SetTraceConfig(0, Path("trace.txt").c_str());
    EXPECT_EQ(Decode(text), PL_ERR_UNKNOWN_FILE_TYPE);
    EXPECT_EQ(Trace(), "Decoder error: Unknown file type.\n");

    PLPicDecoder::SetTraceConfig(1, Path("trace.txt").c_str());
    const std::wstring longName = dir.wstring() + L"/missing/" + std::wstring(950, L'x');
    PLAnyPicDecoder decoder;
    PLAnyBmp bmp;
    EXPECT_THROW(decoder.DecodeFileW(longName.c_str(), &bmp), PLTextException);
    const std::string trace = Trace();
    EXPECT_EQ(trace.rfind("--- Decoding file {{Filename too long}}. ---\nDecoder error: Opening ", 0), 0u)
        << trace;
}

// Without a file nothing is written; destroying any decoder forgets the file, so that tracing stops
// until it is set again. An encoder traces the file it writes at level 1.
TEST_F(DecoderTrace, NoFileNoTraceAndADestroyedDecoderEndsIt)
{
    const std::string bmp = BmpFile();
    PLPicDecoder::SetTraceConfig(3, nullptr);
    EXPECT_EQ(Decode(bmp), 0);
    PLPicDecoder::SetTraceConfig(3, Path("trace.txt").c_str());
    {
        PLBmpDecoder unused;
    }
    EXPECT_EQ(Decode(bmp), 0);
    EXPECT_FALSE(TraceExists());

    PLPicDecoder::SetTraceConfig(1, Path("trace.txt").c_str());
    const std::string out = Path("out.bmp");
    PLBmpEncoder().EncodeFile(out.c_str(), MakePicture(8, 4, 3).get());
    EXPECT_EQ(Trace(), "--- Encoding file " + out + ". ---\n");
}

} // namespace
