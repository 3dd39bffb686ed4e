// Fuzz target: decodes GIF data from memory (see DecodeInput.h).
#include "fuzz/DecodeInput.h"
#include "imaging/gif/PLGIFDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PLGIFDecoder decoder;
    fuzzing::DecodeInput(decoder, data, size);
    return 0;
}
