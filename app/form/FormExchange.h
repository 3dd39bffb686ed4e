// The editing form's own exchange rules on top of the framework's: lengths, sizes and font sizes
// are unsigned but must fit the layout's signed 32-bit fields, positions and angles are signed.
#pragma once
#include "platform/qt/fw/DataExchange.h"

#include <cstdint>

namespace form {

// An unsigned decimal integer up to 2147483647; anything else gets "Enter a positive integer.".
void DDX_Length(fw::DataExchange& dx, win::UINT id, win::UINT& value);

// A signed layout value as a length control shows it: a negative value shows as 0.
win::UINT ToLength(int32_t value);
// A length control's value for a signed layout field, kept at 2147483647 at the most.
int32_t FromLength(win::UINT value);
// What a length control stores into a signed layout field that holds held: held itself while the
// control still shows what ToLength(held) loaded (a negative value from a file survives an apply
// the user did not touch it in), else the control's value.
int32_t StoredLength(win::UINT value, int32_t held);

} // namespace form
