// A data source over a whole regular file, mapped read-only when it is opened (read into memory only
// where it cannot be mapped). A file that another process cuts short meanwhile reads as zeros past
// its new end, and one that another process writes shows the new bytes: the decoder then reports
// the source as no longer intact.
#pragma once

#include "imaging/io/PLBmpPixelBlock.h"
#include "imaging/io/PLDataSource.h"
#include "imaging/io/PLFileMapping.h"

#include <cstdint>
#include <ctime>
#include <string>

class PLFileSource : public PLDataSource {
public:
    explicit PLFileSource(PLProgressListener* listener = nullptr)
        : PLDataSource(listener)
    {
    }
    ~PLFileSource() override;

    // Returns 0, or the error code: 3 when the folder does not exist, 4 when the file does not
    // exist (or fails to open otherwise), 5 when access is denied, when it is not a regular file
    // (a folder, a pipe, a device) or when it is empty, 10 when it is larger than 2^31 - 1 bytes.
    // Opening never blocks, and a failure leaves the source closed.
    virtual int OpenFile(const char* name);
    virtual int OpenFileW(const wchar_t* name);
    void Close() override;
    // False when the file shrank under its mapping, or was written (its size or modification time
    // changed), while it was open.
    bool IsIntact() const override;

private:
    int MapOrReadFile(const std::string& path);
    // Reads the file into memory, for a file that cannot be mapped.
    int ReadWholeFile(int fd, size_t size);
    const uint8_t* Contents() const;

    PLFileMapping m_Mapping;
    // The file's bytes where it could not be mapped. Read into the same kind of block as a
    // picture's pixels: a block of huge pages costs a few page faults instead of thousands.
    PLBmpPixelBlock m_Contents;
    size_t m_ContentSize = 0;
    // The mapped file, kept open to see whether it is written meanwhile, and its state when opened.
    int m_MappedFd = -1;
    struct timespec m_Modified { };
    int64_t m_MappedSize = 0;
};
