// libtiff over memory, so that libtiff never opens a file itself: a client reads a caller's block
// of bytes, or writes into a buffer of its own that grows as libtiff writes. libtiff's errors and
// warnings go to handlers of this handle alone (libtiff's open options), which keep the message:
// libtiff calls report failure by their result, and the caller raises on its own side, so no
// exception ever crosses libtiff.
//
//   auto client = TiffMemoryClient::OpenForReading(data, size);   // or OpenForWriting()
//   if (!client->Handle()) ... client->LastError() ...
//   ... libtiff calls on client->Handle(), each checked ...
//   client->Close();  // writes the directory when writing; false on an error
//   client->Written() // the file's bytes
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "imaging/io/PLTextException.h"

class PLDataSink;
struct tiff;

class TiffMemoryClient {
public:
    // Largest file the client writes: classic TIFF's offsets are 32-bit.
    static constexpr uint64_t kMaxWriteBytes = 0xFFFFFFFFu;

    // A client reading size bytes from data (not owned; it must outlive the client). The handle is
    // null when libtiff refused the data; LastError tells why. A non-zero limit caps every single
    // allocation libtiff makes for this handle (in bytes), so that a hostile file cannot make it
    // ask for gigabytes.
    static std::unique_ptr<TiffMemoryClient> OpenForReading(
        const uint8_t* data, size_t size, uint64_t maxSingleAllocation = 0);
    // A client writing a new file into its own buffer.
    static std::unique_ptr<TiffMemoryClient> OpenForWriting();
    // A client writing a new file straight into a sink that can seek (not owned; it must outlive
    // the client), starting at the sink's position: libtiff goes back to fill in the directory's
    // offset when it closes. When the sink fails (full, a write error), the libtiff call fails and
    // RaiseSinkError raises the sink's own error.
    static std::unique_ptr<TiffMemoryClient> OpenForSink(PLDataSink& sink);

    // Use the two Open functions; the key keeps the constructor theirs.
    struct Key {
        explicit Key() = default;
    };
    explicit TiffMemoryClient(Key) { }
    ~TiffMemoryClient();
    TiffMemoryClient(const TiffMemoryClient&) = delete;
    TiffMemoryClient& operator=(const TiffMemoryClient&) = delete;

    tiff* Handle() const { return m_pTiff; }
    // Flushes (when writing) and closes the handle; false when libtiff reported an error while
    // flushing. Closing twice does nothing.
    bool Close();

    // The bytes written so far (the whole file once closed); empty when writing into a sink.
    const std::vector<uint8_t>& Written() const { return m_Buffer; }
    // Raises the error of the sink that a failed write or seek met, if any.
    void RaiseSinkError() const;

    // libtiff's last error and warning messages on this handle (without the name of the libtiff
    // routine that gave them), and how many of each it gave.
    const std::string& LastError() const { return m_LastError; }
    int ErrorCount() const { return m_ErrorCount; }
    const std::string& LastWarning() const { return m_LastWarning; }
    int WarningCount() const { return m_WarningCount; }

private:
    void OpenHandle(const char* mode, uint64_t maxSingleAllocation = 0);

    // libtiff's client routines and handlers; the client data is the TiffMemoryClient.
    static int64_t Read(void* client, void* data, int64_t n);
    static int64_t Write(void* client, void* data, int64_t n);
    static uint64_t Seek(void* client, uint64_t offset, int whence);
    static int CloseProc(void* client);
    static uint64_t Size(void* client);
    static int Map(void* client, void** base, uint64_t* size);
    static void Unmap(void* client, void* base, uint64_t size);
    static int OnError(tiff*, void* client, const char* module, const char* format, va_list args);
    static int OnWarning(tiff*, void* client, const char* module, const char* format, va_list args);
    int64_t WriteToSink(const void* data, uint64_t n);
    uint64_t WrittenSize() const;

    tiff* m_pTiff = nullptr;
    bool m_bWriting = false;
    const uint8_t* m_pData = nullptr; // reading: the caller's bytes
    size_t m_DataSize = 0;
    std::vector<uint8_t> m_Buffer; // writing: the file so far
    PLDataSink* m_pSink = nullptr; // writing into a sink: the file starts at m_SinkBase
    int64_t m_SinkBase = 0;
    std::optional<PLTextException> m_SinkError;
    uint64_t m_Position = 0;
    std::string m_LastError;
    int m_ErrorCount = 0;
    std::string m_LastWarning;
    int m_WarningCount = 0;
};
