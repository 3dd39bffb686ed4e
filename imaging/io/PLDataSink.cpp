#include "imaging/io/PLDataSink.h"

#include "imaging/io/PLTextException.h"

void PLDataSink::Open(const char* name)
{
    m_Name = name ? name : "";
    m_NameW.clear();
    m_bIsWide = false;
    m_bIsOpen = true;
    m_Written = 0;
}

void PLDataSink::OpenW(const wchar_t* name)
{
    m_Name = "Wide";
    m_NameW = name ? name : L"";
    m_bIsWide = true;
    m_bIsOpen = true;
    m_Written = 0;
}

void PLDataSink::Close()
{
    m_Name.clear();
    m_NameW.clear();
    m_bIsWide = false;
    m_bIsOpen = false;
    m_Written = 0;
}

int PLDataSink::WriteBytes(int n, const uint8_t* data)
{
    if (n < 0 || !m_bIsOpen || (n > 0 && !data))
        throw PLTextException(PL_ERR_INTERNAL, "Invalid write to a data sink.\n");
    // Compared as room left, so that the sum of the count and the bytes written cannot overflow.
    if (n > Capacity() - m_Written)
        throw PLTextException(PL_ERR_END_OF_FILE, "Buffer overflow while encoding.\n");
    if (n == 0)
        return 0;
    Store(data, static_cast<size_t>(n));
    m_Written += n;
    return n;
}

void PLDataSink::WriteByte(uint8_t byte)
{
    WriteBytes(1, &byte);
}
