#include "records/DataVersion.h"

double SavedDataVersion = 0.0;

void ResetSavedDataVersion()
{
    SavedDataVersion = 0.0;
}
