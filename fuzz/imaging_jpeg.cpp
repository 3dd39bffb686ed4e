// Fuzz target: decodes JPEG data from memory at 32 bits per pixel with its EXIF data, and reads
// the EXIF entries the tool uses. Pictures above a million pixels are only opened (their header
// and EXIF read), so that each input stays quick; the decoder's own scan limit keeps crafted
// progressive files from running long.
#include <cstddef>
#include <cstdint>
#include <string>

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/exif/ExifData.h"
#include "imaging/io/PLMemSource.h"
#include "imaging/io/PLTextException.h"
#include "imaging/jpeg/PLJPEGDecoder.h"

namespace {

constexpr int64_t kMaxDecodedPixels = int64_t(1) << 20;

void ReadExif(const ExifData& exif)
{
    std::string text;
    exif.GetTagValue("main.ori");
    exif.GetTagDisplayText("Main.Make", text);
    for (const auto& entry : exif.GetAllEntries())
        text = entry->GetName();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 24))
        return 0;
    PLMemSource source;
    source.OpenMemory(data, static_cast<int>(size));
    PLJPEGDecoder decoder;
    try {
        decoder.Open(&source);
        ExifData exif;
        decoder.GetExifData(exif);
        ReadExif(exif);
        const PLCoord pictureSize = decoder.GetSize();
        if (int64_t(pictureSize.x) * pictureSize.y <= kMaxDecodedPixels) {
            PLAnyBmp bmp;
            decoder.GetImage(bmp, 32);
        }
    } catch (const PLTextException&) {
    }
    source.Close();
    return 0;
}
