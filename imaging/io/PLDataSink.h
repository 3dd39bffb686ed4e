// Where an encoder writes its file: bytes are written at the current position, normally the end
// (an encoder may go back to fill in an offset), and every write is checked against what the sink
// can hold before any byte of it is kept. The concrete sinks (file, memory)
// say how the bytes are kept and how many fit.
#pragma once

#include "imaging/io/PLObject.h"

#include <cstddef>
#include <cstdint>
#include <string>

class PLDataSink : public PLObject {
public:
    PLDataSink(const PLDataSink&) = delete;
    PLDataSink& operator=(const PLDataSink&) = delete;
    ~PLDataSink() override = default;

    // Forgets the names; the byte count starts again at 0.
    virtual void Close();

    // Appends n bytes and returns n. Raises code 11 "Buffer overflow while encoding.\n" when they do
    // not fit, and code 7 for a negative n or a closed sink; nothing of them is kept then.
    int WriteBytes(int n, const uint8_t* data);
    void WriteByte(uint8_t byte);

    // Moves where the next write goes: to a byte already written (which it then overwrites) or to
    // the end. A position beyond the end is reached by writing zero bytes up to it, with the checks
    // of WriteBytes; a negative position or a closed sink raises code 7.
    void Seek(int64_t position);
    // False for a sink that can only append, whose Seek raises unless it stays at the end.
    virtual bool CanSeek() const { return false; }
    int64_t GetPosition() const { return m_Position; }

    // The length of what was written: the furthest byte reached.
    int64_t GetBytesWritten() const { return m_Written; }
    const char* GetName() const { return m_Name.c_str(); }
    // The wide name, or null when the sink was opened with a plain one.
    const wchar_t* GetNameW() const { return m_bIsWide ? m_NameW.c_str() : nullptr; }
    bool IsWide() const { return m_bIsWide; }
    bool IsOpen() const { return m_bIsOpen; }

protected:
    PLDataSink() = default;

    void Open(const char* name);
    // The plain name becomes "Wide".
    void OpenW(const wchar_t* name);

    // Keeps n bytes (n > 0), which are known to fit; raises when they cannot be kept.
    virtual void Store(const uint8_t* data, size_t n) = 0;
    // The most bytes the sink holds in all.
    virtual int64_t Capacity() const = 0;
    // Makes the next Store write at position, which lies within the bytes written. A sink that
    // cannot go back raises code 7.
    virtual void MoveTo(int64_t position);

private:
    void WriteZeros(int64_t n);

    std::string m_Name;
    std::wstring m_NameW;
    bool m_bIsWide = false;
    bool m_bIsOpen = false;
    int64_t m_Written = 0;
    int64_t m_Position = 0;
};
