// A data source over a caller's memory block (not owned; it must outlive the source's use).
#pragma once

#include "imaging/io/PLDataSource.h"

class PLMemSource : public PLDataSource {
public:
    explicit PLMemSource(PLProgressListener* listener = nullptr)
        : PLDataSource(listener)
    {
    }
    ~PLMemSource() override;

    // Names the source "Mem". Returns 0, or code 4 for a negative size or a null block with bytes.
    int OpenMemory(const uint8_t* data, int size);
};
