#include "app/form/FormExchange.h"

#include "platform/qt/fw/CommonDialogs.h"

#include <algorithm>
#include <cstdint>

namespace form {

void DDX_Length(fw::DataExchange& dx, win::UINT id, win::UINT& value)
{
    win::UINT taken = value;
    fw::DDX_Text(dx, id, taken);
    if (dx.m_bSaveAndValidate && taken > static_cast<win::UINT>(INT32_MAX)) {
        fw::AfxMessageBox(fw::kParseUInt, win::MB_OK | win::MB_ICONEXCLAMATION);
        dx.Fail();
    }
    value = taken;
}

win::UINT ToLength(int32_t value)
{
    return static_cast<win::UINT>(std::max(value, 0));
}

int32_t FromLength(win::UINT value)
{
    return static_cast<int32_t>(std::min<win::UINT>(value, INT32_MAX));
}

int32_t StoredLength(win::UINT value, int32_t held)
{
    return value == ToLength(held) ? held : FromLength(value);
}

} // namespace form
