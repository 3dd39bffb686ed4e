#include "imaging/codec/PLPicEncoder.h"

#include "imaging/bitmap/PLBmp.h"
#include "imaging/codec/PLPicDecoder.h"
#include "imaging/io/PLFileSink.h"
#include "imaging/io/PLTextException.h"
#include "imaging/io/PLWidePath.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

namespace {

[[noreturn]] void RaiseOpenError(int code, const std::string& shownName, int error)
{
    PLPicDecoder::RaiseError(code, ("Opening " + shownName + " failed: " + std::strerror(error)).c_str());
}

// The most a file encoded from the picture may hold: a bound no encoding of it comes near, which
// only keeps an encoder gone wrong from filling the disk. A picture may be compressed from a
// 32-bpp copy (JPEG), and compression can make a file larger than what it compresses (byte runs
// of a photograph, JPEG at its highest quality, PNG of noise): 16 bytes a pixel, or the pixels'
// memory where that is more, and a megabyte for the headers and an EXIF block.
int64_t FileSizeBound(const PLBmp* bmp)
{
    if (!bmp)
        return 0;
    const int64_t pixels = static_cast<int64_t>(bmp->GetWidth()) * bmp->GetHeight();
    return std::max(bmp->MemoryInUse(), pixels * 16) + (int64_t { 1 } << 20);
}

} // namespace

void PLPicEncoder::EncodeFile(const char* name, const PLBmp* bmp)
{
    PLFileSink sink(m_FileCalls);
    PLPicDecoder::Trace(1, "--- Encoding file " + std::string(name ? name : "") + ". ---\n");
    if (const int code = sink.OpenFile(name, FileSizeBound(bmp)))
        RaiseOpenError(code, name ? name : "", errno);
    EncodeToSink(bmp, &sink);
    sink.Close();
}

void PLPicEncoder::EncodeFileW(const wchar_t* name, const PLBmp* bmp)
{
    PLFileSink sink(m_FileCalls);
    PLPicDecoder::Trace(1, "--- Encoding file " + ShownPath(name) + ". ---\n");
    if (const int code = sink.OpenFileW(name, FileSizeBound(bmp))) {
        const int error = errno;
        RaiseOpenError(code, ShownPath(name), error);
    }
    EncodeToSink(bmp, &sink);
    sink.Close();
}

void PLPicEncoder::EncodeToSink(const PLBmp* bmp, PLDataSink* sink)
{
    if (!bmp || !sink || !sink->IsOpen())
        PLPicDecoder::RaiseError(PL_ERR_INTERNAL, "Nothing to encode, or nowhere to write it.");
    if (bmp->GetWidth() < 1 || bmp->GetHeight() < 1 || bmp->GetLineArray() == nullptr)
        PLPicDecoder::RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED, "Cannot encode an empty picture.");
    DoEncode(bmp, sink);
}

void PLPicEncoder::RaiseUnsupportedDepth(int bpp, const char* format)
{
    PLPicDecoder::RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED,
        ("Cannot write a picture of " + std::to_string(bpp) + " bits per pixel as " + format + ".").c_str());
}
