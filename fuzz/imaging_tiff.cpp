// Fuzz target: decodes TIFF data from memory (see DecodeInput.h).
#include "fuzz/DecodeInput.h"
#include "imaging/tiff/PLTIFFDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PLTIFFDecoder decoder;
    fuzzing::DecodeInput(decoder, data, size);
    return 0;
}
