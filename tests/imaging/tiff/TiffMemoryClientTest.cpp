// libtiff over memory: reading what the encoder wrote, the client routines at their limits, and
// libtiff's messages kept on the handle that gave them.
#include <gtest/gtest.h>

#include <cstdio>
#include <tiffio.h>

#include "imaging/codec/EncoderTestSupport.h"
#include "imaging/tiff/PLTIFFEncoder.h"
#include "imaging/tiff/TiffMemoryClient.h"

namespace {

using namespace encodertest;

TEST(TiffMemoryClient, ReadsWhatTheEncoderWrote)
{
    const auto bmp = MakePicture(24, 9, 5);
    PLTIFFEncoder encoder;
    const Bytes file = EncodeToMemory(encoder, *bmp);
    const auto client = TiffMemoryClient::OpenForReading(file.data(), file.size());
    ASSERT_NE(client->Handle(), nullptr) << client->LastError();
    uint32_t width = 0, height = 0;
    TIFFGetField(client->Handle(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(client->Handle(), TIFFTAG_IMAGELENGTH, &height);
    EXPECT_EQ(width, 9u);
    EXPECT_EQ(height, 5u);

    // The routines themselves: a read at the end gives nothing, end + 0 is the size, and a seek
    // before the start is refused without moving.
    TIFF* tif = client->Handle();
    thandle_t data = TIFFClientdata(tif);
    const TIFFSeekProc seek = TIFFGetSeekProc(tif);
    const TIFFReadWriteProc read = TIFFGetReadProc(tif);
    EXPECT_EQ(seek(data, 0, SEEK_END), file.size());
    uint8_t byte = 0;
    EXPECT_EQ(read(data, &byte, 1), 0);
    EXPECT_EQ(seek(data, static_cast<toff_t>(-1), SEEK_SET), static_cast<toff_t>(-1));
    EXPECT_EQ(seek(data, static_cast<toff_t>(-int64_t(file.size()) - 1), SEEK_CUR), static_cast<toff_t>(-1));
    EXPECT_EQ(seek(data, 1, SEEK_CUR), static_cast<toff_t>(-1)); // past the end of the bytes
    EXPECT_EQ(seek(data, static_cast<toff_t>(-2), SEEK_END), file.size() - 2);
    EXPECT_EQ(TIFFGetWriteProc(tif)(data, &byte, 1), -1); // a reading client writes nothing
}

// Data that are not TIFF give no handle; libtiff's message is kept on this client, not printed.
TEST(TiffMemoryClient, RefusedDataKeepTheMessage)
{
    const Bytes junk = { 'I', 'I', 99, 0, 1, 2, 3, 4 };
    const auto client = TiffMemoryClient::OpenForReading(junk.data(), junk.size());
    EXPECT_EQ(client->Handle(), nullptr);
    EXPECT_GT(client->ErrorCount(), 0);
    EXPECT_NE(client->LastError().find("Not a TIFF"), std::string::npos) << client->LastError();
    const auto other = TiffMemoryClient::OpenForWriting();
    EXPECT_EQ(other->ErrorCount(), 0);
}

// A writing client grows as libtiff writes; a gap made by seeking reads as zeros.
TEST(TiffMemoryClient, WritingGrowsAndFillsGaps)
{
    const auto client = TiffMemoryClient::OpenForWriting();
    ASSERT_NE(client->Handle(), nullptr);
    TIFF* tif = client->Handle();
    thandle_t data = TIFFClientdata(tif);
    const toff_t start = TIFFGetSeekProc(tif)(data, 0, SEEK_END);
    EXPECT_EQ(TIFFGetSeekProc(tif)(data, 100, SEEK_END), start + 100);
    uint8_t bytes[3] = { 7, 8, 9 };
    EXPECT_EQ(TIFFGetWriteProc(tif)(data, bytes, 3), 3);
    ASSERT_EQ(client->Written().size(), start + 103);
    EXPECT_EQ(client->Written()[start + 50], 0);
    EXPECT_EQ(client->Written()[start + 102], 9);
}

} // namespace
