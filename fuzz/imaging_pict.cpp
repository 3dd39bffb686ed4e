// Fuzz target: decodes PICT data from memory (see DecodeInput.h) with a JPEG decoder for embedded
// QuickTime pictures.
#include "fuzz/DecodeInput.h"
#include "imaging/jpeg/PLJPEGDecoder.h"
#include "imaging/pict/PLPictDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PLJPEGDecoder jpeg;
    PLPictDecoder decoder(&jpeg);
    fuzzing::DecodeInput(decoder, data, size);
    return 0;
}
