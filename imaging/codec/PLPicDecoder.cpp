#include "imaging/codec/PLPicDecoder.h"

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/io/PLFileSource.h"
#include "imaging/io/PLMemSource.h"
#include "imaging/io/PLResourceSource.h"
#include "imaging/io/PLTextException.h"
#include "imaging/io/PLWidePath.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace {

std::string Format(const char* pattern, const void* value)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

// The process's trace settings. Decoders on other threads destroy themselves (which forgets the
// file) while one traces, so the settings are read and changed under a lock.
struct TraceSettings {
    std::mutex lock;
    int level = 0;
    std::string file; // empty: no tracing
};

TraceSettings& Tracing()
{
    static TraceSettings settings;
    return settings;
}

} // namespace

PLPicDecoder::~PLPicDecoder()
{
    PLPicDecoder::Close();
    TraceSettings& tracing = Tracing();
    const std::lock_guard<std::mutex> guard(tracing.lock);
    tracing.file.clear();
}

void PLPicDecoder::Trace(int level, const char* text)
{
    TraceSettings& tracing = Tracing();
    const std::lock_guard<std::mutex> guard(tracing.lock);
    if (tracing.file.empty() || tracing.level < level || !text || !*text)
        return;
    if (FILE* out = std::fopen(tracing.file.c_str(), "a")) {
        std::fputs(text, out);
        std::fclose(out);
    }
}

bool PLPicDecoder::TraceWanted(int level)
{
    TraceSettings& tracing = Tracing();
    const std::lock_guard<std::mutex> guard(tracing.lock);
    return !tracing.file.empty() && tracing.level >= level;
}

void PLPicDecoder::SetTraceConfig(int level, const char* file)
{
    TraceSettings& tracing = Tracing();
    const std::lock_guard<std::mutex> guard(tracing.lock);
    tracing.level = level;
    tracing.file = file ? file : "";
    if (!tracing.file.empty())
        std::remove(tracing.file.c_str());
}

void PLPicDecoder::RaiseError(int code, const char* text)
{
    const std::string message = std::string("Decoder error: ") + (text ? text : "") + "\n";
    Trace(0, message);
    throw PLTextException(code, message.c_str());
}

void PLPicDecoder::CheckImageSize(int64_t width, int64_t height, int bpp, const char* emptyText)
{
    if (width <= 0 || height <= 0)
        RaiseError(PL_ERR_FORMAT_UNKNOWN, emptyText);
    PLBmp::CheckPictureSize(width, height, bpp);
}

void PLPicDecoder::OpenSource(std::unique_ptr<PLDataSource> source)
{
    try {
        Open(source.get());
    } catch (...) {
        // A file that changed while its header was read fails for that reason, whatever the
        // decoder made of the changed bytes.
        const bool intact = source->IsIntact();
        source->Close();
        if (!intact)
            RaiseSourceChanged();
        throw;
    }
    m_pDataSrc = std::move(source);
}

void PLPicDecoder::OpenFile(const char* path, PLProgressListener* listener)
{
    Close();
    Trace(1, "--- Decoding file " + std::string(path ? path : "") + ". ---\n");
    auto source = std::make_unique<PLFileSource>(listener);
    if (const int error = source->OpenFile(path))
        RaiseError(error, ("Opening " + std::string(path ? path : "") + " failed").c_str());
    OpenSource(std::move(source));
}

void PLPicDecoder::OpenFileW(const wchar_t* path, PLProgressListener* listener)
{
    Close();
    Trace(1, "--- Decoding file " + ShownPath(path) + ". ---\n");
    auto source = std::make_unique<PLFileSource>(listener);
    if (const int error = source->OpenFileW(path)) {
        std::string narrow;
        for (const wchar_t* c = path; c && *c; ++c)
            narrow += *c < 0x80 ? static_cast<char>(*c) : '?';
        RaiseError(error, ("Opening " + narrow + " failed").c_str());
    }
    OpenSource(std::move(source));
}

void PLPicDecoder::DecodeOpened(PLBmp& bmp, int bpp)
{
    try {
        GetImage(bmp, bpp);
    } catch (...) {
        Close();
        throw;
    }
    Close();
}

void PLPicDecoder::DecodeFile(const char* path, PLBmp* pBmp, int bpp, PLProgressListener* listener)
{
    OpenFile(path, listener);
    DecodeOpened(*pBmp, bpp);
}

void PLPicDecoder::DecodeFileW(const wchar_t* path, PLBmp* pBmp, int bpp, PLProgressListener* listener)
{
    OpenFileW(path, listener);
    DecodeOpened(*pBmp, bpp);
}

void PLPicDecoder::DecodeResource(
    const PLResourceModule& module, int id, PLBmp* pBmp, int bpp, const char* type)
{
    Close();
    Trace(1, "--- Decoding resource ID " + std::to_string(id) + ". ---\n");
    auto source = std::make_unique<PLResourceSource>();
    if (const int error = source->OpenResource(module, id, type))
        RaiseError(error, ("Opening resource " + std::to_string(id) + " failed").c_str());
    OpenSource(std::move(source));
    DecodeOpened(*pBmp, bpp);
}

void PLPicDecoder::DecodeMemory(const uint8_t* data, int size, PLBmp* pBmp, int bpp)
{
    Close();
    Trace(1, Format("--- Decoding from memory at %p. ---\n", data));
    auto source = std::make_unique<PLMemSource>();
    if (const int error = source->OpenMemory(data, size))
        RaiseError(error, Format("Reading from memory at %p failed", data).c_str());
    OpenSource(std::move(source));
    DecodeOpened(*pBmp, bpp);
}

void PLPicDecoder::GetImage(PLBmp& bmp, int bpp)
{
    try {
        if (bpp == 0 || bpp == m_bpp) {
            bmp.CreateFromInfo(*this);
            DecodeImage(&bmp);
        } else if (m_bpp > bpp) {
            RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED, "Image bit depth doesn't match request.");
        } else {
            PLAnyBmp temp;
            temp.CreateFromInfo(*this);
            DecodeImage(&temp);
            bmp.CreateCopy(temp, bpp);
        }
    } catch (...) {
        CheckSourceIntact();
        throw;
    }
    CheckSourceIntact();
}

void PLPicDecoder::CheckSourceIntact() const
{
    const PLDataSource* source = GetDataSource();
    if (source && !source->IsIntact())
        RaiseSourceChanged();
}

void PLPicDecoder::RaiseSourceChanged()
{
    RaiseError(PL_ERR_END_OF_FILE, "The file was cut short while it was being read.");
}

void PLPicDecoder::Close()
{
    m_pLentSrc = nullptr;
    if (m_pDataSrc) {
        m_pDataSrc->Close();
        m_pDataSrc.reset();
    }
}

void PLPicDecoder::SetDataSource(std::unique_ptr<PLDataSource> source)
{
    Close();
    m_pDataSrc = std::move(source);
}

void PLPicDecoder::LendDataSource(PLDataSource* source)
{
    // Only an owned source is released: the picture the decoder has just opened stays open.
    PLPicDecoder::Close();
    m_pLentSrc = source;
}
