#include "model/CatalogVersions.h"

#include "records/DataVersion.h"

namespace catalogversions {

bool FormHas(double since)
{
    return SavedDataVersion > since;
}

bool FormIsBefore(double before)
{
    return SavedDataVersion < before;
}

} // namespace catalogversions
