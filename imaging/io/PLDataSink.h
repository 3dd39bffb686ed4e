// Where an encoder writes its file: bytes are appended at the end, and every write is checked
// against what the sink can hold before any byte of it is kept. The concrete sinks (file, memory)
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

private:
    std::string m_Name;
    std::wstring m_NameW;
    bool m_bIsWide = false;
    bool m_bIsOpen = false;
    int64_t m_Written = 0;
};
