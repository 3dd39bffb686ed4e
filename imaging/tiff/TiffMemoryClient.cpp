#include "imaging/tiff/TiffMemoryClient.h"

#include "imaging/codec/PLPicDecoder.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>

#include <tiffio.h>

#include "imaging/io/PLDataSink.h"

namespace {

TiffMemoryClient& Client(void* client)
{
    return *static_cast<TiffMemoryClient*>(client);
}

// libtiff's message alone: the module (the libtiff routine that failed) is not part of it.
std::string FormatMessage(const char* format, va_list args)
{
    char text[1024];
    std::vsnprintf(text, sizeof text, format ? format : "", args);
    return text;
}

// The trace line of a libtiff warning, naming the module when there is one.
std::string WarningTrace(const char* module, const std::string& message)
{
    if (!module || !*module)
        return "Warning in LIBTIFF: " + message + "\n";
    return "Warning in LIBTIFF(" + std::string(module) + "): " + message + "\n";
}

// Frees the options on every path.
struct OpenOptions {
    OpenOptions()
        : options(TIFFOpenOptionsAlloc())
    {
    }
    ~OpenOptions() { TIFFOpenOptionsFree(options); }
    OpenOptions(const OpenOptions&) = delete;
    OpenOptions& operator=(const OpenOptions&) = delete;
    TIFFOpenOptions* options;
};

} // namespace

std::unique_ptr<TiffMemoryClient> TiffMemoryClient::OpenForReading(
    const uint8_t* data, size_t size, uint64_t maxSingleAllocation)
{
    auto client = std::make_unique<TiffMemoryClient>(Key {});
    client->m_pData = data;
    client->m_DataSize = data ? size : 0;
    client->OpenHandle("r", maxSingleAllocation);
    return client;
}

std::unique_ptr<TiffMemoryClient> TiffMemoryClient::OpenForWriting()
{
    auto client = std::make_unique<TiffMemoryClient>(Key {});
    client->m_bWriting = true;
    client->OpenHandle("w");
    return client;
}

std::unique_ptr<TiffMemoryClient> TiffMemoryClient::OpenForSink(PLDataSink& sink)
{
    auto client = std::make_unique<TiffMemoryClient>(Key {});
    client->m_bWriting = true;
    client->m_pSink = &sink;
    client->m_SinkBase = sink.GetPosition();
    client->OpenHandle("w");
    return client;
}

void TiffMemoryClient::RaiseSinkError() const
{
    if (m_SinkError)
        throw *m_SinkError;
}

TiffMemoryClient::~TiffMemoryClient()
{
    Close();
}

void TiffMemoryClient::OpenHandle(const char* mode, uint64_t maxSingleAllocation)
{
    OpenOptions options;
    if (!options.options) {
        m_LastError = "Out of memory opening the TIFF data.";
        ++m_ErrorCount;
        return;
    }
    TIFFOpenOptionsSetErrorHandlerExtR(options.options, OnError, this);
    TIFFOpenOptionsSetWarningHandlerExtR(options.options, OnWarning, this);
    if (maxSingleAllocation != 0)
        TIFFOpenOptionsSetMaxSingleMemAlloc(options.options, static_cast<tmsize_t>(maxSingleAllocation));
    m_pTiff = TIFFClientOpenExt(
        "MemSource", mode, this, Read, Write, Seek, CloseProc, Size, Map, Unmap, options.options);
}

bool TiffMemoryClient::Close()
{
    if (!m_pTiff)
        return true;
    const int errorsBefore = m_ErrorCount;
    bool flushed = true;
    if (m_bWriting)
        flushed = TIFFFlush(m_pTiff) == 1;
    TIFFClose(m_pTiff);
    m_pTiff = nullptr;
    return flushed && m_ErrorCount == errorsBefore;
}

uint64_t TiffMemoryClient::WrittenSize() const
{
    if (m_pSink)
        return static_cast<uint64_t>(m_pSink->GetBytesWritten() - m_SinkBase);
    return m_bWriting ? m_Buffer.size() : m_DataSize;
}

