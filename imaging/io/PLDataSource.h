// A block of picture data read from the front with a moving position. The concrete sources (file,
// resource, memory) only open and close; every read is checked here against the data left.
#pragma once

#include "imaging/io/PLObject.h"

#include <cstdint>
#include <string>

class PLProgressListener;

class PLDataSource : public PLObject {
public:
    ~PLDataSource() override = default;

    // Names the source and sets its size; the position starts at 0.
    virtual void Open(const char* name, int size);
    // The same with a wide name; the plain name becomes "Wide".
    virtual void OpenW(const wchar_t* name, int size);
    // Tells the listener 1.0 (when open) and forgets names, size and data.
    virtual void Close();

    // The next n bytes without moving. Raises code 11 when fewer are left and code 2 for a negative n.
    virtual const uint8_t* PeekBytes(int n);
    // The next n bytes, moving past them; the same checks as PeekBytes, and the position stays
    // where it was on failure. The listener hears of every 1024-byte block crossed.
    virtual const uint8_t* ReadBytes(int n);
    // Everything not yet read, without moving.
    virtual const uint8_t* GetRemainingData();

    // False when the data changed under the source while it was open (a file cut short while
    // mapped); what was read may then be wrong, and a decoder reports an error.
    virtual bool IsIntact() const { return true; }

    void NotifyProgress(double part);
    // Raises code 11 when the position is beyond the size.
    void CheckEof() const;

    const char* GetName() const { return m_Name.c_str(); }
    // The wide name, or null when the source was opened with a plain one.
    const wchar_t* GetNameW() const { return m_bIsWide ? m_NameW.c_str() : nullptr; }
    bool IsWide() const { return m_bIsWide; }
    int GetFileSize() const { return m_Size; }
    int GetPosition() const { return m_Position; }
    int GetBytesLeft() const { return m_Size - m_Position; }

protected:
    explicit PLDataSource(PLProgressListener* listener = nullptr);
    // The concrete source's block of GetFileSize() bytes, read from its start.
    void SetData(const uint8_t* data) { m_pData = data; }

private:
    void CheckAvailable(int n) const;

    std::string m_Name;
    std::wstring m_NameW;
    bool m_bIsWide = false;
    bool m_bIsOpen = false;
    int m_Size = 0;
    int m_Position = 0;
    PLProgressListener* m_pListener;
    const uint8_t* m_pData = nullptr;
};
