#include "imaging/io/PLMemSource.h"

#include "imaging/io/PLTextException.h"

PLMemSource::~PLMemSource()
{
    Close();
}

int PLMemSource::OpenMemory(const uint8_t* data, int size)
{
    Close();
    if (size < 0 || (!data && size > 0))
        return PL_ERR_FILE_NOT_FOUND;
    Open("Mem", size);
    SetData(data);
    return 0;
}
