// How a failure of the image library is worded for the user: its readable text and severity.
#pragma once

#include "imaging/wrapper/ImageResult.h"

class PLTextException;

// The table's text for the exception's code, ": " and the exception's text, with every line end
// removed; the severity of the table and the exception's code.
ImageResult ImageResultFromException(const PLTextException& e);
