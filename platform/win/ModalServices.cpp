#include "platform/win/ModalServices.h"

namespace win {

int DismissAnswer(UINT flags)
{
    switch (flags & MB_TYPEMASK) {
    case MB_OK:
        return IDOK;
    case MB_YESNO:
        return IDNO;
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    default: // MB_OKCANCEL, MB_YESNOCANCEL, MB_RETRYCANCEL
        return IDCANCEL;
    }
}

} // namespace win
