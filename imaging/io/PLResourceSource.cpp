#include "imaging/io/PLResourceSource.h"

#include "imaging/io/PLResourceModule.h"
#include "imaging/io/PLTextException.h"

#include <climits>
#include <string>

PLResourceSource::~PLResourceSource()
{
    Close();
}

int PLResourceSource::OpenResource(const PLResourceModule& module, int id, const char* type)
{
    Close();
    const auto* data = module.Find(type ? type : PL_RT_RCDATA, id);
    if (!data || data->size() > static_cast<size_t>(INT_MAX))
        return PL_ERR_FILE_NOT_FOUND;
    Open(("Resource: " + std::to_string(id)).c_str(), static_cast<int>(data->size()));
    SetData(data->data());
    return 0;
}
