// The libjpeg source manager over a byte range: skips and running out of data.
#include <gtest/gtest.h>

#include <cstdio>

#include <jpeglib.h>

#include "imaging/jpeg/JpegErrorManager.h"
#include "imaging/jpeg/JpegSourceManager.h"

namespace {

class SourceManager : public testing::Test {
protected:
    void SetUp() override
    {
        InstallJpegErrorManager(reinterpret_cast<j_common_ptr>(&m_Info), m_Errors);
        jpeg_create_decompress(&m_Info);
        InstallJpegSource(&m_Info, m_Source, m_Data, sizeof m_Data, nullptr, nullptr);
    }
    void TearDown() override { jpeg_destroy_decompress(&m_Info); }

    void Skip(long n) { (*m_Info.src->skip_input_data)(&m_Info, n); }
    bool AtFakeEndOfImage() const
    {
        const jpeg_source_mgr& src = *m_Info.src;
        return src.bytes_in_buffer == 2 && src.next_input_byte[0] == 0xFF
            && src.next_input_byte[1] == JPEG_EOI;
    }

    const uint8_t m_Data[10] = { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9 };
    jpeg_decompress_struct m_Info {};
    JpegErrorManager m_Errors {};
    JpegSourceManager m_Source {};
};

TEST_F(SourceManager, SkipsWithinTheRange)
{
    struct SkipCase {
        long n;
        size_t left; // bytes left after the skip
    };
    const SkipCase cases[] = { { 0, 10 }, { -5, 10 }, { -1000000, 10 }, { 3, 7 }, { 7, 0 } };
    for (const SkipCase& c : cases) {
        Skip(c.n);
        EXPECT_EQ(m_Info.src->bytes_in_buffer, c.left) << c.n;
        EXPECT_EQ(m_Info.src->next_input_byte, m_Data + (10 - c.left)) << c.n;
    }
    EXPECT_EQ(m_Errors.warningCount, 0);
}

TEST_F(SourceManager, RunningOutGivesEndOfImageAndWarning)
{
    Skip(4);
    Skip(7); // beyond the end
    EXPECT_TRUE(AtFakeEndOfImage());
    EXPECT_EQ(m_Errors.warningCount, 1);
    EXPECT_STREQ(m_Errors.lastWarning, "Premature end of JPEG file");

    EXPECT_TRUE((*m_Info.src->fill_input_buffer)(&m_Info));
    EXPECT_TRUE(AtFakeEndOfImage());
    EXPECT_EQ(m_Errors.warningCount, 2);
}

} // namespace
