// A data sink over a caller's block of fixed size (not owned; it must outlive the sink's use), for
// tests and fuzzing: a write that does not fit raises code 11 and nothing is written past the end.
#pragma once

#include "imaging/io/PLDataSink.h"

class PLMemSink : public PLDataSink {
public:
    PLMemSink() = default;
    ~PLMemSink() override;

    // Names the sink "Mem". Returns 0, or code 4 for a negative size or a null block with bytes.
    int OpenMemory(uint8_t* buffer, int size);
    void Close() override;
    bool CanSeek() const override { return true; }

    // The bytes written so far start here.
    const uint8_t* GetData() const { return m_pBuffer; }

protected:
    void Store(const uint8_t* data, size_t n) override;
    int64_t Capacity() const override { return m_Size; }
    // Store writes at the sink's position, so nothing needs to move.
    void MoveTo(int64_t position) override;

private:
    uint8_t* m_pBuffer = nullptr;
    int m_Size = 0;
};
