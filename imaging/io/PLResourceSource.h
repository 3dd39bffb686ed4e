// A data source over a resource of a module.
#pragma once

#include "imaging/io/PLDataSource.h"

class PLResourceModule;

class PLResourceSource : public PLDataSource {
public:
    explicit PLResourceSource(PLProgressListener* listener = nullptr)
        : PLDataSource(listener)
    {
    }
    ~PLResourceSource() override;

    // Opens the resource of that id and type (raw data when type is null), naming the source
    // "Resource: <id>". Returns 0, or code 4 when the module has no such resource.
    int OpenResource(const PLResourceModule& module, int id, const char* type = nullptr);
};
