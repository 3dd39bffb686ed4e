// The editing form's own exchange rules on top of the framework's: lengths, sizes and font sizes
// are unsigned but must fit the layout's signed 32-bit fields, positions and angles are signed.
#pragma once
#include "platform/qt/fw/DataExchange.h"

namespace form {

// An unsigned decimal integer up to 2147483647; anything else gets "Enter a positive integer.".
void DDX_Length(fw::DataExchange& dx, win::UINT id, win::UINT& value);

} // namespace form
