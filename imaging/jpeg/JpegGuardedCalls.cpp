#include "imaging/jpeg/JpegGuardedCalls.h"

#include "imaging/jpeg/JpegErrorManager.h"

namespace {

std::jmp_buf& Jump(jpeg_decompress_struct* cinfo)
{
    return JpegErrors(reinterpret_cast<j_common_ptr>(cinfo)).jump;
}

// Reads rows from the top while libjpeg delivers them; returns how many it delivered.
JDIMENSION ReadRows(jpeg_decompress_struct* cinfo, uint8_t* const* rows, JpegPixelKind kind)
{
    constexpr JDIMENSION kRowsPerCall = 32;
    const JDIMENSION height = cinfo->output_height;
    JDIMENSION row = 0;
    while (row < height) {
        const JDIMENSION wanted = height - row < kRowsPerCall ? height - row : kRowsPerCall;
        const JDIMENSION got = jpeg_read_scanlines(cinfo, const_cast<JSAMPARRAY>(rows + row), wanted);
        if (got == 0)
            break;
        if (kind == JpegPixelKind::Cmyk)
            for (JDIMENSION i = row; i < row + got; ++i)
                ConvertInvertedCmykRow(rows[i], cinfo->output_width);
        row += got;
    }
    return row;
}

} // namespace

bool JpegGuardedReadHeader(jpeg_decompress_struct* cinfo)
{
    if (setjmp(Jump(cinfo)))
        return false;
    // Every APP1 segment is kept whole (its data cannot exceed 65,533 bytes) for the EXIF reader.
    jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(cinfo, TRUE);
    return true;
}

bool JpegGuardedStartDecompress(jpeg_decompress_struct* cinfo)
{
    if (setjmp(Jump(cinfo)))
        return false;
    jpeg_start_decompress(cinfo);
    return true;
}

bool JpegGuardedReadImage(jpeg_decompress_struct* cinfo, uint8_t* const* rows, JpegPixelKind kind)
{
    if (setjmp(Jump(cinfo)))
        return false;
    for (JDIMENSION row = ReadRows(cinfo, rows, kind); row < cinfo->output_height; ++row)
        ClearMissingRow(rows[row], cinfo->output_width, kind);
    return true;
}

bool JpegGuardedFinishDecompress(jpeg_decompress_struct* cinfo)
{
    if (setjmp(Jump(cinfo)))
        return false;
    jpeg_finish_decompress(cinfo);
    return true;
}
