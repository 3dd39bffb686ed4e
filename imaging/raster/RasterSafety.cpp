#include "imaging/raster/RasterSafety.h"

#include "imaging/bitmap/PLBmp.h"
#include "imaging/io/PLDataSource.h"
#include "imaging/io/PLTextException.h"

namespace raster {

void PrepareBitmap(PLBmp& bmp, const PLBmpInfo& info)
{
    if (bmp.GetSize() == info.GetSize() && bmp.GetBitsPerPixel() == info.GetBitsPerPixel()
        && bmp.HasAlpha() == info.HasAlpha())
        return;
    bmp.CreateFromInfo(info);
}

RasterPalette BlackPalette()
{
    RasterPalette palette;
    palette.fill(PLPixel32(0, 0, 0, 255));
    return palette;
}

const uint8_t* ReadBlock(PLDataSource& source, int64_t n)
{
    if (n < 0 || n > source.GetBytesLeft())
        throw PLTextException(PL_ERR_END_OF_FILE, "End of file reached while decoding.\n");
    return source.ReadBytes(static_cast<int>(n));
}

void SkipBytes(PLDataSource& source, int64_t n)
{
    if (n > 0)
        ReadBlock(source, n);
}

uint8_t ReadU8(PLDataSource& source)
{
    return *source.ReadBytes(1);
}

uint16_t ReadU16LE(PLDataSource& source)
{
    return LoadU16LE(source.ReadBytes(2));
}

uint32_t ReadU32LE(PLDataSource& source)
{
    return LoadU32LE(source.ReadBytes(4));
}

} // namespace raster
