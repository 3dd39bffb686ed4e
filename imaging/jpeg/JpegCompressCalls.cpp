#include "imaging/jpeg/JpegCompressCalls.h"

#include "imaging/jpeg/JpegErrorManager.h"

namespace {

std::jmp_buf& Jump(jpeg_compress_struct* cinfo)
{
    return JpegErrors(reinterpret_cast<j_common_ptr>(cinfo)).jump;
}

void ApplySettings(jpeg_compress_struct* cinfo, const JpegCompressSettings& settings)
{
    cinfo->image_width = settings.width;
    cinfo->image_height = settings.height;
    cinfo->input_components = settings.components;
    cinfo->in_color_space = settings.colourSpace;
    jpeg_set_defaults(cinfo);
    if (settings.xDensity != 0 && settings.yDensity != 0) {
        cinfo->density_unit = settings.densityUnit;
        cinfo->X_density = settings.xDensity;
        cinfo->Y_density = settings.yDensity;
    }
    cinfo->dct_method = JDCT_FLOAT;
    if (settings.quality != 0)
        jpeg_set_quality(cinfo, settings.quality, TRUE);
    cinfo->optimize_coding = settings.optimizeCoding ? TRUE : FALSE;
    cinfo->smoothing_factor = settings.smoothing;
}

} // namespace

bool JpegGuardedStartCompress(jpeg_compress_struct* cinfo, const JpegCompressSettings& settings)
{
    if (setjmp(Jump(cinfo)))
        return false;
    ApplySettings(cinfo, settings);
    jpeg_start_compress(cinfo, TRUE);
    if (settings.app1 && settings.app1Size > 0)
        jpeg_write_marker(cinfo, JPEG_APP0 + 1, settings.app1, static_cast<unsigned int>(settings.app1Size));
    return true;
}

bool JpegGuardedWriteRows(jpeg_compress_struct* cinfo, uint8_t* const* rows, JDIMENSION count)
{
    if (setjmp(Jump(cinfo)))
        return false;
    constexpr JDIMENSION kRowsPerCall = 32;
    JDIMENSION row = 0;
    while (row < count) {
        const JDIMENSION wanted = count - row < kRowsPerCall ? count - row : kRowsPerCall;
        const JDIMENSION put = jpeg_write_scanlines(cinfo, const_cast<JSAMPARRAY>(rows + row), wanted);
        if (put == 0)
            break;
        row += put;
    }
    return true;
}

bool JpegGuardedFinishCompress(jpeg_compress_struct* cinfo)
{
    if (setjmp(Jump(cinfo)))
        return false;
    jpeg_finish_compress(cinfo);
    return true;
}
