#include "imaging/io/PLTextException.h"

PLTextException::PLTextException(int code, const char* text)
    : PLTextException(code, 0, text)
{
}

PLTextException::PLTextException(int code, int extra, const char* text)
    : code_(code)
    , extra_(extra)
    , text_(text ? text : "")
{
}
