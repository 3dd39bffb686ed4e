#include "imaging/io/PLMemSink.h"

#include "imaging/io/PLTextException.h"

#include <cstring>

PLMemSink::~PLMemSink()
{
    Close();
}

int PLMemSink::OpenMemory(uint8_t* buffer, int size)
{
    Close();
    if (size < 0 || (!buffer && size > 0))
        return PL_ERR_FILE_NOT_FOUND;
    m_pBuffer = buffer;
    m_Size = size;
    Open("Mem");
    return 0;
}

void PLMemSink::Close()
{
    PLDataSink::Close();
    m_pBuffer = nullptr;
    m_Size = 0;
}

void PLMemSink::Store(const uint8_t* data, size_t n)
{
    std::memcpy(m_pBuffer + GetPosition(), data, n);
}

void PLMemSink::MoveTo(int64_t) { }
