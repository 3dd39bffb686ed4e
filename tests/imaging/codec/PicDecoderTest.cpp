// The decoder protocol, with a fake format: bytes width, height, bpp, then the pixel rows.
#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/codec/PLPicDecoder.h"
#include "imaging/io/PLProgressListener.h"
#include "imaging/io/PLResourceModule.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <new>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

enum class Fail { Nowhere, InOpen, InDecode, OutOfMemoryInDecode, OnEmptyRow };

class FakeDecoder : public PLPicDecoder {
public:
    explicit FakeDecoder(Fail fail = Fail::Nowhere)
        : m_Fail(fail)
    {
    }
    void Open(PLDataSource* source) override
    {
        const uint8_t* header = source->ReadBytes(3);
        if (m_Fail == Fail::InOpen)
            RaiseError(PL_ERR_WRONG_SIGNATURE, "Not a fake picture.");
        SetInfo(PLCoord(header[0], header[1]), header[2], PLCoord(72, 72), false, header[2] == 8);
    }
    void DecodeImage(PLBmp* bmp) override
    {
        if (m_Fail == Fail::InDecode)
            RaiseError(PL_ERR_END_OF_FILE, "Truncated.");
        if (m_Fail == Fail::OutOfMemoryInDecode)
            throw std::bad_alloc();
        PLDataSource* source = GetDataSource();
        const int rowBytes = static_cast<int>(PLBmp::UnpaddedRowBytes(GetWidth(), GetBitsPerPixel()));
        for (int y = 0; y < GetHeight(); ++y) {
            const uint8_t* row = source->ReadBytes(rowBytes);
            if (m_Fail == Fail::OnEmptyRow
                && std::all_of(row, row + rowBytes, [](uint8_t b) { return b == 0; }))
                RaiseError(PL_ERR_FORMAT_UNKNOWN, "A row of nothing.");
            std::copy_n(row, rowBytes, bmp->GetRow(y));
        }
    }

private:
    Fail m_Fail;
};

// 2 x 1 at 8 bpp: a dark and a light grey.
const std::vector<uint8_t> GreyPicture { 2, 1, 8, 40, 200 };

class ClosedCounter : public PLProgressListener {
public:
    void OnProgress(double part) override { closes += part == 1.0; }
    int closes = 0;
};

TEST(PicDecoder, ReleasesItsSourceOnEveryPath)
{
    const fs::path file = fs::temp_directory_path() / ("orvanel-fake-" + std::to_string(::getpid()));
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(GreyPicture.data()), 5);
    PLResourceModule module;
    module.Add(PL_RT_RCDATA, 3, GreyPicture);

    struct Case {
        Fail fail;
        int code; // -1: none
    };
    const Case cases[] = { { Fail::Nowhere, -1 }, { Fail::InOpen, PL_ERR_WRONG_SIGNATURE },
        { Fail::InDecode, PL_ERR_END_OF_FILE }, { Fail::OutOfMemoryInDecode, 99 } };
    for (const Case& c : cases) {
        for (int entry = 0; entry < 3; ++entry) {
            FakeDecoder decoder(c.fail);
            ClosedCounter listener;
            PLAnyBmp bmp;
            const auto decode = [&] {
                if (entry == 0)
                    decoder.DecodeFile(file.c_str(), &bmp, 0, &listener);
                else if (entry == 1)
                    decoder.DecodeMemory(GreyPicture.data(), 5, &bmp);
                else
                    decoder.DecodeResource(module, 3, &bmp);
            };
            int code = -1;
            try {
                code = ErrorCodeOf(decode);
            } catch (const std::bad_alloc&) {
                code = 99;
            }
            EXPECT_EQ(code, c.code) << "case " << int(c.fail) << " entry " << entry;
            EXPECT_EQ(decoder.GetDataSource(), nullptr) << "case " << int(c.fail) << " entry " << entry;
            if (entry == 0) {
                EXPECT_EQ(listener.closes, 1) << "the file source was closed, case " << int(c.fail);
            }
            if (c.fail == Fail::Nowhere) {
                EXPECT_EQ(bmp.GetRow(0)[1], 200);
            }
        }
    }
    fs::remove(file);
}

TEST(PicDecoder, OpenFailureNamesThePathAndKeepsNoSource)
{
    FakeDecoder decoder;
    const std::string path = "/nonexistent-orvanel-folder/x.fake";
    try {
        decoder.OpenFile(path.c_str());
        FAIL() << "no exception";
    } catch (const PLTextException& e) {
        EXPECT_EQ(e.GetCode(), PL_ERR_PATH_NOT_FOUND);
        EXPECT_EQ(std::string(e.GetText()), "Decoder error: Opening " + path + " failed\n");
    }
    EXPECT_EQ(decoder.GetDataSource(), nullptr);
}

