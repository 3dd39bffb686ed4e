// The libjpeg side of the EXIF reader: finding the block among the saved markers of a decompression
// object and writing it back as a marker of a compression object.
#include "imaging/exif/ExifData.h"

#include <cstdio>
#include <cstring>

#include <jpeglib.h>

void ExifData::ReadFromJpegMarkers(jpeg_decompress_struct* cinfo)
{
    Clear();
    if (!cinfo)
        return;
    static constexpr uint8_t exifStart[] = { 'E', 'x', 'i', 'f', 0 };
    jpeg_saved_marker_ptr marker = cinfo->marker_list;
    const uint8_t* data = nullptr;
    size_t size = 0;
    for (; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1 && marker->data && marker->data_length >= sizeof exifStart
            && std::memcmp(marker->data, exifStart, sizeof exifStart) == 0) {
            data = marker->data;
            size = marker->data_length;
        }
    }
    if (data)
        ReadFromBlock(data, size);
}

void ExifData::WriteJpegMarker(jpeg_compress_struct* cinfo) const
{
    if (!cinfo || !block_ || block_->empty())
        return;
    jpeg_write_marker(cinfo, JPEG_APP0 + 1, block_->data(), static_cast<unsigned int>(block_->size()));
}
