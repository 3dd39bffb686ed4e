#include "win/AllocationProbeNew.h"
