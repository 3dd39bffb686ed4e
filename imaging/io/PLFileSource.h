// A data source over a whole regular file, read into memory when it is opened, so that another
// process changing the file afterwards cannot disturb the decoding.
#pragma once

#include "imaging/io/PLBmpPixelBlock.h"
#include "imaging/io/PLDataSource.h"

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

private:
    int ReadWholeFile(const std::string& path);

    // The file's bytes. Read into the same kind of block as a picture's pixels: a photograph's
    // file is megabytes, and a block of huge pages costs a few page faults instead of thousands.
    PLBmpPixelBlock m_Contents;
    size_t m_ContentSize = 0;
};
