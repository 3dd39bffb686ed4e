// Fuzz target for format detection and the decoding behind it: the first byte picks the name the
// source carries (names decide metafiles, plain or wide), the rest is the file. It is recognised
// and decoded at the picture's own depth and again at 32 bits; pictures above a million pixels are
// only opened, so that each input stays quick. A decoded bitmap must have the size and depth the
// decoder described, and a failure is always a PLTextException.
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/detect/PLAnyPicDecoder.h"
#include "imaging/io/PLDataSource.h"
#include "imaging/io/PLTextException.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>

namespace {

constexpr int64_t kMaxDecodedPixels = int64_t(1) << 20;

// A caller's block under a name of the caller's choosing.
class NamedSource : public PLDataSource {
public:
    NamedSource(const uint8_t* data, int size, const char* name, const wchar_t* wideName)
    {
        if (wideName)
            OpenW(wideName, size);
        else
            Open(name, size);
        SetData(data);
    }
    ~NamedSource() override { Close(); }
};

struct Name {
    const char* plain;
    const wchar_t* wide;
};

constexpr Name kNames[] = {
    { "Mem", nullptr },
    { "picture.jpg", nullptr },
    { "/photos/Picture.Wmf", nullptr },
    { "scan.emf.bmp", nullptr },
    { "picture.wmf.emf", nullptr },
    { nullptr, L"photo.tif" },
    { nullptr, L"vector.wMf" },
    { nullptr, L"vector.EMF" },
};

void Decode(const uint8_t* data, int size, const Name& name, int bpp)
{
    NamedSource source(data, size, name.plain, name.wide);
    PLAnyPicDecoder decoder;
    try {
        decoder.Open(&source);
        if (int64_t { decoder.GetWidth() } * decoder.GetHeight() > kMaxDecodedPixels) {
            decoder.Close();
            return;
        }
        PLAnyBmp bmp;
        decoder.GetImage(bmp, bpp);
        if (bmp.GetSize() != decoder.GetSize()
            || bmp.GetBitsPerPixel() != (bpp ? bpp : decoder.GetBitsPerPixel()))
            std::abort();
    } catch (const PLTextException&) {
    }
    decoder.Close();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > (1u << 24))
        return 0;
    const Name& name = kNames[data[0] % std::size(kNames)];
    const int fileSize = static_cast<int>(size - 1);
    Decode(data + 1, fileSize, name, 0);
    Decode(data + 1, fileSize, name, 32);
    return 0;
}
