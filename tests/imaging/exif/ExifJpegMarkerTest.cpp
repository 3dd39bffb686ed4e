// The libjpeg entry points: reading the block from the saved markers of a decompression object, and
// writing it back as the APP1 marker of a compression object. Files go through libjpeg itself.
#include "imaging/exif/ExifBlockBuilder.h"

#include "imaging/exif/ExifData.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <jpeglib.h>

#include <gtest/gtest.h>

namespace {

using Block = std::vector<uint8_t>;

// An 8 x 8 grey JPEG carrying the given APP1 segments in order, and the block of exif when given.
Block jpegWith(const std::vector<Block>& app1Segments, const ExifData* exif = nullptr)
{
    jpeg_compress_struct cinfo {};
    jpeg_error_mgr jerr {};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = 8;
    cinfo.image_height = 8;
    cinfo.input_components = 1;
    cinfo.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    for (const Block& segment : app1Segments)
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1, segment.data(), static_cast<unsigned int>(segment.size()));
    if (exif)
        exif->WriteJpegMarker(&cinfo);
    std::vector<JSAMPLE> row(8, 128);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW rows[] = { row.data() };
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    Block file(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return file;
}

ExifData readJpeg(const Block& file)
{
    jpeg_decompress_struct cinfo {};
    jpeg_error_mgr jerr {};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&cinfo, TRUE);
    ExifData exif;
    exif.ReadFromJpegMarkers(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return exif;
}

Block cameraBlock(const char* model, ExifByteOrder order)
{
    ExifBlockBuilder b(order);
    b.Main().Ascii(0x010F, "Canon").Ascii(0x0110, model).Short(0x0112, { 8 });
    b.Exif().Rational(0x829A, 10, 2500).Rational(0x920A, 350, 10);
    b.MakerNote(ExifMakerLayout::Canon).Long(0x0008, { 1001234 }).Short(0x0001, { 6, 1, 0 });
    b.Gps().Ascii(0x0001, "N").Rationals(0x0002, { 51, 1, 30, 1, 15, 1 });
    b.Thumbnail({ 0xFF, 0xD8, 0xFF, 0xD9 });
    return b.Build();
}

// Files a person (or exiftool) can look at.
void keep(const Block& file, const char* name)
{
    const std::filesystem::path folder = std::filesystem::path(ORVANEL_TEST_OUTPUT) / "exif";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), file.size());
}

TEST(ExifJpegMarkers, LastExifSegmentWins)
{
    const Block first = cameraBlock("First", ExifByteOrder::Intel);
    const Block second = cameraBlock("Second", ExifByteOrder::Motorola);
    const std::string xmpText = "http://ns.adobe.com/xap/1.0/";
    const Block xmp(xmpText.c_str(), xmpText.c_str() + xmpText.size() + 1);
    const Block file = jpegWith({ first, second, xmp });
    keep(file, "two-exif-segments.jpg");
    const ExifData exif = readJpeg(file);
    EXPECT_EQ(exif.GetTagText("Main.Model"), std::string("Second\0", 7));
    EXPECT_TRUE(exif.IsBigEndian());
    EXPECT_EQ(exif.GetTagValue("main.ori"), 8.0);
    EXPECT_EQ(exif.GetTagDisplayText("Canon.ImageNo"), "100-1234");
    EXPECT_EQ(exif.GetTagDisplayText("CnSet1.Macro"), "Macro");
    ASSERT_EQ(exif.GetBlock().size(), second.size());
    EXPECT_TRUE(std::equal(second.begin(), second.end(), exif.GetBlock().begin()));
}

TEST(ExifJpegMarkers, JpegWithoutExifGivesAnEmptyObject)
{
    const std::string xmpText = "http://ns.adobe.com/xap/1.0/";
    const ExifData exif = readJpeg(jpegWith({ Block(xmpText.begin(), xmpText.end()) }));
    EXPECT_TRUE(exif.GetAllEntries().empty());
    EXPECT_TRUE(exif.GetBlock().empty());
    EXPECT_EQ(exif.GetTagValue("main.ori"), 0.0);
}

TEST(ExifJpegMarkers, WrittenBlockReadsBackUnchanged)
{
    const Block block = cameraBlock("Round trip", ExifByteOrder::Intel);
    ExifData original;
    original.ReadFromBlock(block.data(), block.size());
    original.SetTagText("Main.Model", "changed text only");
    const Block file = jpegWith({}, &original);
    keep(file, "written-exif.jpg");
    const ExifData again = readJpeg(file);
    ASSERT_EQ(again.GetBlock().size(), block.size());
    EXPECT_TRUE(std::equal(block.begin(), block.end(), again.GetBlock().begin()));
    EXPECT_EQ(again.GetTagText("Main.Model"), std::string("Round trip\0", 11));
    EXPECT_EQ(again.GetAllEntries().size(), original.GetAllEntries().size());
}

TEST(ExifData, TextsCanBeSetAppendedAndCopied)
{
    const Block block = cameraBlock("EOS", ExifByteOrder::Intel);
    ExifData exif;
    exif.ReadFromBlock(block.data(), block.size());
    exif.SetTagText("Studio.Client", "Smith");
    exif.AppendTagText("Studio.Client", "Jones");
    exif.AppendTagText("Studio.Client", "Unknown", "unknown");
    exif.AppendTagText("Studio.Client", "");
    exif.AppendTagText("Studio.Client", "Brown", nullptr, ", ");
    EXPECT_EQ(exif.GetTagText("studio.client"), "Smith / Jones, Brown");
    EXPECT_EQ(exif.FindTag("Studio.Client")->GetFormat(), ExifFormatAscii);
    exif.CopyTagText("Sub.Focal", "Studio.Lens");
    EXPECT_EQ(exif.GetTagText("Studio.Lens"), "350/10 mm");
    exif.AppendTagFrom("Studio.Lens", "Main.Ori", nullptr, " ori ");
    EXPECT_EQ(exif.GetTagText("Studio.Lens"), "350/10 mm ori 8");
    // Copies share the entries.
    const ExifData copy = exif;
    EXPECT_EQ(copy.FindTag("Studio.Client"), exif.FindTag("Studio.Client"));
    exif.Clear();
    EXPECT_EQ(copy.GetTagText("Studio.Client"), "Smith / Jones, Brown");
    EXPECT_TRUE(exif.GetAllEntries().empty());
}

} // namespace
