#include "imaging/io/PLDataSink.h"

#include "imaging/io/PLTextException.h"

#include <algorithm>

void PLDataSink::Open(const char* name)
{
    m_Name = name ? name : "";
    m_NameW.clear();
    m_bIsWide = false;
    m_bIsOpen = true;
    m_Written = 0;
    m_Position = 0;
}

void PLDataSink::OpenW(const wchar_t* name)
{
    m_Name = "Wide";
    m_NameW = name ? name : L"";
    m_bIsWide = true;
    m_bIsOpen = true;
    m_Written = 0;
    m_Position = 0;
}

void PLDataSink::Close()
{
    m_Name.clear();
    m_NameW.clear();
    m_bIsWide = false;
    m_bIsOpen = false;
    m_Written = 0;
    m_Position = 0;
}

int PLDataSink::WriteBytes(int n, const uint8_t* data)
{
    if (n < 0 || !m_bIsOpen || (n > 0 && !data))
        throw PLTextException(PL_ERR_INTERNAL, "Invalid write to a data sink.\n");
    // Compared as room left, so that the sum of the count and the bytes written cannot overflow.
    if (n > Capacity() - m_Position)
        throw PLTextException(PL_ERR_END_OF_FILE, "Buffer overflow while encoding.\n");
    if (n == 0)
        return 0;
    Store(data, static_cast<size_t>(n));
    m_Position += n;
    m_Written = std::max(m_Written, m_Position);
    return n;
}

void PLDataSink::Seek(int64_t position)
{
    if (position < 0 || !m_bIsOpen)
        throw PLTextException(PL_ERR_INTERNAL, "Invalid seek in a data sink.\n");
    if (position == m_Position)
        return;
    if (position <= m_Written) {
        MoveTo(position);
        m_Position = position;
        return;
    }
    if (m_Position != m_Written) {
        MoveTo(m_Written);
        m_Position = m_Written;
    }
    WriteZeros(position - m_Written);
}

void PLDataSink::WriteZeros(int64_t n)
{
    static constexpr uint8_t kZeros[4096] = {};
    while (n > 0) {
        const auto part = static_cast<int>(std::min<int64_t>(n, sizeof kZeros));
        WriteBytes(part, kZeros);
        n -= part;
    }
}

void PLDataSink::MoveTo(int64_t)
{
    throw PLTextException(PL_ERR_INTERNAL, "This data sink cannot go back.\n");
}

void PLDataSink::WriteByte(uint8_t byte)
{
    WriteBytes(1, &byte);
}
