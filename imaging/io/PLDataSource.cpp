#include "imaging/io/PLDataSource.h"

#include "imaging/io/PLProgressListener.h"
#include "imaging/io/PLTextException.h"

PLDataSource::PLDataSource(PLProgressListener* listener)
    : m_pListener(listener)
{
}

void PLDataSource::Open(const char* name, int size)
{
    m_Name = name ? name : "";
    m_NameW.clear();
    m_bIsWide = false;
    m_Size = size < 0 ? 0 : size;
    m_Position = 0;
    m_bIsOpen = true;
}

void PLDataSource::OpenW(const wchar_t* name, int size)
{
    Open("Wide", size);
    m_NameW = name ? name : L"";
    m_bIsWide = true;
}

void PLDataSource::Close()
{
    if (m_bIsOpen)
        NotifyProgress(1.0);
    m_bIsOpen = false;
    m_Name.clear();
    m_NameW.clear();
    m_bIsWide = false;
    m_Size = 0;
    m_Position = 0;
    m_pData = nullptr;
}

void PLDataSource::CheckAvailable(int n) const
{
    if (n < 0)
        throw PLTextException(PL_ERR_FORMAT_UNKNOWN, "Negative read length.\n");
    if (static_cast<int64_t>(m_Position) + n > m_Size)
        throw PLTextException(PL_ERR_END_OF_FILE, "End of file reached while decoding.\n");
}

const uint8_t* PLDataSource::PeekBytes(int n)
{
    CheckAvailable(n);
    return m_pData + m_Position;
}

const uint8_t* PLDataSource::ReadBytes(int n)
{
    CheckAvailable(n);
    const int oldPosition = m_Position;
    m_Position += n;
    if (m_pListener && oldPosition / 1024 < m_Position / 1024)
        m_pListener->OnProgress(static_cast<double>(m_Position) / m_Size);
    return m_pData + oldPosition;
}

const uint8_t* PLDataSource::GetRemainingData()
{
    return m_pData + m_Position;
}

void PLDataSource::NotifyProgress(double part)
{
    if (m_pListener)
        m_pListener->OnProgress(part);
}

void PLDataSource::CheckEof() const
{
    if (m_Position > m_Size)
        throw PLTextException(PL_ERR_END_OF_FILE, "End of file reached while decoding.\n");
}
