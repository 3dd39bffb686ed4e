// Plain handle values of the original platform: 0 is no handle, all bits set is the invalid
// handle, anything else names an open object.
#pragma once

#include <cstdint>

namespace win {

using HANDLE = std::uintptr_t;
constexpr HANDLE NULL_HANDLE = 0;
constexpr HANDLE INVALID_HANDLE_VALUE = ~HANDLE { 0 };

constexpr bool IsValidHandle(HANDLE handle)
{
    return handle != NULL_HANDLE && handle != INVALID_HANDLE_VALUE;
}

} // namespace win