int64_t TiffMemoryClient::WriteToSink(const void* data, uint64_t n)
{
    if (m_SinkError)
        return -1;
    try {
        // A seek only moved the position: the sink follows now, filling a gap with zeros.
        m_pSink->Seek(m_SinkBase + static_cast<int64_t>(m_Position));
        const auto* bytes = static_cast<const uint8_t*>(data);
        for (uint64_t done = 0; done < n;) {
            const auto part = static_cast<int>(std::min<uint64_t>(n - done, INT_MAX));
            m_pSink->WriteBytes(part, bytes + done);
            done += static_cast<uint64_t>(part);
        }
    } catch (const PLTextException& e) {
        m_SinkError = e;
        return -1;
    }
    m_Position += n;
    return static_cast<int64_t>(n);
}

int64_t TiffMemoryClient::Read(void* client, void* data, int64_t n)
{
    TiffMemoryClient& self = Client(client);
    if (self.m_pSink)
        return 0; // what went to the sink is not read back
    const uint64_t size = self.m_bWriting ? self.m_Buffer.size() : self.m_DataSize;
    const uint8_t* bytes = self.m_bWriting ? self.m_Buffer.data() : self.m_pData;
    if (n <= 0 || self.m_Position >= size)
        return 0;
    const uint64_t count = std::min<uint64_t>(static_cast<uint64_t>(n), size - self.m_Position);
    std::memcpy(data, bytes + self.m_Position, count);
    self.m_Position += count;
    return static_cast<int64_t>(count);
}

int64_t TiffMemoryClient::Write(void* client, void* data, int64_t n)
{
    TiffMemoryClient& self = Client(client);
    if (!self.m_bWriting || n < 0)
        return -1;
    const auto count = static_cast<uint64_t>(n);
    if (count > kMaxWriteBytes - std::min(self.m_Position, kMaxWriteBytes))
        return -1;
    if (self.m_pSink)
        return self.WriteToSink(data, count);
    const uint64_t end = self.m_Position + count;
    try {
        if (end > self.m_Buffer.size())
            self.m_Buffer.resize(end);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    std::memcpy(self.m_Buffer.data() + self.m_Position, data, count);
    self.m_Position = end;
    return n;
}

uint64_t TiffMemoryClient::Seek(void* client, uint64_t offset, int whence)
{
    TiffMemoryClient& self = Client(client);
    const uint64_t size = self.WrittenSize();
    const uint64_t limit = self.m_bWriting ? kMaxWriteBytes : size;
    // libtiff passes a negative offset as its two's complement.
    const auto signedOffset = static_cast<int64_t>(offset);
    int64_t base = 0;
    if (whence == SEEK_CUR)
        base = static_cast<int64_t>(self.m_Position);
    else if (whence == SEEK_END)
        base = static_cast<int64_t>(size);
    else if (whence != SEEK_SET)
        return static_cast<uint64_t>(-1);
    int64_t target = 0;
    if (__builtin_add_overflow(base, signedOffset, &target) || target < 0
        || static_cast<uint64_t>(target) > std::max(limit, size))
        return static_cast<uint64_t>(-1);
    if (self.m_bWriting && !self.m_pSink && static_cast<uint64_t>(target) > self.m_Buffer.size()) {
        // The gap reads as zeros, as in a file.
        try {
            self.m_Buffer.resize(static_cast<size_t>(target));
        } catch (const std::bad_alloc&) {
            return static_cast<uint64_t>(-1);
        }
    }
    self.m_Position = static_cast<uint64_t>(target);
    return self.m_Position;
}

int TiffMemoryClient::CloseProc(void*)
{
    return 0;
}

uint64_t TiffMemoryClient::Size(void* client)
{
    return Client(client).WrittenSize();
}

int TiffMemoryClient::Map(void*, void**, uint64_t*)
{
    return 0;
}

void TiffMemoryClient::Unmap(void*, void*, uint64_t) { }

int TiffMemoryClient::OnError(tiff*, void* client, const char* module, const char* format, va_list args)
{
    TiffMemoryClient& self = Client(client);
    static_cast<void>(module);
    self.m_LastError = FormatMessage(format, args);
    PLPicDecoder::Trace(0, self.m_LastError + "\n");
    ++self.m_ErrorCount;
    return 1; // handled: libtiff's process-wide handler is not called
}

int TiffMemoryClient::OnWarning(tiff*, void* client, const char* module, const char* format, va_list args)
{
    TiffMemoryClient& self = Client(client);
    self.m_LastWarning = FormatMessage(format, args);
    PLPicDecoder::Trace(2, WarningTrace(module, self.m_LastWarning));
    ++self.m_WarningCount;
    return 1;
}