TEST(PicDecoder, OpenThenFailedGetImageIsReleasedByClose)
{
    FakeDecoder decoder(Fail::InDecode);
    ClosedCounter listener;
    const fs::path file = fs::temp_directory_path() / ("orvanel-fake2-" + std::to_string(::getpid()));
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(GreyPicture.data()), 5);
    decoder.OpenFile(file.c_str(), &listener);
    EXPECT_NE(decoder.GetDataSource(), nullptr);
    EXPECT_EQ(decoder.GetSize(), PLCoord(2, 1));
    PLWinBmp bmp;
    EXPECT_EQ(ErrorCodeOf([&] { decoder.GetImage(bmp); }), PL_ERR_END_OF_FILE);
    decoder.Close();
    EXPECT_EQ(decoder.GetDataSource(), nullptr);
    EXPECT_EQ(listener.closes, 1);
    fs::remove(file);
}

// Cuts the file to nothing at the first progress report, as another program rewriting it would.
class CutAtFirstReport : public PLProgressListener {
public:
    explicit CutAtFirstReport(fs::path path)
        : m_Path(std::move(path))
    {
    }
    void OnProgress(double part) override
    {
        if (!m_Cut && part < 1.0) {
            m_Cut = true;
            fs::resize_file(m_Path, 0);
        }
    }

private:
    fs::path m_Path;
    bool m_Cut = false;
};

// A file cut short while its pixels are decoded gives code 11, also when the decoder fails on the
// bytes it reads after the cut, at the picture's own depth and converted.
TEST(PicDecoder, AFileCutWhileDecodedGivesCode11)
{
    std::vector<uint8_t> picture { 64, 64, 8 };
    picture.resize(3 + 64 * 64, 0x5A);
    const fs::path file = fs::temp_directory_path() / ("orvanel-fake-cut-" + std::to_string(::getpid()));
    for (const int bpp : { 0, 32 }) {
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(picture.data()), std::streamsize(picture.size()));
        FakeDecoder whole(Fail::OnEmptyRow);
        PLAnyBmp bmp;
        whole.DecodeFile(file.c_str(), &bmp, bpp);
        FakeDecoder decoder(Fail::OnEmptyRow);
        CutAtFirstReport cutter(file);
        EXPECT_EQ(
            ErrorCodeOf([&] { decoder.DecodeFile(file.c_str(), &bmp, bpp, &cutter); }), PL_ERR_END_OF_FILE)
            << bpp;
        EXPECT_EQ(decoder.GetDataSource(), nullptr);
    }
    fs::remove(file);
}

TEST(PicDecoder, RequestedDepths)
{
    struct Case {
        std::vector<uint8_t> picture;
        int request;
        int code;
        int bpp;
    };
    const std::vector<uint8_t> rgba { 1, 1, 32, 10, 20, 30, 40 };
    const Case cases[] = {
        { GreyPicture, 0, -1, 8 },
        { GreyPicture, 8, -1, 8 },
        { GreyPicture, 24, -1, 24 },
        { GreyPicture, 32, -1, 32 },
        { GreyPicture, 1, PL_ERR_FORMAT_NOT_SUPPORTED, 16 }, // the bitmap stays as it was
        { rgba, 8, PL_ERR_FORMAT_NOT_SUPPORTED, 16 },
    };
    for (const Case& c : cases) {
        FakeDecoder decoder;
        PLWinBmp bmp;
        bmp.Create(16, 16, 16, false, false);
        EXPECT_EQ(ErrorCodeOf([&] {
            decoder.DecodeMemory(c.picture.data(), static_cast<int>(c.picture.size()), &bmp, c.request);
        }),
            c.code);
        EXPECT_EQ(bmp.GetBitsPerPixel(), c.bpp) << "request " << c.request;
        EXPECT_EQ(decoder.GetDataSource(), nullptr);
    }
    // A grey picture asked for at 32 bpp: grey pixels, opaque.
    FakeDecoder decoder;
    PLAnyBmp bmp;
    decoder.DecodeMemory(GreyPicture.data(), 5, &bmp, 32);
    EXPECT_EQ(bmp.GetRow32(0)[0], PLPixel32(40, 40, 40, 255));
    EXPECT_EQ(bmp.GetRow32(0)[1], PLPixel32(200, 200, 200, 255));
    EXPECT_EQ(bmp.GetResolution(), PLCoord(72, 72));
}

TEST(PicDecoder, RaisedTextsAreFramed)
{
    try {
        PLPicDecoder::RaiseError(PL_ERR_INTERNAL, "Bad thing.");
    } catch (const PLTextException& e) {
        EXPECT_EQ(e.GetCode(), PL_ERR_INTERNAL);
        EXPECT_EQ(std::string(e.GetText()), "Decoder error: Bad thing.\n");
    }
}

} // namespace
